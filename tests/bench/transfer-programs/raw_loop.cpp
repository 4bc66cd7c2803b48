// The yardstick for the engine: the same FTP exchange (TYPE I, PORT, RETR or STOR, the
// data connection, the final reply) written as bare blocking Winsock calls, with the data
// received into one buffer and dropped (or, given LOCAL, written to that file one
// WriteFile per receive), or sent from one buffer, CHUNK bytes per call: BYTES of filler,
// or, given a LOCAL file, that file read one ReadFile of CHUNK bytes into the buffer before
// each send, the way a plain client stores a file.
// bench_raw_loop get PORT USER PASS REMOTE CHUNK [LOCAL]
// bench_raw_loop put PORT USER PASS REMOTE CHUNK BYTES|LOCAL
//   (an argument made of digits alone is BYTES)
// Prints "<bytes> <seconds>" for the exchange after login.
#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

static SOCKET control = INVALID_SOCKET;

// One reply, multi-line ones included; answers its code.
static int Reply() {
  std::string line;
  for (;;) {
    char c;
    if (recv(control, &c, 1, 0) != 1) return 0;
    line += c;
    if (c != '\n') continue;
    if (line.size() > 3 && line[3] != '-') return std::atoi(line.c_str());
    line.clear();
  }
}

static int Command(const std::string& text) {
  std::string line = text + "\r\n";
  if (send(control, line.data(), static_cast<int>(line.size()), 0) != static_cast<int>(line.size())) return 0;
  return Reply();
}

// VAKO_BENCH_CPU=N keeps the thread that makes the socket calls on CPU N, beside the
// wineserver the script put there (cross-CPU wake-ups dominate otherwise); any helper
// threads stay free to run on the other CPUs.
static void PinSocketThread() {
  if (const char* cpu = std::getenv("VAKO_BENCH_CPU")) SetThreadAffinityMask(GetCurrentThread(), DWORD_PTR(1) << std::atoi(cpu));
}

int main(int argc, char** argv) {
  if (argc < 7) {
    std::fprintf(stderr, "usage: %s get|put PORT USER PASS REMOTE CHUNK [LOCAL|BYTES]\n", argv[0]);
    return 2;
  }
  const bool get = std::string(argv[1]) == "get";
  const int chunk = std::atoi(argv[6]);
  const char* last = argc > 7 ? argv[7] : nullptr;
  const bool filler = !get && last && *last && std::strspn(last, "0123456789") == std::strlen(last);
  const unsigned long long toSend = filler ? std::strtoull(last, nullptr, 10) : 0;
  const char* localPath = filler ? nullptr : last;
  if (get && localPath) DeleteFileA(localPath);
  PinSocketThread();
  WSADATA wsa;
  if (WSAStartup(MAKEWORD(1, 1), &wsa) != 0 || chunk <= 0) return 1;

  sockaddr_in server{};
  server.sin_family = AF_INET;
  server.sin_port = htons(static_cast<u_short>(std::atoi(argv[2])));
  server.sin_addr.s_addr = inet_addr("127.0.0.1");
  control = socket(AF_INET, SOCK_STREAM, 0);
  if (connect(control, reinterpret_cast<sockaddr*>(&server), sizeof server) != 0) return 1;
  if (Reply() != 220) return 1;
  Command(std::string("USER ") + argv[3]);
  if (Command(std::string("PASS ") + argv[4]) != 230) return 1;

  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in any{};
  any.sin_family = AF_INET;
  bind(listener, reinterpret_cast<sockaddr*>(&any), sizeof any);
  listen(listener, 1);
  sockaddr_in bound{}, local{};
  int length = sizeof bound;
  getsockname(listener, reinterpret_cast<sockaddr*>(&bound), &length);
  length = sizeof local;
  getsockname(control, reinterpret_cast<sockaddr*>(&local), &length);
  const unsigned char* a = reinterpret_cast<const unsigned char*>(&local.sin_addr);
  unsigned port = ntohs(bound.sin_port);
  char portCommand[64];
  std::snprintf(portCommand, sizeof portCommand, "PORT %u,%u,%u,%u,%u,%u", a[0], a[1], a[2], a[3], port >> 8, port & 255);
  Command("TYPE I");
  Command(portCommand);
  int preliminary = Command(std::string(get ? "RETR " : "STOR ") + argv[5]);
  if (preliminary < 100 || preliminary >= 200) return 1;
  SOCKET data = accept(listener, nullptr, nullptr);
  closesocket(listener);

  HANDLE file = INVALID_HANDLE_VALUE;
  if (localPath && get)
    file = CreateFileA(localPath, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_ARCHIVE, nullptr);
  else if (localPath)
    file = CreateFileA(localPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (localPath && file == INVALID_HANDLE_VALUE) return 1;
  std::vector<char> buffer(static_cast<size_t>(chunk), 'x');
  unsigned long long bytes = 0;
  if (get) {
    for (;;) {
      int got = recv(data, buffer.data(), chunk, 0);
      if (got <= 0) break;
      bytes += static_cast<unsigned long long>(got);
      DWORD written;
      if (file != INVALID_HANDLE_VALUE) WriteFile(file, buffer.data(), static_cast<DWORD>(got), &written, nullptr);
    }
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  } else if (file != INVALID_HANDLE_VALUE) {
    for (;;) {
      DWORD got = 0;
      if (!ReadFile(file, buffer.data(), static_cast<DWORD>(chunk), &got, nullptr) || got == 0) break;
      int sent = 0;
      for (DWORD at = 0; at < got; at += static_cast<DWORD>(sent)) {
        sent = send(data, buffer.data() + at, static_cast<int>(got - at), 0);
        if (sent <= 0) break;
      }
      if (sent <= 0) break;
      bytes += got;
    }
    CloseHandle(file);
  } else {
    while (bytes < toSend) {
      int n = static_cast<int>(toSend - bytes < static_cast<unsigned long long>(chunk) ? toSend - bytes : chunk);
      int sent = send(data, buffer.data(), n, 0);
      if (sent <= 0) break;
      bytes += static_cast<unsigned long long>(sent);
    }
  }
  closesocket(data);
  int final = Reply();
  QueryPerformanceCounter(&end);
  Command("QUIT");
  closesocket(control);
  if (final < 200 || final >= 300) return 1;
  std::printf("%llu %.6f\n", bytes, double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart));
  return 0;
}
