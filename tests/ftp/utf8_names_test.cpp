// Servers that keep names in UTF-8 (they list UTF8 in FEAT): names with Japanese letters
// are listed, received and stored under their real spelling from the Japanese edition; a
// name with letters Shift-JIS lacks is shown marked and never sent back; the English
// edition does the same with its own code page; a server that does not list UTF8 is asked
// nothing beyond FEAT. Runs once in each edition.
#include <ostream>
#include <string>

#include "engine_fixture_win.h"
#include "ftp/server_names_win.h"
#include "support/shift_jis_samples.h"

namespace {

using sjis_samples::kListXls;
using sjis_samples::kPlanTxt;

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

void PrintTo(const Utf8Server& server, std::ostream* out) { *out << server.name; }

// A file made with a UTF-16 name, for names the code page cannot spell.
void WriteWideNamedFile(const std::wstring& path, const std::string& data) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
  CloseHandle(h);
}

std::wstring Wide(const std::string& ansi) {
  std::wstring w(ansi.size() + 1, L'\0');
  int n = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, &w[0], static_cast<int>(w.size()));
  w.resize(n > 0 ? static_cast<size_t>(n - 1) : 0);
  return w;
}

class Utf8NamesTest : public EngineTest, public ::testing::WithParamInterface<Utf8Server> {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    root = testenv::Get(GetParam().rootVariable);
    ASSERT_FALSE(root.empty()) << GetParam().name << " is not running";
    CurrentHost.HostName = "utf8";
    CurrentHost.HostAddr = GetParam().address;
    CurrentHost.Port = testenv::Port(GetParam().portVariable);
    CurrentHost.UserID = testenv::Get("VAKO_FTP_USER");
    CurrentHost.UserPass = testenv::Get("VAKO_FTP_PASS");
    CurrentHost.Pasv = GetParam().pasv;
  }
  void TearDown() override {
    CurrentHost.Pasv = 0;
    EngineTest::TearDown();
  }
  std::string OnServer(const std::string& name) const { return testenv::WinePath(root + "/" + name); }
  std::string root;
};

TEST_P(Utf8NamesTest, JapaneseNamesTravelUnderTheirRealSpelling) {
  if (GetACP() != 932) GTEST_SKIP() << "the Japanese edition's case";
  ASSERT_EQ(ConnectAndLogin("./", ""), 1);
  EXPECT_TRUE(ServerNamesAreUtf8);
  EXPECT_NE(Log().find("FEAT\r\n"), std::string::npos);
  EXPECT_NE(Log().find("OPTS UTF8 ON\r\n"), std::string::npos);

  // Seen through the code page here, the server's disk holds the names in UTF-8: a name
  // sent as Shift-JIS bytes would not be found under this spelling.
  const std::string folder = sjis_samples::kIchiranhyou;
  ASSERT_EQ(MakeRemoteFolder(folder), 1);
  ASSERT_NE(GetFileAttributesA(OnServer(folder).c_str()), INVALID_FILE_ATTRIBUTES);
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
  EXPECT_EQ(ReadWholeFile(OnServer(folder + "\\" + kPlanTxt)), "plan contents");
  ASSERT_EQ(RenameRemote(kPlanTxt, kPlanTxt + ".old"), 1);
  EXPECT_EQ(ReadWholeFile(OnServer(folder + "\\" + kPlanTxt + ".old")), "plan contents");
  EXPECT_TRUE(BoxTexts().empty());
}

