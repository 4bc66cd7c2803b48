#include "ftp/transfer_job_frame_win.h"

#include <windows.h>

#include <atomic>
#include <vector>

namespace {
std::atomic<DWORD> JobThread{0};
// Touched on the job's thread alone.
std::vector<void (*)()> EndActions;
}  // namespace

bool InTransferJob() { return JobThread.load() != 0 && JobThread.load() == GetCurrentThreadId(); }

void AtTransferJobEnd(void (*fn)()) {
  if (InTransferJob()) EndActions.push_back(fn);
}

void BeginTransferJobFrame() {
  EndActions.clear();
  JobThread = GetCurrentThreadId();
}

void EndTransferJobFrame() {
  // Last registered, first undone; what they free is no longer the job's.
  for (auto it = EndActions.rbegin(); it != EndActions.rend(); ++it) (*it)();
  EndActions.clear();
  JobThread = 0;
}
