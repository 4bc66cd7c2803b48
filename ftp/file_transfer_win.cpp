// Retrieve and store of one file over an active data connection, with progress and stop.
#include <algorithm>
#include <vector>

#include "app/app_state_win.h"
#include "app/system_text_case_win.h"
#include "app/message_boxes_win.h"
#include "config/options.h"
#include "ftp/command_format.h"
#include "ftp/control_connection_win.h"
#include "ftp/data_connection_win.h"
#include "ftp/data_socket_win.h"
#include "ftp/engine_display_win.h"
#include "ftp/remote_commands_win.h"
#include "ftp/reply_line.h"
#include "ftp/transfer_progress.h"
#include "jobs/transfer_rules.h"
#include "resources/resource_ids.h"

namespace {

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

// Local file data moves in blocks of this size whatever the chunk size on the socket.
constexpr size_t kFileBlock = 1024 * 1024;

void PumpOneMainWindowMessage() {
  MSG msg;
  if (PeekMessageA(&msg, MainWindow, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

// Messages for the main window wait only in the queue of the thread that made it, so a
// job's thread never finds any and need not look.
bool CallerOwnsMainWindow() {
  return MainWindow && GetWindowThreadProcessId(MainWindow, nullptr) == GetCurrentThreadId();
}

}  // namespace

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

  // Pieces of "ReceiveBuf" bytes are received straight into a larger block that goes to
  // the file in one write: under Wine each call costs about as much as a whole piece.
  const size_t chunkSize = static_cast<size_t>(ClampTransferBufferSize(Options.ReceiveBuf));
  const size_t batch = std::max(kFileBlock, chunkSize);
  std::vector<char> block(batch + chunkSize);
  size_t filled = 0;
  auto flush = [&]() {
    DWORD written = 0;
    bool ok = filled == 0 || (WriteFile(file.h, block.data(), static_cast<DWORD>(filled), &written, nullptr) &&
                              written == filled);
    filled = 0;
    return ok;
  };
  TransferProgress progress(size);
  const bool pump = CallerOwnsMainWindow();
  bool writeFailed = false;
  for (;;) {
    if (pump) PumpOneMainWindowMessage();
    int got = recv(data.s, block.data() + filled, static_cast<int>(chunkSize), 0);
    if (got == 0) break;
    if (got < 0) {
      bool timedOut = LastCallTimedOut();
      flush();
      file.Close();
      EndBrokenTransfer(data, timedOut);
      return 0;
    }
    if (StopRequested) {
      // The piece just received is not written; the partial file stays. The data
      // connection goes first: a server blocked writing to it may not read ABOR.
      flush();
      file.Close();
      data.Close();
      AbortTransfer();
      return 1;
    }
    if (progress.AddAndCheckPosition(static_cast<uint64_t>(got))) {
      SetProgressPosition(progress.lastPosition);
      StatusTextBuffer = FormatProgressLine(FormatWithName(ResourceTextBuffer, remoteName), progress.done, size);
      ShowStatusText(StatusTextBuffer);
    }
    filled += static_cast<size_t>(got);
    if (filled >= batch && !flush()) {
      writeFailed = true;
      break;
    }
  }
  if (!writeFailed && !flush()) writeFailed = true;
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

  // The file is read in large blocks and sent in pieces of "SendBuf" bytes.
  const size_t chunkSize = static_cast<size_t>(ClampTransferBufferSize(Options.SendBuf));
  std::vector<char> block(std::max(kFileBlock, chunkSize));
  size_t have = 0, at = 0;
  TransferProgress progress(size);
  bool readFailed = false;
  for (;;) {
    if (at == have) {
      DWORD got = 0;
      if (!ReadFile(file.h, block.data(), static_cast<DWORD>(block.size()), &got, nullptr)) {
        ShowMessage(IDS_FAILED_READ_FILE);
        readFailed = true;
        break;
      }
      if (got == 0) break;
      have = got;
      at = 0;
    }
    size_t count = std::min(chunkSize, have - at);
    if (!SendAll(data.s, block.data() + at, count)) {
      bool timedOut = LastCallTimedOut();
      file.Close();
      EndBrokenTransfer(data, timedOut);
      return 0;
    }
    at += count;
    if (StopRequested) {
      file.Close();
      data.Close();
      AbortTransfer();
      return 1;
    }
    progress.done += count;
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

  int rule = FindPermissionRule(remoteName, Options, SystemTextCase());
  if (rule >= 0) SetRemoteMode(remoteName, PermissionOfRule(rule, Options));
  return 1;
}
