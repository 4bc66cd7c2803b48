#include "shell/clipboard_copy_win.h"

#include <ole2.h>

#include <string>
#include <vector>

#include "app/app_state_win.h"
#include "app/job_start_win.h"
#include "app/local_listing_win.h"
#include "app/main_window_win.h"
#include "app/work_folder_win.h"
#include "jobs/job_support_win.h"
#include "shell/placeholder_download_win.h"
#include "shell/remote_selection_win.h"
#include "shell/shell_items_win.h"

namespace {

// Each copy of remote entries has its own sub-folder of the work folder. It goes once the
// clipboard no longer holds its files, as seen at the next Copy (a copy given up before its
// files were offered goes when its download ends), and at exit with the work folder.
struct PendingCopy {
  bool waiting = false;
  std::string folder;  // until the download has ended, also after the copy was given up
  std::vector<Placeholder> placeholders;
  DWORD clipboardSequence = 0;  // the clipboard's as the copy emptied it
};
PendingCopy Pending;
struct OfferedCopy {
  std::string folder;
  IDataObject* data = nullptr;  // our reference, to ask the clipboard whether it still has it
};
OfferedCopy Offered;

void ForgetOfferedCopy() {
  if (!Offered.data || OleIsCurrentClipboard(Offered.data) == S_OK) return;
  Offered.data->Release();
  Offered.data = nullptr;
  RemoveWorkSubFolder(Offered.folder);
  Offered.folder.clear();
}

// The data object set on the clipboard, when the caller wants to keep it (kept), or null.
IDataObject* PutOnClipboard(ShellFolderItems& items, bool kept = false) {
  IDataObject* data = items.NewDataObject(MainWindow);
  if (!data) return nullptr;
  OleFlushClipboard();
  const bool set = OleSetClipboard(data) == S_OK;
  if (kept && set) return data;
  data->Release();
  return nullptr;
}

void CopyLocalSelection() {
  ShellFolderItems items(CurrentLocalFolder);
  if (!items.bound()) return;
  for (const JobRow& row : SelectedJobRows(LocalList)) {
    if (items.count() >= kMaxOfferedEntries) break;
    if (row.name != "..") items.Add(row.name);
  }
  PutOnClipboard(items);
}

void CopyRemoteSelection() {
  if (!RemoteEntriesMayBeOffered()) return;
  const std::string folder = NewWorkSubFolder();
  if (folder.empty()) return;
  std::vector<Placeholder> placeholders;
  {
    ShellFolderItems items(folder);
    if (items.bound()) placeholders = MakeRemotePlaceholders(folder, items);
  }
  if (placeholders.empty()) {
    RemoveWorkSubFolder(folder);
    return;
  }
  // Until the files have arrived the clipboard offers nothing, not what it held before.
  OleSetClipboard(nullptr);
  if (OpenClipboard(MainWindow)) {
    EmptyClipboard();
    CloseClipboard();
  }
  ForgetOfferedCopy();
  Pending.folder = folder;
  Pending.placeholders = std::move(placeholders);
  Pending.clipboardSequence = GetClipboardSequenceNumber();
  Pending.waiting = StartPlaceholderDownload(folder, CurrentLocalFolder);
  if (!Pending.waiting) {
    RemoveWorkSubFolder(folder);
    Pending.folder.clear();
  }
}

}  // namespace

void CopyToClipboard() {
  if (ArchiveMode) return;
  if (ActivePane == 0) {
    Pending.waiting = false;  // the last copy is the one the clipboard keeps
    CopyLocalSelection();
    ForgetOfferedCopy();
  } else {
    CopyRemoteSelection();
  }
}

void OfferDownloadedCopy() {
  if (Pending.folder.empty()) return;
  const std::string folder = Pending.folder;
  Pending.folder.clear();
  // Given up, or copied elsewhere since: the files will never be offered.
  if (!Pending.waiting || GetClipboardSequenceNumber() != Pending.clipboardSequence) {
    Pending.waiting = false;
    Pending.placeholders.clear();
    RemoveWorkSubFolder(folder);
    return;
  }
  Pending.waiting = false;
  IDataObject* data = nullptr;
  {
    ShellFolderItems items(folder);
    for (const std::string& name : ArrivedNames(folder, Pending.placeholders)) items.Add(name);
    if (items.count() > 0) data = PutOnClipboard(items, true);
  }
  Pending.placeholders.clear();
  if (!data) {
    RemoveWorkSubFolder(folder);
    return;
  }
  ForgetOfferedCopy();  // a copy offered before: no longer the clipboard's now
  Offered.folder = folder;
  Offered.data = data;
}
