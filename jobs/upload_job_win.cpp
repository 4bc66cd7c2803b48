#include "jobs/upload_job_win.h"

#include <algorithm>

#include "app/app_state_win.h"
#include "app/local_listing_win.h"
#include "app/main_window_win.h"
#include "app/message_boxes_win.h"
#include "app/system_text_case_win.h"
#include "app/work_folder_win.h"
#include "archive/archive_names.h"
#include "config/options.h"
#include "ftp/data_connection_win.h"
#include "ftp/remote_commands_win.h"
#include "jobs/archive_transfer_win.h"
#include "jobs/job_rules.h"
#include "jobs/transfer_rules.h"
#include "resources/resource_ids.h"
#include "text/path_text.h"

namespace {

constexpr size_t kRemoteFolderRoom = 2048;
int Depth = 0;

// One selected folder. False when this level ends here.
bool SendFolder(const JobRow& row, const std::string& remoteName) {
  if (AskConfirmation(2, remoteName.c_str()) != IDYES) return false;
  const std::string savedLocal = ProcessCurrentFolder();
  std::string savedRemote = CurrentRemoteFolder;
  if (!GetRemoteFolder(savedRemote, kRemoteFolderRoom)) return JobCanGoOn();
  const bool remoteExists = FindRowByName(RemoteList, remoteName) >= 0;

  bool intoOwnFolder = true;
  if (!remoteExists && Options.YesNo == 1) {
    const int answer = AskYesNoCancel(LocalList, IDS_ASK_MAKE_REMOTE_FOLDER, remoteName);
    if (answer == IDCANCEL) return false;
    intoOwnFolder = answer != IDNO;  // No: its files go into the current remote folder
  }
  if (Depth >= kMaxFolderDepth) {
    ReportWithName(IDS_SKIPPED_LOCAL_FOLDER, row.name);
    return true;
  }
  if (intoOwnFolder) {
    MakeRemoteFolder(remoteName);  // it may exist already
    if (!ChangeRemoteFolder(remoteName)) {
      if (!JobCanGoOn()) return false;
      ReportWithName(IDS_SKIPPED_REMOTE_FOLDER, remoteName);
      return true;
    }
    CurrentRemoteFolder = RemoteChildPath(savedRemote, remoteName);
    RefillRemoteList();
  }
  if (!EnterLocalFolder(JoinLocalPath(savedLocal, row.name))) {
    ReportWithName(IDS_SKIPPED_LOCAL_FOLDER, row.name);
    if (intoOwnFolder) {
      if (!ChangeRemoteFolder(savedRemote)) JobLostItsWay();
      CurrentRemoteFolder = savedRemote;
      RefillRemoteList();
    }
    return JobCanGoOn();
  }
  RefillLocalList();
  SelectAllListRows(LocalList);
  ++Depth;
  UploadSelected();
  --Depth;

  ReturnToFolders(savedLocal, savedRemote);
  return JobCanGoOn();
}

}  // namespace

static void SendListedFile(const JobRow& row, const std::string& remoteName, int mode, const char* option,
                           ListRowsSnapshot& remoteRows) {
  if (Options.CompareDate & 3) {
    const JobRow* remote = remoteRows.Find(remoteName);
    if (remote && !ShouldSendFile(Options.CompareDate, row.date, row.size, true, remote->date, remote->size,
                                  SystemTextCase()))
      return;
  }
  ShowFileStatus(IDS_SENDING_FILE, remoteName);
  int sent;
  if (ArchiveMode == 1) {
    const std::string copy = ExtractForUpload(row.name);
    sent = !copy.empty() && StoreConvertedFile(copy, remoteName, mode, option);
    RemoveWorkSubFolder(WorkSubFolderOf(copy));
  } else {
    sent = StoreConvertedFile(JoinLocalPath(ProcessCurrentFolder(), row.name), remoteName, mode, option);
  }
  if (!sent && JobCanGoOn()) ShowMessage(IDS_FAILED_SEND);
  ResetProgress();
}

