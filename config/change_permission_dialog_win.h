// Change permission: asks for the mode text that the Change Attributes command sends with
// SITE CHMOD (three octal digits such as 755 are expected; the text is not checked).
#pragma once
#include <windows.h>

// Shows dialog 177, owned by `owner`, centred on the main window, with an empty field that
// takes up to 511 characters. IDOK leaves the typed text unchanged (at most 511 bytes, cut
// before a character, never inside one) in SharedNameBuffer; IDCANCEL leaves
// SharedNameBuffer alone. A dialog that cannot be opened answers IDCANCEL.
int ShowChangePermissionDialog(HWND owner);
