// The engine over TLS: real servers with a self-signed certificate made for the run
// (tests/support/with-servers with VAKO_TLS_SERVERS=1), and scripted servers whose TLS
// goes wrong.
#include "support/recording_relay_win.h"

#include <atomic>
#include <thread>

#include "engine_fixture_win.h"
#include "ftp/login_again_win.h"
#include "ftp/server_certificate_win.h"

namespace {

struct SecureServer {
  const char* name;
  const char* portVariable;
  const char* rootVariable;
  int security;
  int pasv;
};

const SecureServer kSecureServers[] = {
    {"vsftpd_explicit_active", "VAKO_VSFTPD_TLS_PORT", "VAKO_VSFTPD_TLS_ROOT", kSecurityExplicitTls, 0},
    {"vsftpd_explicit_passive", "VAKO_VSFTPD_TLS_PORT", "VAKO_VSFTPD_TLS_ROOT", kSecurityExplicitTls, 1},
    {"vsftpd_implicit_active", "VAKO_VSFTPD_IMPLICIT_PORT", "VAKO_VSFTPD_TLS_ROOT", kSecurityImplicitTls, 0},
    {"vsftpd_implicit_passive", "VAKO_VSFTPD_IMPLICIT_PORT", "VAKO_VSFTPD_TLS_ROOT", kSecurityImplicitTls, 1},
    {"pyftpdlib_active", "VAKO_PYFTPD_TLS_PORT", "VAKO_PYFTPD_TLS_ROOT", kSecurityExplicitTls, 0},
    {"pyftpdlib_passive", "VAKO_PYFTPD_TLS_PORT", "VAKO_PYFTPD_TLS_ROOT", kSecurityExplicitTls, 1},
    {"pureftpd_active", "VAKO_PUREFTPD_TLS_PORT", "VAKO_PUREFTPD_TLS_ROOT", kSecurityExplicitTls, 0},
    {"pureftpd_passive", "VAKO_PUREFTPD_TLS_PORT", "VAKO_PUREFTPD_TLS_ROOT", kSecurityExplicitTls, 1},
};

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

class SecureEngineTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    AnswerCertificateQuestionsForTesting(1);
  }
  void TearDown() override {
    EngineTest::TearDown();
    AnswerCertificateQuestionsForTesting(-1);
  }
};

class SecureServerTest : public SecureEngineTest, public ::testing::WithParamInterface<SecureServer> {
 protected:
  void SetUp() override {
    SecureEngineTest::SetUp();
    port = testenv::Port(GetParam().portVariable);
    root = testenv::Get(GetParam().rootVariable);
    ASSERT_GT(port, 0) << GetParam().name << " is not running";
    CurrentHost.Security = GetParam().security;
    CurrentHost.Pasv = GetParam().pasv;
  }
  int port = 0;
};

// Every kind of transfer goes through TLS whole, and Stop leaves the session usable.
TEST_P(SecureServerTest, TransfersAreWholeAndStopKeepsTheSession) {
  ASSERT_EQ(Login(port, testenv::Get("VAKO_FTP_PASS")), 1) << (BoxTexts().empty() ? "" : BoxTexts().back());
  EXPECT_EQ(ControlConnectionIsProtected(), 1);
  const std::string log = Log();
  EXPECT_EQ(Count(log, "(TLS 1."), 1u) << log;  // version and cipher once per connection
  EXPECT_EQ(Count(log, "AUTH TLS\r\n234"), GetParam().security == kSecurityExplicitTls ? 1u : 0u) << log;
  EXPECT_LT(log.find("PASS"), log.find("PBSZ 0\r\n2")) << log;
  EXPECT_NE(log.find("PROT P\r\n2"), std::string::npos) << log;

  for (size_t size : {size_t(0), size_t(1), size_t(3 * 1024 * 1024)}) {
    const std::string name = "up" + std::to_string(size) + ".bin", data = BinaryContent(size, 3);
    WriteWholeFile(Local(name), data);
    ASSERT_EQ(StoreFile(Local(name), name, 2), 1) << name;
    EXPECT_TRUE(ReadWholeFile(OnServer(name)) == data) << "stored " << name << " differs";
    ASSERT_EQ(RetrieveFile(name, Local(name + ".back"), 2, size), 1) << name;
    EXPECT_TRUE(ReadWholeFile(Local(name + ".back")) == data) << "retrieved " << name << " differs";
  }
  ASSERT_EQ(FetchListing(), 1);
  EXPECT_NE(ListingBuffer.find("up3145728.bin"), std::string::npos) << ListingBuffer;

  StopAt(10);
  ASSERT_EQ(RetrieveFile("up3145728.bin", Local("stopped.bin"), 2, 3 * 1024 * 1024), 1);
  EXPECT_TRUE(LastTransferWasStopped);
  DisplayLog::onStatus = nullptr;
  EXPECT_TRUE(Connected && ControlSocket != INVALID_SOCKET) << Log();
  ASSERT_EQ(RetrieveFile("up1.bin", Local("after-stop.bin"), 2, 1), 1) << Log();
  EXPECT_EQ(ReadWholeFile(Local("after-stop.bin")), BinaryContent(1, 3));
  EXPECT_TRUE(BoxTexts().empty());
}

