#include "ftp/tls_stream_win.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#define SCHANNEL_USE_BLACKLISTS  // for SCH_CREDENTIALS
#include <subauth.h>
#include <schannel.h>

#include "ftp/socket_wait_win.h"

namespace {

constexpr DWORD kContextFlags = ISC_REQ_SEQUENCE_DETECT | ISC_REQ_REPLAY_DETECT | ISC_REQ_CONFIDENTIALITY |
                                ISC_REQ_ALLOCATE_MEMORY | ISC_REQ_STREAM | ISC_REQ_EXTENDED_ERROR |
                                ISC_REQ_MANUAL_CRED_VALIDATION;
// Bytes asked of the socket at a time: several records, since calls into the system are
// what a transfer costs under Wine.
constexpr size_t kReadPiece = 65536;
constexpr size_t kSendBatch = 65536;

// Sends a token the system made for us, and gives its memory back.
int SendToken(SOCKET s, SecBuffer& token) {
  int ok = 1;
  if (token.pvBuffer) {
    if (token.cbBuffer > 0) ok = SendAllWithin(s, static_cast<const char*>(token.pvBuffer), token.cbBuffer);
    FreeContextBuffer(token.pvBuffer);
    token.pvBuffer = nullptr;
  }
  return ok;
}

// A TLS record starts with its type (20 to 23: cipher change, alert, handshake, data) and
// the major version 3.
bool LooksLikeTlsRecord(const std::vector<char>& bytes) {
  if (bytes.empty()) return true;
  const unsigned char type = static_cast<unsigned char>(bytes[0]);
  return type >= 0x14 && type <= 0x17 && (bytes.size() < 2 || bytes[1] == 3);
}

}  // namespace

std::string DescribeSecurityStatus(SECURITY_STATUS status) {
  char code[16];
  std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(status));
  char words[512] = "";
  std::string text;
  if (FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, static_cast<DWORD>(status),
                     0, words, sizeof words, nullptr))
    text = words;
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text.empty() ? std::string(code) : text + " (" + code + ")";
}

int TlsCredentials::Acquire() {
  Release();
  // The program checks the certificate itself, after the handshake.
  const DWORD flags = SCH_CRED_MANUAL_CRED_VALIDATION | SCH_CRED_NO_DEFAULT_CREDS | SCH_USE_STRONG_CRYPTO;
  TimeStamp expiry;
  TLS_PARAMETERS parameters{};
  parameters.grbitDisabledProtocols = ~static_cast<DWORD>(SP_PROT_TLS1_2_CLIENT | SP_PROT_TLS1_3_CLIENT);
  SCH_CREDENTIALS current{};
  current.dwVersion = SCH_CREDENTIALS_VERSION;
  current.dwFlags = flags;
  current.cTlsParameters = 1;
  current.pTlsParameters = &parameters;
  SECURITY_STATUS status = AcquireCredentialsHandleA(nullptr, const_cast<char*>(UNISP_NAME_A), SECPKG_CRED_OUTBOUND,
                                                     nullptr, &current, nullptr, nullptr, &handle_, &expiry);
  if (status != SEC_E_OK) {
    // Systems before Windows 10 1809 know only the older form (and no TLS 1.3).
    SCHANNEL_CRED older{};
    older.dwVersion = SCHANNEL_CRED_VERSION;
    older.grbitEnabledProtocols = SP_PROT_TLS1_2_CLIENT;
    older.dwFlags = flags;
    status = AcquireCredentialsHandleA(nullptr, const_cast<char*>(UNISP_NAME_A), SECPKG_CRED_OUTBOUND, nullptr, &older,
                                       nullptr, nullptr, &handle_, &expiry);
  }
  acquired_ = status == SEC_E_OK;
  return acquired_ ? 1 : 0;
}

void TlsCredentials::Release() {
  if (acquired_) FreeCredentialsHandle(&handle_);
  acquired_ = false;
}

TlsStream::TlsStream(SOCKET s, TlsCredentials& credentials, const std::string& targetName)
    : s_(s), credentials_(credentials), target_(targetName) {}

