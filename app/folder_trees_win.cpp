#include "app/folder_trees_win.h"

#include <cstring>
#include <set>

#include "app/app_state_win.h"
#include "app/image_lists_win.h"
#include "app/local_tree_paths.h"
#include "app/main_window_win.h"
#include "app/message_boxes_win.h"
#include "app/remote_tree_model.h"
#include "app/string_table_win.h"
#include "app/tree_cache.h"
#include "config/options.h"
#include "resources/resource_ids.h"

HTREEITEM LocalTreeRoot;
HTREEITEM RemoteTreeRoot;

namespace {
std::set<HWND> PausedTrees;
// The tree cache lines the remote tree was last built from; valid while RemoteTreeRoot is.
std::vector<std::string> RemoteTreeLines;
}  // namespace

void PauseTreeBeforeChange(HWND tree) {
  if (tree && PausedTrees.insert(tree).second) SendMessageA(tree, WM_SETREDRAW, FALSE, 0);
}

void ResumeChangedTree(HWND tree) {
  if (!tree || PausedTrees.erase(tree) == 0) return;
  SendMessageA(tree, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(tree, nullptr, TRUE);
}

HWND CreateFolderTree(HWND parent, int id) {
  HWND tree = CreateWindowExA(WS_EX_CLIENTEDGE, "SysTreeView32", "",
                              WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT,
                              0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), InstanceHandle,
                              nullptr);
  if (tree) SendMessageA(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(TreeIcons));
  return tree;
}

HWND CreateLocalTree(HWND parent) {
  HWND tree = CreateFolderTree(parent, kLocalTreeId);
  if (tree) LocalTreeRoot = InsertTreeItem(tree, TVI_ROOT, LoadResourceText(IDS_MY_COMPUTER), TVI_SORT, TreeComputerIcon);
  return tree;
}

HWND CreateRemoteTree(HWND parent) { return CreateFolderTree(parent, kRemoteTreeId); }

HTREEITEM InsertTreeItem(HWND tree, HTREEITEM parent, const std::string& text, HTREEITEM insertAfter, int image) {
  TVINSERTSTRUCTA insert{};
  insert.hParent = parent;
  insert.hInsertAfter = insertAfter;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  insert.item.pszText = const_cast<char*>(text.c_str());
  insert.item.iImage = image;
  insert.item.iSelectedImage = image == TreeFolderIcon ? TreeOpenFolderIcon : image;
  return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

std::string TreeItemText(HWND tree, HTREEITEM item) {
  // The tree hands out at most the room it is given and does not say how long the text
  // is: grow until the text leaves room to spare. Remote names have no length limit.
  std::vector<char> text(1024);
  for (;;) {
    text[0] = '\0';
    TVITEMA tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = text.data();
    tv.cchTextMax = static_cast<int>(text.size());
    if (!SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv))) return "";
    // A copy cut short may also stop before a two-byte character: two bytes to spare.
    const size_t length = strnlen(text.data(), text.size());
    if (length + 2 < text.size() || text.size() >= (1u << 20)) return std::string(text.data(), length);
    text.resize(text.size() * 4);
  }
}

static HTREEITEM Next(HWND tree, HTREEITEM item, UINT how) {
  return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
}

static void Select(HWND tree, HTREEITEM item) {
  SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}

// The child of `parent` whose text is `text`; letter case counts only when asked.
static HTREEITEM ChildNamed(HWND tree, HTREEITEM parent, const std::string& text, bool caseCounts) {
  for (HTREEITEM child = Next(tree, parent, TVGN_CHILD); child; child = Next(tree, child, TVGN_NEXT)) {
    std::string childText = TreeItemText(tree, child);
    if (caseCounts ? childText == text : lstrcmpiA(childText.c_str(), text.c_str()) == 0) return child;
  }
  return nullptr;
}

// --- local tree -------------------------------------------------------------------

static HTREEITEM EnsureLocalPath(HWND tree, const std::string& path) {
  HTREEITEM item = LocalTreeRoot;
  for (const std::string& part : SplitLocalPath(path)) {
    HTREEITEM child = ChildNamed(tree, item, part, false);
    if (!child) {
      PauseTreeBeforeChange(tree);
      child = InsertTreeItem(tree, item, part, TVI_SORT, IsDriveComponent(part) ? TreeDriveIcon : TreeFolderIcon);
    }
    if (!child) break;
    item = child;
  }
  return item;
}

int AddLocalPathToTree(HWND tree, const std::string& path) {
  if (Options.TreeView == 0 || !tree) return 1;
  EnsureLocalPath(tree, path);
  ResumeChangedTree(tree);
  return 1;
}

