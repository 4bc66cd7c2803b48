// release_show_main_window VAKO-EXE [FAVORITE PNG]: starts the program where it lies and waits
// for its main window; with a favorite, presses OK on its sheet, waits for the remote list and
// saves the window as a PNG (a Unix path). Closes the program; 0 when all of it went so.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

#include "app/main_window_win.h"
#include "resources/resource_ids.h"
#include "support/e2e_driver_win.h"

static int Fail(const char* what) { return std::fprintf(stderr, "release_show_main_window: %s\n", what), 1; }

int main(int argc, char** argv) {
  if (argc != 2 && argc != 4) return Fail("usage: VAKO-EXE [FAVORITE PNG]");
  std::string line = "\"" + std::string(argv[1]) + "\"" + (argc == 4 ? " \"" + std::string(argv[2]) + "\"" : "");
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(argv[1], &line[0], nullptr, nullptr, FALSE, 0, nullptr, FolderOf(argv[1]).c_str(), &startup,
                      &process))
    return Fail("the program did not start");
  HWND window = nullptr;  // complete once its status bar, made last, exists
  auto found = [&] {
    for (HWND w : WindowsOfProcess(process.dwProcessId, VAKO_CLASS_NAME))
      if (GetDlgItem(w, kStatusBarId)) window = w;
    return window != nullptr;
  };
  if (!WaitUntil(found)) return Fail("no main window appeared");
  if (argc == 4) {
    std::vector<HWND> sheets;
    if (!WaitUntil([&] { return !(sheets = WindowsOfProcess(process.dwProcessId, "#32770")).empty(); }))
      return Fail("the favorite's sheet did not open");
    VakoProcess::PressButton(sheets[0], IDOK);
    DWORD_PTR rows = 0;
    HWND remote = GetDlgItem(window, kRemoteListId);
    auto listed = [&] { return SendMessageTimeoutA(remote, LVM_GETITEMCOUNT, 0, 0, 0, 5000, &rows) && rows > 1; };
    if (!WaitUntil(listed, 60000))
      return Fail("the server was not listed");
    WaitForInputIdle(process.hProcess, 10000);
    RECT r;
    GetWindowRect(window, &r);
    std::string crop = std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top) + "+" +
                       std::to_string(r.left) + "+" + std::to_string(r.top);
    if (RunHostCommand("import -window root -crop " + crop + " +repage '" + argv[3] + "'"))
      return Fail("no screenshot");
  }
  PostMessageA(window, WM_CLOSE, 0, 0);
  DWORD code = 1;
  if (WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
  GetExitCodeProcess(process.hProcess, &code);
  return code == 0 ? 0 : Fail("the program did not close cleanly");
}
