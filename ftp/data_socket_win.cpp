#include "ftp/data_socket_win.h"

#include <cstdio>
#include <cstring>
#include <utility>

#include "app/app_state_win.h"
#include "config/host_profile.h"
#include "ftp/control_connection_win.h"
#include "ftp/data_connection_win.h"
#include "ftp/passive_reply.h"
#include "ftp/port_command.h"
#include "ftp/protocol_log_win.h"
#include "ftp/remote_commands_win.h"
#include "ftp/reply_line.h"
#include "ftp/secure_session_win.h"
#include "ftp/socket_address_win.h"
#include "ftp/socket_wait_win.h"
#include "ftp/transfer_job_frame_win.h"
#include "ftp/transfer_type_win.h"

namespace {

// Whether this connection's server refused EPSV: it then gets PASV straight away.
bool EpsvRefused = false;
sockaddr_storage ControlAddress{};
bool ControlAddressKnown = false;
std::string EarlyFinalReply;

// The reply to the transfer command that was just read: a final one instead of 150 means
// no other reply comes for this transfer.
void NoteEarlyFinalReply() {
  if (!ReplyBuffer.empty() && ReplyBuffer[0] == '2') EarlyFinalReply = ReplyBuffer;
}

// Takes a waiting connection off the (non-blocking) listener: 1 for the server's own, 0
// for anyone else (turned away), 2 when none is waiting yet, -1 on an error. It comes
// non-blocking like its listener, and stays so (ReceiveWithin).
int TakeConnection(SOCKET listener, SocketHandle& data) {
  sockaddr_storage peer{};
  int length = sizeof peer;
  SOCKET s = accept(listener, reinterpret_cast<sockaddr*>(&peer), &length);
  if (s == INVALID_SOCKET) return WSAGetLastError() == WSAEWOULDBLOCK ? 2 : -1;
  if (SameHost(HostOf(peer), HostOf(ServerAddress))) {
    data.s = s;
    return 1;
  }
  closesocket(s);
  return 0;
}

// Waits for the server's data connection. Only a peer at the server's own address is
// taken; anyone else who got there first is turned away and the wait goes on. The control
// connection is watched meanwhile: a server that gives up on the data connection says so
// there (425, 426) or closes, and then no connection will come.
// 1 connected; 0 the time ran out (the server still owes a reply); -1 the server's final
// reply has been read (or the connection is gone).
int AcceptFromServer(SOCKET listener, SocketHandle& data) {
  WaitDeadline deadline(static_cast<DWORD>(NetworkTimeoutSeconds()) * 1000);
  // Most servers have connected by the time their preliminary reply comes: the
  // connection is taken at once, without a wait that under Wine costs milliseconds.
  int taken = TakeConnection(listener, data);
  for (;;) {
    if (taken == 1) return 1;
    if (taken < 0) return 0;
    if (ControlSocket == INVALID_SOCKET) return -1;
    int ready = ControlReplyIsWaiting() ? 2 : WaitEitherReadable(listener, ControlSocket, deadline);
    if (ready == 0) return 0;
    if (ready == 2) {
      // The connection of a short transfer may be queued just behind its final reply.
      WaitDeadline grace(500);
      if (!WaitReadable(listener, &grace)) {
        if (!ReadReply()) return -1;
        if (ControlSocket == INVALID_SOCKET || ReplyBuffer.empty() || ReplyBuffer[0] != '1') return -1;
        continue;  // one more preliminary reply: the connection may still come
      }
    }
    taken = TakeConnection(listener, data);
  }
}

// Where the server listens for this transfer: EPSV first, PASV once EPSV was refused
// (never on IPv6, which PASV cannot carry).
// A reply may name another host (a private address behind NAT, or a third party the
// server is made to attack): only the port is taken from it, never the address.
int AskForPassivePort(sockaddr_storage& target) {
  target = ServerAddress;
  const HostAddress server = Unmapped(HostOf(ServerAddress));
  if (!EpsvRefused) {
    if (!SendFormattedCommand("EPSV") || ReplyBuffer.empty()) return 0;
    if (ReplyBuffer[0] != '5') {
      uint16_t port = 0;
      HostAddress named;
      if (!ParseEpsvReply(ReplyBuffer, port, &named)) return 0;
      SetPort(target, port);
      if (named.family != 0 && !SameHost(named, server))
        WriteProtocolLog("(EPSV named " + HostAndPort(AddressText(named), port) + "; connecting to " +
                             AddressAndPort(target) + " instead)",
                         1);
      return 1;
    }
    if (server.family != 4) return 0;  // the next transfer asks again: there is nothing else
    EpsvRefused = true;
  }
  unsigned char address[4];
  uint16_t port = 0;
  if (!SendFormattedCommand("PASV") || !ParsePasvReply(ReplyBuffer, address, port)) return 0;
  const unsigned char* peer = server.bytes;
  if (std::memcmp(address, peer, 4) != 0) {
    char note[128];
    std::snprintf(note, sizeof note, "(PASV named %u.%u.%u.%u; connecting to %u.%u.%u.%u instead)", address[0],
                  address[1], address[2], address[3], peer[0], peer[1], peer[2], peer[3]);
    WriteProtocolLog(note, 1);
  }
  SetPort(target, port);
  return 1;
}

// A listener for the server's data connection, non-blocking, on any address of its
// family, and the port it got.
struct DataListener {
  SocketHandle socket;
  int family = AF_UNSPEC;
  uint16_t port = 0;
};

bool MakeListener(int family, DataListener& made) {
  made.socket.Close();
  sockaddr_storage address{};
  address.ss_family = static_cast<ADDRESS_FAMILY>(family);
  made.socket.s = socket(family, SOCK_STREAM, IPPROTO_TCP);
  if (made.socket.s == INVALID_SOCKET) return false;
  u_long nonBlocking = 1;  // a connection is taken when there is one, never waited for in accept
  sockaddr_storage bound{};
  int length = sizeof bound;
  if (bind(made.socket.s, reinterpret_cast<sockaddr*>(&address), AddressLength(address)) != 0 ||
      listen(made.socket.s, 1) != 0 || ioctlsocket(made.socket.s, FIONBIO, &nonBlocking) != 0 ||
      getsockname(made.socket.s, reinterpret_cast<sockaddr*>(&bound), &length) != 0) {
    made.socket.Close();
    return false;
  }
  made.family = family;
  made.port = PortOf(bound);
  return true;
}

void MoveListener(DataListener& from, DataListener& to) {
  to.socket.Close();
  std::swap(to.socket.s, from.socket.s);
  to.family = from.family;
  to.port = from.port;
}

// The listener for a job's next transfer, made while the server prepared the last one:
// under Wine its five calls take about as long as the server takes to answer, a wait the
// job's thread would spend doing nothing. Dropped when the job ends, so that no listener
// stays open between jobs.
DataListener Spare;
bool SpareDropPlanned = false;

void DropSpareListener() {
  Spare.socket.Close();
  SpareDropPlanned = false;
}

void PrepareSpareListener() {
  if (!InTransferJob() || !ControlAddressKnown || Spare.socket.s != INVALID_SOCKET) return;
  if (!MakeListener(ControlAddress.ss_family, Spare)) return;
  if (!SpareDropPlanned) AtTransferJobEnd(DropSpareListener);
  SpareDropPlanned = true;
}

bool RestartRefused = false;

// REST when restarting, then the transfer command; true when the server accepted both.
// meanwhile runs while the server prepares the transfer.
bool SendTransferCommand(const std::string& transferCommand, uint64_t restartAt, void (*meanwhile)() = nullptr) {
  if (restartAt != 0) {
    if (!SendFormattedCommand("REST", std::to_string(restartAt))) return false;
    if (ReplyBuffer.compare(0, 3, "350") != 0) {
      RestartRefused = true;
      return false;
    }
  }
  CommandBuffer = transferCommand;
  const int replied = SendCommandUnlessStopped(meanwhile);
  if (replied < 0) AbortTransfer();
  return replied > 0 && ReplyIsPositive(ReplyBuffer);
}

// Passive: the data connection goes to the server before the transfer command is sent.
int OpenPassiveConnection(const std::string& transferCommand, SocketHandle& data, uint64_t restartAt) {
  sockaddr_storage target{};
  if (!AskForPassivePort(target)) return 0;
  SocketHandle s(socket(target.ss_family, SOCK_STREAM, IPPROTO_TCP));
  if (s.s == INVALID_SOCKET || !ConnectNonBlocking(s.s, reinterpret_cast<const sockaddr*>(&target), AddressLength(target)))
    return 0;
  if (!SendTransferCommand(transferCommand, restartAt)) return 0;
  data.s = s.s;
  s.s = INVALID_SOCKET;
  return 1;
}

// The data connection's TLS, when the session protects its data; a failed handshake ends
// the transfer (the server then owes its final reply).
int StartDataTlsOrEnd(SocketHandle& data) {
  if (StartDataTls(data)) return 1;
  data.Close();
  ReadTransferReply();
  return 0;
}

}  // namespace

