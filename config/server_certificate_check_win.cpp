// The program's own check of a server certificate: the system's chain and name check
// first, then the fingerprint the user chose to trust for host:port, then the user.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <wincrypt.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/string_table_win.h"
#include "config/certificate_question_win.h"
#include "config/profile_file_win.h"
#include "config/settings_file_win.h"
#include "ftp/certificate_trust.h"
#include "ftp/server_certificate_win.h"
#include "resources/resource_ids.h"

namespace {

const char kCertificatesSection[] = "Certificates";
// The SSL policy's fdwChecks (SECURITY_FLAG_IGNORE_* of wininet.h, which this file needs no more of).
constexpr DWORD kIgnoreRevocation = 0x80, kIgnoreUnknownAuthority = 0x100, kIgnoreWrongUsage = 0x200,
                kIgnoreNameInvalid = 0x1000, kIgnoreDateInvalid = 0x2000;
std::atomic<int> TestAnswer{-1};

struct ChainVerdict {
  bool trusted = false;
  std::string reasons;  // one line each
};

std::wstring Wide(const std::string& text) {
  const int size = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  if (size <= 0) return std::wstring();
  std::wstring wide(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], size);
  wide.resize(static_cast<size_t>(size) - 1);
  return wide;
}

bool Is(DWORD error, HRESULT code) { return error == static_cast<DWORD>(code); }

// The SSL policy for a server named host, ignoring what `ignore` names.
DWORD SslPolicyError(PCCERT_CHAIN_CONTEXT chain, const std::wstring& host, DWORD ignore) {
  SSL_EXTRA_CERT_CHAIN_POLICY_PARA ssl{};
  ssl.cbSize = sizeof ssl;
  ssl.dwAuthType = AUTHTYPE_SERVER;
  ssl.fdwChecks = ignore;
  ssl.pwszServerName = const_cast<wchar_t*>(host.c_str());
  CERT_CHAIN_POLICY_PARA policy{};
  policy.cbSize = sizeof policy;
  policy.pvExtraPolicyPara = &ssl;
  CERT_CHAIN_POLICY_STATUS status{};
  status.cbSize = sizeof status;
  if (!CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_SSL, chain, &policy, &status)) return GetLastError();
  return status.dwError;
}

void AddReason(std::string& reasons, int id) {
  if (!reasons.empty()) reasons += "\r\n";
  reasons += LoadResourceText(id);
}

// The host is an address literal that the certificate lists among its alternative names.
bool NamesAddress(PCCERT_CONTEXT certificate, const std::string& host) {
  BYTE address[16];
  DWORD size = 0;
  if (InetPtonA(AF_INET, host.c_str(), address) == 1) size = 4;
  else if (InetPtonA(AF_INET6, host.c_str(), address) == 1) size = 16;
  if (size == 0) return false;
  PCERT_EXTENSION extension = CertFindExtension(szOID_SUBJECT_ALT_NAME2, certificate->pCertInfo->cExtension,
                                                certificate->pCertInfo->rgExtension);
  if (!extension) return false;
  CERT_ALT_NAME_INFO* names = nullptr;
  DWORD namesSize = 0;
  if (!CryptDecodeObjectEx(X509_ASN_ENCODING, X509_ALTERNATE_NAME, extension->Value.pbData, extension->Value.cbData,
                           CRYPT_DECODE_ALLOC_FLAG, nullptr, &names, &namesSize))
    return false;
  bool found = false;
  for (DWORD i = 0; i < names->cAltEntry && !found; ++i) {
    const CERT_ALT_NAME_ENTRY& entry = names->rgAltEntry[i];
    found = entry.dwAltNameChoice == CERT_ALT_NAME_IP_ADDRESS && entry.IPAddress.cbData == size &&
            memcmp(entry.IPAddress.pbData, address, size) == 0;
  }
  LocalFree(names);
  return found;
}

bool HasExpired(PCCERT_CONTEXT certificate) {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return CompareFileTime(&certificate->pCertInfo->NotAfter, &now) < 0;
}

