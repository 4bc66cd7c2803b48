#include "ftp/remote_commands_win.h"

#include "app/app_state_win.h"
#include "ftp/command_format.h"
#include "ftp/control_connection_win.h"
#include "ftp/pwd_reply.h"
#include "ftp/reply_line.h"
#include "ftp/server_names_win.h"

// The argument as the server spells it already.
static int SendServerCommand(const char* verb, const std::string& serverArgument) {
  if (!FormatCommandLine(CommandBuffer, verb, serverArgument)) return 0;
  return SendCommand();
}

int SendFormattedCommand(const char* verb, const std::string& argument) {
  std::string serverArgument;
  if (!ToServerName(argument, serverArgument)) return 0;
  return SendServerCommand(verb, serverArgument);
}

int SendFormattedCommand(const char* verb) {
  FormatCommandLine(CommandBuffer, verb);
  return SendCommand();
}

static int RunCommand(const char* verb, const std::string& argument) {
  return SendFormattedCommand(verb, argument) && ReplyIsPositive(ReplyBuffer) ? 1 : 0;
}

// The server's current folder as the program last learnt it: from PWD, or from a CWD to an
// absolute path; empty once a relative CWD made it unknown. Only the control connection's
// user of the moment (the window or the job) touches it.
static std::string KnownFolder;

const std::string& KnownServerFolder() { return KnownFolder; }
void ForgetServerFolder() { KnownFolder.clear(); }

int ChangeRemoteFolder(const std::string& path) {
  if (!RunCommand("CWD", path)) return 0;
  if (!path.empty() && path[0] == '/') KnownFolder = path;
  else KnownFolder.clear();
  return 1;
}
int DeleteRemoteFile(const std::string& name) { return RunCommand("DELE", name); }
int RemoveRemoteFolder(const std::string& name) { return RunCommand("RMD", name); }
int MakeRemoteFolder(const std::string& name) { return RunCommand("MKD", name); }

int RenameRemote(const std::string& oldName, const std::string& newName) {
  // Both names are checked first: RNFR alone would leave the server waiting for RNTO.
  if (HasLineBreak(oldName) || HasLineBreak(newName)) return 0;
  std::string serverOld, serverNew;
  if (!ToServerName(oldName, serverOld) || !ToServerName(newName, serverNew)) return 0;
  if (!SendServerCommand("RNFR", serverOld)) return 0;
  // The RNFR reply is not judged; the RNTO reply decides.
  return SendServerCommand("RNTO", serverNew) && ReplyIsPositive(ReplyBuffer) ? 1 : 0;
}

int SetRemoteMode(const std::string& name, const std::string& mode) {
  if (HasLineBreak(name) || HasLineBreak(mode)) return 0;
  return RunCommand("SITE CHMOD", mode + " " + name);
}

int GetRemoteFolder(std::string& folder, size_t size) {
  if (!SendFormattedCommand("PWD") || !ReplyIsPositive(ReplyBuffer)) return 0;
  std::string serverFolder;
  if (!ExtractPwdPath(ReplyBuffer, size, serverFolder)) return 0;
  bool lossy = false;
  folder = FromServerText(serverFolder, lossy);
  KnownFolder = folder;
  return 1;
}
