// What the data transfers share: the data socket, its set-up with TYPE, PORT and the
// transfer command, and the ways a transfer ends early. Used by the engine only.
#pragma once
#include <winsock2.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "ftp/socket_wait_win.h"
#include "ftp/tls_stream_win.h"

struct SocketHandle {
  SOCKET s = INVALID_SOCKET;
  std::unique_ptr<TlsStream> tls;  // on a protected connection
  SocketHandle() = default;
  explicit SocketHandle(SOCKET socket) : s(socket) {}
  ~SocketHandle() { Close(); }
  SocketHandle(const SocketHandle&) = delete;
  SocketHandle& operator=(const SocketHandle&) = delete;
  void Close() {
    tls.reset();
    if (s != INVALID_SOCKET) closesocket(s);
    s = INVALID_SOCKET;
  }
};


// Listens on a fresh port, sends TYPE (mode 1 ASCII, else binary), PORT and the transfer
// command, and takes the server's connection once the server has accepted the command.
// With the host's Pasv set it sends TYPE, EPSV or PASV, connects to the server's port and
// then sends the transfer command.
// 0 when any step fails; a server that accepted the command but never connects gets the
// abort sequence. The data socket is non-blocking: its receives and sends wait within the
// time limit through ReceiveData and SendAllData.
// restartAt: sent as "REST <offset>" just before the transfer command when not 0; a
// server that does not answer it with 350 gets no transfer command, and
// LastRestartWasRefused tells so.
int OpenDataListener(const std::string& transferCommand, int mode, SocketHandle& data, uint64_t restartAt = 0);
bool LastRestartWasRefused();

// A new control connection tries EPSV again before PASV, and has its own address asked.
void ForgetPassiveChoice();

// True when the socket call that just failed ran into the time limit.
bool LastCallTimedOut();

// After a failed receive or send: closes the data socket, then either reads the server's
// final reply (a broken connection) or sends the abort sequence (a server that went silent).
void EndBrokenTransfer(SocketHandle& data, bool timedOut);

// A server that sends no preliminary reply answers the transfer command with its final
// one (226, 250), read by OpenDataListener in the preliminary reply's place; empty when the
// last transfer's final reply is still to come.
const std::string& FinalReplyReadEarly();
// The last transfer's final reply into ReplyBuffer, as ReadReply does: read now, or the one
// that already came in place of the preliminary reply.
int ReadTransferReply();

// Closes the data connection with a reset instead of an orderly end, which the server
// would take for the end of a whole file.
void ResetDataConnection(SocketHandle& data);

// The data connection's bytes, through TLS on a protected one. Receive answers as recv
// does; a TLS stream cut without close_notify is an error, never the end of the data.
// Every wait for the socket ends at the time limit, or at the deadline when one is given.
int ReceiveData(SocketHandle& data, char* buffer, int size, const WaitDeadline* deadline = nullptr);
// ReceiveData that asks the socket for a few milliseconds before it waits (a listing, which
// comes at once) and, when stoppable, that Stop can end while it waits: -2 then.
int ReceiveDataUnlessStopped(SocketHandle& data, char* buffer, int size, const WaitDeadline& deadline,
                             bool stoppable = true);
int SendAllData(SocketHandle& data, const char* bytes, size_t count);
// The orderly end of what we sent: TLS's close_notify first, and the server's own end
// awaited, so that nothing it sent is left unread (which would turn the close into a reset).
void FinishSending(SocketHandle& data);

// IAC IP IAC (urgent), DM, ABOR, then the replies brought back in step; leaves
// StopRequested alone.
void SendAbortSequence();
