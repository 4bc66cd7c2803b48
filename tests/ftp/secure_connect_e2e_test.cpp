// The real program over explicit TLS to vsftpd, whose self-signed certificate (made for
// "localhost") the system does not trust for 127.0.0.1: the question shows the fingerprint
// and each answer does what it says; the status bar shows the lock while connected; when
// the trusted host shows another certificate, the question comes again with its warning.
// A relay stands for the host, so that its certificate can change: it forwards to vsftpd,
// then to pure-ftpd, which shows another certificate.
#include "support/recording_relay_win.h"

#include "support/program_fixture_win.h"

namespace {

std::string Digits(std::string fingerprint) {
  fingerprint.erase(std::remove(fingerprint.begin(), fingerprint.end(), ':'), fingerprint.end());
  return fingerprint;
}

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

class SecureConnectTest : public ProgramTest {
 protected:
  // Connects through the Connect dialog and waits for the certificate question; null when
  // none came (the connection went on, or failed with a message).
  HWND ConnectUntilQuestion() {
    Connect();
    HWND question = nullptr;
    bool message = false;
    WaitUntil([&] {
      for (HWND w : WindowsOfProcess(vako->processId(), "#32770")) {
        if (GetDlgItem(w, IDC_CERT_FINGERPRINT)) question = w;
        message = message || WindowText(w) == VAKO_CAPTION;
      }
      return question || message || vako->RowOfName(panes.remoteList, "marker.txt") >= 0;
    });
    return question;
  }
  // Presses the button and waits for the question to go.
  void Answer(HWND question, int button) {
    VakoProcess::PressButton(question, button);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(question); }));
  }
  std::string Text(HWND question, int id) { return WindowText(GetDlgItem(question, id)); }
  std::string Stored() {
    char value[256] = "";
    GetPrivateProfileStringA("Certificates", key.c_str(), "", value, sizeof value, (program.path() + "vako.ini").c_str());
    return value;
  }
  // The passwords vsftpd has received so far (its log names the command only).
  size_t Logins() {
    return Count(ReadWholeFile(testenv::WinePath(testenv::Get("VAKO_VSFTPD_TLS_LOG"))), "\"PASS <password>\"");
  }
  bool Connected() { return vako->ButtonState(IDM_DISCONNECT) == TBSTATE_ENABLED; }
  void Disconnect() {
    ASSERT_TRUE(vako->SendCommand(IDM_DISCONNECT));
    ASSERT_TRUE(WaitForRow(panes.remoteList, "marker.txt", false));
    EXPECT_EQ(vako->StatusTexts().size(), 1u);  // the lock went with the session
  }

  std::string key;
};

TEST_F(SecureConnectTest, EachAnswerToTheCertificateQuestion) {
  WriteWholeFile(testenv::WinePath(testenv::Get("VAKO_VSFTPD_TLS_ROOT")) + "\\marker.txt", "x");
  RecordingRelay host("127.0.0.1", 0, testenv::Port("VAKO_VSFTPD_TLS_PORT"));
  key = "127.0.0.1:" + std::to_string(host.port);
  const std::string fingerprint = testenv::Get("VAKO_TLS_FINGERPRINT");
  ASSERT_EQ(Digits(fingerprint).size(), 64u);
  Start({"Port=" + std::to_string(host.port), "Security=1", "Pasv=1"});

  // Cancel: no password sent, nothing stored, not connected, and said why.
  HWND question = ConnectUntilQuestion();
  ASSERT_NE(question, nullptr) << Boxes();
  EXPECT_EQ(Text(question, IDC_CERT_FINGERPRINT), fingerprint);
  EXPECT_NE(Text(question, IDC_CERT_INTRO).find(key), std::string::npos) << Text(question, IDC_CERT_INTRO);
  EXPECT_NE(Text(question, IDC_CERT_SUBJECT).find("CN=localhost"), std::string::npos);
  EXPECT_EQ(Text(question, IDC_CERT_CHANGED), "");
  Answer(question, IDCANCEL);
  EXPECT_NE(AnswerBox().find(ResourceText(IDS_TLS_CERTIFICATE_REFUSED)), std::string::npos);
  EXPECT_FALSE(Connected());
  EXPECT_EQ(Logins(), 0u);
  EXPECT_EQ(Stored(), "");
  EXPECT_EQ(vako->StatusTexts().size(), 1u);

  // This once: connected behind the lock, nothing stored; the next connection asks again.
  question = ConnectUntilQuestion();
  ASSERT_NE(question, nullptr) << Boxes();
  Answer(question, IDC_CERT_ONCE);
  ASSERT_TRUE(WaitForRow(panes.remoteList, "marker.txt")) << Boxes();
  EXPECT_TRUE(Connected());
  EXPECT_EQ(Logins(), 1u);
  const Lines parts = vako->StatusTexts();
  ASSERT_EQ(parts.size(), 3u);
  EXPECT_EQ(parts[1], ResourceText(IDS_SECURE_SESSION));
  EXPECT_EQ(Stored(), "");
  Disconnect();

  // Always: the fingerprint is kept for host:port, and the next connection asks nothing.
  question = ConnectUntilQuestion();
  ASSERT_NE(question, nullptr) << Boxes();
  Answer(question, IDC_CERT_ALWAYS);
  ASSERT_TRUE(WaitForRow(panes.remoteList, "marker.txt")) << Boxes();
  EXPECT_EQ(Stored(), Digits(fingerprint));
  Disconnect();
  EXPECT_EQ(ConnectUntilQuestion(), nullptr);
  ASSERT_TRUE(WaitForRow(panes.remoteList, "marker.txt")) << Boxes();
  EXPECT_EQ(Logins(), 3u);
  Disconnect();

  // The host now shows another certificate: asked again, warned; Cancel keeps the stored one.
  host.Retarget(testenv::Port("VAKO_PUREFTPD_TLS_PORT"));
  question = ConnectUntilQuestion();
  ASSERT_NE(question, nullptr) << Boxes();
  EXPECT_EQ(Text(question, IDC_CERT_CHANGED), ResourceText(IDS_CERT_CHANGED));
  EXPECT_EQ(Text(question, IDC_CERT_FINGERPRINT), testenv::Get("VAKO_TLS_OTHER_FINGERPRINT"));
  Answer(question, IDCANCEL);
  EXPECT_NE(AnswerBox().find(ResourceText(IDS_TLS_CERTIFICATE_REFUSED)), std::string::npos);
  EXPECT_FALSE(Connected());
  EXPECT_EQ(Stored(), Digits(fingerprint));
}

}  // namespace