TEST_P(Utf8NamesTest, NamesWithoutAShiftJisFormAreMarkedAndNeverSent) {
  if (GetACP() != 932) GTEST_SKIP() << "the Japanese edition's case";
  // e acute and a face (a surrogate pair): neither exists in Shift-JIS.
  WriteWideNamedFile(Wide(OnServer("")) + L"caf\x00e9.txt", "coffee");
  WriteWideNamedFile(Wide(OnServer("")) + L"smile\xd83d\xde00.txt", "smile");
  ASSERT_EQ(ConnectAndLogin("./", ""), 1);
  ASSERT_EQ(FetchListing(), 1);
  const std::string cafe = "caf\x81\xac.txt", smile = "smile\x81\xac.txt";
  EXPECT_NE(ListingBuffer.find(" " + cafe + "\r\n"), std::string::npos) << ListingBuffer;
  EXPECT_NE(ListingBuffer.find(" " + smile + "\r\n"), std::string::npos) << ListingBuffer;

  EXPECT_EQ(RetrieveFile(cafe, Local(cafe), 2, 6), 0);
  EXPECT_EQ(DeleteRemoteFile(smile), 0);
  EXPECT_EQ(RenameRemote("other.txt", cafe), 0);
  ASSERT_EQ(BoxTexts().size(), 3u);
  EXPECT_NE(BoxTexts()[0].find(cafe), std::string::npos) << BoxTexts()[0];
  const std::string log = Log();
  EXPECT_EQ(log.find("RETR"), std::string::npos) << log;
  EXPECT_EQ(log.find("DELE"), std::string::npos) << log;
  EXPECT_EQ(log.find("RNFR"), std::string::npos) << log;
  EXPECT_TRUE(LocalNames().empty());
  // Both files are still there, under their real names.
  EXPECT_NE(GetFileAttributesW((Wide(OnServer("")) + L"caf\x00e9.txt").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(GetFileAttributesW((Wide(OnServer("")) + L"smile\xd83d\xde00.txt").c_str()), INVALID_FILE_ATTRIBUTES);
}

// Code page 1252 has e acute but no Japanese: the Latin name travels, the Japanese one is
// marked with "_" and refused.
TEST_P(Utf8NamesTest, EnglishEditionKeepsItsOwnLettersAndMarksTheRest) {
  if (GetACP() != 1252) GTEST_SKIP() << "the English edition's case";
  WriteWideNamedFile(Wide(OnServer("")) + L"caf\x00e9.txt", "coffee");
  WriteWideNamedFile(Wide(OnServer("")) + L"\x4e00\x89a7.txt", "list");
  ASSERT_EQ(ConnectAndLogin("./", ""), 1);
  ASSERT_EQ(FetchListing(), 1);
  EXPECT_NE(ListingBuffer.find(" caf\xe9.txt\r\n"), std::string::npos) << ListingBuffer;
  EXPECT_NE(ListingBuffer.find(" __.txt\r\n"), std::string::npos) << ListingBuffer;
  ASSERT_EQ(RetrieveFile("caf\xe9.txt", Local("cafe.txt"), 2, 6), 1);
  EXPECT_EQ(ReadWholeFile(Local("cafe.txt")), "coffee");
  WriteWholeFile(Local("up"), "up");
  ASSERT_EQ(StoreFile(Local("up"), "na\xefve.txt", 2), 1);
  EXPECT_NE(GetFileAttributesW((Wide(OnServer("")) + L"na\x00efve.txt").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(RetrieveFile("__.txt", Local("list.txt"), 2, 4), 0);
  ASSERT_EQ(BoxTexts().size(), 1u);
  EXPECT_EQ(Log().find("RETR __.txt"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Servers, Utf8NamesTest, ::testing::ValuesIn(kServers),
                         [](const ::testing::TestParamInfo<Utf8Server>& info) { return info.param.name; });

// vsftpd without UTF-8 names does not list UTF8: no OPTS, names byte for byte.
TEST_F(EngineTest, ServerWithoutUtf8GetsNoOptsAndRawNames) {
  const std::string root = testenv::Get("VAKO_VSFTPD_ROOT");
  ASSERT_EQ(Login(testenv::Port("VAKO_VSFTPD_PORT"), testenv::Get("VAKO_FTP_PASS")), 1);
  EXPECT_FALSE(ServerNamesAreUtf8);
  EXPECT_NE(Log().find("FEAT\r\n"), std::string::npos);
  EXPECT_EQ(Log().find("OPTS"), std::string::npos);
  WriteWholeFile(Local("raw"), "raw");
  ASSERT_EQ(StoreFile(Local("raw"), kPlanTxt, 2), 1);
  EXPECT_NE(Log().find("STOR " + kPlanTxt + "\r\n"), std::string::npos);
  EXPECT_EQ(DeleteRemoteFile(kPlanTxt), 1);
}

}  // namespace
