// A server that lists UTF8 in FEAT but keeps legacy Shift-JIS names as their bytes
// (pure-ftpd does): the host's name encoding decides what the Japanese edition sees, and
// the automatic choice falls back on the code page at the first name that is not UTF-8.
// The engine in this process, then the real program downloading such a folder.
#include <windows.h>

#include "dialogs/profile_keys_win.h"
#include "engine_fixture_win.h"
#include "ftp/listing_parser.h"
#include "ftp/server_names_win.h"
#include "resources/resource_ids.h"
#include "support/case_table.h"
#include "support/e2e_driver_win.h"
#include "support/program_fixture_win.h"

namespace {

const std::string kNihon = "\x93\xfa\x96\x7b";                  // the folder "Japan"
const std::string kNihongo = kNihon + "\x8c\xea.txt";           // "Japanese.txt"
// "kanji.txt" (pure-ftpd refuses every name holding the byte 0x5C, whatever it is part of)
const std::string kKanji = "\x8a\xbf\x8e\x9a.txt";
const std::string kGeta = "\x81\xac";                           // the replacement mark

// UTF-8 text of this source in the code page.
std::string InCodePage(const char* utf8) {
  wchar_t wide[512];
  char out[1024];
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, 512);
  WideCharToMultiByte(CP_ACP, 0, wide, n, out, sizeof out, nullptr, nullptr);
  return out;
}

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// The legacy names on pure-ftpd's own disk, byte for byte.
void PutLegacyNames() {
  const std::string root = testenv::Get("VAKO_PUREFTPD_ROOT"), folder = root + "/" + kNihon;
  ASSERT_EQ(RunHostCommand("set -e; mkdir -p " + ShellWord(folder) + "; printf 'nihongo\\r\\n' > " +
                           ShellWord(root + "/" + kNihongo) + "; printf 'kanji' > " +
                           ShellWord(folder + "/" + kKanji) + "; chown -R " + testenv::Get("VAKO_FTP_USER") + " '" +
                           root + "'"),
            0);
}

class NameEncodingsTest : public EngineTest {
 protected:
  static void SetUpTestSuite() {
    EngineTest::SetUpTestSuite();
    PutLegacyNames();
  }
  void SetUp() override {
    EngineTest::SetUp();
    ASSERT_EQ(GetACP(), 932u) << "Shift-JIS names need the Japanese edition";
    root = testenv::Get("VAKO_PUREFTPD_ROOT");
  }
  int LoginWith(int choice) {
    CurrentHost.NameEncoding = choice;
    return Login(testenv::Port("VAKO_PUREFTPD_PORT"), testenv::Get("VAKO_FTP_PASS"));
  }
  std::string Note() const { return ResourceText(IDS_NAMES_NOT_UTF8) + "\r\n"; }
};

class NameEncodingChoices : public NameEncodingsTest, public ::testing::WithParamInterface<Case> {};

TEST_P(NameEncodingChoices, DecideHowLegacyNamesRead) {
  const Case& row = GetParam();
  ASSERT_EQ(LoginWith(std::stoi(row[0])), 1);
  EXPECT_EQ(Log().find("OPTS UTF8 ON\r\n") != std::string::npos, row[1] == "1");
  ASSERT_EQ(FetchListing(), 1);
  const std::string top = ListingBuffer;
  if (row[3] == "marked") {
    EXPECT_EQ(top.find(kNihongo), std::string::npos) << top;
    std::string marked;
    for (const ListedEntry& e : ParseListing(top, ListingClock()))
      if (e.entry.name.find(kGeta) != std::string::npos && !(e.entry.attributes & 0x10)) marked = e.entry.name;
    ASSERT_FALSE(marked.empty()) << top;
    EXPECT_EQ(RetrieveFile(marked, Local(marked), 2, 9), 0);
    EXPECT_EQ(LocalNames(), std::vector<std::string>{});
    EXPECT_EQ(BoxTexts().size(), 1u);
    EXPECT_EQ(Log().find("RETR"), std::string::npos);
    return;
  }
  EXPECT_NE(top.find(" " + kNihongo + "\r\n"), std::string::npos) << top;
  EXPECT_NE(top.find(" " + kNihon + "\r\n"), std::string::npos) << top;
  ASSERT_EQ(RetrieveFile(kNihongo, Local(kNihongo), 2, 9), 1);
  ASSERT_EQ(ChangeRemoteFolder(kNihon), 1);
  std::string where;
  ASSERT_EQ(GetRemoteFolder(where, 2048), 1);
  EXPECT_EQ(where, "/" + kNihon);
  ASSERT_EQ(FetchListing(), 1);
  EXPECT_NE(ListingBuffer.find(" " + kKanji + "\r\n"), std::string::npos) << ListingBuffer;
  ASSERT_EQ(RetrieveFile(kKanji, Local(kKanji), 2, 5), 1) << Log();
  EXPECT_EQ(LocalNames(), (std::vector<std::string>{kKanji, kNihongo}));
  EXPECT_EQ(ReadWholeFile(Local(kNihongo)), "nihongo\r\n");
  EXPECT_EQ(ReadWholeFile(Local(kKanji)), "kanji");
  // Said once, and the listing that held the other bytes was asked for again.
  EXPECT_EQ(Count(Log(), Note()), row[2] == "1" ? 1u : 0u) << Log();
  EXPECT_EQ(Count(Log(), "MLSD\r\n"), row[2] == "1" ? 3u : 2u) << Log();
  EXPECT_TRUE(BoxTexts().empty());
}

