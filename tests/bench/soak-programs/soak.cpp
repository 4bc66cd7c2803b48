// bench_soak VAKO-EXE PROGRAM-FOLDER LOCAL-FOLDER PORT USER PASS FILE TRANSFERS CYCLES
// Starts the real program, connects through the Connect dialog, downloads the remote FILE
// TRANSFERS times (the local copy is removed before each) and then disconnects and
// connects again CYCLES times. What the program holds (handles, GDI and USER objects,
// its windows, private bytes) is printed after a first connection and download, so that
// what is made once per process is not counted, and again at the end, with the change in
// percent. Prints "failed: <why>" and exits 1 when a step does not finish.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "resources/resource_ids.h"
#include "support/e2e_driver_win.h"

namespace {

struct Holdings {
  double handles = 0, gdi = 0, user = 0, windows = 0, privateKiB = 0;
};

// Wine answers GetProcessHandleCount with 0 for another process: its handles are then
// counted one by one, as those that can be duplicated (handle values step by 4).
double ProbedHandleCount(HANDLE process) {
  int count = 0;
  for (uintptr_t value = 4, misses = 0; misses < 4096 && value < (1u << 24); value += 4) {
    HANDLE copy = nullptr;
    if (DuplicateHandle(process, reinterpret_cast<HANDLE>(value), GetCurrentProcess(), &copy, 0, FALSE,
                        DUPLICATE_SAME_ACCESS)) {
      CloseHandle(copy);
      ++count;
      misses = 0;
    } else {
      ++misses;
    }
  }
  return count;
}

BOOL CALLBACK CountWindow(HWND window, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  EnumChildWindows(window, CountWindow, count);
  return TRUE;
}

Holdings Measure(const VakoProcess& vako) {
  Holdings h;
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | PROCESS_DUP_HANDLE, FALSE, vako.processId());
  if (!process) return h;
  DWORD handles = 0;
  if (GetProcessHandleCount(process, &handles)) h.handles = handles;
  h.gdi = GetGuiResources(process, GR_GDIOBJECTS);
  h.user = GetGuiResources(process, GR_USEROBJECTS);
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory))
    // Wine leaves PrivateUsage at 0; PagefileUsage is the same commit charge.
    h.privateKiB = static_cast<double>(memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage) / 1024.0;
  if (h.handles == 0) h.handles = ProbedHandleCount(process);
  CloseHandle(process);
  int windows = 0;
  for (HWND top = GetTopWindow(nullptr); top; top = GetWindow(top, GW_HWNDNEXT)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(top, &owner);
    if (owner == vako.processId()) CountWindow(top, reinterpret_cast<LPARAM>(&windows));
  }
  h.windows = windows;
  return h;
}

void Print(const char* what, double start, double end) {
  const double change = start > 0 ? (end - start) * 100.0 / start : 0.0;
  std::printf("%-20s %12.0f %12.0f %+8.2f%%\n", what, start, end, change);
}

int Fail(const std::string& why) {
  std::printf("failed: %s\n", why.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 10) {
    std::fprintf(stderr, "usage: bench_soak VAKO-EXE PROGRAM-FOLDER LOCAL-FOLDER PORT USER PASS FILE TRANSFERS CYCLES\n");
    return 2;
  }
  const std::string program = argv[2], local = argv[3], user = argv[5], pass = argv[6], file = argv[7];
  const int transfers = std::atoi(argv[8]), cycles = std::atoi(argv[9]);
  {
    std::ofstream out(program + "vako.ini", std::ios::binary);
    out << "[Vako]\r\nInitialLocalFolder=" << local << "\r\nHostAddr=127.0.0.1\r\nUserID=" << user
        << "\r\nPort=" << argv[4] << "\r\nYesNo=0\r\nOK=0\r\n";
  }
  VakoProcess vako(argv[1], program);
  if (!vako.started() || !vako.WaitForMainWindow()) return Fail("the program did not start");
  HWND remote = vako.Child(2100);
  auto connect = [&] {
    return vako.ConnectThroughDialog(user, pass) && WaitUntil([&] { return vako.RowOfName(remote, file) >= 0; }, 60000);
  };
  auto download = [&] {
    DeleteFileA((local + file).c_str());
    if (!vako.MakePaneActive(1)) return false;
    vako.SelectRows(remote, {vako.RowOfName(remote, file)});
    vako.PostCommand(IDM_DOWNLOAD);
    return WaitUntil([&] {
      return vako.ButtonState(IDM_PREVIOUS_FOLDER) == TBSTATE_ENABLED &&
             GetFileAttributesA((local + file).c_str()) != INVALID_FILE_ATTRIBUTES;
    }, 60000) && WindowsOfProcess(vako.processId(), "#32770").empty();
  };

  if (!connect() || !download()) return Fail("the first connection and download");
  const Holdings start = Measure(vako);
  for (int i = 1; i < transfers; ++i)
    if (!download()) return Fail("download " + std::to_string(i + 1));
  for (int i = 0; i < cycles; ++i) {
    if (!vako.SendCommand(IDM_DISCONNECT) || !WaitUntil([&] { return vako.ButtonState(IDM_CONNECT) == TBSTATE_ENABLED; }))
      return Fail("disconnect " + std::to_string(i + 1));
    if (!connect()) return Fail("connection " + std::to_string(i + 2));
  }
  const Holdings end = Measure(vako);
  std::printf("%-20s %12s %12s %9s\n", "", "start", "end", "change");
  Print("handles", start.handles, end.handles);
  Print("GDI objects", start.gdi, end.gdi);
  Print("USER objects", start.user, end.user);
  Print("windows", start.windows, end.windows);
  Print("private KiB", start.privateKiB, end.privateKiB);
  return vako.Close() == 0 ? 0 : 1;
}
