// Placeholders until secure connections are built.
#include "ftp/server_certificate_win.h"

int ApproveServerCertificate(PCCERT_CONTEXT, const std::string&, int) { return 0; }
void AnswerCertificateQuestionsForTesting(int) {}
int ControlConnectionIsProtected() { return 0; }
