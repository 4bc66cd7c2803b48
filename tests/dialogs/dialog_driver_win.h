// Drives the program's modal dialogs from inside their own message loops: a thread timer
// finds each new dialog of this thread and runs the next queued script on it. Scripts
// fill and press controls with messages, so every step is synchronous.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

using DialogScript = std::function<void(HWND dialog)>;

class DialogDriver {
 public:
  explicit DialogDriver(std::vector<DialogScript> scripts);
  ~DialogDriver();
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;
};

// Presses a button the way a click does: only while it is enabled.
void Click(HWND dialog, int id);
std::string Text(HWND window);
std::string ItemText(HWND dialog, int id);
bool IsOpen(HWND dialog);  // shown and not yet ended

// A child window of `parent` (at any depth) whose text is `text`, or null.
HWND FindChildWithText(HWND parent, const std::string& text);

// Property sheets. A sheet closed by OK or Cancel ends with its own loop, after the
// script has returned: the driver checks at its next turn that it did close.
bool IsPropertySheet(HWND window);
// Makes page `index` the current one (creating it the first time) and answers its window.
HWND ShowPage(HWND sheet, int index);
std::vector<std::string> TabTitles(HWND sheet);

// A plain top-level window standing in for the main window (MainWindow is set to it).
class StandInMainWindow {
 public:
  StandInMainWindow(int left, int top, int width, int height);
  ~StandInMainWindow();
  HWND handle() const { return window_; }

 private:
  HWND window_;
};

// UTF-8 text as the "A" functions see it in the current code page.
std::string InCodePage(const char* utf8);
