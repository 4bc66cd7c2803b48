// Runs under the Japanese locale: code page 932 and the Japanese resources.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/string_table_win.h"
#include "resources/resource_ids.h"

TEST(JapaneseResources, CodePage932) { EXPECT_EQ(GetACP(), 932u); }

TEST(JapaneseResources, TextsArriveWholeInShiftJis) {
  EXPECT_EQ(LoadResourceText(IDS_UNCONNECTED), "[\x96\xa2\x90\xda\x91\xb1]");  // [未接続]
  EXPECT_EQ(LoadResourceText(IDS_ASK_STOP), "\x92\x86\x8e\x7e\x82\xb5\x82\xdc\x82\xb7\x82\xa9?");  // 中止しますか?
  std::string folder = LoadResourceText(IDS_ASK_SEND_FOLDER);
  EXPECT_NE(folder.find("%s"), std::string::npos);
  EXPECT_EQ(folder.substr(folder.size() - 1), "?");
}

TEST(JapaneseResources, EveryEnglishEntryHasAJapaneseTwin) {
  const int ids[] = {IDS_ASK_DELETE_FILES, IDS_COMPLETED_RECEIVE, IDS_FAILED_WRITE_FILE, IDS_FAILED_LOGIN_PASSWORD,
                     IDS_RECEIVING_FILE, IDS_MY_COMPUTER, IDS_COLUMN_ATTRIBUTES, IDS_WINSOCK_ERROR};
  for (int id : ids) {
    std::string text = LoadResourceText(id);
    ASSERT_FALSE(text.empty()) << id;
    bool hasDoubleByte = false;
    for (unsigned char c : text) hasDoubleByte |= c >= 0x81;
    EXPECT_TRUE(hasDoubleByte) << id << ": " << text;
  }
}

TEST(JapaneseResources, MenuIsJapanese) {
  HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAIN_MENU));
  ASSERT_NE(menu, nullptr);
  char text[64] = "";
  GetMenuStringA(menu, 0, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "\x83\x74\x83\x40\x83\x43\x83\x8b(&F)");  // ファイル(&F)
  // ソフトウェアの更新(&U): its first character's second byte is 0x5C.
  GetMenuStringA(menu, IDM_UPDATE_SOFTWARE, text, sizeof text, MF_BYCOMMAND);
  EXPECT_STREQ(text, "\x83\x5c\x83\x74\x83\x67\x83\x45\x83\x46\x83\x41\x82\xcc\x8d\x58\x90\x56(&U)");
  DestroyMenu(menu);
}
