#include "app/folder_trees_win.h"

#include <algorithm>
#include <cstring>
#include <map>
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
// The items announced per tree in the change under way; at kItemsWorthAPause its redrawing
// goes off.
std::map<HWND, int> ChangedTrees;
constexpr int kItemsWorthAPause = 8;
// The remote tree as shown: the tree cache lines it was built from and their model, whose
// nodes know their items, so that lines added since show their new folders and nothing else
// is touched. Valid while RemoteTreeRoot is.
std::vector<std::string> RemoteTreeLines;
RemoteTreeNode RemoteTreeShown;
}  // namespace

void PauseTreeBeforeChange(HWND tree, bool many) {
  if (!tree) return;
  int& items = ChangedTrees[tree];
  if (items >= kItemsWorthAPause) return;
  items = many ? kItemsWorthAPause : items + 1;
  if (items == kItemsWorthAPause) SendMessageA(tree, WM_SETREDRAW, FALSE, 0);
}

void ResumeChangedTree(HWND tree) {
  const auto changed = ChangedTrees.find(tree);
  if (!tree || changed == ChangedTrees.end()) return;
  const bool paused = changed->second >= kItemsWorthAPause;
  ChangedTrees.erase(changed);
  if (!paused) return;
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

// The child of `parent` whose text is `text`, letter case aside (local folders).
static HTREEITEM ChildNamed(HWND tree, HTREEITEM parent, const std::string& text) {
  for (HTREEITEM child = Next(tree, parent, TVGN_CHILD); child; child = Next(tree, child, TVGN_NEXT)) {
    if (lstrcmpiA(TreeItemText(tree, child).c_str(), text.c_str()) == 0) return child;
  }
  return nullptr;
}

// --- local tree -------------------------------------------------------------------

static HTREEITEM EnsureLocalPath(HWND tree, const std::string& path) {
  HTREEITEM item = LocalTreeRoot;
  for (const std::string& part : SplitLocalPath(path)) {
    HTREEITEM child = ChildNamed(tree, item, part);
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

void ShowLocalTreeOfDrives() {
  if (Options.TreeView == 0 || !LocalTree) return;
  char roots[260] = "";
  GetLogicalDriveStringsA(sizeof roots, roots);
  for (const char* root = roots; *root && root < roots + sizeof roots; root += lstrlenA(root) + 1)
    AddLocalPathToTree(LocalTree, root);
  AddLocalPathToTree(LocalTree, CurrentLocalFolder);
  Select(LocalTree, FindLocalTreeItem(LocalTree, CurrentLocalFolder));
}

HTREEITEM FindLocalTreeItem(HWND tree, const std::string& path) {
  if (Options.TreeView == 0) return TVI_ROOT;
  HTREEITEM item = LocalTreeRoot;
  for (const std::string& part : SplitLocalPath(path)) {
    HTREEITEM child = ChildNamed(tree, item, part);
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
  RemoteTreeShown = RemoteTreeNode();
}

static HTREEITEM ItemOf(const RemoteTreeNode& node) { return reinterpret_cast<HTREEITEM>(node.shownAs); }

// Shows the whole model: each level's folders in the control's order, appended, so that the
// control never searches for a place; a work list instead of recursion, however deep.
static void ShowRemoteModel(HWND tree) {
  std::vector<RemoteTreeNode*> pending{&RemoteTreeShown};
  while (!pending.empty()) {
    RemoteTreeNode* node = pending.back();
    pending.pop_back();
    std::vector<RemoteTreeNode*> children;
    for (RemoteTreeNode& child : node->children) children.push_back(&child);
    std::stable_sort(children.begin(), children.end(), [](const RemoteTreeNode* a, const RemoteTreeNode* b) {
      return lstrcmpiA(a->text.c_str(), b->text.c_str()) < 0;
    });
    for (RemoteTreeNode* child : children) {
      HTREEITEM item = InsertTreeItem(tree, ItemOf(*node), child->text, TVI_LAST, TreeFolderIcon);
      if (!item) continue;
      child->shownAs = reinterpret_cast<uintptr_t>(item);
      pending.push_back(child);
    }
  }
}

// Shows the folders of one more line that the tree does not have yet.
static void ShowRemoteLine(HWND tree, const std::string& line) {
  RemoteTreeNode* node = &RemoteTreeShown;
  for (const std::string& part : TreeCacheLineFolders(line)) {
    RemoteTreeNode* child = node->Child(part);
    if (!child) {
      PauseTreeBeforeChange(tree);
      HTREEITEM item = InsertTreeItem(tree, ItemOf(*node), part, TVI_SORT, TreeFolderIcon);
      if (!item) return;
      child = &node->AddChild(part);
      child->shownAs = reinterpret_cast<uintptr_t>(item);
    }
    if (!child->shownAs) return;
    node = child;
  }
}

int RebuildRemoteTree(HWND tree) {
  if (Options.TreeView == 0 || !tree) return 0;
  if (TreeTempPath.empty()) {
    // No tree cache this session (its file could not be made at login): the root alone.
    if (!RemoteTreeRoot) RemoteTreeRoot = InsertTreeItem(tree, TVI_ROOT, "/", TVI_SORT, TreeFolderIcon);
    return 1;
  }
  std::vector<std::string> lines;
  const bool read = ReadTreeCacheFile(TreeTempPath, lines);
  const bool grown = read && RemoteTreeRoot && lines.size() >= RemoteTreeLines.size() &&
                     std::equal(RemoteTreeLines.begin(), RemoteTreeLines.end(), lines.begin());
  if (grown) {
    // The usual case: a listing appended the folders it found.
    for (size_t i = RemoteTreeLines.size(); i < lines.size(); ++i) ShowRemoteLine(tree, lines[i]);
    RemoteTreeLines = std::move(lines);
  } else {
    // Lines removed or renamed (or the first build): the tree is built anew.
    PauseTreeBeforeChange(tree, true);
    ClearRemoteTree(tree);
    RemoteTreeRoot = InsertTreeItem(tree, TVI_ROOT, "/", TVI_SORT, TreeFolderIcon);
    if (!read) {
      ResumeChangedTree(tree);
      ShowProgramMessageBox(LoadResourceText(IDS_CANNOT_READ_TREE_INFO), "VakoFTP", MB_OK);
      return 0;
    }
    if (RemoteTreeRoot) {
      RemoteTreeShown = BuildRemoteTreeModel(lines);
      RemoteTreeShown.shownAs = reinterpret_cast<uintptr_t>(RemoteTreeRoot);
      ShowRemoteModel(tree);
      RemoteTreeLines = std::move(lines);
    }
  }
  std::string current = CurrentRemoteFolder.empty() ? "" : CurrentRemoteFolder.substr(1);
  Select(tree, FindRemoteTreeItem(tree, current));
  ResumeChangedTree(tree);
  return 1;
}

HTREEITEM FindRemoteTreeItem(HWND, const std::string& path) {
  // Looked up in the model that mirrors the tree: no item texts are read from the control.
  if (!RemoteTreeRoot) return nullptr;
  const RemoteTreeNode* node = &RemoteTreeShown;
  for (const std::string& part : SplitRemotePath(path)) {
    const RemoteTreeNode* child = node->Child(part);
    if (!child || !child->shownAs) break;
    node = child;
  }
  return ItemOf(*node);
}

std::string RemotePathOfTreeItem(HWND tree, HTREEITEM item) {
  if (Options.TreeView == 0) return "";
  Select(tree, item);
  std::vector<std::string> texts;
  for (; item && item != TVI_ROOT && item != RemoteTreeRoot; item = Next(tree, item, TVGN_PARENT))
    texts.insert(texts.begin(), TreeItemText(tree, item));
  return RemotePathOfTexts(texts);
}
