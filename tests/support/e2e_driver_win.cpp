#include "support/e2e_driver_win.h"

#include "resources/resource_ids.h"

std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of("\\/") + 1); }

VakoProcess::VakoProcess(const std::string& programPath, const std::string& folder, const std::string& arguments) {
  std::string from = FolderOf(programPath);
  std::string target = folder + "vako.exe";
  if (!CopyFileA(programPath.c_str(), target.c_str(), FALSE)) return;
  for (const char* dll : {"nkf32.dll", "unlha32.dll", "unzip32.dll"})
    CopyFileA((from + dll).c_str(), (folder + dll).c_str(), FALSE);
  std::string commandLine = "\"" + target + "\" " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  if (!CreateProcessA(target.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                      &process_))
    process_ = PROCESS_INFORMATION{};
}

VakoProcess::~VakoProcess() {
  if (!process_.hProcess) return;
  if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT && Close(10000) < 0)
    TerminateProcess(process_.hProcess, 1);
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

namespace {
struct Search {
  DWORD processId;
  const char* className;
  std::vector<HWND> found;
};
BOOL CALLBACK Collect(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  char name[256] = "";
  GetClassNameA(window, name, sizeof name);
  if (pid == search->processId && lstrcmpA(name, search->className) == 0) search->found.push_back(window);
  return TRUE;
}
}  // namespace

std::vector<HWND> WindowsOfProcess(DWORD processId, const char* className) {
  Search search{processId, className, {}};
  EnumWindows(Collect, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string WindowText(HWND window) {
  char text[1024] = "";
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                      nullptr);
  return text;
}

HWND VakoProcess::WaitForMainWindow(DWORD milliseconds) {
  for (DWORD waited = 0; waited < milliseconds; waited += 50) {
    for (HWND w : WindowsOfProcess(process_.dwProcessId, VAKO_CLASS_NAME)) {
      // The window exists before its creation ends: wait for the status bar, made last.
      if (GetDlgItem(w, 2020)) return window_ = w;
    }
    if (WaitForSingleObject(process_.hProcess, 50) != WAIT_TIMEOUT) return nullptr;
  }
  return nullptr;
}

int VakoProcess::WaitForExit(DWORD milliseconds) {
  if (WaitForSingleObject(process_.hProcess, milliseconds) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(process_.hProcess, &code);
  return static_cast<int>(code);
}

int VakoProcess::Close(DWORD milliseconds) {
  if (window_) PostMessageA(window_, WM_CLOSE, 0, 0);
  return WaitForExit(milliseconds);
}
