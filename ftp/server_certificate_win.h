// The program's own judgement of a TLS server's certificate. The handshake alone does not
// check it (Wine's does not at all), so every protected connection asks here once the
// handshake is done.
#pragma once
#include <windows.h>
#include <wincrypt.h>

#include <string>

// 1 when the connection may go on with this certificate: the system trusts its chain for
// host, or its fingerprint is the one stored for host:port, or the user accepts it when
// asked (once, or always, which stores the fingerprint). 0 when the user cancels.
int ApproveServerCertificate(PCCERT_CONTEXT certificate, const std::string& host, int port);

// Tests without a window: from now on the question is not shown and answer is taken
// (0 cancel, 1 this once, 2 always); -1 shows the question again.
void AnswerCertificateQuestionsForTesting(int answer);

// 1 while the control connection runs TLS (for the status bar's lock).
int ControlConnectionIsProtected();
