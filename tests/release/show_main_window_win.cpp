// release_show_main_window VAKO-EXE [FAVORITE PNG]: starts the program where it lies (its own
// folder as the current one) and waits for its main window. With a favorite file it presses
// OK on the favorite's settings sheet, waits for the remote list to fill and saves the main
// window as a PNG (a Unix path). Then it closes the program; exit code 0 when all went so.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/main_window_win.h"
#include "resources/resource_ids.h"
#include "support/e2e_driver_win.h"

static int Fail(const char* what) {
  std::fprintf(stderr, "release_show_main_window: %s\n", what);
  return 1;
}

static LRESULT Ask(HWND window, UINT message) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(window, message, 0, 0, SMTO_NORMAL, 5000, &result);
  return static_cast<LRESULT>(result);
}

int main(int argc, char** argv) {
  if (argc != 2 && argc != 4) return Fail("usage: release_show_main_window VAKO-EXE [FAVORITE PNG]");
  const std::string exe = argv[1];
  std::string line = "\"" + exe + "\"" + (argc == 4 ? " \"" + std::string(argv[2]) + "\"" : "");
  std::vector<char> text(line.begin(), line.end());
  text.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(exe.c_str(), text.data(), nullptr, nullptr, FALSE, 0, nullptr, FolderOf(exe).c_str(),
                      &startup, &process))
    return Fail("the program did not start");

  HWND window = nullptr;
  WaitUntil([&] {
    for (HWND w : WindowsOfProcess(process.dwProcessId, VAKO_CLASS_NAME))
      if (GetDlgItem(w, kStatusBarId)) window = w;  // made last: the window is complete
    return window != nullptr;
  });
  if (!window) return Fail("no main window appeared");

  if (argc == 4) {
    std::vector<HWND> sheets;
    if (!WaitUntil([&] { return !(sheets = WindowsOfProcess(process.dwProcessId, "#32770")).empty(); }))
      return Fail("the favorite's settings sheet did not open");
    VakoProcess::PressButton(sheets[0], IDOK);
    HWND remote = GetDlgItem(window, kRemoteListId);
    if (!WaitUntil([&] { return Ask(remote, LVM_GETITEMCOUNT) > 1; }, 60000)) return Fail("the server was not listed");
    WaitForInputIdle(process.hProcess, 10000);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RECT r;
    GetWindowRect(window, &r);
    std::string crop = std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top) + "+" +
                       std::to_string(r.left) + "+" + std::to_string(r.top);
    if (RunHostCommand("import -window root -crop " + crop + " +repage '" + argv[3] + "'") != 0)
      return Fail("no screenshot");
  }

  PostMessageA(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 1);
    return Fail("the program did not close");
  }
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code == 0 ? 0 : Fail("the program ended with an error code");
}
