#include "archive/archive_tools_win.h"

#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include <vector>

#include "app/app_state_win.h"
#include "app/job_start_win.h"
#include "app/list_rows_win.h"
#include "app/local_listing_win.h"
#include "app/main_window_win.h"
#include "app/message_boxes_win.h"
#include "app/string_table_win.h"
#include "app/work_folder_win.h"
#include "archive/archive_browsing_win.h"
#include "archive/archive_command_lines.h"
#include "archive/archive_names.h"
#include "config/dialog_helpers_win.h"
#include "config/open_dialog_filter.h"
#include "config/options.h"
#include "jobs/job_support_win.h"
#include "resources/resource_ids.h"
#include "text/path_text.h"

namespace {

constexpr size_t kOutputSize = 2047;
// Room for the answer of the Open dialog: many chosen names must not overflow it.
constexpr size_t kChoiceRoom = 65536;

void Run(ArchiveKind kind, const std::string& command) {
  if (command.empty()) return;
  std::string output;
  RunArchiveCommand(kind, MainWindow, command, &output, kOutputSize);
}

std::vector<std::string> ChooseFilesToCompress() {
  const std::string filter = OpenDialogFilter(LoadResourceText(IDS_ALL_FILES_FILTER));
  const std::string title = LoadResourceText(IDS_COMPRESS_TITLE);
  std::vector<char> answer(kChoiceRoom, '\0');
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = MainWindow;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = answer.data();
  ofn.nMaxFile = static_cast<DWORD>(answer.size() - 1);
  ofn.lpstrInitialDir = CurrentLocalFolder.c_str();
  ofn.lpstrTitle = title.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY | OFN_NONETWORKBUTTON | OFN_PATHMUSTEXIST |
              OFN_NOCHANGEDIR;
  if (!GetOpenFileNameA(&ofn)) return {};
  return ChosenFiles(answer.data(), answer.size());
}

}  // namespace

void TestExtract(const std::string& commandWord, ArchiveKind kind) {
  const std::string folder = JoinLocalPath(Options.TestFolder, TestExtractFolderName(ArchivePath));
  if (!CreateDirectoryA(folder.c_str(), nullptr)) {
    ShowMessage(IDS_FAILED_MAKE_FOLDER);
    return;
  }
  Run(kind, TestExtractCommand(commandWord, ArchiveFullPath(), folder));
  if (Options.TestOpen == 1)
    ShellExecuteA(MainWindow, "open", folder.c_str(), nullptr, folder.c_str(), SW_SHOWNORMAL);
}

void TestExtractFocusedItem() {
  const int row = FindFocusedRow(LocalList);
  if (row < 0) return;
  ArchivePath = ListRowText(LocalList, row, 0);
  if (HasExtensionNoCase(SharedNameBuffer, ".lzh"))
    TestExtract("x", ArchiveKind::Lha);
  else if (HasExtensionNoCase(SharedNameBuffer, ".zip"))
    TestExtract("-x", ArchiveKind::Zip);
}

void CompressFiles() {
  const std::vector<std::string> files = ChooseFilesToCompress();
  if (files.empty()) return;
  for (const std::string& file : files)
    Run(ArchiveKind::Lha, CompressFileCommand(CompressSwitches(false, Options.LZHCap, Options.LZHSys),
                                              ArchiveFullPath(), file));
  RefreshLocalList(LocalList);
}

void CompressFolder() {
  const std::string switches = CompressSwitches(true, Options.LZHCap, Options.LZHSys);
  std::string chosen = CurrentLocalFolder;  // the browser opens on the folder shown
  if (BrowseForFolder(MainWindow, LoadResourceText(IDS_COMPRESS_TITLE).c_str(), chosen) &&
      EnterLocalFolder(chosen) && EnterLocalFolder("..")) {
    // The folder goes in relative to its parent, so its members keep its name and below.
    Run(ArchiveKind::Lha, CompressFolderCommand(switches, ArchiveFullPath(), LastPathPart(chosen)));
  }
  EnterLocalFolder(CurrentLocalFolder);
  RefreshLocalList(LocalList);
}

void OpenWithViewer(const std::string& viewerPath, bool browser) {
  for (const JobRow& row : SelectedJobRows(LocalList)) {
    if (row.folder) continue;
    std::string folder = CurrentLocalFolder, name = row.name;
    if (ArchiveMode == 1) {
      // A member that did not arrive is handed over all the same: the viewer says so.
      const std::string copy = ExtractMemberToWorkFolder(row.name);
      folder = copy.empty() ? WorkFolder : WorkSubFolderOf(copy);
      name = ExtractedCopyName(row.name);
    }
    const std::string parameter = browser ? "file://" + JoinLocalPath(folder, name) : name;
    const INT_PTR result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(MainWindow, "open", viewerPath.c_str(), parameter.c_str(), folder.c_str(), SW_SHOWNORMAL));
    if (result <= 32) ShowMessage(IDS_FAILED_SHELL_OPEN);
  }
}
