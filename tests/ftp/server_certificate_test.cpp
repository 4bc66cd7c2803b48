// The program's own check of server certificates, on certificates openssl made for this run:
// the system's chain and name check, the fingerprints kept in vako.ini's [Certificates], and
// the question, answered from inside its own message loop on the main window's thread,
// whichever thread asked. The cases are in data/server_certificates.tsv.
#include <gtest/gtest.h>
#include <windows.h>
#include <wincrypt.h>

#include <atomic>
#include <thread>

#include "app/session_lock_win.h"
#include "app/string_table_win.h"
#include "ftp/certificate_trust.h"
#include "ftp/server_certificate_win.h"
#include "resources/resource_ids.h"
#include "support/case_table.h"
#include "support/main_window_fixture_win.h"
#include "support/test_env.h"

namespace {

std::string CertificateFile(const std::string& name, const char* extension) {
  return ReadWholeFile(testenv::WinePath(testenv::Get("VAKO_CERTIFICATES") + "/" + name + extension));
}

// openssl's fingerprint ("AB:CD:...") as [Certificates] keeps it.
std::string StoredForm(const std::string& name) {
  std::string digits;
  for (char c : CertificateFile(name, ".sha256"))
    if (std::isxdigit(static_cast<unsigned char>(c))) digits += c;
  return digits;
}

struct Certificate {
  explicit Certificate(const std::string& name) {
    const std::string der = CertificateFile(name, ".der");
    context = CertCreateCertificateContext(X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()),
                                           static_cast<DWORD>(der.size()));
  }
  ~Certificate() { CertFreeCertificateContext(context); }
  PCCERT_CONTEXT context;
};

// What the question showed, and the button to press in it.
struct QuestionSeen {
  int button = IDCANCEL;
  int shown = 0;
  std::string changed, reasons, subject, fingerprint;
};
QuestionSeen* Seen = nullptr;

BOOL CALLBACK AnswerQuestion(HWND window, LPARAM) {
  char name[16] = "";
  GetClassNameA(window, name, sizeof name);
  if (std::string(name) != "#32770" || !IsWindowVisible(window) || !GetDlgItem(window, IDC_CERT_FINGERPRINT)) return TRUE;
  auto text = [&](int id) {
    char buffer[1024] = "";
    GetDlgItemTextA(window, id, buffer, sizeof buffer);
    return std::string(buffer);
  };
  ++Seen->shown;
  Seen->changed = text(IDC_CERT_CHANGED);
  Seen->reasons = text(IDC_CERT_REASONS);
  Seen->subject = text(IDC_CERT_SUBJECT);
  Seen->fingerprint = text(IDC_CERT_FINGERPRINT);
  EXPECT_EQ(GetWindow(window, GW_OWNER), MainWindow);
  PostMessageA(window, WM_COMMAND, Seen->button, 0);
  return FALSE;
}

// Runs on this thread's timer, inside whatever message loop runs: the question's own too.
void CALLBACK LookForQuestion(HWND, UINT, UINT_PTR, DWORD) { EnumThreadWindows(GetCurrentThreadId(), AnswerQuestion, 0); }

class ServerCertificateTest : public MainWindowFixture {
 protected:
  // The test root joins the prefix's root store for this program's run only.
  static void SetUpTestSuite() {
    MainWindowFixture::SetUpTestSuite();
    const std::string der = CertificateFile("root", ".der");
    root = CertOpenStore(CERT_STORE_PROV_SYSTEM_A, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, "Root");
    ASSERT_NE(root, nullptr);
    ASSERT_TRUE(CertAddEncodedCertificateToStore(root, X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()),
                                                 static_cast<DWORD>(der.size()), CERT_STORE_ADD_REPLACE_EXISTING,
                                                 &added));
  }
  static void TearDownTestSuite() {
    if (added) CertDeleteCertificateFromStore(added);  // frees the context too
    if (root) CertCloseStore(root, 0);
    added = nullptr;
    root = nullptr;
  }

  std::string Stored(const std::string& key) {
    char value[256] = "";
    GetPrivateProfileStringA("Certificates", key.c_str(), "", value, sizeof value, (program.path() + "vako.ini").c_str());
    return value;
  }

  // Asks on this thread or a worker's while this thread serves the main window.
  int Approve(PCCERT_CONTEXT certificate, const std::string& host, int port, bool onWorker) {
    if (!onWorker) return ApproveServerCertificate(certificate, host, port);
    std::atomic<int> answer{-1};
    std::thread worker([&] { answer = ApproveServerCertificate(certificate, host, port); });
    while (answer == -1) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
      for (MSG m; PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE);) DispatchMessageA(&m);
    }
    worker.join();
    return answer;
  }

  static HCERTSTORE root;
  static PCCERT_CONTEXT added;
};
HCERTSTORE ServerCertificateTest::root = nullptr;
PCCERT_CONTEXT ServerCertificateTest::added = nullptr;

