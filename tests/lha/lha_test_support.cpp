#include "lha_test_support.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

#include "plugins/unlha32/lha_commands.h"
#include "plugins/unlha32/posix_lha_platform.h"

ScratchFolder::ScratchFolder() {
  const char* binary = std::getenv("VAKO_BINARY_DIR");
  std::string base = binary ? std::string(binary) + "/tests/lha" : "/tmp";
  std::string pattern = base + "/scratch-XXXXXX";
  std::vector<char> buf(pattern.begin(), pattern.end());
  buf.push_back('\0');
  if (!mkdtemp(buf.data())) {
    pattern = "/tmp/lha-scratch-XXXXXX";
    buf.assign(pattern.begin(), pattern.end());
    buf.push_back('\0');
    if (!mkdtemp(buf.data())) ADD_FAILURE() << "mkdtemp failed";
  }
  path_ = buf.data();
}

ScratchFolder::~ScratchFolder() {
  if (!path_.empty() && !::testing::Test::HasFailure()) RunShell("/", "rm -rf " + Quote(path_));
}

void WriteFile(const std::string& path, const std::string& bytes) {
  size_t cut = path.find_last_of('/');
  if (cut != std::string::npos && cut > 0) RunShell("/", "mkdir -p " + Quote(path.substr(0, cut)));
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!f) ADD_FAILURE() << "cannot write " << path;
}

std::string ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

bool FileExists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

void SetModificationTime(const std::string& path, long long unix_time) {
  struct timespec times[2];
  times[0].tv_sec = static_cast<time_t>(unix_time);
  times[0].tv_nsec = 0;
  times[1] = times[0];
  utimensat(AT_FDCWD, path.c_str(), times, 0);
}

long long ModificationTime(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return -1;
  return st.st_mtime;
}

std::string Quote(const std::string& text) {
  std::string q = "'";
  for (char c : text) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

int RunShell(const std::string& folder, const std::string& command, std::string* output) {
  std::string full = "cd " + Quote(folder) + " && ( " + command + " ) 2>&1";
  FILE* p = popen(full.c_str(), "r");
  if (!p) return -1;
  std::string text;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) text.append(buf, n);
  int status = pclose(p);
  if (output) *output = text;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool HaveProgram(const std::string& name) {
  return RunShell("/", "command -v " + Quote(name) + " >/dev/null") == 0;
}

LhaRun RunLha(const std::string& folder, const std::string& line, size_t output_size) {
  char cwd[4096];
  if (!getcwd(cwd, sizeof cwd)) cwd[0] = '\0';
  if (chdir(folder.c_str()) != 0) ADD_FAILURE() << "chdir " << folder;
  std::vector<char> buffer(output_size + 1, '\0');
  OutputText out(buffer.data(), output_size);
  PosixLhaPlatform platform;
  LhaRun run;
  run.result = RunLhaCommand(platform, line, out);
  run.output = buffer.data();
  if (cwd[0] && chdir(cwd) != 0) ADD_FAILURE() << "chdir back";
  return run;
}

std::string TextData(size_t size, unsigned seed) {
  static const char* words[] = {"archive ", "member ", "header ", "folder ", "transfer ",
                                "Vako ", "\x8a\xbf\x8e\x9a ", "\r\n", "0123 ", "lha "};
  std::mt19937 rng(seed);
  std::string out;
  while (out.size() < size) out += words[rng() % 10];
  out.resize(size);
  return out;
}

std::string NoiseData(size_t size, unsigned seed) {
  std::mt19937 rng(seed);
  std::string out(size, '\0');
  for (char& c : out) c = static_cast<char>(rng());
  return out;
}

namespace {
void Walk(const std::string& root, const std::string& rel,
          std::vector<std::pair<std::string, std::string>>& out) {
  DIR* d = opendir((root + (rel.empty() ? "" : "/" + rel)).c_str());
  if (!d) return;
  while (struct dirent* e = readdir(d)) {
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    std::string r = rel.empty() ? name : rel + "/" + name;
    struct stat st;
    if (stat((root + "/" + r).c_str(), &st) != 0) continue;
    if (S_ISDIR(st.st_mode))
      Walk(root, r, out);
    else
      out.push_back({r, ReadFile(root + "/" + r)});
  }
  closedir(d);
}
}  // namespace

std::string Fingerprint(const std::string& bytes) {
  uint64_t h = 1469598103934665603ull;  // FNV-1a
  for (unsigned char c : bytes) h = (h ^ c) * 1099511628211ull;
  char text[48];
  std::snprintf(text, sizeof text, "%zu:%016llx", bytes.size(), static_cast<unsigned long long>(h));
  return text;
}

std::string TreeContents(const std::string& root) {
  std::vector<std::pair<std::string, std::string>> files;
  Walk(root, "", files);
  std::sort(files.begin(), files.end());
  std::string out;
  for (const auto& f : files) out += f.first + " " + Fingerprint(f.second) + "\n";
  return out;
}
