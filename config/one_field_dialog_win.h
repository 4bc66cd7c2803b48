// The small dialogs that ask for one text: a field, OK and Cancel, centred on the main window.
#pragma once
#include <windows.h>

#include <string>

// Shows dialog `dialogId` owned by `owner` with field `fieldId` holding `text`; the field
// takes up to capacity - 1 bytes. On OK `text` becomes what was typed (cut before a
// character, never inside one) and the answer is IDOK; otherwise `text` stays and the
// answer is IDCANCEL, also when the dialog cannot be opened.
INT_PTR ShowOneFieldDialog(HWND owner, int dialogId, int fieldId, size_t capacity, std::string& text);
