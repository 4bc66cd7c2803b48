// The two folder trees beside the file lists: the local tree grows by the drives and the
// folders listed; the remote tree is drawn from the connection's tree cache file.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

extern HTREEITEM LocalTreeRoot;   // "MyComputer"
extern HTREEITEM RemoteTreeRoot;  // "/"

// Tree icons: 0 closed folder, 1 open folder, 2 drive, 3 the computer.
enum TreeIcon { TreeFolderIcon = 0, TreeOpenFolderIcon = 1, TreeDriveIcon = 2, TreeComputerIcon = 3 };

HWND CreateFolderTree(HWND parent, int id);  // empty, with the tree icons
HWND CreateLocalTree(HWND parent);           // id 2090, with its "MyComputer" item
HWND CreateRemoteTree(HWND parent);          // id 2035

// A new item, sorted among its siblings when insertAfter is TVI_SORT. A folder's selected
// image is the open folder.
HTREEITEM InsertTreeItem(HWND tree, HTREEITEM parent, const std::string& text, HTREEITEM insertAfter, int image);
std::string TreeItemText(HWND tree, HTREEITEM item);

// A refill announces each item it adds (or, `many`, a rebuild) and ends with
// ResumeChangedTree. Redrawing is paused only once a change adds several items: on Wine,
// turning it back on measures every item of the tree again, while a folder or two added
// as the tree draws itself cost far less.
void PauseTreeBeforeChange(HWND tree, bool many = false);
void ResumeChangedTree(HWND tree);

// Local tree. Paths are matched without regard to letter case; a path whose later
// components have no item answers the deepest item found.
int AddLocalPathToTree(HWND tree, const std::string& path);
// The folders `names` below the item of `folder`, each added once (one listing's folders).
void AddLocalFoldersToTree(HWND tree, const std::string& folder, const std::vector<std::string>& names);
HTREEITEM FindLocalTreeItem(HWND tree, const std::string& path);  // TVI_ROOT while the trees are off
// The drives below the computer item and CurrentLocalFolder selected (nothing while the
// trees are off): at start-up and when the trees are turned on.
void ShowLocalTreeOfDrives();
std::string LocalPathOfTreeItem(HWND tree, HTREEITEM item);      // selects the item; "C:" or "C:\a\b"

// Remote tree. Paths are matched letter case counting.
int RebuildRemoteTree(HWND tree);
HTREEITEM FindRemoteTreeItem(HWND tree, const std::string& path);  // "home/user"; the root for ""
std::string RemotePathOfTreeItem(HWND tree, HTREEITEM item);      // selects the item; "/home/user"
void ClearRemoteTree(HWND tree);