TlsStream::~TlsStream() {
  if (haveContext_) DeleteSecurityContext(&context_);
}

int TlsStream::Fail(const char* what, SECURITY_STATUS status) {
  error_ = std::string(what) + ": " + DescribeSecurityStatus(status);
  return 0;
}

int TlsStream::Handshake() {
  if (!credentials_.Handle()) {
    error_ = "TLS: no credentials";
    return 0;
  }
  return HandshakeLoop(false);
}

// 1 when bytes came, 0 when the peer closed, -1 on an error.
int TlsStream::ReadMore() {
  const size_t had = in_.size();
  in_.resize(had + kReadPiece);
  int got = ReceiveWithin(s_, in_.data() + had, static_cast<int>(kReadPiece), deadline_);
  in_.resize(had + static_cast<size_t>(std::max(got, 0)));
  if (got < 0) error_ = "TLS: receive failed";
  return got > 0 ? 1 : got == 0 ? 0 : -1;
}

// The exchange of handshake messages, from the first (haveInput false) or from input the
// server sent after the handshake (a renegotiation, or TLS 1.3's post-handshake messages).
int TlsStream::HandshakeLoop(bool haveInput) {
  for (int round = 0; round < 64; ++round) {  // a handshake takes a few; more is a loop
    SecBuffer input[2] = {{static_cast<unsigned long>(in_.size()), SECBUFFER_TOKEN, in_.data()},
                          {0, SECBUFFER_EMPTY, nullptr}};
    SecBufferDesc inputDesc{SECBUFFER_VERSION, 2, input};
    SecBuffer output[1] = {{0, SECBUFFER_TOKEN, nullptr}};
    SecBufferDesc outputDesc{SECBUFFER_VERSION, 1, output};
    unsigned long granted = 0;
    SECURITY_STATUS status = InitializeSecurityContextA(
        credentials_.Handle(), haveContext_ ? &context_ : nullptr, const_cast<char*>(target_.c_str()), kContextFlags,
        0, 0, haveInput ? &inputDesc : nullptr, 0, &context_, &outputDesc, &granted, nullptr);
    haveContext_ = haveContext_ || status == SEC_E_OK || status == SEC_I_CONTINUE_NEEDED ||
                   status == SEC_E_INCOMPLETE_MESSAGE || status == SEC_I_INCOMPLETE_CREDENTIALS;
    if (!SendToken(s_, output[0])) {
      error_ = "TLS: the handshake could not be sent";
      return 0;
    }
    if (status == SEC_E_INCOMPLETE_MESSAGE) {
      // A record that cannot be TLS would be waited on until the time limit (Wine reads
      // its length from any bytes at all).
      if (!LooksLikeTlsRecord(in_)) {
        error_ = "TLS handshake failed: the server's answer is not TLS";
        return 0;
      }
      if (ReadMore() <= 0) return Fail("TLS handshake: the server closed the connection", status);
      continue;
    }
    if (status != SEC_E_OK && status != SEC_I_CONTINUE_NEEDED && status != SEC_I_INCOMPLETE_CREDENTIALS)
      return Fail("TLS handshake failed", status);
    if (status == SEC_I_INCOMPLETE_CREDENTIALS) continue;  // asked for a client certificate: go on without
    if (haveInput) {
      if (input[1].BufferType == SECBUFFER_EXTRA && input[1].cbBuffer <= in_.size())
        in_.erase(in_.begin(), in_.end() - input[1].cbBuffer);
      else
        in_.clear();
    }
    if (status == SEC_E_OK) {
      status = QueryContextAttributesA(&context_, SECPKG_ATTR_STREAM_SIZES, &sizes_);
      if (status != SEC_E_OK) return Fail("TLS", status);
      // Some systems (Wine) take SCH_CREDENTIALS but not the versions it disables: the
      // version agreed is checked here.
      SecPkgContext_ConnectionInfo info{};
      if (QueryContextAttributesA(&context_, SECPKG_ATTR_CONNECTION_INFO, &info) == SEC_E_OK &&
          !(info.dwProtocol & (SP_PROT_TLS1_2 | SP_PROT_TLS1_3))) {
        error_ = "TLS: the server offers nothing newer than " + Description();
        return 0;
      }
      return 1;
    }
    if (status == SEC_I_CONTINUE_NEEDED && in_.empty() && ReadMore() <= 0)
      return Fail("TLS handshake: the server closed the connection", SEC_E_INCOMPLETE_MESSAGE);
    haveInput = true;
  }
  error_ = "TLS handshake failed: it never ended";
  return 0;
}

