// The library's own prompt for the new name of a member, used by the n command when the
// command line carries no -gr switch.
#pragma once
#include <windows.h>

#include <string>

// Window caption of the prompt, so callers (and tests) can find it.
extern const char kRenameDialogCaption[];
const int kRenameEditId = 100;

// Shows a modal dialog owned by OWNER with OLD_NAME to edit; false when cancelled or empty.
bool AskMemberName(HWND owner, const std::string& old_name, std::string& new_name);
