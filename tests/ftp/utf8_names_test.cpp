// Servers that keep names in UTF-8 (they list UTF8 in FEAT): names with Japanese letters
// travel under their real spelling from the Japanese edition; a name with letters the code
// page lacks is shown marked and never sent back; the English edition does the same with
// its own code page.
#include <filesystem>
#include <fstream>
#include <string>

#include "engine_fixture_win.h"
#include "support/shift_jis_samples.h"

namespace {

using namespace sjis_samples;

struct Utf8Server {
  const char* name;
  const char* address;
  const char* portVariable;
  const char* rootVariable;
  int pasv;  // the UTF-8 vsftpd takes passive connections only
};

const Utf8Server kServers[] = {
    {"pyftpdlib", "127.0.0.1", "VAKO_PYFTPD_PORT", "VAKO_PYFTPD_ROOT", 0},
    {"vsftpd_utf8", "127.0.0.2", "VAKO_VSFTPD_PASV_PORT", "VAKO_VSFTPD_PASV_ROOT", 1},
};

class Utf8NamesTest : public EngineTest, public ::testing::WithParamInterface<Utf8Server> {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    root = testenv::Get(GetParam().rootVariable);
    ASSERT_FALSE(root.empty()) << GetParam().name << " is not running";
    CurrentHost.Pasv = GetParam().pasv;
  }
  int LoginOk() { return Login(testenv::Port(GetParam().portVariable), testenv::Get("VAKO_FTP_PASS"), "./", GetParam().address); }
  // A name in the server's folder (an ASCII path), in UTF-16 for names the code page lacks.
  std::filesystem::path Wide(const std::wstring& name) const {
    const std::string root = OnServer("");
    return std::wstring(root.begin(), root.end()) + name;
  }
};

TEST_P(Utf8NamesTest, JapaneseNamesTravelUnderTheirRealSpelling) {
  if (GetACP() != 932) GTEST_SKIP() << "the Japanese edition's case";
  ASSERT_EQ(LoginOk(), 1);
  EXPECT_NE(Log().find("OPTS UTF8 ON\r\n"), std::string::npos);
  // Seen through the code page here, the server's disk holds the names in UTF-8: a name
  // sent as Shift-JIS bytes would not be found under this spelling.
  const std::string folder = kIchiranhyou;
  ASSERT_EQ(MakeRemoteFolder(folder), 1);
  WriteWholeFile(OnServer(folder + "\\" + kListXls), "list contents");
  ASSERT_EQ(ChangeRemoteFolder(folder), 1);
  std::string where;
  ASSERT_EQ(GetRemoteFolder(where, 2048), 1);
  EXPECT_EQ(where.substr(where.size() - folder.size()), folder);
  ASSERT_EQ(FetchListing(), 1);
  EXPECT_NE(ListingBuffer.find(" " + kListXls + "\r\n"), std::string::npos) << ListingBuffer;
  ASSERT_EQ(RetrieveFile(kListXls, Local(kListXls), 2, 13), 1);
  EXPECT_EQ(ReadWholeFile(Local(kListXls)), "list contents");
  WriteWholeFile(Local("plan"), "plan contents");
  ASSERT_EQ(StoreFile(Local("plan"), kPlanTxt, 2), 1);
  ASSERT_EQ(RenameRemote(kPlanTxt, kPlanTxt + ".old"), 1);
  EXPECT_EQ(ReadWholeFile(OnServer(folder + "\\" + kPlanTxt + ".old")), "plan contents");
  EXPECT_TRUE(BoxTexts().empty());
}

// Japanese edition: e acute and a face (a surrogate pair) have no Shift-JIS form. English
// edition (code page 1252): e acute travels, Japanese is marked with "_".
TEST_P(Utf8NamesTest, NamesTheCodePageLacksAreMarkedAndNeverSent) {
  const bool japanese = GetACP() == 932;
  std::ofstream(Wide(L"caf\x00e9.txt")) << "coffee";
  std::ofstream(Wide(japanese ? L"smile\xd83d\xde00.txt" : L"\x4e00\x89a7.txt")) << "other";
  ASSERT_EQ(LoginOk(), 1);
  ASSERT_EQ(FetchListing(), 1);
  const std::string cafe = japanese ? "caf\x81\xac.txt" : "caf\xe9.txt";
  const std::string other = japanese ? "smile\x81\xac.txt" : "__.txt";
  EXPECT_NE(ListingBuffer.find(" " + cafe + "\r\n"), std::string::npos) << ListingBuffer;
  EXPECT_NE(ListingBuffer.find(" " + other + "\r\n"), std::string::npos) << ListingBuffer;
  EXPECT_EQ(RetrieveFile(cafe, Local("cafe.txt"), 2, 6), japanese ? 0 : 1);
  EXPECT_EQ(DeleteRemoteFile(other), 0);
  EXPECT_EQ(RenameRemote("x.txt", other), 0);
  ASSERT_EQ(BoxTexts().size(), japanese ? 3u : 2u);
  EXPECT_NE(BoxTexts().back().find(other), std::string::npos) << BoxTexts().back();
  EXPECT_EQ(Log().find("DELE"), std::string::npos);
  EXPECT_EQ(Log().find("RNFR"), std::string::npos);
  EXPECT_EQ(LocalNames(), japanese ? std::vector<std::string>{} : std::vector<std::string>{"cafe.txt"});
  EXPECT_TRUE(std::filesystem::exists(Wide(L"caf\x00e9.txt")));
  if (japanese) return;
  WriteWholeFile(Local("up"), "up");
  ASSERT_EQ(StoreFile(Local("up"), "na\xefve.txt", 2), 1);
  EXPECT_TRUE(std::filesystem::exists(Wide(L"na\x00efve.txt")));
}

INSTANTIATE_TEST_SUITE_P(Servers, Utf8NamesTest, ::testing::ValuesIn(kServers),
                         [](const ::testing::TestParamInfo<Utf8Server>& info) { return info.param.name; });

}  // namespace
