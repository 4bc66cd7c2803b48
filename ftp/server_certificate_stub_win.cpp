// Placeholders until secure connections are built.
#include "ftp/server_certificate_win.h"

static int TestingAnswer = -1;

int ApproveServerCertificate(PCCERT_CONTEXT, const std::string&, int) { return TestingAnswer > 0 ? 1 : 0; }
void AnswerCertificateQuestionsForTesting(int answer) { TestingAnswer = answer; }
