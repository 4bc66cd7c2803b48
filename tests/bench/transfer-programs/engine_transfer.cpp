// Times one retrieve or store through the engine, as the program makes it, or a job of
// many files in a row.
// bench_engine_transfer get|put PORT USER PASS REMOTE LOCAL CHUNK
// bench_engine_transfer getmany|putmany PORT USER PASS PREFIX LOCALFOLDER CHUNK COUNT
//   (files PREFIX0.bin ... PREFIX<COUNT-1>.bin, as one job)
// Prints "<bytes> <seconds>" for the transfers alone (login excluded).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/app_state_win.h"
#include "app/message_boxes_win.h"
#include "config/host_profile.h"
#include "config/options.h"
#include "ftp/control_connection_win.h"
#include "ftp/data_connection_win.h"
#include "ftp/login_win.h"

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

int main(int argc, char** argv) {
  const bool many = argc == 9;
  if (argc != 8 && !many) {
    std::fprintf(stderr, "usage: %s get|put PORT USER PASS REMOTE LOCAL CHUNK\n", argv[0]);
    std::fprintf(stderr, "       %s getmany|putmany PORT USER PASS PREFIX LOCALFOLDER CHUNK COUNT\n", argv[0]);
    return 2;
  }
  const std::string direction = argv[1], remote = argv[5], local = argv[6];
  PinSocketThread();
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
  if (!StartSockets() || !ConnectAndLogin("./", "")) return 1;

  if (direction == "get") DeleteFileA(local.c_str());  // not part of the transfer's time
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  int ok = 1;
  unsigned long long bytes = 0;
  if (many) {
    TransferJobScope job;
    const int count = std::atoi(argv[8]);
    for (int i = 0; i < count && ok; ++i) {
      const std::string name = remote + std::to_string(i) + ".bin", path = local + "\\" + name;
      ok = direction == "getmany" ? RetrieveFile(name, path, 2, 0) : StoreFile(path, name, 2);
      bytes += FileSize(path);
    }
  } else if (direction == "get") {
    ok = RetrieveFile(remote, local, 2, 0);
    bytes = FileSize(local);
  } else {
    ok = StoreFile(local, remote, 2);
    bytes = FileSize(local);
  }
  QueryPerformanceCounter(&end);
  Disconnect();
  DeleteFileA(TreeTempPath.c_str());
  DeleteFileA(LogPath.c_str());
  if (!ok) return 1;
  std::printf("%llu %.6f\n", bytes, double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart));
  return 0;
}
