// The floors for the upload jobs under Wine: the exchange the program needs, as bare
// blocking Winsock calls with buffered reply reading, no window, no log.
//   upload: PWD first (where the job starts), then per folder MKD, CWD, PWD (where the CWD
//     led), TYPE A, PORT, LIST, then per file PORT, STOR, the data connection, the file
//     read and sent, the final reply (TYPE I before the first: the program sends TYPE only
//     when the mode changes), and CWD .. at the end; last the listing of the start folder,
//     which the window shows again.
//   mirror: PWD and the root listed first (the program lists it last, for the window),
//     then per folder MKD, CWD, PWD, TYPE A, PORT, LIST, the local folder listed, each
//     local file looked up among the listed names (sent only when missing or of another
//     size: an unchanged tree sends none), no remote-only name to delete, CWD ..
// bench_raw_tree_upload upload|mirror PORT USER PASS MANIFEST LOCAL-FOLDER
//   MANIFEST: lines "folder\name size"; LOCAL-FOLDER (ends in a backslash) holds the tree.
// Prints "<files> <seconds> <start> <end>" like bench_jobs_download; files counts the files
// of the manifest that are on the server afterwards as far as this run knows (sent or found).
#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

static SOCKET control = INVALID_SOCKET;
static std::string pending;  // bytes of the control connection read past the last reply

static int Reply() {
  for (;;) {
    size_t end = pending.find('\n');
    if (end == std::string::npos) {
      char chunk[4096];
      int got = recv(control, chunk, sizeof chunk, 0);
      if (got <= 0) return 0;
      pending.append(chunk, static_cast<size_t>(got));
      continue;
    }
    std::string line = pending.substr(0, end + 1);
    pending.erase(0, end + 1);
    if (line.size() > 3 && line[3] != '-') return std::atoi(line.c_str());
  }
}

static int Command(const std::string& text) {
  std::string line = text + "\r\n";
  if (send(control, line.data(), static_cast<int>(line.size()), 0) != static_cast<int>(line.size())) return 0;
  return Reply();
}

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

// A listing into text, or a file's bytes out of it.
static bool Transfer(const std::string& command, std::string* received, HANDLE source) {
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
  if (received) {
    for (int got; (got = recv(data, buffer, sizeof buffer, 0)) > 0;) received->append(buffer, static_cast<size_t>(got));
  } else {
    DWORD got = 0;
    while (ReadFile(source, buffer, sizeof buffer, &got, nullptr) && got > 0)
      if (send(data, buffer, static_cast<int>(got), 0) != static_cast<int>(got)) break;
  }
  closesocket(data);
  int final = Reply();
  return final >= 200 && final < 300;
}

// Name and size of every entry of a Unix long listing.
static std::map<std::string, unsigned long long> ListedSizes(const std::string& listing) {
  std::map<std::string, unsigned long long> sizes;
  std::istringstream lines(listing);
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::istringstream fields(line);
    std::string field[8];
    for (std::string& f : field) fields >> f;
    std::string name;
    std::getline(fields >> std::ws, name);
    if (!name.empty()) sizes[name] = std::strtoull(field[4].c_str(), nullptr, 10);
  }
  return sizes;
}

static double Now() {
  FILETIME t;
  GetSystemTimeAsFileTime(&t);
  unsigned long long ticks = (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  return double(ticks) / 1e7 - 11644473600.0;
}

int main(int argc, char** argv) {
  if (argc < 7) {
    std::fprintf(stderr, "usage: %s upload|mirror PORT USER PASS MANIFEST LOCAL-FOLDER\n", argv[0]);
    return 2;
  }
  const bool mirror = std::string(argv[1]) == "mirror";
  std::map<std::string, std::vector<std::string>> folders;
  std::ifstream in(argv[5]);
  std::string line;
  while (std::getline(in, line)) {
    size_t slash = line.find('\\'), blank = line.rfind(' ');
    if (slash == std::string::npos || blank == std::string::npos) continue;
    folders[line.substr(0, slash)].push_back(line.substr(slash + 1, blank - slash - 1));
  }
  const std::string local = argv[6];

  WSADATA wsa;
  if (WSAStartup(MAKEWORD(1, 1), &wsa) != 0) return 1;
  sockaddr_in server{};
  server.sin_family = AF_INET;
  server.sin_port = htons(static_cast<u_short>(std::atoi(argv[2])));
  server.sin_addr.s_addr = inet_addr("127.0.0.1");
  control = socket(AF_INET, SOCK_STREAM, 0);
  if (connect(control, reinterpret_cast<sockaddr*>(&server), sizeof server) != 0) return 1;
  if (Reply() != 220) return 1;
  Command(std::string("USER ") + argv[3]);
  if (Command(std::string("PASS ") + argv[4]) != 230) return 1;

  const double start = Now();
  size_t files = 0;
  char type = 0;  // the type the server is in: A for listings, I for files
  auto typeIs = [&type](char wanted) {
    if (type != wanted && Command(std::string("TYPE ") + wanted) != 200) return false;
    type = wanted;
    return true;
  };
  std::string rootListing;
  if (Command("PWD") != 257) return 1;
  if (mirror && (!typeIs('A') || !Transfer("LIST", &rootListing, INVALID_HANDLE_VALUE))) return 1;
  for (const auto& folder : folders) {
    Command("MKD " + folder.first);  // 550 when it is there already
    if (Command("CWD " + folder.first) != 250 || Command("PWD") != 257) return 1;
    std::string listing;
    if (!typeIs('A') || !Transfer("LIST", &listing, INVALID_HANDLE_VALUE)) return 1;
    const std::map<std::string, unsigned long long> remote = ListedSizes(listing);
    std::map<std::string, unsigned long long> here;
    if (mirror) {
      WIN32_FIND_DATAA found;
      HANDLE find = FindFirstFileA((local + folder.first + "\\*").c_str(), &found);
      for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileA(find, &found))
        here[found.cFileName] = (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
      if (find != INVALID_HANDLE_VALUE) FindClose(find);
    }
    for (const std::string& name : folder.second) {
      auto listed = remote.find(name);
      if (mirror && listed != remote.end() && here.count(name) && listed->second == here[name]) {
        ++files;
        continue;
      }
      if (!typeIs('I')) return 1;
      const std::string path = local + folder.first + "\\" + name;
      HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
      if (file == INVALID_HANDLE_VALUE) return 1;
      bool ok = Transfer("STOR " + name, nullptr, file);
      CloseHandle(file);
      if (!ok) return 1;
      ++files;
    }
    if (Command("CWD ..") != 250) return 1;
  }
  std::string startListing;
  if (!mirror && (!typeIs('A') || !Transfer("LIST", &startListing, INVALID_HANDLE_VALUE))) return 1;
  const double end = Now();
  Command("QUIT");
  closesocket(control);
  std::printf("%zu %.3f %.6f %.6f\n", files, end - start, start, end);
  return 0;
}
