// Small helpers every dialog of the program uses.
#pragma once
#include <windows.h>

#include <string>

// The module that holds the dialog resources (vako.exe, or a test program).
HINSTANCE DialogResourceModule();

// Moves a dialog so that its centre lies on the main window's centre, keeping its size.
// Does nothing while there is no main window.
void CenterOnMainWindow(HWND dialog);

// The shell's folder browser, owned by `owner`, with `title` as its prompt, rooted at
// the desktop, offering file-system folders only and starting on `path` when that names
// a folder. On a choice `path` becomes the chosen folder's full path and the answer is 1;
// on Cancel, or a choice with no file-system path, `path` stays as it was and the answer is 0.
int BrowseForFolder(HWND owner, const char* title, std::string& path);

// The whole text of a dialog control.
std::string DialogItemText(HWND dialog, int id);
