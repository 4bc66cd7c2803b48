// The archive libraries (unlha32.dll for LHA, unzip32.dll for ZIP), loaded from the program
// folder for one command and released after it.
#pragma once
#include <windows.h>

#include <string>

enum class ArchiveKind { Lha, Zip };

// Hands commandLine to the library's command entry point, owned by `owner`; the library's
// text output (at most outputSize bytes) goes to *output when output is given. 1 when the
// library was found and the command handed over, 0 when the library or its entry point is
// missing. The command's own success is not reported. Callable from the user-interface
// thread and from transfer-job threads.
int RunArchiveCommand(ArchiveKind kind, HWND owner, const std::string& commandLine, std::string* output,
                      size_t outputSize);

// The same, also giving the library's own answer in *result (0 when the command did all it
// was asked; left alone when the library is missing), for callers that must know whether
// a file really arrived.
int RunArchiveCommandWithResult(ArchiveKind kind, HWND owner, const std::string& commandLine, std::string* output,
                                size_t outputSize, int* result);
