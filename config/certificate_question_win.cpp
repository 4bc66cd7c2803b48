#include "config/certificate_question_win.h"

#include "app/app_state_win.h"
#include "app/string_table_win.h"
#include "config/dialog_helpers_win.h"
#include "ftp/certificate_trust.h"
#include "resources/resource_ids.h"

namespace {

void FillQuestion(HWND dialog, const CertificateQuestion& q) {
  CenterOnMainWindow(dialog);
  SetDlgItemTextA(dialog, IDC_CERT_CHANGED, q.changed ? LoadResourceText(IDS_CERT_CHANGED).c_str() : "");
  char intro[512];
  snprintf(intro, sizeof intro, LoadResourceText(IDS_CERT_INTRO).c_str(), q.host.c_str());
  SetDlgItemTextA(dialog, IDC_CERT_INTRO, intro);
  SetDlgItemTextA(dialog, IDC_CERT_REASONS, q.reasons.c_str());
  SetDlgItemTextA(dialog, IDC_CERT_SUBJECT, q.subject.c_str());
  SetDlgItemTextA(dialog, IDC_CERT_ISSUER, q.issuer.c_str());
  SetDlgItemTextA(dialog, IDC_CERT_VALIDITY, q.validity.c_str());
  SetDlgItemTextA(dialog, IDC_CERT_FINGERPRINT, FingerprintForDisplay(q.fingerprint).c_str());
  // Cancel is the default: Enter alone never accepts a certificate.
  SetFocus(GetDlgItem(dialog, IDCANCEL));
}

INT_PTR CALLBACK QuestionProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    switch (message) {
      case WM_INITDIALOG:
        FillQuestion(dialog, *reinterpret_cast<const CertificateQuestion*>(lParam));
        return FALSE;  // the focus is set
      case WM_COMMAND:
        switch (LOWORD(wParam)) {
          case IDC_CERT_ONCE:
            EndDialog(dialog, kCertificateOnce);
            return TRUE;
          case IDC_CERT_ALWAYS:
            EndDialog(dialog, kCertificateAlways);
            return TRUE;
          case IDCANCEL:
            EndDialog(dialog, kCertificateCancel);
            return TRUE;
        }
        break;
    }
  } catch (...) {
    // Nothing may leave a dialog procedure; the question stays as it is.
  }
  return FALSE;
}

int ShowQuestion(const CertificateQuestion& question) {
  const INT_PTR answer = DialogBoxParamA(DialogResourceModule(), MAKEINTRESOURCEA(IDD_CERTIFICATE_QUESTION),
                                         MainWindow, QuestionProcedure, reinterpret_cast<LPARAM>(&question));
  return answer == kCertificateOnce || answer == kCertificateAlways ? static_cast<int>(answer) : kCertificateCancel;
}

}  // namespace

int AskAboutCertificate(const CertificateQuestion& question) {
  HWND owner = MainWindow;
  if (owner && GetWindowThreadProcessId(owner, nullptr) != GetCurrentThreadId()) {
    // The asking thread waits; a window that is gone answers 0, which is Cancel.
    const LRESULT answer = SendMessageA(owner, MsgAskCertificate, 0, reinterpret_cast<LPARAM>(&question));
    return answer == kCertificateOnce || answer == kCertificateAlways ? static_cast<int>(answer) : kCertificateCancel;
  }
  return ShowQuestion(question);
}

LRESULT AnswerCertificateQuestionMessage(LPARAM question) {
  try {
    return question ? ShowQuestion(*reinterpret_cast<const CertificateQuestion*>(question)) : kCertificateCancel;
  } catch (...) {
    return kCertificateCancel;
  }
}
