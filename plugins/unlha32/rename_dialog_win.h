// The library's own prompt for the new name of a member, used by the n command when the
// command line carries no -gr switch.
#pragma once
#include <windows.h>

#include <string>

// The prompt's caption, label and buttons come from the library's string table
// (unlha32_texts.h), in the system's language.
const int kRenameEditId = 100;
const int kRenamePromptId = 101;

// Shows a modal dialog owned by OWNER with OLD_NAME to edit; false when cancelled or empty.
bool AskMemberName(HWND owner, const std::string& old_name, std::string& new_name);