namespace {

// Archive mode: the rows, and with each folder member every member listed below it that is
// not among them, in the order of the list.
std::vector<JobRow> WithMembersOfFolders(const std::vector<JobRow>& rows) {
  std::vector<std::string> folders, taken;
  for (const JobRow& row : rows) {
    taken.push_back(row.name);
    if (row.folder && !MemberUploadPath(row.name).empty()) folders.push_back(MemberUploadPath(row.name) + "/");
  }
  if (folders.empty()) return rows;
  std::vector<JobRow> all;
  for (const JobRow& row : AllJobRows(LocalList)) {
    const std::string path = MemberUploadPath(row.name);
    bool take = std::find(taken.begin(), taken.end(), row.name) != taken.end();
    for (const std::string& folder : folders) take = take || path.compare(0, folder.size(), folder) == 0;
    if (take) all.push_back(row);
  }
  return all;
}

// The remote folders of a member's path (every part before the last '/', or all of a folder
// member's), made below the current remote folder once per level; MKD is answered with an
// error when one exists already, which does no harm.
void MakeMemberFolders(const std::string& path, bool folderMember, std::vector<std::string>& made) {
  const std::string folders = folderMember ? path + "/" : path;
  for (size_t cut = folders.find('/'); cut != std::string::npos; cut = folders.find('/', cut + 1)) {
    const std::string folder = folders.substr(0, cut);
    if (std::find(made.begin(), made.end(), folder) != made.end()) continue;
    made.push_back(folder);
    MakeRemoteFolder(folder);
  }
}

// Archive mode has no folders to walk: a member goes to its own path below the current remote
// folder, its folder parts made there, as the archive would be extracted with folders. False
// when its name cannot be used there.
bool SendMember(const JobRow& row, int mode, const char* option, ListRowsSnapshot& remoteRows,
                std::vector<std::string>& madeFolders) {
  std::string path = MemberUploadPath(row.name);
  if (path.empty()) return false;
  ApplyNameCase(path, Options, SystemTextCase());
  MakeMemberFolders(path, row.folder, madeFolders);
  if (!row.folder) SendListedFile(row, path, mode, option, remoteRows);
  return true;
}

}  // namespace

void SendLevel(const std::vector<JobRow>& rows, bool convertAlways,
               bool (*sendFolder)(const JobRow& row, const std::string& remoteName)) {
  ListRowsSnapshot remoteRows(RemoteList);
  std::vector<std::string> madeFolders, unsent;
  for (const JobRow& row : ArchiveMode == 1 ? WithMembersOfFolders(rows) : rows) {
    if (!JobCanGoOn()) break;
    const int mode = ChooseTransferMode(row.name, TransferMode, Options, SystemTextCase());
    if (ArchiveMode == 1) {
      if (!SendMember(row, mode, UploadConversionOption(Options.NKFUp, convertAlways), remoteRows, madeFolders))
        unsent.push_back(row.name);
      continue;
    }
    std::string remoteName = row.name;
    ApplyNameCase(remoteName, Options, SystemTextCase());
    if (row.name == "." || row.name == "..") continue;
    if (!IsPlainEntryName(row.name) || !IsPlainEntryName(remoteName)) continue;
    if (!row.folder) {
      SendListedFile(row, remoteName, mode, UploadConversionOption(Options.NKFUp, convertAlways), remoteRows);
      continue;
    }
    const bool goOn = sendFolder(row, remoteName);
    remoteRows.Forget();
    if (!goOn) break;
  }
  if (!unsent.empty()) ReportWithName(IDS_MEMBERS_NOT_SENT, NameListText(unsent));
}

int UploadSelected() {
  SendLevel(SelectedJobRows(LocalList), false, SendFolder);
  ClearStatus();
  return 0;
}

DWORD WINAPI UploadJob(LPVOID) {
  RunJob(UploadSelected, 0, IDM_UPLOAD_DONE);
  return 0;
}
