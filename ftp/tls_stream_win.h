// TLS as a client over a connected socket, through the system's own TLS (Schannel): the
// program ships no TLS library, and Windows keeps this one up to date.
#pragma once
#include <winsock2.h>
#include <windows.h>
#include <wincrypt.h>
#define SECURITY_WIN32
#include <security.h>

#include <cstddef>
#include <string>
#include <vector>

// One client credentials handle: the control connection's, shared by its data connections
// so that the system can resume the control connection's session on them.
class TlsCredentials {
 public:
  TlsCredentials() = default;
  ~TlsCredentials() { Release(); }
  TlsCredentials(const TlsCredentials&) = delete;
  TlsCredentials& operator=(const TlsCredentials&) = delete;
  // TLS 1.2 at least, certificates left to the program's own check. 1 on success.
  int Acquire();
  void Release();
  CredHandle* Handle() { return acquired_ ? &handle_ : nullptr; }

 private:
  CredHandle handle_{};
  bool acquired_ = false;
};

class WaitDeadline;

class TlsStream {
 public:
  TlsStream(SOCKET s, TlsCredentials& credentials, const std::string& targetName);
  ~TlsStream();
  TlsStream(const TlsStream&) = delete;
  TlsStream& operator=(const TlsStream&) = delete;

  // The client's side of the handshake. 1 when done; 0 otherwise, and Error() says why.
  int Handshake();
  // Sends all of the bytes. 0 on an error (WSAGetLastError tells a socket's).
  int Send(const char* data, size_t count);
  // Up to size bytes of plain data: > 0 bytes, 0 at the server's close_notify, -1 on an
  // error or when the connection ends without close_notify (a cut stream, never an end).
  // After a socket error WSAGetLastError tells it; otherwise it reads 0. A wait for the
  // socket ends at the time limit, or at the deadline when one is given.
  int Receive(char* buffer, int size, const WaitDeadline* deadline = nullptr);
  // Plain or encrypted bytes already taken off the socket and not yet given out.
  bool HasBufferedInput() const { return plainPos_ < plain_.size() || !in_.empty(); }
  // Tells the server this side sends no more. 1 when it went out.
  int SendCloseNotify();
  // The server's certificate (free it with CertFreeCertificateContext), or null.
  PCCERT_CONTEXT PeerCertificate() const;
  // "TLS 1.2, <cipher suite>" for the protocol log.
  std::string Description() const;
  const std::string& Error() const { return error_; }

 private:
  int HandshakeLoop(bool haveInput);
  int ReadMore();
  int ReceiveUntil(char* buffer, int size);
  int DecryptRecord();
  int Fail(const char* what, SECURITY_STATUS status);

  SOCKET s_;
  const WaitDeadline* deadline_ = nullptr;  // the running Receive's
  TlsCredentials& credentials_;
  std::string target_;
  CtxtHandle context_{};
  bool haveContext_ = false;
  SecPkgContext_StreamSizes sizes_{};
  std::vector<char> in_;      // encrypted bytes received and not yet decrypted
  std::string plain_;         // decrypted bytes not yet given out, from plainPos_
  size_t plainPos_ = 0;
  std::vector<char> out_;
  bool closed_ = false;       // close_notify came
  std::string error_;
};

// "0x80090304" and the system's words for a security status, when it has any.
std::string DescribeSecurityStatus(SECURITY_STATUS status);
