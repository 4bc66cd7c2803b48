// The judgement of a server certificate once the system has had its say: what the user
// stored for the host decides whether the connection goes on, is asked about, or is asked
// about with a warning that the certificate changed.
#pragma once
#include <cstddef>
#include <string>

enum CertificateVerdicts {
  kCertificateAccepted = 0,      // the system trusts it for the host, or it is the stored one
  kCertificateAsk = 1,           // nothing stored for the host: the user decides
  kCertificateAskChanged = 2,    // another certificate was stored: the user decides, warned
};

// systemTrusts: the chain ends at a root the system trusts and names the host. stored is
// the fingerprint kept for host:port (empty when none), actual the certificate's own.
int JudgeCertificate(bool systemTrusts, const std::string& stored, const std::string& actual);

// A SHA-256 digest as the settings file keeps it: 64 upper-case hex digits; empty when
// the digest is not 32 bytes.
std::string FingerprintText(const unsigned char* digest, size_t size);

// The fingerprint split into pairs with colons, as the question shows it.
std::string FingerprintForDisplay(const std::string& fingerprint);

// The [Certificates] key of a host: "host:port", an IPv6 literal in brackets. Empty when
// the host cannot be a key of an INI file (an equals sign, a line break, a bracket, a
// leading semicolon): such a host is asked about every time.
std::string CertificateKey(const std::string& host, int port);
