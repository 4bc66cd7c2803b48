// Under the Japanese locale: the Japanese resources arrive whole in code page 932.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "app/string_table_win.h"
#include "resources/resource_ids.h"

TEST(JapaneseResources, TextsAndMenuInShiftJis) {
  if (GetACP() != 932) GTEST_SKIP() << "the Japanese edition's texts";
  EXPECT_EQ(LoadResourceText(IDS_UNCONNECTED), "[\x96\xa2\x90\xda\x91\xb1]");  // [未接続]
  EXPECT_EQ(LoadResourceText(IDS_ASK_STOP), "\x92\x86\x8e\x7e\x82\xb5\x82\xdc\x82\xb7\x82\xa9?");  // 中止しますか?
  // Every English entry has a Japanese twin.
  for (int id : {IDS_ASK_DELETE_FILES, IDS_COMPLETED_RECEIVE, IDS_FAILED_WRITE_FILE, IDS_FAILED_LOGIN_PASSWORD,
                 IDS_RECEIVING_FILE, IDS_MY_COMPUTER, IDS_COLUMN_ATTRIBUTES, IDS_WINSOCK_ERROR}) {
    std::string text = LoadResourceText(id);
    EXPECT_NE(std::find_if(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x81; }),
              text.end()) << id << ": " << text;
  }
  HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAIN_MENU));
  char text[64] = "";
  GetMenuStringA(menu, 0, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "\x83\x74\x83\x40\x83\x43\x83\x8b(&F)");  // ファイル(&F)
  // ソフトウェアの更新(&U): its first character's second byte is 0x5C.
  GetMenuStringA(menu, IDM_UPDATE_SOFTWARE, text, sizeof text, MF_BYCOMMAND);
  EXPECT_STREQ(text, "\x83\x5c\x83\x74\x83\x67\x83\x45\x83\x46\x83\x41\x82\xcc\x8d\x58\x90\x56(&U)");
  DestroyMenu(menu);
}
