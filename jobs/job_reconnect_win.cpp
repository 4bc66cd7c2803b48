#include "jobs/job_reconnect_win.h"

#include <windows.h>

#include <atomic>

#include "app/app_state_win.h"
#include "config/options.h"
#include "ftp/control_connection_win.h"
#include "ftp/data_connection_win.h"
#include "ftp/engine_display_win.h"
#include "ftp/login_again_win.h"

namespace {

std::atomic<int> LoginsAgain{0};
std::atomic<bool> GaveUp{false};
std::atomic<int> FilesLeft{0};

// Seconds before the try: 1, 5, then 15 for every further one.
DWORD WaitBeforeTry(int attempt) { return attempt <= 1 ? 1000 : attempt == 2 ? 5000 : 15000; }

// Waits in small slices so that Stop ends the wait at once. False when Stop was pressed.
bool WaitUnlessStopped(DWORD milliseconds) {
  for (DWORD waited = 0; waited < milliseconds; waited += 50) {
    if (JobStopped) return false;
    Sleep(50);
  }
  return !JobStopped;
}

}  // namespace

bool StepGoesOnAgain(const std::string& folder, StepTries& tries, bool transfer) {
  const int allowed = Options.ReconnectTries;
  // A job that could not log in again tries no more: it ends.
  if (JobStopped || allowed <= 0 || GaveUp) return false;
  if (!ConnectionWasLost()) {
    if (!transfer || !LastTransferBroke || tries.used >= allowed) return false;
    ++tries.used;
    return true;
  }
  while (tries.used < allowed) {
    const int attempt = ++tries.used;
    ShowStatusText(ReconnectingText(attempt, allowed));
    if (!WaitUnlessStopped(WaitBeforeTry(attempt))) return false;
    if (LogInAgain(folder)) {
      ++LoginsAgain;
      ShowStatusText(" ");
      return true;
    }
    if (JobStopped) return false;
  }
  GaveUp = true;
  return false;
}

int JobLoginsAgain() { return LoginsAgain; }

void ResetJobLoginsAgain() {
  LoginsAgain = 0;
  GaveUp = false;
  FilesLeft = 0;
}

void CountFileLeft() {
  if (GaveUp) ++FilesLeft;
}

void CountFilesLeft(const std::vector<JobRow>& rows, size_t from) {
  if (!GaveUp) return;
  for (size_t i = from; i < rows.size(); ++i)
    if (!rows[i].folder && rows[i].name != "." && rows[i].name != "..") ++FilesLeft;
}

int TakeFilesLeftByLostJob() {
  if (!GaveUp.exchange(false)) return -1;
  return FilesLeft.exchange(0);
}
