// The program's small text-file routines (lines end in CR LF; each call opens and closes).
#pragma once
#include <windows.h>
#include <string>

// mode 0: new file, text + CR LF; 1: append text + CR LF; 2: append text as is.
// Shows "Failed to write file" and answers 0 when the file cannot be opened.
int WriteTextFile(const std::string& path, const std::string& text, int mode);

// Reads one CR LF line into buffer (without its CR LF). 1 when a line was read; 0 at the
// end of the file, on a read error, or when the line reaches maximum bytes.
int ReadTextLine(std::string& buffer, size_t maximum, HANDLE file);
