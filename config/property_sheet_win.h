// The machinery both property sheets share: pages built from dialog resources, each
// filled when it is first shown and applied when the sheet is closed with OK.
#pragma once
#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

struct SheetPage {
  int dialogId;
  void (*fill)(HWND page);                    // once, when the page is created
  void (*apply)(HWND page);                   // on OK, only for pages that were created
  bool (*command)(HWND page, int control);    // optional; true when handled
};

// Shows the pages in a modal sheet owned by the main window, captioned with the
// string-table text. IDOK when closed with OK, IDCANCEL otherwise, also when the sheet
// could not be shown.
INT_PTR RunPropertySheet(int captionStringId, const std::vector<SheetPage>& pages);

// Field helpers of the pages. A text field is limited to capacity-1 bytes and read back
// without splitting a two-byte character.
void ShowText(HWND page, int id, const std::string& text, size_t capacity);
std::string ReadText(HWND page, int id, size_t capacity);
void ShowNumber(HWND page, int id, int value);
int ReadSignedNumber(HWND page, int id);
int ReadUnsignedNumber(HWND page, int id);
void ShowCheck(HWND page, int id, bool checked);
bool ReadCheck(HWND page, int id);
// The port field's spin: whole numbers 0 to 65535.
void PreparePortSpin(HWND page, int spinId);
// The folder browser titled "Select Folder" over the page; the choice replaces the field.
void BrowseIntoField(HWND page, int id, size_t capacity);
