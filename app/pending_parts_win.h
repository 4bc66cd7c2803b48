// Points where parts of the program that are still to come plug into start-up and the main
// window. Each does nothing and answers success until its part replaces it; when a part is
// built, its function moves out of this file into the part's own file.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

void UpdateMenuState(int full);                   // menu checks, grays and toolbar state
int RefreshLocalList(HWND list);                  // fills the local list from the current folder
int RefreshRemoteList(HWND list, int fromCache);  // fills the remote list from a listing
HTREEITEM AddLocalPathToTree(const char* path);   // a drive root or folder in the local tree
HTREEITEM FindLocalTreeItem(const char* path);    // the tree item of a local folder
int ConnectFromFavorite(const char* path);        // connects from a favorite file
void ScanFavorites(HMENU menu);                   // the favorite entries of the Favorites menu
LRESULT HandleNotify(HWND window, WPARAM wParam, LPARAM lParam);  // list, tree and toolbar notifications
void DropUploadJob(HDROP drop);                   // uploads files dropped on the window
