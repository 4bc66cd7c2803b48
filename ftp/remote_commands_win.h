// Single commands on the server's files and folders, each judged by its reply's first
// digit. Every operation answers 1 when the command was sent and its (last) reply is
// positive, else 0. A name holding CR or LF is never sent: the operation fails instead.
#pragma once
#include <cstddef>
#include <string>

int ChangeRemoteFolder(const std::string& path);                         // CWD
int DeleteRemoteFile(const std::string& name);                           // DELE
int RemoveRemoteFolder(const std::string& name);                         // RMD
int MakeRemoteFolder(const std::string& name);                           // MKD
int RenameRemote(const std::string& oldName, const std::string& newName);  // RNFR, RNTO
int SetRemoteMode(const std::string& name, const std::string& mode);     // SITE CHMOD mode name

// PWD: the quoted path of the reply into folder, at most size - 1 bytes. 1 when the reply
// was positive and held a path; folder is left unchanged otherwise.
int GetRemoteFolder(std::string& folder, size_t size);

// The server's current folder as the last PWD, or CWD to an absolute path, told it; empty
// when unknown (after a relative CWD, on a new connection). A partial file's record names
// its remote file by it.
const std::string& KnownServerFolder();
void ForgetServerFolder();

// Formats verb and argument into CommandBuffer and sends it. 0 without sending anything
// when the argument holds a line break; otherwise the result of SendCommand.
int SendFormattedCommand(const char* verb, const std::string& argument);
int SendFormattedCommand(const char* verb);
