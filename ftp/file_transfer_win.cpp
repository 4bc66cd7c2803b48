// Retrieve and store of one file over an active data connection, with progress and stop.
#include <algorithm>
#include <memory>

#include "app/app_state_win.h"
#include "app/system_text_case_win.h"
#include "app/message_boxes_win.h"
#include "config/options.h"
#include "ftp/command_format.h"
#include "ftp/control_connection_win.h"
#include "ftp/data_connection_win.h"
#include "ftp/data_socket_win.h"
#include "ftp/engine_display_win.h"
#include "ftp/file_io_thread_win.h"
#include "ftp/receive_target_win.h"
#include "ftp/remote_commands_win.h"
#include "ftp/server_names_win.h"
#include "ftp/reply_line.h"
#include "ftp/transfer_job_frame_win.h"
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

// The helper thread of the running job's files, while a job runs.
FileIoHelper* JobFileHelper = nullptr;

// The file helper of one transfer: the job's, or one of its own for a transfer outside
// any job, which also starts clear of a Stop pressed while nothing ran.
class TransferHelper {
 public:
  TransferHelper() {
    if (JobFileHelper) return;
    StopRequested = 0;
    own_ = std::make_unique<FileIoHelper>();
  }
  FileIoHelper& get() { return own_ ? *own_ : *JobFileHelper; }

 private:
  std::unique_ptr<FileIoHelper> own_;
};

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

bool LastTransferWasStopped = false;

TransferJobScope::TransferJobScope() : helper_(std::make_unique<FileIoHelper>()) {
  StopRequested = 0;
  JobFileHelper = helper_.get();
  BeginTransferJobFrame();
}

TransferJobScope::~TransferJobScope() {
  EndTransferJobFrame();
  JobFileHelper = nullptr;
}

int RetrieveFile(const std::string& remoteName, const std::string& localPath, int mode, uint64_t size) {
  LastTransferWasStopped = false;
  std::string command, serverName;
  if (!ToServerName(remoteName, serverName) || !FormatCommandLine(command, "RETR", serverName)) return 0;
  TransferHelper helper;
  ReceiveTarget target(localPath);
  if (!target.Create()) {
    ShowMessage(IDS_FAILED_WRITE_FILE);
    return 0;
  }
  SocketHandle data;
  if (!OpenDataListener(command, mode, data)) return 0;  // the target is untouched

  // Pieces of "ReceiveBuf" bytes are received straight into blocks that the helper
  // thread writes to the file while the next pieces come in.
  const size_t chunkSize = static_cast<size_t>(ClampTransferBufferSize(Options.ReceiveBuf));
  FileWriterThread writer(target.Handle(), FileBlockSizeFor(size, chunkSize), helper.get());
  TransferProgress progress(size);
  const bool pump = CallerOwnsMainWindow();
  bool writeFailed = false;
  for (;;) {
    if (pump) PumpOneMainWindowMessage();
    char* room = writer.Room(chunkSize);
    if (!room) {
      writeFailed = true;
      break;
    }
    int got = recv(data.s, room, static_cast<int>(chunkSize), 0);
    if (got == 0) break;
    if (got < 0) {
      bool timedOut = LastCallTimedOut();
      writer.Finish();
      target.KeepPartial();
      EndBrokenTransfer(data, timedOut);
      return 0;
    }
    if (StopRequested) {
      // The piece just received is not written. The data connection goes first: a
      // server blocked writing to it may not read ABOR.
      writer.Finish();
      target.KeepPartial();
      data.Close();
      AbortTransfer();
      LastTransferWasStopped = true;
      return 1;
    }
    if (progress.AddAndCheckPosition(static_cast<uint64_t>(got))) {
      SetProgressPosition(progress.lastPosition);
      StatusTextBuffer = FormatProgressLine(FormatWithName(ResourceTextBuffer, remoteName), progress.done, size);
      ShowStatusText(StatusTextBuffer);
    }
    writer.Commit(static_cast<size_t>(got));
  }
  if (!writer.Finish()) writeFailed = true;
  target.Close();
  data.Close();
  int replied = ReadTransferReply();
  if (writeFailed) {
    target.KeepPartial();
    ShowMessage(IDS_FAILED_WRITE_FILE);
    return 0;
  }
  // Only a confirmed transfer may take the place of an earlier file. A binary file shorter
  // than listed was cut short, whatever the server says (ASCII mode may change line ends).
  const bool cutShort = mode != 1 && progress.done < size;
  if (!replied || !ReplyIsPositive(ReplyBuffer) || cutShort) {
    target.KeepPartial();
    return 0;
  }
  if (!target.Commit()) {
    ShowMessage(IDS_FAILED_WRITE_FILE);
    return 0;
  }
  return 1;
}

int StoreFile(const std::string& localPath, const std::string& remoteName, int mode, const std::string& shownPath) {
  LastTransferWasStopped = false;
  std::string command, serverName;
  if (!ToServerName(remoteName, serverName) || !FormatCommandLine(command, "STOR", serverName)) return 0;
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

  TransferHelper helper;
  SocketHandle data;
  if (!OpenDataListener(command, mode, data)) return 0;

  // The helper thread reads the file ahead in blocks, sent in pieces of "SendBuf" bytes.
  const size_t chunkSize = static_cast<size_t>(ClampTransferBufferSize(Options.SendBuf));
  FileReaderThread reader(file.h, FileBlockSizeFor(size, chunkSize), helper.get());
  const char* piece = nullptr;
  size_t have = 0;
  TransferProgress progress(size);
  // The name part of the status line is the same for every piece: made once per file.
  const std::string& shown = shownPath.empty() ? localPath : shownPath;
  const std::string statusName = progress.step != 0 ? FormatWithName(ResourceTextBuffer, shown) : std::string();
  for (;;) {
    if (have == 0) {
      int next = reader.Next(piece, have);
      if (next < 0) {
        // What went out is not the whole file: an orderly end of the data would have the
        // server confirm it and keep it in place of its copy. Reset and aborted instead.
        reader.Stop();
        file.Close();
        ResetDataConnection(data);
        SendAbortSequence();
        ShowMessage(IDS_FAILED_READ_FILE);
        return 0;
      }
      if (next == 0) break;
    }
    size_t count = std::min(chunkSize, have);
    if (!SendAll(data.s, piece, count)) {
      bool timedOut = LastCallTimedOut();
      reader.Stop();
      file.Close();
      EndBrokenTransfer(data, timedOut);
      return 0;
    }
    piece += count;
    have -= count;
    if (StopRequested) {
      reader.Stop();
      file.Close();
      data.Close();
      AbortTransfer();
      LastTransferWasStopped = true;
      return 1;
    }
    // The bar is set again only when its position changes: the same position once more
    // shows nothing new, and every setting is a message to another thread. The text
    // tells the bytes sent after every piece.
    const bool moved = progress.AddAndCheckPosition(count) || progress.done == count;
    if (progress.step != 0) {
      if (moved) SetProgressPosition(ProgressPosition(progress.done, progress.step));
      StatusTextBuffer = FormatProgressLine(statusName, progress.done, size);
      ShowStatusText(StatusTextBuffer);
    }
  }
  reader.Stop();
  file.Close();
  data.Close();
  int replied = ReadTransferReply();
  if (!replied || !ReplyIsPositive(ReplyBuffer)) return 0;

  int rule = FindPermissionRule(remoteName, Options, SystemTextCase());
  if (rule >= 0) SetRemoteMode(remoteName, PermissionOfRule(rule, Options));
  return 1;
}
