#include "ftp/secure_session_win.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>

#include "app/app_state_win.h"
#include "app/string_table_win.h"
#include "config/host_profile.h"
#include "ftp/control_connection_win.h"
#include "ftp/login_again_win.h"
#include "ftp/protocol_log_win.h"
#include "ftp/remote_commands_win.h"
#include "ftp/reply_line.h"
#include "ftp/server_certificate_win.h"
#include "ftp/tls_stream_win.h"
#include "ftp/transfer_progress.h"
#include "resources/resource_ids.h"

namespace {

// One set per control connection; its data connections share the credentials.
TlsCredentials Credentials;
std::unique_ptr<TlsStream> ControlStream;
std::string ControlCertificate;   // the server's certificate as encoded, for the data connections'
bool DataProtected = false;        // PROT P accepted
std::atomic<int> Protected{0};     // read by the window for its lock
// The certificate the session's first connection went on with: a login again after a lost
// connection takes the same one without asking the user again.
std::string SessionCertificate;

// The reason shown under the connection failure, in the place of the server's last reply.
int FailTls(const std::string& detail) {
  ReplyBuffer = FormatWithName(LoadResourceText(IDS_TLS_FAILED), detail);
  return 0;
}

std::string EncodedCertificate(const TlsStream& stream) {
  PCCERT_CONTEXT certificate = stream.PeerCertificate();
  if (!certificate) return std::string();
  std::string bytes(reinterpret_cast<const char*>(certificate->pbCertEncoded), certificate->cbCertEncoded);
  CertFreeCertificateContext(certificate);
  return bytes;
}

}  // namespace

int ControlConnectionIsProtected() { return Protected; }

TlsStream* ControlTls() { return ControlStream.get(); }

int StartControlTls() {
  EndControlTls();
  if (!Credentials.Acquire()) return FailTls("no TLS 1.2");
  auto stream = std::make_unique<TlsStream>(ControlSocket, Credentials, ControlHost);
  if (!stream->Handshake()) return FailTls(stream->Error());
  const std::string encoded = EncodedCertificate(*stream);
  const bool known = LoggingInAgain() && !encoded.empty() && encoded == SessionCertificate;
  PCCERT_CONTEXT certificate = known ? nullptr : stream->PeerCertificate();
  const int approved = known || (certificate && ApproveServerCertificate(certificate, ControlHost, ControlPort));
  if (certificate) CertFreeCertificateContext(certificate);
  if (!approved) {
    ReplyBuffer = LoadResourceText(IDS_TLS_CERTIFICATE_REFUSED);
    return 0;
  }
  ControlCertificate = encoded;
  SessionCertificate = encoded;
  WriteProtocolLog("(" + stream->Description() + ")", 1);
  ControlStream = std::move(stream);
  Protected = 1;
  return 1;
}

void EndControlTls() {
  Protected = 0;
  ControlStream.reset();
  Credentials.Release();
  ControlCertificate.clear();
  DataProtected = false;
}

int SecureControlConnection() {
  if (CurrentHost.Security != kSecurityExplicitTls) return 1;  // implicit TLS began with the connection
  if (!SendFormattedCommand("AUTH TLS")) return 0;
  if (ReplyBuffer.compare(0, 3, "234") != 0) return 0;  // the refusal is the reason shown
  // Nothing may come between 234 and the handshake: bytes already here were sent in the
  // clear by someone, and would be read as if they came through TLS.
  if (ControlReplyIsWaiting() || ControlHasUnreadBytes()) return FailTls("the server sent more after 234");
  return StartControlTls();
}

int ProtectDataConnections() {
  if (!ControlStream) return 1;
  if (!SendFormattedCommand("PBSZ 0") || !ReplyIsPositive(ReplyBuffer)) return 0;
  if (!SendFormattedCommand("PROT P") || !ReplyIsPositive(ReplyBuffer)) return 0;
  DataProtected = true;
  return 1;
}

int StartDataTls(SocketHandle& data) {
  if (!DataProtected || !ControlStream) return 1;
  data.tls = std::make_unique<TlsStream>(data.s, Credentials, ControlHost);
  std::string why;
  if (!data.tls->Handshake()) why = data.tls->Error();
  else if (EncodedCertificate(*data.tls) != ControlCertificate)
    why = "TLS: the data connection's certificate is not the control connection's";
  if (why.empty()) return 1;
  WriteProtocolLog("(" + why + ")", 1);
  return 0;
}

int ReceiveControlBytes(char* buffer, int size) {
  if (ControlStream) return ControlStream->Receive(buffer, size);
  return recv(ControlSocket, buffer, size, 0);
}

int SendControlBytes(const char* data, size_t count) {
  if (ControlStream) return ControlStream->Send(data, count) ? static_cast<int>(count) : -1;
  return send(ControlSocket, data, static_cast<int>(std::min<size_t>(count, 1 << 20)), 0);
}
