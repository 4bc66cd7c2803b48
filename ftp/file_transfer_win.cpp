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
#include "ftp/partial_files_win.h"
#include "ftp/receive_target_win.h"
#include "ftp/remote_commands_win.h"
#include "ftp/server_features_win.h"
#include "ftp/server_names_win.h"
#include "ftp/reply_line.h"
#include "ftp/transfer_job_frame_win.h"
#include "ftp/transfer_type_win.h"
#include "ftp/transfer_progress.h"
#include "jobs/job_rules.h"
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

bool SeekFile(HANDLE file, uint64_t offset) {
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(offset);
  return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) != 0;
}

// Where an upload the program left goes on: the server's size of the file, when the
// server takes REST before STOR and holds less than the whole; else 0 (from the start).
uint64_t UploadResumeOffset(const std::string& serverName, uint64_t size) {
  uint64_t held = 0;
  if (!ServerRestartsStreams()) return 0;
  // SIZE counts bytes as stored only in binary mode.
  if (!SendTransferType(2) || !SendFormattedCommand("SIZE", serverName)) return 0;
  return ParseSizeReply(ReplyBuffer, held) ? ResumeOffset(held, size) : 0;
}

}  // namespace

bool LastTransferWasStopped = false;
bool LastTransferBroke = false;

namespace {
// A transfer that ended without a final reply or with a transient refusal (4xx).
bool ReplyTellsOfBreak(int replied) { return !replied || ReplyBuffer.compare(0, 1, "4") == 0; }
}  // namespace

TransferJobScope::TransferJobScope() : helper_(std::make_unique<FileIoHelper>()) {
  StopRequested = 0;
  JobFileHelper = helper_.get();
  BeginTransferJobFrame();
}

TransferJobScope::~TransferJobScope() {
  EndTransferJobFrame();
  JobFileHelper = nullptr;
}

