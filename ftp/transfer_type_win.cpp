#include "ftp/transfer_type_win.h"

#include "app/app_state_win.h"
#include "ftp/control_connection_win.h"
#include "ftp/transfer_type.h"

namespace {
// One control connection, used by one thread at a time (the window's or the job's).
TransferTypeMemory ServerType;
char SessionType = 0;
}  // namespace

int SendTransferType(int mode) {
  const std::string command = ServerType.CommandFor(mode);
  if (command.empty()) return 1;
  CommandBuffer = command;
  return SendCommand();
}

void NoteTransferTypeExchange(const std::string& commandLine, const std::string& reply) {
  ServerType.NoteExchange(commandLine, reply);
  if (ServerType.Known()) SessionType = ServerType.Known();
}

char SessionTransferType() { return SessionType; }
void ForgetSessionTransferType() { SessionType = 0; }

void ForgetTransferType() { ServerType.Forget(); }
