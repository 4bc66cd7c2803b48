// The floor for the download job under Wine: the same exchange per file as the program
// (PORT, RETR, the data connection, the file written, the final reply), per folder (CWD,
// PWD, TYPE A, PORT, LIST, TYPE I, CWD ..: the listing goes in ASCII, the files in binary,
// the program sends TYPE only when the mode changes, and it asks where each CWD led, so
// that a link back up the tree is not walked again) and per job (a PWD first, where the
// job starts, and the listing of the start folder last, which the window shows again),
// written as bare blocking Winsock calls with buffered
// reply reading, no window, no log. Whatever Wine charges per call is in this figure too,
// so the program's time over this one is what the program itself adds.
// bench_raw_tree_download PORT USER PASS MANIFEST LOCAL-FOLDER
//   MANIFEST: lines "folder\name size"; LOCAL-FOLDER ends in a backslash.
// Prints "<files> <seconds> <start> <end>" like bench_jobs_download.
#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

static SOCKET control = INVALID_SOCKET;
static std::string pending;  // bytes of the control connection read past the last reply

// One reply, multi-line ones included; answers its code.
static int Reply() {
  std::string line;
  for (;;) {
    size_t end = pending.find('\n');
    if (end == std::string::npos) {
      char chunk[4096];
      int got = recv(control, chunk, sizeof chunk, 0);
      if (got <= 0) return 0;
      pending.append(chunk, static_cast<size_t>(got));
      continue;
    }
    line = pending.substr(0, end + 1);
    pending.erase(0, end + 1);
    if (line.size() > 3 && line[3] != '-') return std::atoi(line.c_str());
  }
}

static int Command(const std::string& text) {
  std::string line = text + "\r\n";
  if (send(control, line.data(), static_cast<int>(line.size()), 0) != static_cast<int>(line.size())) return 0;
  return Reply();
}

// PORT for a new listener; answers the listener or INVALID_SOCKET.
static SOCKET Listen() {
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
  if (Command(portCommand) != 200) {
    closesocket(listener);
    return INVALID_SOCKET;
  }
  return listener;
}

// One data transfer: the command, the connection, the bytes (into file when given).
static bool Transfer(const std::string& command, HANDLE file) {
  SOCKET listener = Listen();
  if (listener == INVALID_SOCKET) return false;
  int preliminary = Command(command);
  if (preliminary < 100 || preliminary >= 200) {
    closesocket(listener);
    return false;
  }
  SOCKET data = accept(listener, nullptr, nullptr);
  closesocket(listener);
  static char buffer[65536];
  for (;;) {
    int got = recv(data, buffer, sizeof buffer, 0);
    if (got <= 0) break;
    DWORD written;
    if (file != INVALID_HANDLE_VALUE) WriteFile(file, buffer, static_cast<DWORD>(got), &written, nullptr);
  }
  closesocket(data);
  int final = Reply();
  return final >= 200 && final < 300;
}

static double Now() {
  FILETIME t;
  GetSystemTimeAsFileTime(&t);
  unsigned long long ticks = (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  return double(ticks) / 1e7 - 11644473600.0;
}

int main(int argc, char** argv) {
  if (argc < 6) {
    std::fprintf(stderr, "usage: %s PORT USER PASS MANIFEST LOCAL-FOLDER\n", argv[0]);
    return 2;
  }
  std::map<std::string, std::vector<std::string>> folders;
  std::ifstream in(argv[4]);
  std::string line;
  while (std::getline(in, line)) {
    size_t slash = line.find('\\'), blank = line.rfind(' ');
    if (slash == std::string::npos || blank == std::string::npos) continue;
    folders[line.substr(0, slash)].push_back(line.substr(slash + 1, blank - slash - 1));
  }
  const std::string local = argv[5];

  WSADATA wsa;
  if (WSAStartup(MAKEWORD(1, 1), &wsa) != 0) return 1;
  sockaddr_in server{};
  server.sin_family = AF_INET;
  server.sin_port = htons(static_cast<u_short>(std::atoi(argv[1])));
  server.sin_addr.s_addr = inet_addr("127.0.0.1");
  control = socket(AF_INET, SOCK_STREAM, 0);
  if (connect(control, reinterpret_cast<sockaddr*>(&server), sizeof server) != 0) return 1;
  if (Reply() != 220) return 1;
  Command(std::string("USER ") + argv[2]);
  if (Command(std::string("PASS ") + argv[3]) != 230) return 1;

  const double start = Now();
  size_t files = 0;
  if (Command("PWD") != 257) return 1;
  for (const auto& folder : folders) {
    CreateDirectoryA((local + folder.first).c_str(), nullptr);
    if (Command("CWD " + folder.first) != 250 || Command("PWD") != 257) return 1;
    if (Command("TYPE A") != 200 || !Transfer("LIST", INVALID_HANDLE_VALUE)) return 1;
    bool binary = false;
    for (const std::string& name : folder.second) {
      if (!binary && Command("TYPE I") != 200) return 1;
      binary = true;
      std::string path = local + folder.first + "\\" + name;
      HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_ARCHIVE, nullptr);
      if (file == INVALID_HANDLE_VALUE) return 1;
      bool ok = Transfer("RETR " + name, file);
      CloseHandle(file);
      if (!ok) return 1;
      ++files;
    }
    if (Command("CWD ..") != 250) return 1;
  }
  if (Command("TYPE A") != 200 || !Transfer("LIST", INVALID_HANDLE_VALUE)) return 1;
  const double end = Now();
  Command("QUIT");
  closesocket(control);
  std::printf("%zu %.3f %.6f %.6f\n", files, end - start, start, end);
  return 0;
}
