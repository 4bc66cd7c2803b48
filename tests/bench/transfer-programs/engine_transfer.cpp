// Times one retrieve or store through the engine, as the program makes it, or a job of
// many files in a row.
// bench_engine_transfer get|put PORT USER PASS REMOTE LOCAL CHUNK
// (VAKO_BENCH_SECURITY=1: over explicit TLS)
// bench_engine_transfer getmany|putmany PORT USER PASS PREFIX LOCALFOLDER CHUNK COUNT
//   (files PREFIX0.bin ... PREFIX<COUNT-1>.bin, as one job)
// Prints "<bytes> <seconds>" for the transfers alone (login excluded).
// With VAKO_BENCH_WINDOW=1 the transfers run on a thread of their own while this thread
// keeps a window with a status bar and a progress bar that the engine reports to, as a
// job does in the program; without it there is nothing to draw and progress costs nothing.
// VAKO_BENCH_LISTED=BYTES is the size a listing gave each file to retrieve (the progress
// display and the file blocks go by it); without it the size is not known (0).
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "app/app_state_win.h"
#include "app/message_boxes_win.h"
#include "app/string_table_win.h"
#include "config/host_profile.h"
#include "config/options.h"
#include "ftp/control_connection_win.h"
#include "ftp/data_connection_win.h"
#include "ftp/engine_display_win.h"
#include "ftp/login_win.h"
#include "ftp/server_certificate_win.h"
#include "resources/resource_ids.h"

static int PrintBox(const std::string& text, const std::string&, unsigned) {
  std::fprintf(stderr, "message: %s\n", text.c_str());
  return IDOK;
}

static unsigned long long FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// VAKO_BENCH_CPU=N keeps the thread that makes the socket calls on CPU N, beside the
// wineserver the script put there (cross-CPU wake-ups dominate otherwise); any helper
// threads stay free to run on the other CPUs.
static void PinSocketThread() {
  if (const char* cpu = std::getenv("VAKO_BENCH_CPU")) SetThreadAffinityMask(GetCurrentThread(), DWORD_PTR(1) << std::atoi(cpu));
}

// The program's window in small: a status bar with a progress bar inside it.
class ProgressWindow {
 public:
  ProgressWindow() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    WNDCLASSA type{};
    type.lpfnWndProc = DefWindowProcA;
    type.hInstance = GetModuleHandleA(nullptr);
    type.lpszClassName = "VakoBenchTransfer";
    type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassA(&type);
    window_ = CreateWindowExA(0, type.lpszClassName, "transfer", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 200,
                              nullptr, nullptr, type.hInstance, nullptr);
    status_ = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window_, nullptr,
                              type.hInstance, nullptr);
    progress_ = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 480, 3, 144, 15, status_, nullptr,
                                type.hInstance, nullptr);
    SetEngineDisplay(status_, progress_);
  }
  ~ProgressWindow() {
    SetEngineDisplay(nullptr, nullptr);
    if (window_) DestroyWindow(window_);
  }
  ProgressWindow(const ProgressWindow&) = delete;
  ProgressWindow& operator=(const ProgressWindow&) = delete;
  bool made() const { return window_ && status_ && progress_; }

  // Runs work on a thread of its own (where the socket calls are pinned) and serves this
  // window's messages until it has returned. False when there was no such thread or the
  // work did not end normally.
  bool Run(const std::function<void()>& work) {
    HANDLE thread = CreateThread(nullptr, 0, &ProgressWindow::Main, const_cast<std::function<void()>*>(&work), 0, nullptr);
    if (!thread) return false;
    for (;;) {
      DWORD woke = MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT);
      if (woke != WAIT_OBJECT_0 + 1) break;
      MSG msg;
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    DWORD code = 1;
    GetExitCodeThread(thread, &code);
    CloseHandle(thread);
    return code == 0;
  }

 private:
  static DWORD WINAPI Main(void* work) {
    PinSocketThread();
    try {
      (*static_cast<std::function<void()>*>(work))();
    } catch (...) {
      return 1;
    }
    return 0;
  }
  HWND window_ = nullptr, status_ = nullptr, progress_ = nullptr;
};

