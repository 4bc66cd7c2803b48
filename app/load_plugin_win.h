// Loading the run-time libraries (nkf32.dll, unlha32.dll, unzip32.dll).
#pragma once
#include <windows.h>

// Loads NAME from the program's own folder only. The current folder follows whatever the
// user browses, so the default search order could pick up a planted copy there.
// Returns null when the library is not beside the program.
HMODULE LoadPluginLibrary(const char* name);
