// The protocol log: every command sent and the last line of every reply, appended to
// LogPath. The file stays open from its first line until CloseProtocolLog, since opening
// and closing it for every line cost more than the exchange it records.
#pragma once
#include <string>

// Appends the text as it is (mode 2) or with a CR LF (mode 1) to LogPath, as WriteTextFile
// would. Shows "Failed to write file" and answers 0 when the log cannot be opened.
int WriteProtocolLog(const std::string& text, int mode);

// Lets go of the file: at the end of a session, and before the work folder is deleted.
// The next line opens it again.
void CloseProtocolLog();
