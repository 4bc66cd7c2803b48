#include "ftp/data_connection_win.h"

#include <vector>

#include "app/app_state_win.h"
#include "app/message_boxes_win.h"
#include "config/host_profile.h"
#include "config/options.h"
#include "ftp/command_format.h"
#include "ftp/control_connection_win.h"
#include "ftp/engine_display_win.h"
#include "ftp/listing_limit.h"
#include "ftp/port_command.h"
#include "ftp/remote_commands_win.h"
#include "ftp/reply_line.h"
#include "ftp/socket_wait_win.h"
#include "ftp/transfer_progress.h"
#include "jobs/transfer_rules.h"
#include "resources/resource_ids.h"

std::string ListingBuffer;

namespace {

struct SocketHandle {
  SOCKET s = INVALID_SOCKET;
  SocketHandle() = default;
  explicit SocketHandle(SOCKET socket) : s(socket) {}
  ~SocketHandle() { Close(); }
  SocketHandle(const SocketHandle&) = delete;
  SocketHandle& operator=(const SocketHandle&) = delete;
  void Close() {
    if (s != INVALID_SOCKET) closesocket(s);
    s = INVALID_SOCKET;
  }
};

struct FileHandle {
  HANDLE h = INVALID_HANDLE_VALUE;
  explicit FileHandle(HANDLE handle) : h(handle) {}
  ~FileHandle() { Close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool IsOpen() const { return h != INVALID_HANDLE_VALUE; }
  void Close() {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    h = INVALID_HANDLE_VALUE;
  }
};

int TimeLimitMilliseconds() { return NetworkTimeoutSeconds() * 1000; }

void AbortSequence();

// The replies of an aborted transfer vary by server: the transfer's own final reply
// (226 or 426) may come before, with or instead of the reply to ABOR, and some servers
// send both. PWD's 257 is none of those, so reading up to it puts the next command's
// reply back where it belongs. When that fails the connection is closed: a known state.
void BringRepliesInStep() {
  if (ControlSocket == INVALID_SOCKET) return;
  if (!SendFormattedCommand("PWD")) return;
  for (int extra = 0; extra < 8; ++extra) {
    if (ReplyBuffer.compare(0, 3, "257") == 0) return;
    if (ControlSocket == INVALID_SOCKET || !ReadReply() || ReplyBuffer.empty()) break;
  }
  if (ReplyBuffer.compare(0, 3, "257") != 0) CloseControlConnection();
}

// The final reply of a listing: read line by line like any reply but kept out of the
// protocol log and out of ReplyBuffer. 0 on a closed or silent connection (then closed).
int ReadListingFinalReply(std::string& line) {
  for (;;) {
    line.clear();
    char chunk[1024];
    bool complete = false;
    while (!complete) {
      if (!WaitReadable(ControlSocket)) {
        CloseControlConnection();
        return 0;
      }
      int peeked = recv(ControlSocket, chunk, sizeof chunk, MSG_PEEK);
      if (peeked <= 0) {
        if (peeked < 0) CloseControlConnection();
        return peeked == 0 ? 1 : 0;
      }
      int take = peeked;
      for (int i = 0; i < peeked; ++i) {
        if (chunk[i] == '\n') {
          take = i + 1;
          break;
        }
      }
      int got = recv(ControlSocket, chunk, take, 0);
      if (got <= 0) {
        if (got < 0) CloseControlConnection();
        return got == 0 ? 1 : 0;
      }
      if (line.size() < kReplyBufferSize - 1)
        line.append(chunk, std::min<size_t>(static_cast<size_t>(got), kReplyBufferSize - 1 - line.size()));
      complete = chunk[got - 1] == '\n';
    }
    if (!IsContinuationLine(line)) return 1;
  }
}

// Waits for the server's data connection. Only a peer at the server's own address is
// taken; anyone else who got there first is turned away and the wait goes on.
int AcceptFromServer(SOCKET listener, SocketHandle& data) {
  DWORD start = GetTickCount();
  DWORD limit = static_cast<DWORD>(TimeLimitMilliseconds());
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

// Listens on a fresh port, sends TYPE, PORT and the transfer command, and takes the
// server's connection once the server has accepted the command. 0 when any step fails;
// a server that accepted the command but never connects gets the abort sequence.
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
  AbortSequence();
  return 0;
}

bool TimedOut() { return WSAGetLastError() == WSAETIMEDOUT; }

// A receive or send that failed: after a time limit the server is stuck and needs the
// abort sequence; after a broken connection its final reply is on its way.
void EndBrokenTransfer(SocketHandle& data, bool timedOut) {
  data.Close();
  if (timedOut) AbortSequence();
  else ReadReply();
}

void PumpOneMainWindowMessage() {
  MSG msg;
  if (PeekMessageA(&msg, MainWindow, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

// Messages for the main window wait only in the queue of the thread that made it, so a
// job's thread never finds any and need not look.
bool CallerOwnsMainWindow() {
  return MainWindow && GetWindowThreadProcessId(MainWindow, nullptr) == GetCurrentThreadId();
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

int StrictCompare(const char* a, const char* b) { return lstrcmpiA(a, b); }
void LowerText(std::string& text) {
  if (!text.empty()) CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
}
void UpperText(std::string& text) {
  if (!text.empty()) CharUpperBuffA(&text[0], static_cast<DWORD>(text.size()));
}
const TextCase& EngineTextCase() {
  static const TextCase tc{StrictCompare, LowerText, UpperText};
  return tc;
}

void AbortSequence() {
  static const char interrupt[3] = {'\xFF', '\xF4', '\xFF'};  // IAC IP IAC; the urgent mark is on the last IAC
  if (send(ControlSocket, interrupt, sizeof interrupt, MSG_OOB) != sizeof interrupt) CloseControlConnection();
  static const char mark = '\xF2';  // DM
  if (send(ControlSocket, &mark, 1, 0) != 1) CloseControlConnection();
  if (!SendFormattedCommand("ABOR")) return;
  BringRepliesInStep();
}

}  // namespace

void AbortTransfer() {
  StopRequested = 0;
  AbortSequence();
}

int FetchListing() {
  ListingBuffer.clear();
  SocketHandle data;
  std::string command;
  FormatCommandLine(command, CurrentHost.List ? "NLST -alL" : "LIST");
  if (!OpenDataListener(command, 1, data)) return 0;

  std::vector<char> chunk(static_cast<size_t>(ClampTransferBufferSize(Options.ReceiveBuf)));
  uint64_t total = 0;
  bool complete = true;
  for (;;) {
    int got = recv(data.s, chunk.data(), static_cast<int>(chunk.size()), 0);
    if (got == 0) break;
    if (got < 0) {
      EndBrokenTransfer(data, TimedOut());
      return 0;
    }
    if (!AppendListingPiece(ListingBuffer, total, chunk.data(), static_cast<size_t>(got))) {
      ShowMessage(IDS_OUT_OF_MEMORY);
      complete = false;
      break;
    }
  }
  data.Close();
  std::string finalReply;
  if (!ReadListingFinalReply(finalReply)) return 0;
  return complete && ReplyIsPositive(finalReply) ? 1 : 0;
}

int RetrieveFile(const std::string& remoteName, const std::string& localPath, int mode, uint64_t size) {
  std::string command;
  if (!FormatCommandLine(command, "RETR", remoteName)) return 0;
  SocketHandle data;
  if (!OpenDataListener(command, mode, data)) return 0;

  // Only now, with the server sending, may an existing local file go.
  DeleteFileA(localPath.c_str());
  FileHandle file(CreateFileA(localPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_ARCHIVE, nullptr));
  if (!file.IsOpen()) {
    ShowMessage(IDS_FAILED_WRITE_FILE);
    data.Close();
    ReadReply();
    return 0;
  }

  std::vector<char> chunk(static_cast<size_t>(ClampTransferBufferSize(Options.ReceiveBuf)));
  const int chunkSize = static_cast<int>(chunk.size());
  TransferProgress progress(size);
  const bool pump = CallerOwnsMainWindow();
  bool writeFailed = false;
  for (;;) {
    if (pump) PumpOneMainWindowMessage();
    int got = recv(data.s, chunk.data(), chunkSize, 0);
    if (got == 0) break;
    if (got < 0) {
      bool timedOut = TimedOut();
      file.Close();
      EndBrokenTransfer(data, timedOut);
      return 0;
    }
    progress.done += static_cast<uint64_t>(got);
    if (StopRequested) {
      // The piece just received is not written; the partial file stays. The data
      // connection goes first: a server blocked writing to it may not read ABOR.
      file.Close();
      data.Close();
      AbortTransfer();
      return 1;
    }
    if (progress.step != 0) {
      int position = ProgressPosition(progress.done, progress.step);
      if (position != progress.lastPosition) {
        SetProgressPosition(position);
        StatusTextBuffer = FormatProgressLine(FormatWithName(ResourceTextBuffer, remoteName), progress.done, size);
        ShowStatusText(StatusTextBuffer);
        progress.lastPosition = position;
      }
    }
    DWORD written = 0;
    if (!WriteFile(file.h, chunk.data(), static_cast<DWORD>(got), &written, nullptr) ||
        written != static_cast<DWORD>(got)) {
      writeFailed = true;
      break;
    }
  }
  file.Close();
  data.Close();
  int replied = ReadReply();
  if (writeFailed) {
    ShowMessage(IDS_FAILED_WRITE_FILE);
    return 0;
  }
  return replied && ReplyIsPositive(ReplyBuffer) ? 1 : 0;
}

int StoreFile(const std::string& localPath, const std::string& remoteName, int mode) {
  std::string command;
  if (!FormatCommandLine(command, "STOR", remoteName)) return 0;
  // Opened before STOR is sent: a file that cannot be read must not leave an empty or
  // truncated file on the server.
  FileHandle file(CreateFileA(localPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsOpen()) {
    ShowMessage(IDS_FAILED_READ_FILE);
    return 0;
  }
  DWORD high = 0;
  DWORD low = GetFileSize(file.h, &high);
  uint64_t size = (static_cast<uint64_t>(high) << 32) | low;

  SocketHandle data;
  if (!OpenDataListener(command, mode, data)) return 0;

  std::vector<char> chunk(static_cast<size_t>(ClampTransferBufferSize(Options.SendBuf)));
  TransferProgress progress(size);
  bool readFailed = false;
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file.h, chunk.data(), static_cast<DWORD>(chunk.size()), &got, nullptr)) {
      ShowMessage(IDS_FAILED_READ_FILE);
      readFailed = true;
      break;
    }
    if (got == 0) break;
    if (!SendAll(data.s, chunk.data(), got)) {
      bool timedOut = TimedOut();
      file.Close();
      EndBrokenTransfer(data, timedOut);
      return 0;
    }
    if (StopRequested) {
      file.Close();
      data.Close();
      AbortTransfer();
      return 1;
    }
    progress.done += got;
    if (progress.step != 0) {
      SetProgressPosition(ProgressPosition(progress.done, progress.step));
      StatusTextBuffer = FormatProgressLine(FormatWithName(ResourceTextBuffer, localPath), progress.done, size);
      ShowStatusText(StatusTextBuffer);
    }
  }
  file.Close();
  data.Close();
  int replied = ReadReply();
  if (readFailed || !replied || !ReplyIsPositive(ReplyBuffer)) return 0;

  int rule = FindPermissionRule(remoteName, Options, EngineTextCase());
  if (rule >= 0) SetRemoteMode(remoteName, PermissionOfRule(rule, Options));
  return 1;
}
