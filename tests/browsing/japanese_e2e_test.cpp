// The Japanese edition as a Japanese system (code page 932) shows it: captions, column
// words and folder names from the Japanese string table, Shift-JIS names on both sides,
// and screenshots of both arrangements, connected and not.
#include <algorithm>

#include "browsing/browsing_fixture_win.h"
#include "support/shift_jis_samples.h"

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

// The bytes of a name as octal escapes for the host's printf.
std::string PrintfOctal(const std::string& name) {
  std::string out;
  char escape[8];
  for (unsigned char c : name) {
    snprintf(escape, sizeof escape, "\\%03o", c);
    out += escape;
  }
  return out;
}

// Names whose second byte 0x5C or 0x7C follows a character whose own second byte is in the
// lead range ("ichiranhyou", "yoteihyou.txt", "tenpo.mid"): a local folder of that name is
// entered, listed and renamed in; a remote one on vsftpd (which hands the names over byte for
// byte) is listed and entered.
TEST_F(JapaneseTest, FolderNamesEndingInSeparatorLookingBytes) {
  using namespace sjis_samples;
  ASSERT_EQ(GetACP(), 932u);
  const std::string folder = local.path() + kIchiranhyou;
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  WriteWholeFile(folder + "\\" + kPlanTxt, "plan");
  WriteWholeFile(folder + "\\" + kTempoMid, "tempo");
  WriteWholeFile(folder + "\\old.txt", "inside");
  // A sibling whose name starts with the folder's: the folder's path without its separator
  // followed by "old.txt" names this file.
  WriteWholeFile(local.path() + kIchiranhyou + "old.txt", "beside");

  const std::string remote = testenv::Get("VAKO_VSFTPD_ROOT") + "/" + PrintfOctal(kIchiranhyou);
  std::string make = "set -e; d=\"$(printf '" + remote + "')\"; mkdir \"$d\"";
  for (const std::string& name : {kListXls, kPlanTxt, kTempoMid})
    make += "; printf x > \"$d/$(printf '" + PrintfOctal(name) + "')\"";
  make += "; chown -R " + testenv::Get("VAKO_FTP_USER") + " \"$d\"";
  ASSERT_EQ(RunHostCommand(make), 0);

  Start({PortSetting("VAKO_VSFTPD_PORT")});
  ASSERT_TRUE(WaitForRow(panes.localList, kIchiranhyou));
  DoubleClickRow(panes.localList, kIchiranhyou);
  ASSERT_TRUE(WaitForCaption(panes.localLabel, folder));
  ASSERT_TRUE(WaitForRow(panes.localList, kPlanTxt));
  std::vector<std::string> names = vako->Names(panes.localList);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"..", "old.txt", kTempoMid, kPlanTxt}));

  // Renamed inside the folder, under a name of the same kind; the sibling stays as it was.
  ASSERT_TRUE(vako->BeginEdit(panes.localList, vako->RowOfName(panes.localList, "old.txt")));
  ASSERT_TRUE(vako->FinishEdit(panes.localList, kListXls));
  EXPECT_TRUE(WindowsOfProcess(vako->processId(), "#32770").empty());
  ASSERT_TRUE(WaitForRow(panes.localList, kListXls));
  EXPECT_EQ(ReadWholeFile(folder + "\\" + kListXls), "inside");
  EXPECT_FALSE(FileExists(folder + "\\old.txt"));
  EXPECT_EQ(ReadWholeFile(local.path() + kIchiranhyou + "old.txt"), "beside");
  EXPECT_FALSE(FileExists(local.path() + kIchiranhyou + kListXls));

  Connect(testenv::Get("VAKO_FTP_PASS"));
  const std::string base = testenv::Get("VAKO_VSFTPD_ROOT");
  ASSERT_TRUE(WaitForCaption(panes.remoteLabel, base));
  ASSERT_TRUE(WaitForRow(panes.remoteList, kIchiranhyou));
  DoubleClickRow(panes.remoteList, kIchiranhyou);
  ASSERT_TRUE(WaitForCaption(panes.remoteLabel, base + "/" + kIchiranhyou));
  ASSERT_TRUE(WaitForRow(panes.remoteList, kTempoMid));
  names = vako->Names(panes.remoteList);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"..", kTempoMid, kListXls, kPlanTxt}));

  // Renamed on the server inside that folder, to a name of the same kind.
  const std::string renamed = std::string(kIchiranhyou) + ".mid";
  ASSERT_TRUE(vako->BeginEdit(panes.remoteList, vako->RowOfName(panes.remoteList, kTempoMid)));
  ASSERT_TRUE(vako->FinishEdit(panes.remoteList, renamed));
  EXPECT_TRUE(WindowsOfProcess(vako->processId(), "#32770").empty());
  ASSERT_TRUE(WaitForRow(panes.remoteList, renamed));
  EXPECT_EQ(RunHostCommand("test -f \"$(printf '" + remote + "/" + PrintfOctal(renamed) + "')\" && test ! -e \"$(printf '" +
                           remote + "/" + PrintfOctal(kTempoMid) + "')\""),
            0);
  VakoProcess::SaveScreenshot(ScreenshotPath("ja-separator-looking-names"));
  EXPECT_EQ(vako->Close(), 0);
}

}  // namespace
}  // namespace browsing