namespace {
struct NoCaseLess {
  bool operator()(const std::string& a, const std::string& b) const { return lstrcmpiA(a.c_str(), b.c_str()) < 0; }
};
}  // namespace

void AddLocalFoldersToTree(HWND tree, const std::string& folder, const std::vector<std::string>& names) {
  if (Options.TreeView == 0 || !tree || names.empty()) return;
  HTREEITEM parent = EnsureLocalPath(tree, folder);
  // The children are read once, not once per folder: a folder may hold thousands.
  std::set<std::string, NoCaseLess> present;
  for (HTREEITEM child = Next(tree, parent, TVGN_CHILD); child; child = Next(tree, child, TVGN_NEXT))
    present.insert(TreeItemText(tree, child));
  for (const std::string& name : names) {
    if (present.insert(name).second) {
      PauseTreeBeforeChange(tree);
      InsertTreeItem(tree, parent, name, TVI_SORT, TreeFolderIcon);
    }
  }
}

HTREEITEM FindLocalTreeItem(HWND tree, const std::string& path) {
  if (Options.TreeView == 0) return TVI_ROOT;
  HTREEITEM item = LocalTreeRoot;
  for (const std::string& part : SplitLocalPath(path)) {
    HTREEITEM child = ChildNamed(tree, item, part, false);
    if (!child) break;
    item = child;
  }
  return item;
}

std::string LocalPathOfTreeItem(HWND tree, HTREEITEM item) {
  if (Options.TreeView == 0) return "";
  Select(tree, item);
  std::string last = TreeItemText(tree, item);
  std::string path = last;
  // Up to the drive item; the computer item above it has no part in a path.
  while (!IsDriveComponent(last)) {
    item = Next(tree, item, TVGN_PARENT);
    if (!item || item == LocalTreeRoot) break;
    last = TreeItemText(tree, item);
    path = last + "\\" + path;
  }
  return path;
}

// --- remote tree ------------------------------------------------------------------

void ClearRemoteTree(HWND tree) {
  SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  RemoteTreeRoot = nullptr;
  RemoteTreeLines.clear();
}

static void InsertRemoteNodes(HWND tree, HTREEITEM parent, const RemoteTreeNode& node) {
  for (const RemoteTreeNode& child : node.children) {
    HTREEITEM item = InsertTreeItem(tree, parent, child.text, TVI_SORT, TreeFolderIcon);
    if (item) InsertRemoteNodes(tree, item, child);
  }
}

int RebuildRemoteTree(HWND tree) {
  if (Options.TreeView == 0 || !tree) return 0;
  std::vector<std::string> lines;
  const bool read = ReadTreeCacheFile(TreeTempPath, lines);
  // The same lines build the same tree: a job's refills mostly list folders it knew.
  if (!read || !RemoteTreeRoot || lines != RemoteTreeLines) {
    PauseTreeBeforeChange(tree);
    ClearRemoteTree(tree);
    RemoteTreeRoot = InsertTreeItem(tree, TVI_ROOT, "/", TVI_SORT, TreeFolderIcon);
    if (!read) {
      ResumeChangedTree(tree);
      ShowProgramMessageBox(LoadResourceText(IDS_CANNOT_READ_TREE_INFO), "VakoFTP", MB_OK);
      return 0;
    }
    InsertRemoteNodes(tree, RemoteTreeRoot, BuildRemoteTreeModel(lines));
    if (RemoteTreeRoot) RemoteTreeLines = std::move(lines);
  }
  std::string current = CurrentRemoteFolder.empty() ? "" : CurrentRemoteFolder.substr(1);
  Select(tree, FindRemoteTreeItem(tree, current));
  ResumeChangedTree(tree);
  return 1;
}

HTREEITEM FindRemoteTreeItem(HWND tree, const std::string& path) {
  HTREEITEM item = RemoteTreeRoot;
  if (!item) return nullptr;
  for (const std::string& part : SplitRemotePath(path)) {
    HTREEITEM child = ChildNamed(tree, item, part, true);
    if (!child) break;
    item = child;
  }
  return item;
}

std::string RemotePathOfTreeItem(HWND tree, HTREEITEM item) {
  if (Options.TreeView == 0) return "";
  Select(tree, item);
  std::vector<std::string> texts;
  for (; item && item != TVI_ROOT && item != RemoteTreeRoot; item = Next(tree, item, TVGN_PARENT))
    texts.insert(texts.begin(), TreeItemText(tree, item));
  return RemotePathOfTexts(texts);
}
