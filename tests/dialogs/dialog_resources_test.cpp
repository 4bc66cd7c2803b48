// The dialog, icon, cursor and toolbar resources as the program finds them.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dialog_driver_win.h"
#include "resources/resource_ids.h"

namespace {

const WORD kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
const WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);

struct Control {
  int id;
  std::string kind;  // a predefined class atom as "#0x80", or the class name
  DWORD style;
  bool operator==(const Control& o) const { return id == o.id && kind == o.kind && style == o.style; }
};

struct Template {
  bool found = false;
  std::wstring font;
  std::vector<Control> controls;
};

const WORD* SkipNameOrOrdinal(const WORD* p, std::string* out = nullptr) {
  if (*p == 0xFFFF) {
    if (out) *out = "#" + std::to_string(p[1]);
    return p + 2;
  }
  std::string name;
  while (*p) name += static_cast<char>(*p++);
  if (out) *out = name;
  return p + 1;
}

const WORD* AlignDword(const WORD* p) {
  return reinterpret_cast<const WORD*>((reinterpret_cast<ULONG_PTR>(p) + 3) & ~ULONG_PTR(3));
}

// Reads a DIALOG (not DIALOGEX) template of the given language.
Template ReadTemplate(int id, WORD language) {
  Template t;
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceExA(module, reinterpret_cast<LPCSTR>(RT_DIALOG), MAKEINTRESOURCEA(id), language);
  if (!found) return t;
  auto* head = static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(module, found)));
  if (!head) return t;
  t.found = true;
  const WORD* p = reinterpret_cast<const WORD*>(head + 1);
  p = SkipNameOrOrdinal(p);  // menu
  p = SkipNameOrOrdinal(p);  // class
  p = SkipNameOrOrdinal(p);  // caption
  if (head->style & DS_SETFONT) {
    ++p;  // point size
    while (*p) t.font += static_cast<wchar_t>(*p++);
    ++p;
  }
  for (int i = 0; i < head->cdit; ++i) {
    p = AlignDword(p);
    auto* item = reinterpret_cast<const DLGITEMTEMPLATE*>(p);
    Control c{static_cast<short>(item->id), "", item->style};
    p = reinterpret_cast<const WORD*>(item + 1);
    p = SkipNameOrOrdinal(p, &c.kind);
    p = SkipNameOrOrdinal(p);  // text
    p += 1 + *p / sizeof(WORD);  // creation data
    t.controls.push_back(c);
  }
  return t;
}

TEST(DialogResources, EveryDialogExistsInEnglishAndJapaneseWithTheSameControls) {
  for (int id : {IDD_CONNECT, IDD_ABOUT, IDD_GOTO_FOLDER, IDD_CHANGE_PERMISSION}) {
    Template en = ReadTemplate(id, kEnglish), ja = ReadTemplate(id, kJapanese);
    ASSERT_TRUE(en.found) << id;
    ASSERT_TRUE(ja.found) << id;
    EXPECT_TRUE(en.controls == ja.controls) << "dialog " << id << " differs between the languages";
    EXPECT_TRUE(en.font == L"MS Shell Dlg") << id;
    EXPECT_TRUE(ja.font == L"MS UI Gothic") << id;
  }
  auto ids = [](const Template& t) {
    std::vector<int> v;
    for (const Control& c : t.controls) v.push_back(c.id);
    return v;
  };
  EXPECT_EQ(ids(ReadTemplate(IDD_CONNECT, kEnglish)),
            (std::vector<int>{-1, 1003, -1, 1004, -1, 1005, -1, 1006, 1117, IDOK, IDCANCEL, 1060}));
  EXPECT_EQ(ids(ReadTemplate(IDD_GOTO_FOLDER, kEnglish)), (std::vector<int>{-1, 1013, 1021, IDOK, IDCANCEL}));
  EXPECT_EQ(ids(ReadTemplate(IDD_ABOUT, kEnglish)), (std::vector<int>{-1, -1, -1, -1, IDOK}));
  EXPECT_EQ(ids(ReadTemplate(IDD_CHANGE_PERMISSION, kEnglish)),
            (std::vector<int>{-1, -1, -1, IDC_PERMISSION_FIELD, IDOK, IDCANCEL}));
}

TEST(DialogResources, SheetPagesAndAddFavoriteHaveTheSameControlsInBothLanguages) {
  for (int id : {IDD_OPTIONS_BASIC, IDD_ADD_FAVORITE, IDD_HOST_BASIC, IDD_OPTIONS_DETAILS, IDD_PROXY, IDD_VIEW,
                 IDD_TRANSFER, IDD_UNLHA32, IDD_PERMISSION, IDD_HOST_DETAILS}) {
    Template en = ReadTemplate(id, kEnglish), ja = ReadTemplate(id, kJapanese);
    ASSERT_TRUE(en.found) << id;
    ASSERT_TRUE(ja.found) << id;
    EXPECT_TRUE(en.font == L"MS Shell Dlg") << id;
    EXPECT_TRUE(ja.font == L"MS UI Gothic") << id;
    ASSERT_EQ(en.controls.size(), ja.controls.size()) << id;
    for (size_t i = 0; i < en.controls.size(); ++i) {
      const Control &e = en.controls[i], &j = ja.controls[i];
      EXPECT_EQ(e.id, j.id) << "dialog " << id << " control " << i;
      EXPECT_EQ(e.kind, j.kind) << "dialog " << id << " control " << i;
      // Only the kanji conversions (the Transfer page's group from its eleventh control on)
      // differ: the English edition offers them disabled.
      if (id == IDD_TRANSFER && i >= 10) {
        EXPECT_EQ(e.style & ~WS_DISABLED, j.style) << "control " << i;
        EXPECT_TRUE(e.style & WS_DISABLED) << "control " << i;
      } else {
        EXPECT_EQ(e.style, j.style) << "dialog " << id << " control " << i;
      }
    }
  }
}