INSTANTIATE_TEST_SUITE_P(Servers, SecureServerTest, ::testing::ValuesIn(kSecureServers),
                         [](const ::testing::TestParamInfo<SecureServer>& info) { return std::string(info.param.name); });

// The control connection made on one thread serves commands from another (a job's), then
// from the first again.
TEST_F(SecureEngineTest, ConnectionServesOneThreadAfterAnother) {
  CurrentHost.Security = kSecurityExplicitTls;
  root = testenv::Get("VAKO_VSFTPD_TLS_ROOT");
  ASSERT_EQ(Login(testenv::Port("VAKO_VSFTPD_TLS_PORT"), testenv::Get("VAKO_FTP_PASS")), 1);
  WriteWholeFile(OnServer("threads.bin"), BinaryContent(100000, 4));
  int listed = 0, retrieved = 0;
  std::thread job([&] {
    listed = FetchListing();
    retrieved = RetrieveFile("threads.bin", Local("threads.bin"), 2, 100000);
  });
  job.join();
  EXPECT_EQ(listed, 1);
  EXPECT_EQ(retrieved, 1);
  EXPECT_TRUE(ReadWholeFile(Local("threads.bin")) == BinaryContent(100000, 4));
  ExpectInStep(root);
}

// A login again after a lost connection takes the certificate the session went on with
// without asking (a question now would be refused), and brings back the data
// connections' protection and the folder: a file still arrives through TLS.
TEST_F(SecureEngineTest, LoginAgainKeepsTheAcceptedCertificate) {
  CurrentHost.Security = kSecurityExplicitTls;
  CurrentHost.Pasv = 1;
  root = testenv::Get("VAKO_VSFTPD_TLS_ROOT");
  ASSERT_EQ(Login(testenv::Port("VAKO_VSFTPD_TLS_PORT"), testenv::Get("VAKO_FTP_PASS")), 1);
  ASSERT_TRUE(CreateDirectoryA(OnServer("again").c_str(), nullptr));
  WriteWholeFile(OnServer("again/back.bin"), BinaryContent(70000, 5));
  std::string folder;
  ASSERT_EQ(ChangeRemoteFolder("again"), 1);
  ASSERT_EQ(GetRemoteFolder(folder, 2048), 1);
  AnswerCertificateQuestionsForTesting(0);
  DropControlConnection();
  ASSERT_EQ(ConnectionWasLost(), 1);
  ASSERT_EQ(LogInAgain(folder), 1) << Log();
  EXPECT_EQ(ConnectionWasLost(), 0);
  EXPECT_EQ(ControlConnectionIsProtected(), 1);
  ASSERT_EQ(RetrieveFile("back.bin", Local("back.bin"), 2, 70000), 1) << Log();
  EXPECT_TRUE(ReadWholeFile(Local("back.bin")) == BinaryContent(70000, 5));
  EXPECT_EQ(Count(Log(), "PROT P\r\n2"), 2u);
}