INSTANTIATE_TEST_SUITE_P(Table, NameEncodingChoices, ::testing::ValuesIn(ReadCases("ftp/data/name_encodings.tsv")),
                         [](const ::testing::TestParamInfo<Case>& info) { return "NameEncoding" + info.param[0]; });

// A PWD reply that is not UTF-8 (a session that starts in a legacy folder) is enough: the
// folder reads right, and so do the listings after it.
TEST_F(NameEncodingsTest, PwdReplyEndsUtf8NamesToo) {
  ASSERT_EQ(LoginWith(kNamesAutomatic), 1);
  CommandBuffer = "CWD " + kNihon + "\r\n";  // the server's own bytes, as a login folder would be
  ASSERT_EQ(SendCommand(), 1);
  std::string where;
  ASSERT_EQ(GetRemoteFolder(where, 2048), 1);
  EXPECT_EQ(where, "/" + kNihon);
  EXPECT_EQ(Count(Log(), Note()), 1u);
  ASSERT_EQ(FetchListing(), 1);
  EXPECT_NE(ListingBuffer.find(" " + kKanji + "\r\n"), std::string::npos) << ListingBuffer;
  EXPECT_EQ(Count(Log(), "MLSD\r\n"), 1u);
  // The note is the whole text of the Japanese string table.
  EXPECT_EQ(Note(), InCodePage(u8"サーバーから UTF-8 ではない名前が届きました。"
                               u8"以後、名前を ANSI コードページ（シフトJIS）として読みます\r\n"));
}

// The real program, connected through the Connect dialog with the choice in vako.ini.
class NameEncodingsProgram : public ProgramTest {
 protected:
  static void SetUpTestSuite() { PutLegacyNames(); }
  void StartWith(int choice) {
    ASSERT_EQ(GetACP(), 932u);
    Start({PortSetting("VAKO_PUREFTPD_PORT"), "NameEncoding=" + std::to_string(choice), "OK=1"});
    Connect();
  }
};

// Automatic: the legacy folder arrives under its own name, with its file, byte for byte.
TEST_F(NameEncodingsProgram, LegacyFolderDownloadsUnderItsNames) {
  StartWith(kNamesAutomatic);
  ASSERT_TRUE(WaitForRow(panes.remoteList, kNihon)) << Boxes();
  Select(1, {kNihon});
  EXPECT_EQ(Run(IDM_DOWNLOAD), Lines{ResourceText(IDS_COMPLETED_RECEIVE)});
  EXPECT_EQ(FolderEntries(local.path()), (Lines{kNihon + "/", kNihon + "/" + kKanji}));
  EXPECT_EQ(ReadWholeFile(local.path() + kNihon + "\\" + kKanji), "kanji");
}

// UTF-8 forced: the marked names are reported and skipped, and no folder or file is made
// under them. Add Favorites keeps the choice.
TEST_F(NameEncodingsProgram, MarkedNamesNeverBecomeLocalNames) {
  StartWith(kNamesUtf8);
  Lines marked;
  ASSERT_TRUE(WaitUntil([&] {
    marked.clear();
    for (const std::string& name : vako->Names(panes.remoteList))
      if (name.find(kGeta) != std::string::npos) marked.push_back(name);
    return marked.size() == 2;
  })) << Boxes();
  Select(1, marked);
  EXPECT_EQ(Sorted(Run(IDM_DOWNLOAD)),
            Sorted({ResourceText(IDS_NAME_HAS_NO_LOCAL_FORM, marked[0]),
                    ResourceText(IDS_NAME_HAS_NO_LOCAL_FORM, marked[1]), ResourceText(IDS_COMPLETED_RECEIVE)}));
  EXPECT_EQ(FolderEntries(local.path()), Lines{});

  vako->PostCommand(IDM_ADD_FAVORITE);
  HWND dialog = vako->WaitForDialog();
  ASSERT_NE(dialog, nullptr);
  VakoProcess::SetItemText(dialog, IDC_FAVORITE_NAME, "legacy");
  VakoProcess::PressButton(dialog, IDOK);
  EXPECT_TRUE(WaitUntil([&] { return ProfileKeys(program.path() + "legacy.BOK")["NameEncoding"] == "1"; }));
}

}  // namespace
