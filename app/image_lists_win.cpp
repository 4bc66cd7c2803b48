#include "app/image_lists_win.h"

#include <shellapi.h>

#include "app/app_state_win.h"
#include "app/local_listing_win.h"
#include "config/options.h"
#include "resources/resource_ids.h"

HIMAGELIST OwnLargeIcons, OwnSmallIcons, TreeIcons;
HIMAGELIST SystemSmallIcons, SystemLargeIcons;

static HIMAGELIST IconList(int size, std::initializer_list<int> icons) {
  HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 1, 1);
  if (!list) return nullptr;
  for (int id : icons) {
    HICON icon = static_cast<HICON>(
        LoadImageA(InstanceHandle, MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    ImageList_AddIcon(list, icon);  // a missing icon still takes its place (as an empty one)
    if (icon) DestroyIcon(icon);
  }
  return list;
}

void CreateImageLists() {
  const std::initializer_list<int> rows = {IDI_FOLDER, IDI_ASCII_FILE, IDI_BINARY_FILE, IDI_OTHER_FILE,
                                           IDI_PARENT};
  OwnLargeIcons = IconList(32, rows);
  OwnSmallIcons = IconList(16, rows);
  TreeIcons = IconList(16, {IDI_FOLDER, IDI_OPEN_FOLDER, IDI_DRIVE, IDI_MY_COMPUTER});
  SHFILEINFOA info{};
  SystemSmallIcons = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoA(ProgramFolder.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  SystemLargeIcons = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoA(ProgramFolder.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX));
}

void DestroyImageLists() {
  for (HIMAGELIST* list : {&OwnLargeIcons, &OwnSmallIcons, &TreeIcons}) {
    if (*list) ImageList_Destroy(*list);
    *list = nullptr;
  }
}

void ApplyIconSet(HWND listView) {
  const bool system = Options.DetailIcon == 1 && ArchiveMode == 0 && SystemSmallIcons;
  HIMAGELIST small = system ? SystemSmallIcons : OwnSmallIcons;
  HIMAGELIST large = system ? SystemLargeIcons : OwnLargeIcons;
  if (reinterpret_cast<HIMAGELIST>(SendMessageA(listView, LVM_GETIMAGELIST, LVSIL_SMALL, 0)) == small) return;
  SendMessageA(listView, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(large));
  SendMessageA(listView, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(small));
}
