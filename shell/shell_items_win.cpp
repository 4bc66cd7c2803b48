#include "shell/shell_items_win.h"

#include "text/path_text.h"

std::wstring WideFromAnsi(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
  return wide;
}

// A folder such as "C:\work\" is parsed as "C:\work"; a drive root keeps its backslash.
static std::string WithoutTrailingBackslash(const std::string& folder) {
  if (folder.size() > 3 && EndsInSeparator(folder)) return folder.substr(0, folder.size() - 1);
  return folder;
}

ShellFolderItems::ShellFolderItems(const std::string& folder) {
  IShellFolder* desktop = nullptr;
  if (FAILED(SHGetDesktopFolder(&desktop))) return;
  std::wstring path = WideFromAnsi(WithoutTrailingBackslash(folder));
  LPITEMIDLIST item = nullptr;
  if (!path.empty() && SUCCEEDED(desktop->ParseDisplayName(nullptr, nullptr, &path[0], nullptr, &item, nullptr))) {
    void* bound = nullptr;
    if (SUCCEEDED(desktop->BindToObject(item, nullptr, IID_IShellFolder, &bound)))
      folder_ = static_cast<IShellFolder*>(bound);
    CoTaskMemFree(item);
  }
  desktop->Release();
}

ShellFolderItems::~ShellFolderItems() {
  for (LPITEMIDLIST item : items_) CoTaskMemFree(item);
  if (folder_) folder_->Release();
}

bool ShellFolderItems::Add(const std::string& name) {
  if (!folder_) return false;
  std::wstring wide = WideFromAnsi(name);
  if (wide.empty()) return false;
  LPITEMIDLIST item = nullptr;
  if (FAILED(folder_->ParseDisplayName(nullptr, nullptr, &wide[0], nullptr, &item, nullptr)) || !item) return false;
  items_.push_back(item);
  return true;
}

void* ShellFolderItems::UiObject(HWND owner, REFIID type) {
  if (!folder_ || items_.empty()) return nullptr;
  void* object = nullptr;
  const HRESULT result = folder_->GetUIObjectOf(owner, static_cast<UINT>(items_.size()),
                                                const_cast<LPCITEMIDLIST*>(reinterpret_cast<const LPCITEMIDLIST*>(items_.data())), type, nullptr, &object);
  return SUCCEEDED(result) ? object : nullptr;
}

IDataObject* ShellFolderItems::NewDataObject(HWND owner) {
  return static_cast<IDataObject*>(UiObject(owner, IID_IDataObject));
}

IContextMenu* ShellFolderItems::NewContextMenu(HWND owner) {
  return static_cast<IContextMenu*>(UiObject(owner, IID_IContextMenu));
}
