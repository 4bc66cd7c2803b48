#include "ftp/protocol_log_win.h"

#include <windows.h>

#include "app/app_state_win.h"
#include "app/message_boxes_win.h"
#include "ftp/locked_scope_win.h"
#include "resources/resource_ids.h"

namespace {

// The main window's thread and a job's may both log (a job has the main window list a
// folder), so the handle is taken under a lock.
SRWLOCK LogLock = SRWLOCK_INIT;
HANDLE LogFile = INVALID_HANDLE_VALUE;
std::string LogFilePath;  // the path LogFile was opened for

void CloseLocked() {
  if (LogFile != INVALID_HANDLE_VALUE) CloseHandle(LogFile);
  LogFile = INVALID_HANDLE_VALUE;
  LogFilePath.clear();
}

// Others may read the log while it is open ("Show FTP Log"), and delete it: the next
// session then starts a new one.
bool OpenLocked() {
  if (LogFile != INVALID_HANDLE_VALUE && LogFilePath == LogPath) return true;
  CloseLocked();
  HANDLE file = CreateFileA(LogPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LogFile = file;
  LogFilePath = LogPath;
  return true;
}

}  // namespace

int WriteProtocolLog(const std::string& text, int mode) {
  std::string out = text;
  if (mode != 2) out += "\r\n";
  bool opened;
  DWORD written = 0;
  bool wrote = true;
  {
    LockedScope locked(LogLock);
    opened = OpenLocked();
    // Written straight through to the system, with no buffer of our own: a reader sees
    // every line at once, and nothing is lost if the program ends abruptly.
    if (opened && !out.empty())
      wrote = WriteFile(LogFile, out.data(), static_cast<DWORD>(out.size()), &written, nullptr) != 0;
  }
  // The message box is shown outside the lock: it runs a message loop.
  if (!opened) {
    ShowMessage(IDS_FAILED_WRITE_FILE);
    return 0;
  }
  return wrote ? 1 : 0;
}

void CloseProtocolLog() {
  LockedScope locked(LogLock);
  CloseLocked();
}
