// Drives the real vako.exe from a test: starts it in a folder of its own, finds its
// windows, sends it commands, keys and mouse clicks, reads its list rows and tree items,
// answers its message boxes and dialogs, and waits for it to end. Both run on the Wine
// desktop.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

// One row of a list view of the program: its five column texts.
struct ListRowView {
  std::string column[5];
  const std::string& name() const { return column[0]; }
};

// One item of a tree view of the program, with its children in the tree's order.
struct TreeNodeView {
  HTREEITEM item = nullptr;
  std::string text;
  bool selected = false;
  std::vector<TreeNodeView> children;
  const TreeNodeView* Child(const std::string& text) const;
  // The node at "a/b/c" below this one (components split at '/'), or null.
  const TreeNodeView* Find(const std::string& path) const;
};

class VakoProcess {
 public:
  // Copies the program (and the plug-in DLLs beside it) into folder and starts it there.
  VakoProcess(const std::string& programPath, const std::string& folder, const std::string& arguments = "");
  ~VakoProcess();  // a program still running is closed, then killed
  VakoProcess(const VakoProcess&) = delete;
  VakoProcess& operator=(const VakoProcess&) = delete;

  bool started() const { return process_.hProcess != nullptr; }
  // The main window once it and its status bar exist; null after the time limit.
  HWND WaitForMainWindow(DWORD milliseconds = 20000);
  HWND window() const { return window_; }
  HWND Child(int id) const { return GetDlgItem(window_, id); }
  // Asks the window to close (as the user would) and waits; answers the exit code or -1.
  int Close(DWORD milliseconds = 20000);
  int WaitForExit(DWORD milliseconds);
  DWORD processId() const { return process_.dwProcessId; }

  // Commands: Send waits until the command has been carried out; Post returns at once
  // (for commands that open a modal box or dialog).
  bool SendCommand(int id, DWORD milliseconds = 30000);
  void PostCommand(int id);
  // A key pressed and released while `target` has the focus (accelerators included).
  void PressKey(HWND target, int virtualKey);

  // List views and trees of the program (memory of the program is read for them).
  int RowCount(HWND list) const;
  std::vector<ListRowView> Rows(HWND list) const;
  std::vector<std::string> Names(HWND list) const;
  int RowOfName(HWND list, const std::string& name) const;  // -1 when absent
  RECT RowRect(HWND list, int row, int part = LVIR_LABEL) const;  // in the list's client area
  bool BeginEdit(HWND list, int row);                             // in-place rename of the row
  // Types the text into the open edit field and ends the edit with Enter; returns once the
  // edit has ended or a message box has opened.
  bool FinishEdit(HWND list, const std::string& text);
  // Exactly these rows selected, the first of them focused (none for an empty set).
  void SelectRows(HWND list, const std::vector<int>& rows);
  // Selects the rows of these names; false (and nothing selected) when one is missing.
  bool SelectNames(HWND list, const std::vector<std::string>& names);
  // Makes the local (0) or remote (1) pane the active one; true when it is.
  bool MakePaneActive(int pane);
  // Connect dialog to 127.0.0.1 with the login and password typed and Connect pressed;
  // false when the dialog did not open.
  bool ConnectThroughDialog(const std::string& user, const std::string& password);
  RECT HeaderItemRect(HWND list, int column) const;  // in the header's client area
  HWND Header(HWND list) const;
  TreeNodeView Tree(HWND tree) const;
  RECT TreeItemRect(HWND tree, HTREEITEM item) const;  // the label, in the tree's client area
  int ButtonState(int command) const;                   // the toolbar button's state, -1 without one
  std::vector<std::string> StatusTexts() const;         // of the status bar's parts, in order

  // Files dropped from the shell at a point of the main window's client area: WM_DROPFILES
  // with a drop block in the program's own memory, as the shell hands it over.
  bool DropFiles(POINT client, const std::vector<std::string>& paths);

  // The mouse as the user moves it: a click (or double click) at a point of a window's
  // client area.
  void Click(HWND window, POINT client, bool doubleClick = false);
  // A press at one point, moves to another and the release there (a drag).
  void Drag(HWND window, POINT from, POINT to);

  // The first message box or dialog of the program (class "#32770"), or null after the
  // time limit. With a title, only a window with that title counts.
  HWND WaitForDialog(DWORD milliseconds = 20000, const std::string& title = "");
  // The text of a message box.
  static std::string BoxText(HWND box);
  // Presses a dialog button by its id (IDOK, IDYES...), as a click would.
  static void PressButton(HWND dialog, int id);
  static void SetItemText(HWND dialog, int id, const std::string& text);

  // The rectangle of a child of the main window in the main window's client area.
  RECT ChildRect(HWND child) const;

 private:
  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
  // Found at the first look at a button and again only once it is gone: finding a child of
  // another process's window asks Wine's server about every child, a dozen requests that a
  // running job's thread waits behind.
  mutable HWND toolbar_ = nullptr;
};

// Top-level windows of the process with the given class (for example "#32770" message boxes).
std::vector<HWND> WindowsOfProcess(DWORD processId, const char* className);
std::string WindowText(HWND window);
std::string FolderOf(const std::string& path);  // with its trailing backslash

// The newest of the program's work folders (vakotmp*) in the temp folder, with its trailing
// backslash; with `holding`, the newest that holds a file matching that pattern. Empty when
// there is none.
std::string NewestWorkFolder(const std::string& holding = "");
// The bytes of every file of that name in a sub-folder of the newest work folder (where each
// download, extraction and copy of the program has its own), sorted.
std::vector<std::string> WorkFolderCopies(const std::string& name);

inline POINT Center(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// Polls the condition until it holds or the time is up; answers the last result.
bool WaitUntil(const std::function<bool()>& condition, DWORD milliseconds = 20000);

// Runs a host (Unix) command line through /bin/sh and waits for it; its exit code, or -1.
int RunHostCommand(const std::string& shellCommand, DWORD milliseconds = 60000);
