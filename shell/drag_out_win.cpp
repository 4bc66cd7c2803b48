#include "shell/drag_out_win.h"

#include <ole2.h>

#include <string>
#include <vector>

#include "app/app_state_win.h"
#include "app/local_listing_win.h"
#include "app/main_window_win.h"
#include "app/message_boxes_win.h"
#include "archive/archive_library_win.h"
#include "jobs/job_support_win.h"
#include "resources/resource_ids.h"
#include "shell/archive_extraction.h"
#include "shell/drop_sources_win.h"
#include "shell/placeholder_download_win.h"
#include "shell/placeholders_win.h"
#include "shell/remote_selection_win.h"
#include "shell/shell_items_win.h"
#include "text/path_text.h"

namespace {

constexpr size_t kArchiveOutputRoom = 2048;

// Runs the drag-and-drop loop; true when a drop took effect.
bool RunDrag(ShellFolderItems& items, IDropSource* source, DWORD effects) {
  IDataObject* data = items.NewDataObject(MainWindow);
  if (!data) return false;
  DWORD effect = DROPEFFECT_NONE;
  const HRESULT result = DoDragDrop(data, source, effects, &effect);
  data->Release();
  return result == DRAGDROP_S_DROP;
}

void DragLocalEntries() {
  ShellFolderItems items(CurrentLocalFolder);
  if (!items.bound()) return;
  for (const JobRow& row : SelectedJobRows(LocalList)) {
    if (items.count() >= kMaxOfferedEntries) break;
    if (row.name != "..") items.Add(row.name);
  }
  if (items.count() == 0) return;
  const std::string remembered = CurrentLocalFolder;
  LocalDropSource* source = new LocalDropSource();
  if (RunDrag(items, source, DROPEFFECT_COPY)) EnterLocalFolder(remembered);
  source->Release();
}

void DragRemoteEntries() {
  if (!RemoteEntriesMayBeOffered()) return;
  ShellFolderItems items(WorkFolder);
  if (!items.bound()) return;
  const std::vector<Placeholder> placeholders = MakeRemotePlaceholders(items);
  if (placeholders.empty()) return;
  const std::string remembered = CurrentLocalFolder;
  // At the release, before the drop: the entries arrive over their placeholders, and the
  // drop goes ahead only when every one of them did.
  RemoteDropSource* source = new RemoteDropSource([&]() {
    if (JobRunning || !StartPlaceholderDownload(remembered)) return false;
    WaitForJobEnd();
    return ArrivedNames(WorkFolder, placeholders).size() == placeholders.size();
  });
  if (RunDrag(items, source, DROPEFFECT_COPY)) {
    EnterLocalFolder(remembered);
    RefreshLocalList(LocalList);
  }
  source->Release();
}

void DragArchiveMembers() {
  std::vector<ArchiveMember> members;
  for (const JobRow& row : SelectedJobRows(LocalList)) members.push_back({row.name, row.folder});
  const std::string responsePath = NewWorkTempFile("res");
  if (responsePath.empty()) return;
  ArchiveExtraction extraction;
  if (!BuildArchiveExtraction(JoinLocalPath(CurrentLocalFolder, ArchivePath), WorkFolder, responsePath, members,
                              extraction)) {
    DeleteFileA(responsePath.c_str());
    ShowMessage(IDS_ARCHIVE_PATH_TOO_LONG);
    return;
  }
  HANDLE file = CreateFileA(responsePath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr);
  DWORD written = 0;
  const bool saved = file != INVALID_HANDLE_VALUE &&
                     WriteFile(file, extraction.response.data(), static_cast<DWORD>(extraction.response.size()),
                               &written, nullptr) &&
                     written == extraction.response.size();
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  ShellFolderItems items(WorkFolder);
  std::vector<Placeholder> placeholders;
  if (saved && items.bound()) {
    for (size_t i = 0; i < extraction.placeholders.size(); ++i) {
      Placeholder placeholder;
      placeholder.name = extraction.placeholders[i];
      placeholder.folder = extraction.placeholderIsFolder[i];
      if (MakePlaceholder(WorkFolder, placeholder) && items.Add(placeholder.name)) placeholders.push_back(placeholder);
    }
  }
  if (!placeholders.empty()) {
    const std::string command = extraction.command;
    // Wherever the members are dropped, the program's own remote list included, they are
    // extracted first; a member that did not come out cancels the drop.
    LocalDropSource* source = new LocalDropSource([&]() {
      std::string output;
      if (!RunArchiveCommand(ArchiveKind::Lha, MainWindow, command, &output, kArchiveOutputRoom)) return false;
      return ArrivedNames(WorkFolder, placeholders).size() == placeholders.size();
    });
    RunDrag(items, source, DROPEFFECT_COPY | DROPEFFECT_MOVE);
    source->Release();
  }
  DeleteFileA(responsePath.c_str());
}

}  // namespace

void BeginDragOut(HWND list) {
  if (list == RemoteList)
    DragRemoteEntries();
  else if (ArchiveMode)
    DragArchiveMembers();
  else
    DragLocalEntries();
}