void ForgetPassiveChoice() {
  EpsvRefused = false;
  ControlAddressKnown = false;
  Spare.socket.Close();  // it listens on the old connection's family
}

bool LastRestartWasRefused() { return RestartRefused; }

int OpenDataListener(const std::string& transferCommand, int mode, SocketHandle& data, uint64_t restartAt) {
  EarlyFinalReply.clear();
  RestartRefused = false;
  if (CurrentHost.Pasv == 1) {
    if (!SendTransferType(mode)) return 0;
    if (!OpenPassiveConnection(transferCommand, data, restartAt)) return 0;
    NoteEarlyFinalReply();
    return StartDataTlsOrEnd(data);
  }
  // The control connection's own address, for PORT or EPRT: asked once per connection.
  if (!ControlAddressKnown) {
    int length = sizeof ControlAddress;
    if (getsockname(ControlSocket, reinterpret_cast<sockaddr*>(&ControlAddress), &length) != 0) return 0;
    ControlAddressKnown = true;
  }
  // The listener takes the control connection's family, on any address of it.
  DataListener listener;
  if (Spare.socket.s != INVALID_SOCKET && Spare.family == ControlAddress.ss_family) MoveListener(Spare, listener);
  else if (!MakeListener(ControlAddress.ss_family, listener)) return 0;
  const HostAddress local = HostOf(ControlAddress);

  if (!SendTransferType(mode)) return 0;
  // PORT carries IPv4 only; an IPv6 connection announces its address with EPRT.
  CommandBuffer = local.family == 6 ? FormatEprtCommand(local, listener.port) : FormatPortCommand(local.bytes, listener.port);
  if (!SendCommand()) return 0;
  // A refused command (550 no such file, 425 after a refused PORT...) means no connection
  // will ever come.
  if (!SendTransferCommand(transferCommand, restartAt, PrepareSpareListener)) return 0;
  NoteEarlyFinalReply();
  int accepted = AcceptFromServer(listener.socket.s, data);
  if (accepted == 1) return StartDataTlsOrEnd(data);
  listener.socket.Close();
  if (accepted == 0) SendAbortSequence();
  return 0;
}

