// The question about a server certificate the system does not trust for the host. It is
// owned by the main window and shown on the main window's thread, whichever thread asks.
#pragma once
#include <windows.h>

#include <string>

// Sent to the main window by a thread other than its own; lParam points to the
// CertificateQuestion, the answer is the result.
constexpr UINT MsgAskCertificate = WM_APP + 0x61;

struct CertificateQuestion {
  std::string host;                         // as the connection names it
  std::string subject, issuer, validity;    // as shown
  std::string fingerprint;                  // 64 hex digits
  std::string reasons;                      // why the system refused it, one line each
  bool changed = false;                     // another certificate was stored for the host
};

enum CertificateAnswers { kCertificateCancel = 0, kCertificateOnce = 1, kCertificateAlways = 2 };

// Shows the question and answers one of CertificateAnswers; from another thread it goes
// through the main window. Cancel when there is nobody to ask.
int AskAboutCertificate(const CertificateQuestion& question);

// The main window's side of MsgAskCertificate.
LRESULT AnswerCertificateQuestionMessage(LPARAM question);
