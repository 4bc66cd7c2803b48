// The dialog templates of both editions as the program finds them.
#include <gtest/gtest.h>
#include <windows.h>

#include <cctype>
#include <string>
#include <vector>

#include "resources/resource_ids.h"

namespace {

const int kDialogs[] = {IDD_CONNECT, IDD_ABOUT, IDD_GOTO_FOLDER, IDD_CHANGE_PERMISSION, IDD_OPTIONS_BASIC,
                        IDD_ADD_FAVORITE, IDD_HOST_BASIC, IDD_OPTIONS_DETAILS, IDD_PROXY, IDD_VIEW, IDD_TRANSFER,
                        IDD_UNLHA32, IDD_PERMISSION, IDD_HOST_DETAILS, IDD_LINK_ANALYZER, IDD_CERTIFICATE_QUESTION};

struct Control {
  int id;
  std::string kind;  // a predefined class atom as "#128", or the class name
  DWORD style;
  std::string text;  // its ASCII characters (the mnemonic letters among them)
};

struct Template {
  bool found = false;
  std::wstring font;
  std::vector<Control> controls;
};

const WORD* SkipNameOrOrdinal(const WORD* p, std::string* out = nullptr) {
  std::string name = *p == 0xFFFF ? "#" + std::to_string(p[1]) : "";
  if (*p == 0xFFFF) p += 2;
  else {
    while (*p) name += static_cast<char>(*p++);
    ++p;
  }
  if (out) *out = name;
  return p;
}

// Reads a DIALOG (not DIALOGEX) template of the given language.
Template ReadTemplate(int id, WORD language) {
  Template t;
  HRSRC found = FindResourceExA(nullptr, reinterpret_cast<LPCSTR>(RT_DIALOG), MAKEINTRESOURCEA(id), language);
  auto* head = found ? static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(nullptr, found))) : nullptr;
  if (!head) return t;
  t.found = true;
  const WORD* p = SkipNameOrOrdinal(SkipNameOrOrdinal(SkipNameOrOrdinal(reinterpret_cast<const WORD*>(head + 1))));
  if (head->style & DS_SETFONT) {
    for (++p; *p; ++p) t.font += static_cast<wchar_t>(*p);  // after the point size
    ++p;
  }
  for (int i = 0; i < head->cdit; ++i) {
    p = reinterpret_cast<const WORD*>((reinterpret_cast<ULONG_PTR>(p) + 3) & ~ULONG_PTR(3));
    auto* item = reinterpret_cast<const DLGITEMTEMPLATE*>(p);
    Control c{static_cast<short>(item->id), "", item->style, ""};
    p = SkipNameOrOrdinal(SkipNameOrOrdinal(reinterpret_cast<const WORD*>(item + 1), &c.kind), &c.text);
    p += 1 + *p / sizeof(WORD);  // creation data
    t.controls.push_back(c);
  }
  return t;
}

// Both editions hold every dialog with the same controls in the same order, each in its
// own font. Only the kanji conversions (the Transfer page's group from its eleventh control
// on) differ: the English edition offers them disabled.
TEST(DialogResources, EveryDialogHasTheSameControlsInEnglishAndJapanese) {
  for (int id : kDialogs) {
    const Template en = ReadTemplate(id, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    const Template ja = ReadTemplate(id, MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT));
    ASSERT_TRUE(en.found && ja.found) << id;
    EXPECT_TRUE(en.font == L"MS Shell Dlg" && ja.font == L"MS UI Gothic") << id;
    ASSERT_EQ(en.controls.size(), ja.controls.size()) << id;
    for (size_t i = 0; i < en.controls.size(); ++i) {
      const Control &e = en.controls[i], &j = ja.controls[i];
      const bool conversion = id == IDD_TRANSFER && i >= 10;
      EXPECT_EQ(e.id, j.id) << id << " control " << i;
      EXPECT_EQ(e.kind, j.kind) << id << " control " << i;
      EXPECT_EQ(conversion ? e.style & ~WS_DISABLED : e.style, j.style) << id << " control " << i;
      if (conversion) {
        EXPECT_TRUE(e.style & WS_DISABLED) << "control " << i;
      }
    }
  }
}

// The letters after "&" in the texts, upper case; the first repeated one, or 0.
char RepeatedMnemonic(const std::vector<std::string>& texts) {
  std::string seen;
  for (const std::string& text : texts) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
      if (text[i] != '&') continue;
      const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(text[++i])));
      if (letter == '&') continue;
      if (seen.find(letter) != std::string::npos) return letter;
      seen += letter;
    }
  }
  return 0;
}

// The menu's items, each popup's items checked the same way.
void ExpectOneItemPerMnemonic(HMENU menu, const std::string& where) {
  std::vector<std::string> texts;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    char text[256] = "";
    GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
    texts.push_back(text);
    if (HMENU popup = GetSubMenu(menu, i)) ExpectOneItemPerMnemonic(popup, where + " > " + text);
  }
  EXPECT_EQ(RepeatedMnemonic(texts), 0) << where;
}

// Alt and a letter reach one item: within each menu, and within each dialog of both editions.
TEST(DialogResources, EachMnemonicLeadsToOneItem) {
  for (int id : {IDR_MAIN_MENU, IDR_PANE_MENU, IDR_LOCAL_ITEM_MENU, IDR_REMOTE_ITEM_MENU, IDR_REMOTE_AREA_MENU,
                 IDR_ARCHIVE_AREA_MENU, IDR_LINK_LIST_MENU}) {
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
    ASSERT_NE(menu, nullptr);
    ExpectOneItemPerMnemonic(menu, "menu " + std::to_string(id));
    DestroyMenu(menu);
  }
  for (int id : kDialogs) {
    for (WORD language : {MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT)}) {
      std::vector<std::string> texts;
      for (const Control& c : ReadTemplate(id, language).controls) texts.push_back(c.text);
      EXPECT_EQ(RepeatedMnemonic(texts), 0) << "dialog " << id << " language " << language;
    }
  }
}

}  // namespace
