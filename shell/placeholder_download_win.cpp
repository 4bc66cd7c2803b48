#include "shell/placeholder_download_win.h"

#include <windows.h>

#include "app/app_state_win.h"
#include "app/job_start_win.h"
#include "app/main_window_win.h"
#include "jobs/download_job_win.h"
#include "jobs/job_support_win.h"
#include "resources/resource_ids.h"

namespace {

int DownloadOverPlaceholders() {
  DownloadingOverPlaceholders = true;
  DownloadSelected();
  DownloadingOverPlaceholders = false;
  return 0;
}

DWORD WINAPI PlaceholderDownloadJob(LPVOID) {
  // JobRunning is already 1: set before the thread was made.
  PostMessageA(MainWindow, MsgUpdateMenus, 1, 0);
  RunJob(DownloadOverPlaceholders, 1, IDM_DOWNLOAD_DONE);
  return 0;
}

}  // namespace

bool StartPlaceholderDownload(const std::string& folder, const std::string& userFolder) {
  // The files land in the folder by its path; the local pane stays on the user's folder.
  TakeJobSnapshot(JobRowsFrom::RemoteSelection, folder, false);
  JobStart.paneLocalFolder = userFolder;
  return CreateJobThread(PlaceholderDownloadJob, nullptr);
}

void WaitForJobEnd() {
  while (JobRunning) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {  // for the main loop, after the job
        PostQuitMessage(static_cast<int>(message.wParam));
        break;
      }
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    if (JobRunning) MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
  }
}
