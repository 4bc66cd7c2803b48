#include "shell/drag_out_win.h"

#include <ole2.h>

#include <string>
#include <vector>

#include "app/app_state_win.h"
#include "app/job_start_win.h"
#include "app/local_listing_win.h"
#include "app/main_window_win.h"
#include "app/message_boxes_win.h"
#include "app/work_folder_win.h"
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
  if (RunDrag(items, source, DROPEFFECT_COPY) && !JobRunning) EnterLocalFolder(remembered);
  source->Release();
}

// A drag's own sub-folder of the work folder. What was dropped stays there until exit (the
// receiver may still be copying it when the drag has ended); anything else goes at once.
class DragFolder {
 public:
  DragFolder() : path_(NewWorkSubFolder()) {}
  ~DragFolder() {
    if (!dropped_) RemoveWorkSubFolder(path_);
  }
  DragFolder(const DragFolder&) = delete;
  DragFolder& operator=(const DragFolder&) = delete;
  const std::string& path() const { return path_; }
  void Dropped() { dropped_ = true; }

 private:
  std::string path_;
  bool dropped_ = false;
};

void DragRemoteEntries() {
  if (!RemoteEntriesMayBeOffered()) return;
  DragFolder folder;
  if (folder.path().empty()) return;
  ShellFolderItems items(folder.path());
  if (!items.bound()) return;
  const std::vector<Placeholder> placeholders = MakeRemotePlaceholders(folder.path(), items);
  if (placeholders.empty()) return;
  const std::string remembered = CurrentLocalFolder;
  // At the release, before the drop: the entries arrive over their placeholders, and the
  // drop goes ahead only when every one of them did.
  RemoteDropSource* source = new RemoteDropSource([&]() {
    if (JobRunning || !StartPlaceholderDownload(folder.path(), remembered)) return false;
    WaitForJobEnd();
    return ArrivedNames(folder.path(), placeholders).size() == placeholders.size();
  });
  if (RunDrag(items, source, DROPEFFECT_COPY)) {
    folder.Dropped();
    EnterLocalFolder(remembered);
    RefreshLocalList(LocalList);
  }
  source->Release();
}

void DragArchiveMembers() {
  std::vector<ArchiveMember> members;
  for (const JobRow& row : SelectedJobRows(LocalList)) members.push_back({row.name, row.folder});
  DragFolder folder;
  if (folder.path().empty()) return;
  // Beside the sub-folder, not in it: no member's name can meet it.
  const std::string responsePath = NewWorkTempFile("res");
  if (responsePath.empty()) return;
  ArchiveExtraction extraction;
  if (!BuildArchiveExtraction(JoinLocalPath(CurrentLocalFolder, ArchivePath), folder.path(), responsePath, members,
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
  ShellFolderItems items(folder.path());
  std::vector<Placeholder> placeholders;
  if (saved && items.bound()) {
    for (size_t i = 0; i < extraction.placeholders.size(); ++i) {
      Placeholder placeholder;
      placeholder.name = extraction.placeholders[i];
      placeholder.folder = extraction.placeholderIsFolder[i];
      if (MakePlaceholder(folder.path(), placeholder) && items.Add(placeholder.name))
        placeholders.push_back(placeholder);
    }
  }
  if (!placeholders.empty()) {
    const std::string command = extraction.command;
    // Wherever the members are dropped, the program's own remote list included, they are
    // extracted first; a member that did not come out cancels the drop.
    LocalDropSource* source = new LocalDropSource([&]() {
      std::string output;
      if (!RunArchiveCommand(ArchiveKind::Lha, MainWindow, command, &output, kArchiveOutputRoom)) return false;
      return ArrivedNames(folder.path(), placeholders).size() == placeholders.size();
    });
    if (RunDrag(items, source, DROPEFFECT_COPY | DROPEFFECT_MOVE)) folder.Dropped();
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
