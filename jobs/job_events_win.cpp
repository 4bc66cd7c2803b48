#include "jobs/job_events.h"

#include <atomic>

#include "app/app_state_win.h"
#include "ftp/locked_scope_win.h"

JobSnapshot JobStart;

JobRow JobRowOf(const ListRow& row) { return JobRowOf(ListRow(row)); }

JobRow JobRowOf(ListRow&& row) {
  JobRow r;
  r.name = std::move(row.texts.column[0]);
  r.size = std::move(row.texts.column[1]);
  r.date = std::move(row.texts.column[3]);
  r.attributes = std::move(row.texts.column[4]);
  r.folder = r.size == "   ";
  return r;
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
