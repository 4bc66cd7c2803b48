#include "ftp/protocol_log_win.h"

#include <windows.h>

#include <cstdlib>

#include "app/app_state_win.h"
#include "app/message_boxes_win.h"
#include "ftp/locked_scope_win.h"
#include "resources/resource_ids.h"

namespace {

// The main window's thread and a job's may both log (a job has the main window list a
// folder), so the handle and the gathered lines are taken under a lock.
SRWLOCK LogLock = SRWLOCK_INIT;
HANDLE LogFile = INVALID_HANDLE_VALUE;
std::string LogFilePath;  // the path LogFile was opened for
std::string Gathered;     // lines not yet written to LogFile

bool FlushLocked() {
  if (Gathered.empty() || LogFile == INVALID_HANDLE_VALUE) return true;
  DWORD written = 0;
  const bool wrote = WriteFile(LogFile, Gathered.data(), static_cast<DWORD>(Gathered.size()), &written, nullptr) != 0;
  Gathered.clear();
  return wrote;
}

void CloseLocked() {
  FlushLocked();
  if (LogFile != INVALID_HANDLE_VALUE) CloseHandle(LogFile);
  LogFile = INVALID_HANDLE_VALUE;
  LogFilePath.clear();
  Gathered.clear();
}

// Whatever is gathered still reaches the file when the program ends without closing it.
void FlushAtExit() {
  LockedScope locked(LogLock);
  FlushLocked();
}

// Others may read the log while it is open ("Show FTP Log"), and delete it: the next
// session then starts a new one. Lines gathered for another path go there first.
bool OpenLocked() {
  if (LogFile != INVALID_HANDLE_VALUE && LogFilePath == LogPath) return true;
  CloseLocked();
  HANDLE file = CreateFileA(LogPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  static const bool flushesAtExit = std::atexit(FlushAtExit) == 0;
  (void)flushesAtExit;
  LogFile = file;
  LogFilePath = LogPath;
  return true;
}

int Append(const std::string& text, bool endOfReply) {
  bool opened;
  bool wrote = true;
  {
    LockedScope locked(LogLock);
    opened = OpenLocked();
    if (opened) {
      Gathered += text;
      if (endOfReply) wrote = FlushLocked();
    }
  }
  // The message box is shown outside the lock: it runs a message loop.
  if (!opened) {
    ShowMessage(IDS_FAILED_WRITE_FILE);
    return 0;
  }
  return wrote ? 1 : 0;
}

}  // namespace

// A command (mode 2) waits for its reply; a note of the program's own (mode 1) is written
// at once, since no reply may follow it soon and "Show FTP Log" must show it.
int WriteProtocolLog(const std::string& text, int mode) {
  return mode == 2 ? Append(text, false) : Append(text + "\r\n", true);
}

int WriteProtocolLogReply(const std::string& line) { return Append(line, true); }

void CloseProtocolLog() {
  LockedScope locked(LogLock);
  CloseLocked();
}