int main(int argc, char** argv) {
  const bool many = argc == 9;
  if (argc != 8 && !many) {
    std::fprintf(stderr, "usage: %s get|put PORT USER PASS REMOTE LOCAL CHUNK\n", argv[0]);
    std::fprintf(stderr, "       %s getmany|putmany PORT USER PASS PREFIX LOCALFOLDER CHUNK COUNT\n", argv[0]);
    return 2;
  }
  const std::string direction = argv[1], remote = argv[5], local = argv[6];
  const bool download = direction == "get" || direction == "getmany";
  const char* windowSetting = std::getenv("VAKO_BENCH_WINDOW");
  const bool inWindow = windowSetting && std::atoi(windowSetting) != 0;
  // The size a listing would have given each file (VAKO_BENCH_LISTED); without it, none.
  const char* listedSetting = std::getenv("VAKO_BENCH_LISTED");
  const uint64_t listedSize = listedSetting ? std::strtoull(listedSetting, nullptr, 10) : 0;
  if (!inWindow) PinSocketThread();  // else the transfer thread is pinned, not the window's
  SetMessageBoxObserver(&PrintBox);
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  WorkFolder = temp;
  LogPath = WorkFolder + "vako-bench-ftplog.txt";
  DeleteFileA(LogPath.c_str());
  Options.ReceiveBuf = Options.SendBuf = std::atoi(argv[7]);
  CurrentHost.HostName = CurrentHost.HostAddr = "127.0.0.1";
  CurrentHost.Port = std::atoi(argv[2]);
  CurrentHost.UserID = argv[3];
  CurrentHost.UserPass = argv[4];
  // VAKO_BENCH_PASV=1: passive data connections (EPSV).
  if (const char* pasv = std::getenv("VAKO_BENCH_PASV")) CurrentHost.Pasv = std::atoi(pasv);
  // VAKO_BENCH_SECURITY=1 or 2: explicit or implicit TLS; the test server's own certificate
  // is taken without a question.
  if (const char* security = std::getenv("VAKO_BENCH_SECURITY")) CurrentHost.Security = std::atoi(security);
  if (CurrentHost.Security != kSecurityNone) AnswerCertificateQuestionsForTesting(1);
  if (!StartSockets() || !ConnectAndLogin("./", "")) return 1;

  if (direction == "get") DeleteFileA(local.c_str());  // not part of the transfer's time
  std::unique_ptr<ProgressWindow> display;
  if (inWindow) {
    display.reset(new ProgressWindow);
    if (!display->made()) return 1;
    // What a job shows before each file.
    ResourceTextBuffer = LoadResourceText(download ? IDS_RECEIVING_FILE : IDS_SENDING_FILE);
  }
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  int ok = 1;
  unsigned long long bytes = 0;
  auto transfers = [&] {
    if (many) {
      TransferJobScope job;
      const int count = std::atoi(argv[8]);
      for (int i = 0; i < count && ok; ++i) {
        const std::string name = remote + std::to_string(i) + ".bin", path = local + "\\" + name;
        ok = download ? RetrieveFile(name, path, 2, listedSize) : StoreFile(path, name, 2);
        bytes += FileSize(path);
      }
    } else if (download) {
      ok = RetrieveFile(remote, local, 2, listedSize);
      bytes = FileSize(local);
    } else {
      ok = StoreFile(local, remote, 2);
      bytes = FileSize(local);
    }
  };
  if (!display) transfers();
  else if (!display->Run(transfers)) ok = 0;
  QueryPerformanceCounter(&end);
  Disconnect();
  DeleteFileA(TreeTempPath.c_str());
  DeleteFileA(LogPath.c_str());
  if (!ok) return 1;
  std::printf("%llu %.6f\n", bytes, double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart));
  return 0;
}
