#include "app/pending_parts_win.h"

#include <shellapi.h>

void UpdateMenuState(int) {}
int RefreshLocalList(HWND) { return 1; }
int RefreshRemoteList(HWND, int) { return 1; }
HTREEITEM AddLocalPathToTree(const char*) { return nullptr; }
HTREEITEM FindLocalTreeItem(const char*) { return nullptr; }
int ConnectFromFavorite(const char*) { return 1; }
void ScanFavorites(HMENU) {}
LRESULT HandleNotify(HWND, WPARAM, LPARAM) { return 0; }
void DropUploadJob(HDROP drop) { DragFinish(drop); }
