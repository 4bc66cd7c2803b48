// The English edition's menu, keys and texts, exactly as written.
#include <gtest/gtest.h>
#include <windows.h>

#include "resources/resource_ids.h"

static std::string ItemText(HMENU menu, UINT item, UINT flag) {
  char text[128] = "";
  GetMenuStringA(menu, item, text, sizeof text, flag);
  return text;
}

TEST(MainMenu, MenusKeysAndTexts) {
  HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAIN_MENU));
  ASSERT_NE(menu, nullptr);
  const char* tops[] = {"&File", "&Edit", "&Connect", "&Tool", "&View", "F&avorites", "&Help"};
  ASSERT_EQ(GetMenuItemCount(menu), 7);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(ItemText(menu, i, MF_BYPOSITION), tops[i]);
  EXPECT_EQ(ItemText(menu, IDM_GOTO_FOLDER, MF_BYCOMMAND), "&Go to Folder...\tShift+F1");
  EXPECT_EQ(ItemText(menu, IDM_NKF_DOWN, MF_BYCOMMAND), "To Shift-JIS hen Rrecieveing");
  EXPECT_EQ(ItemText(menu, IDM_NKF_KANA, MF_BYCOMMAND), "Kana Convert&K)");
  EXPECT_EQ(ItemText(menu, IDM_LINK_ANALYZER, MF_BYCOMMAND), "&Link Analazer");
  EXPECT_TRUE(GetMenuState(menu, IDM_DISCONNECT, MF_BYCOMMAND) & MF_GRAYED);
  DestroyMenu(menu);

  // Thirteen keys; the browsing tests press them in the running program.
  HACCEL table = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_ACCELERATORS));
  EXPECT_EQ(CopyAcceleratorTableA(table, nullptr, 0), 13);
  DestroyAcceleratorTable(table);

  char text[256];
  LoadStringA(GetModuleHandleA(nullptr), IDS_RECEIVING_FILE, text, sizeof text);
  EXPECT_STREQ(text, "Revieveing file %s ...");
  LoadStringA(GetModuleHandleA(nullptr), IDS_DELETING_FILE, text, sizeof text);
  EXPECT_STREQ(text, "Deleteinf file %s ... ");
}
