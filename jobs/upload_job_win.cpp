#include "jobs/upload_job_win.h"

#include <algorithm>

#include "app/app_state_win.h"
#include "app/archive_mode_win.h"
#include "app/message_boxes_win.h"
#include "app/system_text_case_win.h"
#include "app/work_folder_win.h"
#include "archive/archive_names.h"
#include "config/options.h"
#include "ftp/data_connection_win.h"
#include "ftp/remote_commands_win.h"
#include "jobs/archive_transfer_win.h"
#include "jobs/job_reconnect_win.h"
#include "jobs/job_rules.h"
#include "jobs/transfer_rules.h"
#include "resources/resource_ids.h"
#include "text/path_text.h"

namespace {

// One selected folder. False when this level ends here.
bool SendFolder(const JobRow& row, const std::string& remoteName, JobLevel& level) {
  if (AskConfirmation(2, remoteName.c_str()) != IDYES) return false;
  const bool remoteExists = FindRemoteRow(level, remoteName) != nullptr;

  bool intoOwnFolder = true;
  if (!remoteExists && Options.YesNo == 1) {
    const int answer = AskYesNoCancel(MainWindow, IDS_ASK_MAKE_REMOTE_FOLDER, remoteName);
    if (answer == IDCANCEL) return false;
    intoOwnFolder = answer != IDNO;  // No: its files go into the current remote folder
  }
  if (level.depth >= kMaxFolderDepth) {
    ReportWithName(IDS_SKIPPED_LOCAL_FOLDER, row.name);
    return true;
  }
  JobLevel child;
  if (intoOwnFolder) {
    MakeJobRemoteFolder(level, remoteName);  // it may exist already
    bool loop = false;
    if (!EnterRemoteChild(level, remoteName, child, loop)) {
      if (!JobCanGoOn()) return false;
      if (!loop) ReportWithName(IDS_SKIPPED_REMOTE_FOLDER, remoteName);
      return JobCanGoOn();
    }
    ListRemoteLevel(child);
  } else {
    child = level;
    child.depth = level.depth + 1;
  }
  child.local = JoinLocalPath(level.local, row.name);
  if (!ListLocalLevel(child)) {
    ReportWithName(IDS_SKIPPED_LOCAL_FOLDER, row.name);
  } else {
    SendLevel(child.localRows, false, SendFolder, child);
  }
  if (intoOwnFolder) {
    ReturnToLevel(level);
  } else {
    ShowLevel(level);
  }
  return JobCanGoOn();
}

}  // namespace

// The transfer mode is chosen once the file is to be sent: a mirror keeps most files.
static void SendListedFile(const JobRow& row, const std::string& remoteName, EntryClassCache& classes,
                           const char* option, const JobLevel& level) {
  if (Options.CompareDate & 3) {
    const JobRow* remote = FindRemoteRow(level, remoteName);
    if (remote && !ShouldSendFile(Options.CompareDate, row.date, row.size, true, remote->date, remote->size,
                                  SystemTextCase()))
      return;
  }
  const int mode = classes.ModeOf(row.name, TransferMode);
  ShowFileStatus(IDS_SENDING_FILE, remoteName);
  int sent;
  if (ArchiveMode == 1) {
    const std::string copy = ExtractForUpload(row.name);
    sent = !copy.empty() && StoreConvertedFile(copy, remoteName, mode, option);
    RemoveWorkSubFolder(WorkSubFolderOf(copy));
  } else {
    StepTries tries;
    while (!(sent = StoreConvertedFile(JoinLocalPath(level.local, row.name), remoteName, mode, option)) &&
           StepGoesOnAgain(level.remote, tries, true)) {
    }
  }
  if (sent && !LastTransferWasStopped) CountFileDone(static_cast<uint64_t>(SizeTextValue(row.size) > 0 ? SizeTextValue(row.size) : 0));
  if (!sent && JobCanGoOn()) ShowMessage(IDS_FAILED_SEND);
  else if (!sent) CountFileLeft();
  ResetProgress();
}

namespace {

// Archive mode: the rows, and with each folder member every member listed below it that is
// not among them, in the order of the list.
std::vector<JobRow> WithMembersOfFolders(const std::vector<JobRow>& rows, const std::vector<JobRow>& members) {
  std::vector<std::string> folders, taken;
  for (const JobRow& row : rows) {
    taken.push_back(row.name);
    if (row.folder && !MemberUploadPath(row.name).empty()) folders.push_back(MemberUploadPath(row.name) + "/");
  }
  if (folders.empty()) return rows;
  std::vector<JobRow> all;
  for (const JobRow& row : members) {
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
bool SendMember(const JobRow& row, EntryClassCache& classes, const char* option, const JobLevel& level,
                std::vector<std::string>& madeFolders) {
  std::string path = MemberUploadPath(row.name);
  if (path.empty()) return false;
  ApplyNameCase(path, Options, SystemTextCase());
  MakeMemberFolders(path, row.folder, madeFolders);
  if (!row.folder) SendListedFile(row, path, classes, option, level);
  return true;
}

}  // namespace

void SendLevel(const std::vector<JobRow>& rows, bool convertAlways, SendFolderStep sendFolder, JobLevel& level) {
  std::vector<std::string> madeFolders, unsent;
  const bool members = ArchiveMode == 1;
  std::vector<JobRow> withMembers;
  if (members) withMembers = WithMembersOfFolders(rows, level.localRows);
  const std::vector<JobRow>& all = members ? withMembers : rows;
  EntryClassCache classes(Options, SystemTextCase());
  for (size_t index = 0; index < all.size(); ++index) {
    const JobRow& row = all[index];
    if (!JobCanGoOn()) {
      CountFilesLeft(all, index);
      break;
    }
    if (members) {
      if (!SendMember(row, classes, UploadConversionOption(Options.NKFUp, convertAlways), level, madeFolders))
        unsent.push_back(row.name);
      continue;
    }
    std::string remoteName = row.name;
    ApplyNameCase(remoteName, Options, SystemTextCase());
    if (row.name == "." || row.name == "..") continue;
    if (!IsPlainEntryName(row.name) || (remoteName != row.name && !IsPlainEntryName(remoteName))) continue;
    if (!row.folder) {
      SendListedFile(row, remoteName, classes, UploadConversionOption(Options.NKFUp, convertAlways), level);
      continue;
    }
    if (!sendFolder(row, remoteName, level)) {
      CountFilesLeft(all, index + 1);
      break;
    }
  }
  if (!unsent.empty()) ReportWithName(IDS_MEMBERS_NOT_SENT, NameListText(unsent));
}

int UploadSelected() {
  JobLevel top = StartLevel();
  SendLevel(JobStart.rows, false, SendFolder, top);
  ClearStatus();
  return 0;
}

DWORD WINAPI UploadJob(LPVOID) {
  RunJob(UploadSelected, 0, IDM_UPLOAD_DONE);
  return 0;
}