bool LastCallTimedOut() { return WSAGetLastError() == WSAETIMEDOUT; }

void EndBrokenTransfer(SocketHandle& data, bool timedOut) {
  data.Close();
  if (timedOut) SendAbortSequence();
  else ReadTransferReply();
}

const std::string& FinalReplyReadEarly() { return EarlyFinalReply; }

int ReadTransferReply() {
  if (EarlyFinalReply.empty()) return ReadReply();
  ReplyBuffer = EarlyFinalReply;
  EarlyFinalReply.clear();  // read once, as a reply is
  return 1;
}

void ResetDataConnection(SocketHandle& data) {
  if (data.s == INVALID_SOCKET) return;
  linger abort{};
  abort.l_onoff = 1;
  abort.l_linger = 0;  // closing then sends a reset
  setsockopt(data.s, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abort), sizeof abort);
  data.Close();
}

int ReceiveData(SocketHandle& data, char* buffer, int size, const WaitDeadline* deadline) {
  if (data.tls) return data.tls->Receive(buffer, size, deadline);
  return ReceiveWithin(data.s, buffer, size, deadline);
}

int ReceiveDataUnlessStopped(SocketHandle& data, char* buffer, int size, const WaitDeadline& deadline,
                             bool stoppable) {
  if (!data.tls) return ReceiveUnlessStopped(data.s, buffer, size, deadline, stoppable);
  // Bytes TLS has already taken off the socket are not seen by a wait for the socket.
  if (stoppable && !data.tls->HasBufferedInput() && !WaitReadableUnlessStopped(data.s, deadline)) return -2;
  return data.tls->Receive(buffer, size, &deadline);
}

int SendAllData(SocketHandle& data, const char* bytes, size_t count) {
  if (data.tls) return data.tls->Send(bytes, count);
  return SendAllWithin(data.s, bytes, count);
}

void FinishSending(SocketHandle& data) {
  if (!data.tls || data.s == INVALID_SOCKET) return;
  data.tls->SendCloseNotify();
  shutdown(data.s, SD_SEND);
  // The server answers with its own close_notify or its end; whatever else comes is read
  // and dropped, within the socket's time limit.
  char rest[4096];
  while (data.tls->Receive(rest, sizeof rest) > 0) {
  }
}
