#include "jobs/job_events.h"

#include <atomic>

#include "app/app_state_win.h"
#include "ftp/locked_scope_win.h"

JobSnapshot JobStart;

// The four texts a job reads of a row, copied or taken over.
static JobRow JobRowOfTexts(std::string name, std::string size, std::string date, std::string attributes) {
  JobRow r;
  r.name = std::move(name);
  r.size = std::move(size);
  r.date = std::move(date);
  r.attributes = std::move(attributes);
  r.folder = r.size == "   ";
  return r;
}

JobRow JobRowOf(const ListRow& row) {
  const auto& c = row.texts.column;
  return JobRowOfTexts(c[0], c[1], c[3], c[4]);
}

JobRow JobRowOf(ListRow&& row) {
  auto& c = row.texts.column;
  return JobRowOfTexts(std::move(c[0]), std::move(c[1]), std::move(c[3]), std::move(c[4]));
}

namespace {

SRWLOCK ViewLock = SRWLOCK_INIT;
JobPaneViews Waiting;
bool MessagePosted = false;  // a MsgJobPanes is on its way: further views need none

void PostIfNeeded() {
  bool post;
  {
    LockedScope locked(ViewLock);
    post = !MessagePosted;
    MessagePosted = true;
  }
  if (post && !PostMessageA(MainWindow, MsgJobPanes, 0, 0)) {
    LockedScope locked(ViewLock);
    MessagePosted = false;
  }
}

std::atomic<uint64_t> FilesDone{0}, BytesDone{0};
std::atomic<DWORD> StartTick{0};

// Set by the window once it has handled a job's end command.
HANDLE EndHandled() {
  static HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  return event;
}

}  // namespace

void PostRemoteFolderView(SharedFolderView view) {
  if (!view) return;
  {
    LockedScope locked(ViewLock);
    Waiting.remote = std::move(view);
    Waiting.hasRemote = true;
  }
  PostIfNeeded();
}

void PostLocalFolderView(const std::string& folder) {
  {
    LockedScope locked(ViewLock);
    Waiting.localFolder = folder;
    Waiting.hasLocal = true;
  }
  PostIfNeeded();
}

bool TakeJobPaneViews(JobPaneViews& views) {
  LockedScope locked(ViewLock);
  MessagePosted = false;
  if (!Waiting.hasRemote && !Waiting.hasLocal) return false;
  views = std::move(Waiting);
  Waiting = JobPaneViews{};
  return true;
}

void DropJobPaneViews() {
  LockedScope locked(ViewLock);
  Waiting = JobPaneViews{};
}

void ResetJobTotals() {
  FilesDone = 0;
  BytesDone = 0;
  StartTick = GetTickCount();
}

void CountJobFile(uint64_t bytes) {
  BytesDone += bytes;
  ++FilesDone;
}

JobTotals ReadJobTotals() {
  JobTotals totals;
  totals.files = FilesDone;
  totals.bytes = BytesDone;
  totals.startTick = StartTick;
  return totals;
}

void PostJobEnd(int doneCommand) {
  HANDLE handled = EndHandled();
  if (handled) ResetEvent(handled);
  if (!handled || !PostMessageA(MainWindow, WM_COMMAND, doneCommand, 0)) {
    JobRunning = 0;  // no window to hand the end to
    return;
  }
  // The window clears JobRunning once its lists show the start folders again; a window
  // that went away meanwhile answers nothing more.
  while (WaitForSingleObject(handled, 250) == WAIT_TIMEOUT)
    if (!IsWindow(MainWindow)) {
      JobRunning = 0;
      return;
    }
}

void JobEndHandled() {
  JobRunning = 0;
  if (HANDLE handled = EndHandled()) SetEvent(handled);
}
