// The mirroring upload: makes the server's current folder a copy of the current local
// folder, sub-folders included, deleting on the server what the local side no longer has.
#pragma once
#include <windows.h>

DWORD WINAPI MirrorUploadJob(LPVOID threadParameter);
int MirrorFolder();
