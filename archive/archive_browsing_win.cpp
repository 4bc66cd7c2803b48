#include "archive/archive_browsing_win.h"

#include <commctrl.h>

#include "app/app_state_win.h"
#include "app/job_start_win.h"
#include "app/list_rows_win.h"
#include "app/load_plugin_win.h"
#include "app/local_listing_win.h"
#include "app/main_window_win.h"
#include "app/message_boxes_win.h"
#include "app/shell_open_win.h"
#include "app/string_table_win.h"
#include "app/system_text_case_win.h"
#include "app/work_folder_win.h"
#include "archive/archive_command_lines.h"
#include "archive/archive_library_win.h"
#include "archive/archive_names.h"
#include "archive/archive_rows.h"
#include "config/options.h"
#include "jobs/job_support_win.h"
#include "resources/resource_ids.h"
#include "text/path_text.h"

namespace {

constexpr size_t kOutputSize = 2048;

using OpenArchiveEntry = HANDLE(WINAPI*)(HWND, LPCSTR, DWORD);
using FindFirstEntry = int(WINAPI*)(HANDLE, LPCSTR, void*);
using FindNextEntry = int(WINAPI*)(HANDLE, void*);
using AttributeEntry = int(WINAPI*)(HANDLE);
using CloseArchiveEntry = int(WINAPI*)(HANDLE);

template <typename Entry>
Entry Function(HMODULE library, const char* name) {
  return reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

bool ReadMembers(HMODULE library, const std::string& path, std::vector<ListRow>& rows) {
  const auto open = Function<OpenArchiveEntry>(library, "UnlhaOpenArchive");
  const auto first = Function<FindFirstEntry>(library, "UnlhaFindFirst");
  const auto next = Function<FindNextEntry>(library, "UnlhaFindNext");
  const auto attribute = Function<AttributeEntry>(library, "UnlhaGetAttribute");
  const auto close = Function<CloseArchiveEntry>(library, "UnlhaCloseArchive");
  if (!open || !first || !next || !attribute || !close) return false;
  HANDLE archive = open(MainWindow, path.c_str(), 0x800001);
  if (!archive) return false;
  RowWords words;
  words.file = LoadResourceText(IDS_TYPE_FILE);
  words.folder = LoadResourceText(IDS_TYPE_FOLDER);
  unsigned char record[kArchiveEntryRecordSize + 1] = {};
  long n = 0;
  for (int found = first(archive, "*.*", record); found == 0; found = next(archive, record)) {
    const int bits = attribute(archive);
    ListRow row;
    if (ArchiveRowOf(ArchiveEntryFacts(record, bits < 0 ? 0 : static_cast<uint32_t>(bits)), n, Options,
                     SystemTextCase(), words, row)) {
      rows.push_back(row);
      ++n;
    }
  }
  close(archive);
  return true;
}

std::vector<std::string> SelectedFileMembers() {
  std::vector<std::string> names;
  for (const JobRow& row : SelectedJobRows(LocalList))
    if (!row.folder) names.push_back(row.name);
  return names;
}

}  // namespace

std::string ArchiveFullPath() { return JoinLocalPath(CurrentLocalFolder, ArchivePath); }

bool ListArchive(std::vector<ListRow>& rows) {
  const DWORD attributes = GetFileAttributesA(ArchiveFullPath().c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    ArchiveMode = 0;
    return false;
  }
  HMODULE library = LoadPluginLibrary("unlha32.dll");
  if (!library) return false;
  const bool listed = ReadMembers(library, ArchiveFullPath(), rows);
  FreeLibrary(library);
  return listed;
}

void EnterArchive(const std::string& name) {
  ArchivePath = name;
  ArchiveMode = 1;
  RefreshLocalList(LocalList);
}

void LeaveArchive() { ArchiveMode = 0; }

std::string ExtractMemberToWorkFolder(const std::string& member) {
  const std::string copyName = ExtractedCopyName(member);
  // A sub-folder of its own: no copy from before passes for this one, and no other
  // operation's file of the same name is touched.
  const std::string folder = NewWorkSubFolder();
  const std::string command = ExtractMemberCommand(ArchiveFullPath(), folder, member);
  std::string output;
  int result = -1;
  if (folder.empty() || copyName.empty() || command.empty() ||
      !RunArchiveCommandWithResult(ArchiveKind::Lha, MainWindow, command, &output, kOutputSize, &result) ||
      result != 0 || GetFileAttributesA((folder + copyName).c_str()) == INVALID_FILE_ATTRIBUTES) {
    RemoveWorkSubFolder(folder);
    return "";
  }
  return folder + copyName;
}

void OpenArchiveMember(const std::string& member) {
  const std::string copy = ExtractMemberToWorkFolder(member);
  if (copy.empty() || !ShellOpen(copy, WorkSubFolderOf(copy))) ShowMessage(IDS_FAILED_SHELL_OPEN);
}

void RenameMemberFromLabel(int row, const std::string& oldName, const std::string& newName) {
  const std::string command = RenameMemberCommand(newName, ArchiveFullPath(), oldName);
  std::string output;
  if (!command.empty()) RunArchiveCommand(ArchiveKind::Lha, MainWindow, command, &output, kOutputSize - 1);
  SetListRowText(LocalList, row, 0, newName);
  // The archive is listed again once the edit has ended: a refused name comes back.
  PostMessageA(MainWindow, MsgRefreshLocal, 0, 0);
}

void RenameFocusedMember() {
  const int row = FindFocusedRow(LocalList);
  if (row < 0) return;
  const std::string command = AskRenameMemberCommand(ArchiveFullPath(), ListRowText(LocalList, row, 0));
  std::string output;
  if (!command.empty()) RunArchiveCommand(ArchiveKind::Lha, MainWindow, command, &output, kOutputSize);
  RefreshLocalList(LocalList);
}

void DeleteSelectedMembers() {
  const std::vector<std::string> members = SelectedFileMembers();
  for (const std::string& member : members) ShowFileStatus(IDS_DELETING_FILE, member);
  std::vector<std::string> refused;
  bool failed = false;
  std::string reports;  // what the library said about the commands it did not carry out whole
  for (const std::string& command : DeleteMembersCommands(ArchiveFullPath(), members, &refused)) {
    std::string output;
    int result = 0;
    if (!RunArchiveCommandWithResult(ArchiveKind::Lha, MainWindow, command, &output, kOutputSize, &result) ||
        result == 0)
      continue;  // a missing library changes nothing, which the list shows
    failed = true;
    reports += "\r\n" + output;
  }
  while (!reports.empty() && (reports.back() == '\n' || reports.back() == '\r')) reports.pop_back();
  if (!refused.empty()) ReportWithName(IDS_MEMBERS_NOT_DELETED, NameListText(refused));
  if (failed) ReportWithName(IDS_FAILED_DELETE_MEMBERS, reports);
}