// The chain against the system's roots, and the host's name against the certificate.
ChainVerdict CheckChain(PCCERT_CONTEXT certificate, const std::string& host) {
  ChainVerdict verdict;
  LPSTR usages[] = {const_cast<LPSTR>(szOID_PKIX_KP_SERVER_AUTH)};
  CERT_CHAIN_PARA para{};
  para.cbSize = sizeof para;
  para.RequestedUsage.dwType = USAGE_MATCH_TYPE_OR;
  para.RequestedUsage.Usage.cUsageIdentifier = 1;
  para.RequestedUsage.Usage.rgpszUsageIdentifier = usages;
  PCCERT_CHAIN_CONTEXT chain = nullptr;
  if (!CertGetCertificateChain(nullptr, certificate, nullptr, certificate->hCertStore, &para, 0, nullptr, &chain) ||
      !chain) {
    char line[128];
    snprintf(line, sizeof line, LoadResourceText(IDS_CERT_OTHER_PROBLEM).c_str(), GetLastError());
    verdict.reasons = line;
    return verdict;
  }
  const std::wstring name = Wide(host);
  DWORD error = SslPolicyError(chain, name, 0);
  // Wine's policy matches names only, never an address among the certificate's
  // alternative names: that match is made here, with the rest of the policy kept.
  if (Is(error, CERT_E_CN_NO_MATCH) && NamesAddress(certificate, host))
    error = SslPolicyError(chain, name, kIgnoreNameInvalid);
  verdict.trusted = error == 0;
  if (!verdict.trusted) {
    const DWORD status = chain->TrustStatus.dwErrorStatus;
    // The policy names one failure only: asked again with the others ignored, it tells
    // whether the chain reaches a trusted root, and whether the name is right.
    const DWORD chainError =
        SslPolicyError(chain, name, kIgnoreNameInvalid | kIgnoreDateInvalid | kIgnoreWrongUsage | kIgnoreRevocation);
    if (status & CERT_TRUST_IS_UNTRUSTED_ROOT || Is(chainError, CERT_E_UNTRUSTEDROOT) || Is(chainError, CERT_E_CHAINING))
      AddReason(verdict.reasons, IDS_CERT_UNTRUSTED_ROOT);
    const DWORD nameError =
        SslPolicyError(chain, name, kIgnoreUnknownAuthority | kIgnoreDateInvalid | kIgnoreWrongUsage | kIgnoreRevocation);
    if ((Is(error, CERT_E_CN_NO_MATCH) || Is(nameError, CERT_E_CN_NO_MATCH)) && !NamesAddress(certificate, host))
      AddReason(verdict.reasons, IDS_CERT_WRONG_NAME);
    if (status & CERT_TRUST_IS_NOT_TIME_VALID || Is(error, CERT_E_EXPIRED))
      AddReason(verdict.reasons, HasExpired(certificate) ? IDS_CERT_EXPIRED : IDS_CERT_NOT_YET_VALID);
    if (status & CERT_TRUST_IS_REVOKED || Is(error, CRYPT_E_REVOKED)) AddReason(verdict.reasons, IDS_CERT_REVOKED);
    if (status & CERT_TRUST_IS_NOT_SIGNATURE_VALID) AddReason(verdict.reasons, IDS_CERT_BAD_SIGNATURE);
    if (status & CERT_TRUST_IS_NOT_VALID_FOR_USAGE || Is(error, CERT_E_WRONG_USAGE))
      AddReason(verdict.reasons, IDS_CERT_WRONG_USAGE);
    if (verdict.reasons.empty()) {
      char line[128];
      snprintf(line, sizeof line, LoadResourceText(IDS_CERT_OTHER_PROBLEM).c_str(), static_cast<unsigned long>(error));
      verdict.reasons = line;
    }
  }
  CertFreeCertificateChain(chain);
  return verdict;
}

// SHA-256 of the whole certificate (Wine has no property for it).
std::string Fingerprint(PCCERT_CONTEXT certificate) {
  BYTE digest[32];
  DWORD size = sizeof digest;
  if (!CryptHashCertificate(0, CALG_SHA_256, 0, certificate->pbCertEncoded, certificate->cbCertEncoded, digest, &size))
    return "";
  return FingerprintText(digest, size);
}

std::string NameText(const CERT_NAME_BLOB& name) {
  CERT_NAME_BLOB copy = name;
  const DWORD size = CertNameToStrA(X509_ASN_ENCODING, &copy, CERT_X500_NAME_STR, nullptr, 0);
  if (size <= 1) return "";
  std::vector<char> text(size);
  CertNameToStrA(X509_ASN_ENCODING, &copy, CERT_X500_NAME_STR, text.data(), size);
  return text.data();
}

std::string TimeText(const FILETIME& time) {
  SYSTEMTIME t;
  if (!FileTimeToSystemTime(&time, &t)) return "?";
  char text[32];
  snprintf(text, sizeof text, "%d/%02d/%02d %02d:%02d", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute);
  return text;
}

std::string ValidityText(PCCERT_CONTEXT certificate) {
  char text[256];
  snprintf(text, sizeof text, LoadResourceText(IDS_CERT_VALIDITY).c_str(),
           TimeText(certificate->pCertInfo->NotBefore).c_str(), TimeText(certificate->pCertInfo->NotAfter).c_str());
  return text;
}

}  // namespace

int ApproveServerCertificate(PCCERT_CONTEXT certificate, const std::string& host, int port) {
  if (!certificate || !certificate->pCertInfo) return 0;
  const ChainVerdict chain = CheckChain(certificate, host);
  const std::string fingerprint = Fingerprint(certificate);
  const std::string key = CertificateKey(host, port);
  const std::string stored =
      key.empty() ? "" : ReadProfileText(SettingsPath(), kCertificatesSection, key.c_str(), "", 128);
  const int verdict = JudgeCertificate(chain.trusted, stored, fingerprint);
  if (verdict == kCertificateAccepted) return 1;
  if (fingerprint.empty()) return 0;  // nothing the user could recognise it by

  CertificateQuestion question;
  question.host = host + ":" + std::to_string(port);
  question.subject = NameText(certificate->pCertInfo->Subject);
  question.issuer = NameText(certificate->pCertInfo->Issuer);
  question.validity = ValidityText(certificate);
  question.fingerprint = fingerprint;
  question.reasons = chain.reasons;
  question.changed = verdict == kCertificateAskChanged;
  const int preset = TestAnswer.load();
  const int answer = preset >= 0 ? preset : AskAboutCertificate(question);
  if (answer == kCertificateAlways && !key.empty())
    WriteProfileText(SettingsPath(), kCertificatesSection, key.c_str(), fingerprint);
  return answer == kCertificateOnce || answer == kCertificateAlways ? 1 : 0;
}

void AnswerCertificateQuestionsForTesting(int answer) { TestAnswer = answer; }
