#include "ftp/remote_commands_win.h"

#include "app/app_state_win.h"
#include "ftp/command_format.h"
#include "ftp/control_connection_win.h"
#include "ftp/pwd_reply.h"
#include "ftp/reply_line.h"

int SendFormattedCommand(const char* verb, const std::string& argument) {
  if (!FormatCommandLine(CommandBuffer, verb, argument)) return 0;
  return SendCommand();
}

int SendFormattedCommand(const char* verb) {
  FormatCommandLine(CommandBuffer, verb);
  return SendCommand();
}

static int RunCommand(const char* verb, const std::string& argument) {
  return SendFormattedCommand(verb, argument) && ReplyIsPositive(ReplyBuffer) ? 1 : 0;
}

int ChangeRemoteFolder(const std::string& path) { return RunCommand("CWD", path); }
int DeleteRemoteFile(const std::string& name) { return RunCommand("DELE", name); }
int RemoveRemoteFolder(const std::string& name) { return RunCommand("RMD", name); }
int MakeRemoteFolder(const std::string& name) { return RunCommand("MKD", name); }

int RenameRemote(const std::string& oldName, const std::string& newName) {
  // Both names are checked first: RNFR alone would leave the server waiting for RNTO.
  if (HasLineBreak(oldName) || HasLineBreak(newName)) return 0;
  if (!SendFormattedCommand("RNFR", oldName)) return 0;
  // The RNFR reply is not judged; the RNTO reply decides.
  return RunCommand("RNTO", newName);
}

int SetRemoteMode(const std::string& name, const std::string& mode) {
  if (HasLineBreak(name) || HasLineBreak(mode)) return 0;
  return RunCommand("SITE CHMOD", mode + " " + name);
}

int GetRemoteFolder(std::string& folder, size_t size) {
  if (!SendFormattedCommand("PWD") || !ReplyIsPositive(ReplyBuffer)) return 0;
  return ExtractPwdPath(ReplyBuffer, size, folder);
}