TEST_F(ServerCertificateTest, EveryCaseOfTheTable) {
  Open();
  AnswerCertificateQuestionsForTesting(-1);
  const std::map<std::string, int> buttons = {{"once", IDC_CERT_ONCE}, {"always", IDC_CERT_ALWAYS}, {"cancel", IDCANCEL}};
  const std::map<std::string, int> reasonTexts = {
      {"untrusted", IDS_CERT_UNTRUSTED_ROOT}, {"name", IDS_CERT_WRONG_NAME}, {"expired", IDS_CERT_EXPIRED}};
  for (const Case& c : ReadCases("ftp/data/server_certificates.tsv")) {
    SCOPED_TRACE(c[0]);
    ASSERT_EQ(c.size(), 11u);
    const std::string host = c[2], key = CertificateKey(host, std::stoi(c[3]));
    WritePrivateProfileStringA("Certificates", nullptr, nullptr, (program.path() + "vako.ini").c_str());
    if (c[4] != "-") {
      const size_t at = c[4].find('@');
      const std::string storedKey = at == std::string::npos ? key : CertificateKey(host, std::stoi(c[4].substr(at + 1)));
      WritePrivateProfileStringA("Certificates", storedKey.c_str(), StoredForm(c[4].substr(0, at)).c_str(),
                                 (program.path() + "vako.ini").c_str());
    }
    Certificate certificate(c[1]);
    ASSERT_NE(certificate.context, nullptr);
    QuestionSeen seen;
    seen.button = buttons.count(c[6]) ? buttons.at(c[6]) : IDCANCEL;
    Seen = &seen;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, LookForQuestion);
    EXPECT_EQ(Approve(certificate.context, host, std::stoi(c[3]), c[5] == "worker"), std::stoi(c[7]));
    KillTimer(nullptr, timer);
    EXPECT_EQ(seen.shown, c[8] == "none" ? 0 : 1);
    EXPECT_EQ(!seen.changed.empty(), c[8] == "warned");
    EXPECT_EQ(Stored(key), c[9] == "-" ? "" : StoredForm(c[9]));
    if (seen.shown) {
      EXPECT_EQ(seen.fingerprint, CertificateFile(c[1], ".sha256").substr(0, 95));
      EXPECT_NE(seen.subject.find("CN=localhost"), std::string::npos) << seen.subject;
      for (const auto& [reason, id] : reasonTexts)
        EXPECT_EQ(seen.reasons.find(LoadResourceText(id)) != std::string::npos, c[10].find(reason) != std::string::npos)
            << reason << ": " << seen.reasons;
    }
    if (c[6] == "always") {  // then no question next time
      seen.shown = 0;
      const UINT_PTR again = SetTimer(nullptr, 0, 20, LookForQuestion);
      EXPECT_EQ(Approve(certificate.context, host, std::stoi(c[3]), false), 1);
      KillTimer(nullptr, again);
      EXPECT_EQ(seen.shown, 0);
    }
    Seen = nullptr;
  }
}

// Tests of other parts answer without a window; the answer is still kept only for "always".
TEST_F(ServerCertificateTest, AnswersForTestsTakeThePlaceOfTheQuestion) {
  Certificate certificate("self");
  for (int answer : {0, 1, 2}) {
    WritePrivateProfileStringA("Certificates", nullptr, nullptr, (program.path() + "vako.ini").c_str());
    AnswerCertificateQuestionsForTesting(answer);
    EXPECT_EQ(ApproveServerCertificate(certificate.context, "localhost", 990), answer == 0 ? 0 : 1);
    EXPECT_EQ(Stored("localhost:990"), answer == 2 ? StoredForm("self") : "");
  }
  AnswerCertificateQuestionsForTesting(-1);
}

// The status bar's lock: a part of its own while protected, gone again after.
TEST_F(ServerCertificateTest, StatusBarShowsTheLockOfAProtectedSession) {
  Open();
  UpdateSessionLock();
  EXPECT_EQ(SessionLockShown(), 0);
  ShowSessionLock(true);
  EXPECT_EQ(SessionLockShown(), 1);
  char text[64] = "";
  SendMessageA(StatusBar, SB_GETTEXTA, 1, reinterpret_cast<LPARAM>(text));
  EXPECT_EQ(std::string(text), LoadResourceText(IDS_SECURE_SESSION));
  RECT client, lock, progress;
  GetClientRect(StatusBar, &client);
  SendMessageA(StatusBar, SB_GETRECT, 1, reinterpret_cast<LPARAM>(&lock));
  GetWindowRect(ProgressBar, &progress);
  MapWindowPoints(nullptr, StatusBar, reinterpret_cast<POINT*>(&progress), 2);
  EXPECT_LE(lock.right, progress.left);  // beside the progress bar, not under it
  EXPECT_GT(lock.right - lock.left, 20);
  ShowSessionLock(false);
  EXPECT_EQ(SessionLockShown(), 0);
}

}  // namespace
