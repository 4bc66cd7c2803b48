#include "ftp/data_socket_win.h"

#include "app/app_state_win.h"
#include "ftp/control_connection_win.h"
#include "ftp/port_command.h"
#include "ftp/remote_commands_win.h"
#include "ftp/reply_line.h"
#include "ftp/socket_wait_win.h"

namespace {

// Waits for the server's data connection. Only a peer at the server's own address is
// taken; anyone else who got there first is turned away and the wait goes on.
int AcceptFromServer(SOCKET listener, SocketHandle& data) {
  DWORD start = GetTickCount();
  DWORD limit = static_cast<DWORD>(NetworkTimeoutSeconds()) * 1000;
  for (;;) {
    DWORD elapsed = GetTickCount() - start;
    if (elapsed >= limit) return 0;
    DWORD left = limit - elapsed;
    fd_set ready;
    FD_ZERO(&ready);
    FD_SET(listener, &ready);
    timeval wait{static_cast<long>(left / 1000), static_cast<long>((left % 1000) * 1000)};
    if (select(0, &ready, nullptr, nullptr, &wait) <= 0) return 0;
    sockaddr_in peer{};
    int length = sizeof peer;
    SOCKET s = accept(listener, reinterpret_cast<sockaddr*>(&peer), &length);
    if (s == INVALID_SOCKET) return 0;
    if (peer.sin_family == AF_INET && peer.sin_addr.s_addr == ServerAddress.sin_addr.s_addr) {
      data.s = s;
      // Every later wait on this connection is bounded too: 60 s without a byte ends it.
      DWORD ms = limit;
      setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&ms), sizeof ms);
      setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&ms), sizeof ms);
      return 1;
    }
    closesocket(s);
  }
}

}  // namespace

int OpenDataListener(const std::string& transferCommand, int mode, SocketHandle& data) {
  SocketHandle listener(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  if (listener.s == INVALID_SOCKET) return 0;
  sockaddr_in address = ServerAddress;
  address.sin_family = AF_INET;
  address.sin_port = 0;
  address.sin_addr.s_addr = htonl(INADDR_ANY);
  if (bind(listener.s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return 0;
  if (listen(listener.s, 1) != 0) return 0;
  sockaddr_in bound{};
  int length = sizeof bound;
  if (getsockname(listener.s, reinterpret_cast<sockaddr*>(&bound), &length) != 0) return 0;
  sockaddr_in local{};
  length = sizeof local;
  if (getsockname(ControlSocket, reinterpret_cast<sockaddr*>(&local), &length) != 0) return 0;

  if (!SendFormattedCommand(mode == 1 ? "TYPE A" : "TYPE I")) return 0;
  CommandBuffer = FormatPortCommand(reinterpret_cast<const unsigned char*>(&local.sin_addr), ntohs(bound.sin_port));
  if (!SendCommand()) return 0;
  CommandBuffer = transferCommand;
  // A refused command (550 no such file, 425 after a refused PORT...) means no connection
  // will ever come.
  if (!SendCommand() || !ReplyIsPositive(ReplyBuffer)) return 0;
  if (AcceptFromServer(listener.s, data)) return 1;
  listener.Close();
  SendAbortSequence();
  return 0;
}

bool LastCallTimedOut() { return WSAGetLastError() == WSAETIMEDOUT; }

void EndBrokenTransfer(SocketHandle& data, bool timedOut) {
  data.Close();
  if (timedOut) SendAbortSequence();
  else ReadReply();
}

int SendAll(SOCKET s, const char* data, size_t count) {
  while (count > 0) {
    int sent = send(s, data, static_cast<int>(count), 0);
    if (sent <= 0) return 0;
    data += sent;
    count -= static_cast<size_t>(sent);
  }
  return 1;
}