int RetrieveFile(const std::string& remoteName, const std::string& localPath, int mode, uint64_t size,
                 const std::string* listedDate) {
  LastTransferWasStopped = false;
  LastTransferBroke = false;
  std::string command, serverName;
  if (!ToServerName(remoteName, serverName) || !FormatCommandLine(command, "RETR", serverName)) return 0;
  TransferHelper helper;
  // A file listed with its date may go on from a partial file the program left, and may
  // leave one. Text files change length on the way, so ASCII mode always starts afresh.
  std::unique_ptr<DownloadPartial> partial;
  if (listedDate && size > 0 && !KnownServerFolder().empty())
    partial = std::make_unique<DownloadPartial>(
        localPath, PartialRecord{PartialServerName(), RemoteChildPath(KnownServerFolder(), remoteName), size,
                                 *listedDate, std::string()});
  const bool binary = mode != 1;
  ReceiveTarget target(localPath);
  uint64_t offset = 0;
  const bool resuming = partial && binary && partial->Offset() > 0 && target.Resume(partial->Path(), offset);
  if (resuming && ResumeOffset(offset, size) == 0 && target.Restart()) offset = 0;
  if (resuming ? ResumeOffset(offset, size) != offset : !target.Create()) {
    ShowMessage(IDS_FAILED_WRITE_FILE);
    return 0;
  }
  // Leaves what arrived for a later download to go on from, where the program may.
  auto keepPartial = [&](uint64_t arrived) {
    if (partial && binary && arrived > 0 && partial->MayLeave() && partial->WriteRecord()) {
      if (!target.KeepPartialAs(partial->Path())) partial->Remove();
      return;
    }
    target.KeepPartial();
  };
  SocketHandle data;
  if (!OpenDataListener(command, mode, data, offset)) {
    // A server that cannot go on from an offset sends the whole file instead.
    if (offset == 0 || !LastRestartWasRefused() || !target.Restart()) return 0;  // the target is untouched
    offset = 0;
    if (!OpenDataListener(command, mode, data)) return 0;
  }

  // Pieces of "ReceiveBuf" bytes are received straight into blocks that the helper
  // thread writes to the file while the next pieces come in.
  const size_t chunkSize = static_cast<size_t>(ClampTransferBufferSize(Options.ReceiveBuf));
  FileWriterThread writer(target.Handle(), FileBlockSizeFor(size - std::min(size, offset), chunkSize), helper.get());
  TransferProgress progress(size);
  progress.AddAndCheckPosition(offset);
  const bool pump = CallerOwnsMainWindow();
  bool writeFailed = false;
  for (;;) {
    if (pump) PumpOneMainWindowMessage();
    char* room = writer.Room(chunkSize);
    if (!room) {
      writeFailed = true;
      break;
    }
    int got = ReceiveData(data, room, static_cast<int>(chunkSize));
    if (got == 0) break;
    if (got < 0) {
      bool timedOut = LastCallTimedOut();
      writer.Finish();
      keepPartial(progress.done);
      EndBrokenTransfer(data, timedOut);
      LastTransferBroke = true;
      return 0;
    }
    if (StopRequested) {
      // The piece just received is not written. The data connection goes first: a
      // server blocked writing to it may not read ABOR.
      writer.Finish();
      keepPartial(progress.done);
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
  const bool cutShort = binary && progress.done < size;
  if (!replied || !ReplyIsPositive(ReplyBuffer) || cutShort) {
    keepPartial(progress.done);
    LastTransferBroke = cutShort || ReplyTellsOfBreak(replied);
    return 0;
  }
  // A continued file that came out longer than listed was not the file its beginning
  // came from: the partial goes, and the next download fetches the whole file.
  if (offset > 0 && progress.done != size) {
    target.KeepPartial();
    partial->Remove();
    return 0;
  }
  if (!target.Commit()) {
    ShowMessage(IDS_FAILED_WRITE_FILE);
    return 0;
  }
  if (partial) partial->RemoveOwn();
  return 1;
}

int StoreFile(const std::string& localPath, const std::string& remoteName, int mode, const std::string& shownPath) {
  LastTransferWasStopped = false;
  LastTransferBroke = false;
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
  // A binary upload that breaks is recorded in the work folder; the next upload of the same
  // file to the same place goes on from the server's size of it, when the server takes
  // REST before STOR.
  std::unique_ptr<UploadPartial> partial;
  std::string localTime;
  uint64_t localSize = 0;
  if (mode != 1 && !KnownServerFolder().empty() && LocalFileFacts(localPath, localSize, localTime) &&
      localSize == size)
    partial = std::make_unique<UploadPartial>(PartialRecord{
        PartialServerName(), RemoteChildPath(KnownServerFolder(), remoteName), size, localTime, localPath});
  uint64_t offset = partial && partial->Left() ? UploadResumeOffset(serverName, size) : 0;
  if (offset > 0 && !SeekFile(file.h, offset)) return 0;
  SocketHandle data;
  if (!OpenDataListener(command, mode, data, offset)) {
    if (offset == 0 || !LastRestartWasRefused() || !SeekFile(file.h, 0)) return 0;
    offset = 0;
    if (!OpenDataListener(command, mode, data)) return 0;
  }
  auto leavePartial = [&](uint64_t sent) {
    if (partial && sent > 0) partial->WriteRecord();
  };

  // The helper thread reads the file ahead in blocks, sent in pieces of "SendBuf" bytes.
  const size_t chunkSize = static_cast<size_t>(ClampTransferBufferSize(Options.SendBuf));
  FileReaderThread reader(file.h, FileBlockSizeFor(size - std::min(size, offset), chunkSize), helper.get());
  const char* piece = nullptr;
  size_t have = 0;
  TransferProgress progress(size);
  progress.AddAndCheckPosition(offset);
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
    if (!SendAllData(data, piece, count)) {
      bool timedOut = LastCallTimedOut();
      reader.Stop();
      file.Close();
      leavePartial(progress.done);
      EndBrokenTransfer(data, timedOut);
      LastTransferBroke = true;
      return 0;
    }
    piece += count;
    have -= count;
    if (StopRequested) {
      reader.Stop();
      file.Close();
      leavePartial(progress.done + count);
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
  FinishSending(data);
  data.Close();
  int replied = ReadTransferReply();
  if (!replied || !ReplyIsPositive(ReplyBuffer)) {
    // All of it went out, yet the server did not confirm it: what it kept may still be
    // gone on from.
    LastTransferBroke = ReplyTellsOfBreak(replied);
    if (LastTransferBroke) leavePartial(progress.done);
    return 0;
  }
  if (partial && partial->Left()) partial->RemoveRecord();

  int rule = FindPermissionRule(remoteName, Options, SystemTextCase());
  if (rule >= 0) SetRemoteMode(remoteName, PermissionOfRule(rule, Options));
  return 1;
}