// 1 when a record was decrypted (plain_ may still be empty), 0 at close_notify, -1 on an
// error, 2 when a whole record has not arrived yet.
int TlsStream::DecryptRecord() {
  if (in_.size() < 5) return 2;  // Wine's DecryptMessage wants a whole record header at least
  const size_t length = 5 + (static_cast<size_t>(static_cast<unsigned char>(in_[3])) << 8 |
                             static_cast<unsigned char>(in_[4]));
  if (in_.size() < length) return 2;
  const bool alert = in_[0] == 0x15;
  SecBuffer buffers[4] = {{static_cast<unsigned long>(length), SECBUFFER_DATA, in_.data()},
                          {0, SECBUFFER_EMPTY, nullptr},
                          {0, SECBUFFER_EMPTY, nullptr},
                          {0, SECBUFFER_EMPTY, nullptr}};
  SecBufferDesc desc{SECBUFFER_VERSION, 4, buffers};
  SECURITY_STATUS status = DecryptMessage(&context_, &desc, 0, nullptr);
  if (status == SEC_I_CONTEXT_EXPIRED) return 0;
  if (status != SEC_E_OK && status != SEC_I_RENEGOTIATE) {
    Fail("TLS", status);
    return -1;
  }
  plain_.clear();
  plainPos_ = 0;
  std::string extra;
  for (const SecBuffer& b : buffers) {
    if (b.BufferType == SECBUFFER_DATA && b.pvBuffer) plain_.assign(static_cast<const char*>(b.pvBuffer), b.cbBuffer);
    if (b.BufferType == SECBUFFER_EXTRA && b.pvBuffer) extra.assign(static_cast<const char*>(b.pvBuffer), b.cbBuffer);
  }
  in_.erase(in_.begin(), in_.begin() + length);
  in_.insert(in_.begin(), extra.begin(), extra.end());
  if (status == SEC_I_RENEGOTIATE) return HandshakeLoop(true) ? 1 : -1;
  // Wine reads a close_notify as an empty record of its own.
  if (plain_.empty() && alert) return 0;
  return 1;
}

int TlsStream::Receive(char* buffer, int size, const WaitDeadline* deadline) {
  deadline_ = deadline;
  const int got = ReceiveUntil(buffer, size);
  deadline_ = nullptr;
  return got;
}

int TlsStream::ReceiveUntil(char* buffer, int size) {
  WSASetLastError(0);
  for (;;) {
    if (plainPos_ < plain_.size()) {
      const size_t n = std::min(plain_.size() - plainPos_, static_cast<size_t>(size));
      std::memcpy(buffer, plain_.data() + plainPos_, n);
      plainPos_ += n;
      return static_cast<int>(n);
    }
    if (closed_) return 0;
    int state = DecryptRecord();
    if (state == 0) {
      closed_ = true;
      return 0;
    }
    if (state < 0) return -1;
    if (state == 2) {
      int more = ReadMore();
      if (more == 0) {
        error_ = "TLS: the connection ended without close_notify";
        WSASetLastError(0);
        return -1;
      }
      if (more < 0) return -1;
    }
  }
}