// The sizes an icon resource holds, from its group directory.
std::vector<int> IconSizes(int id) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), reinterpret_cast<LPCSTR>(RT_GROUP_ICON));
  std::vector<int> sizes;
  if (!found) return sizes;
  auto* dir = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
  int count = dir[4] | dir[5] << 8;
  for (int i = 0; i < count; ++i) sizes.push_back(dir[6 + 14 * i] ? dir[6 + 14 * i] : 256);
  return sizes;
}

TEST(ImageResources, EveryIconIsDrawnAt16And32AndLoads) {
  for (int id : {IDI_PROGRAM, IDI_FOLDER, IDI_ASCII_FILE, IDI_BINARY_FILE, IDI_OTHER_FILE, IDI_PARENT,
                 IDI_OPEN_FOLDER, IDI_DRIVE, IDI_MY_COMPUTER}) {
    std::vector<int> sizes = IconSizes(id);
    EXPECT_NE(std::find(sizes.begin(), sizes.end(), 16), sizes.end()) << id;
    EXPECT_NE(std::find(sizes.begin(), sizes.end(), 32), sizes.end()) << id;
    for (int size : {16, 32}) {
      HICON icon = static_cast<HICON>(
          LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0));
      EXPECT_NE(icon, nullptr) << id << " at " << size;
      if (icon) DestroyIcon(icon);
    }
  }
}

TEST(ImageResources, SplitCursorsHaveTheirHotSpotOnTheBar) {
  for (int id : {IDC_SPLIT_V, IDC_SPLIT_H}) {
    HCURSOR cursor = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
    ASSERT_NE(cursor, nullptr) << id;
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 15u);
    EXPECT_EQ(info.yHotspot, 15u);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
  }
}

// Each of the 14 toolbar images must paint something besides the button-face grey the
// toolbar treats as transparent, or its button would show blank.
TEST(ImageResources, ToolbarBitmapHoldsFourteenPaintedImagesOfSixteenPixels) {
  HBITMAP strip = static_cast<HBITMAP>(
      LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_TOOLBAR), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  ASSERT_NE(strip, nullptr);
  DIBSECTION dib{};
  ASSERT_EQ(GetObjectA(strip, sizeof dib, &dib), static_cast<int>(sizeof dib));
  EXPECT_EQ(dib.dsBm.bmWidth, 14 * 16);
  EXPECT_EQ(dib.dsBm.bmHeight, 16);
  EXPECT_LE(dib.dsBmih.biBitCount, 8) << "the toolbar recolours only palette bitmaps";

  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, strip);
  for (int image = 0; image < 14; ++image) {
    int painted = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) painted += GetPixel(dc, image * 16 + x, y) != RGB(192, 192, 192);
    EXPECT_GT(painted, 20) << "image " << image;
    EXPECT_LT(painted, 256) << "image " << image << " has no transparent background";
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(strip);
}

// The strip as a real toolbar draws it, enabled and disabled, for a reviewer to look at.
TEST(ImageResources, ToolbarDrawsEveryImageEnabledAndDisabled) {
  InitCommonControls();
  StandInMainWindow main(40, 40, 440, 140);
  TBBUTTON buttons[14] = {};
  for (int i = 0; i < 14; ++i) {
    buttons[i].iBitmap = i;
    buttons[i].idCommand = 100 + i;
    buttons[i].fsState = TBSTATE_ENABLED;
    buttons[i].fsStyle = TBSTYLE_BUTTON;
  }
  HWND bars[2];
  for (int row = 0; row < 2; ++row) {
    bars[row] = CreateToolbarEx(main.handle(), WS_CHILD | WS_VISIBLE | WS_BORDER | CCS_NOPARENTALIGN | CCS_NORESIZE,
                                2031 + row, 14, GetModuleHandleA(nullptr), IDB_TOOLBAR, buttons, 14, 16, 16, 16, 16,
                                sizeof(TBBUTTON));
    ASSERT_NE(bars[row], nullptr);
    MoveWindow(bars[row], 0, row * 36, 420, 32, TRUE);
    EXPECT_EQ(SendMessageA(bars[row], TB_BUTTONCOUNT, 0, 0), 14);
  }
  for (int i = 0; i < 14; ++i) SendMessageA(bars[1], TB_ENABLEBUTTON, 100 + i, FALSE);
  SaveScreenshot(main.handle(), "toolbar-images");
}

}  // namespace
