// The Japanese edition as a Japanese system (code page 932) shows it: captions, column
// words and folder names from the Japanese string table, Shift-JIS names on both sides,
// and screenshots of both arrangements, connected and not.
#include "browsing/browsing_fixture_win.h"

namespace browsing {
namespace {

// The program's string-table text in the user's language (this test carries the same
// resources).
std::string Text(int id) {
  char text[256] = "";
  LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(id), text, sizeof text);
  return text;
}

const std::string kShiftJisFile = "\x95\x5c\x8e\xa6.txt";  // "hyouji.txt": its second byte is a backslash
const std::string kShiftJisFolder = "\x83\x5c\x83\x74\x83\x67";  // "sofuto": second bytes are backslashes

class JapaneseTest : public BrowsingTest {
 protected:
  std::string DialogTitle() const override { return ""; }
};

TEST_F(JapaneseTest, JapaneseTextsAndShiftJisNames) {
  ASSERT_EQ(GetACP(), 932u);
  ASSERT_EQ(Text(IDS_UNCONNECTED), "[\x96\xa2\x90\xda\x91\xb1]");  // the Japanese table is the one in use
  ASSERT_TRUE(CreateDirectoryA((local.path() + kShiftJisFolder).c_str(), nullptr));
  WriteWholeFile(local.path() + kShiftJisFolder + "\\" + kShiftJisFile, "sjis");

  Start({PortSetting("VAKO_VSFTPD_PORT"), "WindowRight=832", "WindowBottom=632"});
  EXPECT_EQ(WindowText(panes.remoteLabel), Text(IDS_UNCONNECTED));
  std::vector<ListRowView> rows = vako->Rows(panes.localList);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[1].name(), kShiftJisFolder);
  EXPECT_EQ(rows[1].column[2], Text(IDS_TYPE_FOLDER));
  TreeNodeView tree = vako->Tree(panes.localTree);
  ASSERT_FALSE(tree.children.empty());
  EXPECT_EQ(tree.children[0].text, Text(IDS_MY_COMPUTER));
  VakoProcess::SaveScreenshot(ScreenshotPath("ja-stacked-unconnected"));

  // The Shift-JIS folder is entered and its Shift-JIS file listed, name for name.
  DoubleClickRow(panes.localList, kShiftJisFolder);
  ASSERT_TRUE(WaitForCaption(panes.localLabel, local.path() + kShiftJisFolder));
  ASSERT_TRUE(WaitForRow(panes.localList, kShiftJisFile));
  vako->PressKey(panes.localList, VK_BACK);
  ASSERT_TRUE(WaitForCaption(panes.localLabel, local.path().substr(0, local.path().size() - 1)));

  vako->PostCommand(IDM_CONNECT);
  HWND dialog = vako->WaitForDialog();
  ASSERT_NE(dialog, nullptr);
  VakoProcess::SaveScreenshot(ScreenshotPath("ja-connect-dialog"));
  VakoProcess::SetItemText(dialog, IDC_PASSWORD, testenv::Get("VAKO_FTP_PASS"));
  VakoProcess::PressButton(dialog, IDOK);
  const std::string base = testenv::Get("VAKO_VSFTPD_ROOT");
  ASSERT_TRUE(WaitForCaption(panes.remoteLabel, base));
  ASSERT_TRUE(WaitForRow(panes.remoteList, kShiftJisFile));
  for (const ListRowView& r : vako->Rows(panes.remoteList)) {
    if (r.name() == kShiftJisFile) {
      EXPECT_EQ(r.column[1], "4");
      EXPECT_EQ(r.column[2], "ASCII");
    }
    if (r.name() == "pub") {
      EXPECT_EQ(r.column[2], Text(IDS_TYPE_FOLDER));
    }
    if (r.name() == "data.bin") {
      EXPECT_EQ(r.column[2], Text(IDS_TYPE_FILE));
    }
  }
  VakoProcess::SaveScreenshot(ScreenshotPath("ja-stacked-connected"));
  EXPECT_EQ(vako->Close(), 0);

  Start({PortSetting("VAKO_VSFTPD_PORT"), "WindowDiv=0", "WindowSplitPos=400", "WindowRight=832",
         "WindowBottom=632"});
  VakoProcess::SaveScreenshot(ScreenshotPath("ja-side-by-side-unconnected"));
  Connect(testenv::Get("VAKO_FTP_PASS"));
  ASSERT_TRUE(WaitForRow(panes.remoteList, kShiftJisFile));
  VakoProcess::SaveScreenshot(ScreenshotPath("ja-side-by-side-connected"));
  EXPECT_EQ(vako->Close(), 0);
}

}  // namespace
}  // namespace browsing