// What crosses the network: the password in the clear without TLS (the relay sees it),
// never with TLS, and neither do a file's contents. The TLS vsftpd hands out one passive
// port: the relay, on an address of its own, forwards it as well as the control connection.
TEST_F(SecureEngineTest, NeitherPasswordNorFilesCrossInTheClear) {
  const std::string password = testenv::Get("VAKO_FTP_PASS");
  {
    RecordingRelay relay("127.0.0.1", 0, testenv::Port("VAKO_VSFTPD_PORT"));
    ASSERT_EQ(Login(relay.port, password), 1);
    Disconnect();
    EXPECT_NE(relay.Recorded().find("PASS " + password), std::string::npos);
  }
  CurrentHost.Security = kSecurityExplicitTls;
  CurrentHost.Pasv = 1;
  root = testenv::Get("VAKO_VSFTPD_TLS_ROOT");
  RecordingRelay control("127.0.0.5", 0, testenv::Port("VAKO_VSFTPD_TLS_PORT"));
  RecordingRelay data("127.0.0.5", testenv::Port("VAKO_VSFTPD_TLS_PASV_PORT"), 0);
  ASSERT_EQ(Login(control.port, password, "./", "127.0.0.5"), 1) << (BoxTexts().empty() ? "" : BoxTexts().back());
  const std::string secret = "the contents nobody may read on the way " + password;
  WriteWholeFile(Local("secret.txt"), secret);
  ASSERT_EQ(StoreFile(Local("secret.txt"), "secret.txt", 2), 1);
  ASSERT_EQ(RetrieveFile("secret.txt", Local("secret-back.txt"), 2, secret.size()), 1);
  EXPECT_EQ(ReadWholeFile(Local("secret-back.txt")), secret);
  Disconnect();
  const std::string& seen = control.Recorded();
  EXPECT_NE(seen.find("AUTH TLS\r\n"), std::string::npos);
  EXPECT_EQ(seen.find(password), std::string::npos);
  EXPECT_EQ(seen.find(testenv::Get("VAKO_FTP_USER")), std::string::npos);
  EXPECT_GT(data.Recorded().size(), 2 * secret.size());  // both transfers went through it
  EXPECT_EQ(data.Recorded().find("nobody may read"), std::string::npos);
}

// Scripted servers: AUTH refused and garbage for a handshake stop before USER; a listing
// whose TLS stream is cut is a failed listing, whatever the server says after it.
TEST_F(SecureEngineTest, BrokenTlsStopsBeforeTheLogin) {
  CurrentHost.Security = kSecurityExplicitTls;
  for (const char* scenario : {"authrefused", "tlsgarbage"}) {
    EXPECT_EQ(LoginTo(scenario), 0) << scenario;
    EXPECT_EQ(ControlSocket, INVALID_SOCKET);
    const std::string recorded = ReadWholeFile(testenv::WinePath(testenv::Get("VAKO_SCRIPTED_RECORD") + "/" + scenario + ".log"));
    EXPECT_NE(recorded.find("AUTH TLS"), std::string::npos) << recorded;
    EXPECT_EQ(recorded.find("USER"), std::string::npos) << recorded;
    EXPECT_EQ(recorded.find("PASS"), std::string::npos) << recorded;
    ASSERT_FALSE(BoxTexts().empty()) << scenario;
    EXPECT_EQ(BoxTexts().back().rfind("Failed to connect internet\r\n", 0), 0u) << BoxTexts().back();
  }
  EXPECT_NE(BoxTexts()[0].find("\r\n500 "), std::string::npos) << BoxTexts()[0];
  EXPECT_NE(BoxTexts()[1].find("\r\nThe secure connection (TLS) could not be made: "), std::string::npos) << BoxTexts()[1];

  ASSERT_EQ(LoginTo("tlsdrop", 1), 1) << (BoxTexts().empty() ? "" : BoxTexts().back());
  EXPECT_EQ(FetchListing(), 0);
  EXPECT_NE(ListingBuffer.find("f000"), std::string::npos);  // part of it came
}

// A data connection whose certificate is not the control connection's carries nothing.
TEST_F(SecureEngineTest, DataConnectionMustShowTheControlConnectionsCertificate) {
  CurrentHost.Security = kSecurityExplicitTls;
  ASSERT_EQ(LoginTo("tlsswap", 1), 1);
  EXPECT_EQ(FetchListing(), 0);
  EXPECT_EQ(ListingBuffer.find("swapped.txt"), std::string::npos);
  EXPECT_NE(Log().find("certificate is not the control connection's"), std::string::npos) << Log();
}

}  // namespace
