// Entries of one file-system folder as the shell sees them: the folder bound as a shell
// folder, the entries' item identifiers, and the shell's own objects for them (the data
// object that drags and the clipboard carry, the context menu of an entry).
#pragma once
#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <string>
#include <vector>

class ShellFolderItems {
 public:
  // Binds to the folder (a trailing backslash is dropped, except after a drive).
  explicit ShellFolderItems(const std::string& folder);
  ~ShellFolderItems();
  ShellFolderItems(const ShellFolderItems&) = delete;
  ShellFolderItems& operator=(const ShellFolderItems&) = delete;

  bool bound() const { return folder_ != nullptr; }
  // Parses the name within the folder and keeps its identifier; false when the shell cannot.
  bool Add(const std::string& name);
  size_t count() const { return items_.size(); }

  // The shell's object for every identifier kept, with one reference for the caller; null
  // when there is none or the shell refuses.
  IDataObject* NewDataObject(HWND owner);
  IContextMenu* NewContextMenu(HWND owner);

 private:
  void* UiObject(HWND owner, REFIID type);
  IShellFolder* folder_ = nullptr;
  std::vector<LPITEMIDLIST> items_;
};

// The text in UTF-16 by the system's ANSI code page.
std::wstring WideFromAnsi(const std::string& text);
