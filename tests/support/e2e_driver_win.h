// Drives the real vako.exe from a test: starts it in a folder of its own, finds its
// windows, sends it messages and waits for it to end. Both run on the Wine desktop.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

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

 private:
  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
};

// Top-level windows of the process with the given class (for example "#32770" message boxes).
std::vector<HWND> WindowsOfProcess(DWORD processId, const char* className);
std::string WindowText(HWND window);
std::string FolderOf(const std::string& path);  // with its trailing backslash