int TlsStream::Send(const char* data, size_t count) {
  const size_t record = sizes_.cbMaximumMessage ? sizes_.cbMaximumMessage : 16384;
  while (count > 0) {
    out_.clear();
    while (count > 0 && out_.size() < kSendBatch) {
      const size_t n = std::min(count, record);
      const size_t at = out_.size();
      out_.resize(at + sizes_.cbHeader + n + sizes_.cbTrailer);
      char* p = out_.data() + at;
      std::memcpy(p + sizes_.cbHeader, data, n);
      SecBuffer buffers[4] = {{sizes_.cbHeader, SECBUFFER_STREAM_HEADER, p},
                              {static_cast<unsigned long>(n), SECBUFFER_DATA, p + sizes_.cbHeader},
                              {sizes_.cbTrailer, SECBUFFER_STREAM_TRAILER, p + sizes_.cbHeader + n},
                              {0, SECBUFFER_EMPTY, nullptr}};
      SecBufferDesc desc{SECBUFFER_VERSION, 4, buffers};
      SECURITY_STATUS status = EncryptMessage(&context_, 0, &desc, 0);
      if (status != SEC_E_OK) return Fail("TLS", status);
      out_.resize(at + buffers[0].cbBuffer + buffers[1].cbBuffer + buffers[2].cbBuffer);
      data += n;
      count -= n;
    }
    if (!SendAllWithin(s_, out_.data(), out_.size())) {
      error_ = "TLS: send failed";
      return 0;
    }
  }
  return 1;
}

int TlsStream::SendCloseNotify() {
  if (!haveContext_) return 0;
  DWORD type = SCHANNEL_SHUTDOWN;
  SecBuffer control{sizeof type, SECBUFFER_TOKEN, &type};
  SecBufferDesc controlDesc{SECBUFFER_VERSION, 1, &control};
  SECURITY_STATUS status = ApplyControlToken(&context_, &controlDesc);
  if (status != SEC_E_OK) return Fail("TLS close", status);
  SecBuffer output[1] = {{0, SECBUFFER_TOKEN, nullptr}};
  SecBufferDesc outputDesc{SECBUFFER_VERSION, 1, output};
  unsigned long granted = 0;
  status = InitializeSecurityContextA(credentials_.Handle(), &context_, const_cast<char*>(target_.c_str()),
                                      kContextFlags, 0, 0, nullptr, 0, &context_, &outputDesc, &granted, nullptr);
  if (status != SEC_E_OK && status != SEC_I_CONTINUE_NEEDED) {
    if (output[0].pvBuffer) FreeContextBuffer(output[0].pvBuffer);
    return Fail("TLS close", status);
  }
  return SendToken(s_, output[0]);
}

PCCERT_CONTEXT TlsStream::PeerCertificate() const {
  PCCERT_CONTEXT certificate = nullptr;
  CtxtHandle context = context_;
  if (!haveContext_ || QueryContextAttributesA(&context, SECPKG_ATTR_REMOTE_CERT_CONTEXT, &certificate) != SEC_E_OK)
    return nullptr;
  return certificate;
}

std::string TlsStream::Description() const {
  CtxtHandle context = context_;
  SecPkgContext_ConnectionInfo info{};
  std::string text = "TLS";
  if (QueryContextAttributesA(&context, SECPKG_ATTR_CONNECTION_INFO, &info) == SEC_E_OK) {
    const DWORD p = info.dwProtocol;
    text = p & SP_PROT_TLS1_3 ? "TLS 1.3" : p & SP_PROT_TLS1_2 ? "TLS 1.2" : p & SP_PROT_TLS1_1 ? "TLS 1.1"
         : p & SP_PROT_TLS1_0 ? "TLS 1.0" : "TLS (protocol " + std::to_string(p) + ")";
  }
  SecPkgContext_CipherInfo cipher{};
  cipher.dwVersion = SECPKGCONTEXT_CIPHERINFO_V1;
  if (QueryContextAttributesA(&context, SECPKG_ATTR_CIPHER_INFO, &cipher) == SEC_E_OK && cipher.szCipherSuite[0]) {
    char name[128] = "";
    WideCharToMultiByte(CP_ACP, 0, cipher.szCipherSuite, -1, name, sizeof name, nullptr, nullptr);
    return text + ", " + name;
  }
  if (info.aiCipher) {
    char alg[64];
    std::snprintf(alg, sizeof alg, ", cipher 0x%04X, %lu bits", static_cast<unsigned>(info.aiCipher),
                  static_cast<unsigned long>(info.dwCipherStrength));
    text += alg;
  }
  return text;
}
