#include "shell/clipboard_copy_win.h"

#include <ole2.h>

#include <string>
#include <vector>

#include "app/app_state_win.h"
#include "app/local_listing_win.h"
#include "app/main_window_win.h"
#include "jobs/job_support_win.h"
#include "shell/placeholder_download_win.h"
#include "shell/remote_selection_win.h"
#include "shell/shell_items_win.h"

namespace {

struct PendingCopy {
  bool waiting = false;
  std::vector<Placeholder> placeholders;
  DWORD clipboardSequence = 0;  // the clipboard's as the copy emptied it
};
PendingCopy Pending;

void PutOnClipboard(ShellFolderItems& items) {
  IDataObject* data = items.NewDataObject(MainWindow);
  if (!data) return;
  OleFlushClipboard();
  OleSetClipboard(data);
  data->Release();
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
  ShellFolderItems items(WorkFolder);
  if (!items.bound()) return;
  std::vector<Placeholder> placeholders = MakeRemotePlaceholders(items);
  if (placeholders.empty()) return;
  // Until the files have arrived the clipboard offers nothing, not what it held before.
  OleSetClipboard(nullptr);
  if (OpenClipboard(MainWindow)) {
    EmptyClipboard();
    CloseClipboard();
  }
  Pending.placeholders = std::move(placeholders);
  Pending.clipboardSequence = GetClipboardSequenceNumber();
  Pending.waiting = StartPlaceholderDownload(CurrentLocalFolder);
}

}  // namespace

void CopyToClipboard() {
  if (ArchiveMode) return;
  if (ActivePane == 0) {
    Pending.waiting = false;  // the last copy is the one the clipboard keeps
    CopyLocalSelection();
  } else {
    CopyRemoteSelection();
  }
}

void OfferDownloadedCopy() {
  if (!Pending.waiting) return;
  Pending.waiting = false;
  if (GetClipboardSequenceNumber() != Pending.clipboardSequence) return;  // copied elsewhere since
  ShellFolderItems items(WorkFolder);
  for (const std::string& name : ArrivedNames(WorkFolder, Pending.placeholders)) items.Add(name);
  Pending.placeholders.clear();
  if (items.count() > 0) PutOnClipboard(items);
}
