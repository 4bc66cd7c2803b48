#include "jobs/drop_upload_win.h"

#include <vector>

#include "app/app_state_win.h"
#include "app/job_start_win.h"
#include "app/message_boxes_win.h"
#include "app/system_text_case_win.h"
#include "config/options.h"
#include "ftp/data_connection_win.h"
#include "ftp/remote_commands_win.h"
#include "jobs/job_reconnect_win.h"
#include "jobs/job_rules.h"
#include "jobs/job_support_win.h"
#include "jobs/transfer_rules.h"
#include "resources/resource_ids.h"
#include "text/path_text.h"
#include "text/sjis.h"

namespace {

constexpr size_t kRemoteFolderRoom = 2048;
bool DropOnLocalPane = false;  // decided by the window when the drop came
int Depth = 0;

// The last component of a path: name and extension.
std::string NameOfPath(const std::string& path) {
  const size_t slash = FindLastSingleByteChar(path, "\\/:");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string DroppedPath(HDROP drop, UINT index) {
  const UINT length = DragQueryFileA(drop, index, nullptr, 0);
  std::vector<char> buffer(length + 1);
  DragQueryFileA(drop, index, buffer.data(), length + 1);
  return std::string(buffer.data());
}

bool IsFolderPath(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Enters the remote sub-folder `name` for a dropped folder, making it when it is missing
// and the user agrees. 1 entered, 0 the user declined (its contents go into the current
// folder), -1 it could not be entered and was reported.
int EnterDroppedFolder(const std::string& name, const std::string& madeName) {
  if (ChangeRemoteFolder(name)) return 1;
  if (!JobCanGoOn()) return -1;
  if (AskConfirmation(3, name.c_str()) == IDNO) return 0;
  MakeRemoteFolder(madeName);
  if (ChangeRemoteFolder(madeName)) return 1;
  if (JobCanGoOn()) ReportWithName(IDS_SKIPPED_REMOTE_FOLDER, madeName);
  return -1;
}

bool GoBack(const std::string& remote) {
  const bool back = ChangeRemoteFolder(remote) != 0;
  if (!back) {
    if (JobCanGoOn()) ShowMessage(IDS_FAILED_CHANGE_FOLDER);
    JobLostItsWay();
  }
  return back;
}

// One dropped folder on the remote pane. False when the job ends here (No to string 9).
bool SendDroppedFolder(const std::string& path) {
  if (AskConfirmation(2, path.c_str()) == IDNO) return false;
  std::string saved = JobStart.remote.folder;
  if (!GetRemoteFolder(saved, kRemoteFolderRoom)) return JobCanGoOn();
  const std::string name = NameOfPath(path);
  std::string converted = name;
  ApplyNameCase(converted, Options, SystemTextCase());
  const int entered = EnterDroppedFolder(name, converted);
  if (entered < 0) return JobCanGoOn();
  if (entered > 0) {
    JobLevel entered;
    entered.remote = RemoteChildPath(saved, converted);
    ListRemoteLevel(entered);
  }
  Depth = 0;
  UploadDroppedFolder(path);
  GoBack(saved);
  return JobCanGoOn();
}

// A drop on the local pane copies the files into the folder the pane shows.
void CopyDroppedFile(const std::string& path) {
  CopyFileA(path.c_str(), JoinLocalPath(JobStart.localFolder, NameOfPath(path)).c_str(), FALSE);
  PostLocalFolderView(JobStart.localFolder);
}

// The job's end, whichever way it ends.
void EndDropJob(HDROP drop, bool completed) {
  ClearStatus();
  DragFinish(drop);
  PostJobEnd(IDM_UPLOAD_DONE);
  ReportJobEnd(completed ? 0 : -1);
}

}  // namespace

int UploadDroppedFile(const std::string& path) {
  const std::string name = NameOfPath(path);
  const int mode = ChooseTransferMode(name, TransferMode, Options, SystemTextCase());
  std::string remoteName = name;
  ApplyNameCase(remoteName, Options, SystemTextCase());
  ShowFileStatus(IDS_SENDING_FILE, path);
  const char* option = mode == kModeAscii ? UploadConversionOption(Options.NKFUp, true) : nullptr;
  if (!StoreConvertedFile(path, remoteName, mode, option)) {
    if (JobCanGoOn()) ShowMessage(IDS_FAILED_SEND);
    return 0;
  }
  ResetProgress();
  return 0;
}

int UploadDroppedFolder(const std::string& path) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(JoinLocalPath(path, "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 1;
  do {
    if (!JobCanGoOn()) break;
    const std::string name = found.cFileName;
    const std::string full = JoinLocalPath(path, name);
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      UploadDroppedFile(full);
      continue;
    }
    if (name == "." || name == "..") continue;
    if (AskConfirmation(2, name.c_str()) == IDNO) continue;
    // Links to folders elsewhere are not followed: they may lead back up the tree.
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) || Depth >= kMaxFolderDepth) {
      ReportWithName(IDS_SKIPPED_LOCAL_FOLDER, name);
      continue;
    }
    std::string saved = JobStart.remote.folder;
    if (!GetRemoteFolder(saved, kRemoteFolderRoom)) break;
    // Sub-folder names go over as they are, not case-converted.
    const int entered = EnterDroppedFolder(name, name);
    if (entered < 0) continue;
    ++Depth;
    UploadDroppedFolder(full);
    --Depth;
    if (entered > 0 && !GoBack(saved)) break;
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return 1;
}

namespace {

// The drop's paths taken in order. False when the job ended early (no connection, or No
// to a question that ends it): no completion message then.
bool SendDrop(HDROP drop) {
  const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  const bool onLocalPane = DropOnLocalPane;
  if (!onLocalPane && count > 0) {
    // Without a connection nothing can be sent: said once, not once per file.
    if (!Connected) {
      ShowMessage(IDS_DROP_NOT_CONNECTED);
      return false;
    }
    if (AskConfirmation(1, "") == IDNO) return false;
  }
  for (UINT i = 0; i < count; ++i) {
    const std::string path = DroppedPath(drop, i);
    if (onLocalPane) {
      CopyDroppedFile(path);
      continue;
    }
    if (!JobCanGoOn()) break;
    if (!IsFolderPath(path)) {
      UploadDroppedFile(path);
    } else if (!SendDroppedFolder(path)) {
      return false;
    }
  }
  return true;
}

}  // namespace

DWORD WINAPI DropUploadJob(LPVOID dropHandle) {
  HDROP drop = static_cast<HDROP>(dropHandle);
  JobRunning = 1;
  JobStopped = 0;
  bool completed;
  {
    TransferJobScope scope;
    ResetJobWay();
    ResetJobLoginsAgain();
    completed = SendDrop(drop);
  }
  StopRequested = 0;
  EndDropJob(drop, completed);
  return 0;
}

void StartDropUpload(HDROP drop, int toolbarHeight) {
  POINT point{};
  DragQueryPoint(drop, &point);
  DropOnLocalPane = DropIsOnLocalPane(point.x, point.y, Options.WindowDiv, Options.WindowSplitPos,
                                      Options.WindowSplitPos2, toolbarHeight);
  TakeJobSnapshot(JobRowsFrom::LocalSelection, CurrentLocalFolder);
  if (!CreateJobThread(DropUploadJob, drop)) DragFinish(drop);
}
