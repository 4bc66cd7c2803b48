// bench_listing_window VAKO-EXE PROGRAM-FOLDER PORT USER PASS FOLDER [RUNS]: starts the real
// program, connects through its Connect dialog to the server, lists FOLDER, then times the
// Refresh command on the remote pane: from the command to the filled, sorted list. Prints
// "<rows> <seconds> <peak working set MiB> <peak pagefile MiB>" for the best run, or
// "limit <rows>" when the program stopped the listing with a message box (the listing was
// longer than it takes).
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "resources/resource_ids.h"
#include "support/e2e_driver_win.h"

int main(int argc, char** argv) {
  if (argc < 7) {
    std::fprintf(stderr, "usage: bench_listing_window VAKO-EXE PROGRAM-FOLDER PORT USER PASS FOLDER [RUNS]\n");
    return 2;
  }
  const std::string folder = argv[2];
  const int runs = argc > 7 ? std::atoi(argv[7]) : 3;
  std::string ini = std::string("[Vako]\r\nHostAddr=127.0.0.1\r\nUserID=") + argv[4] + "\r\nPort=" + argv[3] +
                    "\r\nInitialRemoteFolder=" + argv[6] + "\r\nLocalListType=40003\r\nSortTypeRemote=40023\r\n";
  HANDLE f = CreateFileA((folder + "vako.ini").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD put;
  WriteFile(f, ini.data(), static_cast<DWORD>(ini.size()), &put, nullptr);
  CloseHandle(f);

  VakoProcess vako(argv[1], folder);
  if (!vako.WaitForMainWindow()) return 1;
  HWND remote = vako.Child(2100);
  vako.PostCommand(IDM_CONNECT);
  HWND dialog = vako.WaitForDialog(20000, "Connect");
  if (!dialog) return 1;
  VakoProcess::SetItemText(dialog, IDC_PASSWORD, argv[5]);
  VakoProcess::PressButton(dialog, IDOK);
  if (!WaitUntil([&] { return vako.RowCount(remote) > 1 || vako.WaitForDialog(0, "Vako FTP"); }, 120000)) return 1;
  if (HWND box = vako.WaitForDialog(0, "Vako FTP")) {
    VakoProcess::PressButton(box, IDOK);
    WaitUntil([&] { return vako.RowCount(remote) > 1; }, 120000);
    std::printf("limit %d\n", vako.RowCount(remote));
    return 0;
  }
  vako.PressKey(vako.Child(2000), VK_TAB);  // the remote pane becomes the active one
  if (!WaitUntil([&] { return vako.ButtonState(IDM_DETAILS) == 6; })) return 1;

  double best = 1e9;
  for (int run = 0; run < runs; ++run) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    if (!vako.SendCommand(IDM_REFRESH, 120000)) return 1;
    QueryPerformanceCounter(&end);
    double seconds = static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    if (seconds < best) best = seconds;
  }
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, vako.processId());
  if (!process || !GetProcessMemoryInfo(process, &memory, sizeof memory)) std::fprintf(stderr, "no memory figures\n");
  if (process) CloseHandle(process);
  std::printf("%d %.3f %.1f %.1f\n", vako.RowCount(remote), best, memory.PeakWorkingSetSize / 1048576.0,
              memory.PeakPagefileUsage / 1048576.0);
  return vako.Close() == 0 ? 0 : 1;
}
