// The protocol log: every command sent and the last line of every reply, appended to
// LogPath. The file stays open from its first line until CloseProtocolLog, and the lines
// gather in memory until a reply ends: one write per exchange instead of one per line
// (under Wine each write is a round trip to its server), while a program that ends
// abruptly loses at most the command still waiting for its reply.
#pragma once
#include <string>

// Appends the text as it is (mode 2) or with a CR LF (mode 1) to LogPath, as WriteTextFile
// would: a command (mode 2) reaches the file with its reply, a note (mode 1) at once.
// Shows "Failed to write file" and answers 0 when the log cannot be opened.
int WriteProtocolLog(const std::string& text, int mode);

// Appends the last line of a reply as it is and writes out everything gathered: 1 when it
// reached the file.
int WriteProtocolLogReply(const std::string& line);

// Writes out what is gathered and lets go of the file: at the end of a session, and before
// the work folder is deleted. The next line opens it again.
void CloseProtocolLog();
