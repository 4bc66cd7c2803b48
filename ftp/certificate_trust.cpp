#include "ftp/certificate_trust.h"

#include <cctype>

static bool IsFingerprint(const std::string& text) {
  if (text.size() != 64) return false;
  for (char c : text)
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

static bool SameFingerprint(const std::string& a, const std::string& b) {
  if (!IsFingerprint(a) || !IsFingerprint(b)) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

int JudgeCertificate(bool systemTrusts, const std::string& stored, const std::string& actual) {
  if (systemTrusts) return kCertificateAccepted;
  if (stored.empty()) return kCertificateAsk;
  // Whatever else is stored, a damaged value too, is not this certificate: never taken silently.
  return SameFingerprint(stored, actual) ? kCertificateAccepted : kCertificateAskChanged;
}

std::string FingerprintText(const unsigned char* digest, size_t size) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text;
  if (!digest || size != 32) return text;
  for (size_t i = 0; i < size; ++i) {
    text += kDigits[digest[i] >> 4];
    text += kDigits[digest[i] & 15];
  }
  return text;
}

std::string FingerprintForDisplay(const std::string& fingerprint) {
  std::string shown;
  for (size_t i = 0; i < fingerprint.size(); ++i) {
    if (i > 0 && i % 2 == 0) shown += ':';
    shown += fingerprint[i];
  }
  return shown;
}

std::string CertificateKey(const std::string& host, int port) {
  if (host.empty() || host[0] == ';' || port <= 0 || port > 65535) return "";
  for (char c : host)
    if (c == '=' || c == '[' || c == ']' || c == '\r' || c == '\n' || c == '\0') return "";
  const bool ipv6 = host.find(':') != std::string::npos;
  return (ipv6 ? "[" + host + "]" : host) + ":" + std::to_string(port);
}
