#include "lha/plugin_test_support.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <iterator>
#include <vector>

#include "plugins/archive_common/output_text.h"
#include "plugins/unlha32/lha_commands.h"
#include "plugins/unlha32/posix_lha_platform.h"
#include "plugins/unzip32/posix_zip_file_system.h"
#include "plugins/unzip32/unzip_command.h"

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder() {
  const char* binary = std::getenv("VAKO_BINARY_DIR");
  std::string pattern = std::string(binary ? binary : "/tmp") + "/plugin-scratch-XXXXXX";
  if (mkdtemp(pattern.data()))
    path_ = pattern;
  else
    ADD_FAILURE() << "mkdtemp " << pattern;
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  if (!path_.empty() && !::testing::Test::HasFailure()) fs::remove_all(path_, ignored);
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::error_code ignored;
  fs::create_directories(fs::path(path).parent_path(), ignored);
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!f) ADD_FAILURE() << "cannot write " << path;
}

std::string ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

bool FileExists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

long long ModificationTime(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 ? st.st_mtime : -1;
}

std::string Fingerprint(const std::string& bytes) {
  uint64_t h = 1469598103934665603ull;  // FNV-1a
  for (unsigned char c : bytes) h = (h ^ c) * 1099511628211ull;
  return std::to_string(bytes.size()) + ":" + std::to_string(h);
}

std::map<std::string, std::string> Tree(const std::string& root) {
  std::map<std::string, std::string> tree;
  std::error_code error;
  for (fs::recursive_directory_iterator it(root, error), end; !error && it != end; it.increment(error)) {
    const std::string relative = it->path().lexically_relative(root).string();
    tree[relative] = it->is_directory() && !it->is_symlink() ? "<folder>" : Fingerprint(ReadFile(it->path()));
  }
  return tree;
}

static std::string Quote(const std::string& text) {
  std::string q = "'";
  for (char c : text) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

int RunShell(const std::string& folder, const std::string& command, std::string* output) {
  FILE* p = popen(("cd " + Quote(folder) + " && ( " + command + " ) 2>&1").c_str(), "r");
  if (!p) return -1;
  std::string text;
  char buf[4096];
  for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) text.append(buf, n);
  const int status = pclose(p);
  if (output) *output = text;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool HaveProgram(const std::string& name) { return RunShell("/", "command -v " + Quote(name) + " >/dev/null") == 0; }

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

LibraryRun RunLha(const std::string& folder, const std::string& line, size_t output_size) {
  const std::string back = fs::current_path().string();
  fs::current_path(folder);
  std::vector<char> buffer(output_size + 1, '\0');
  OutputText out(buffer.data(), output_size);
  PosixLhaPlatform platform;
  LibraryRun run{RunLhaCommand(platform, line, out), buffer.data()};
  fs::current_path(back);
  return run;
}

LibraryRun RunUnZip(const std::string& line) {
  std::vector<char> buffer(1 << 16);
  OutputText out(buffer.data(), buffer.size());
  PosixZipFileSystem files;
  const int result = RunUnZipCommand(line, files, out);
  return {result, buffer.data()};
}

std::vector<LhaEntry> Entries(const std::string& archive) {
  std::vector<LhaEntry> entries;
  std::unique_ptr<ByteSource> source = PosixLhaPlatform().OpenRead(archive);
  std::string error;
  EXPECT_TRUE(source && ReadLhaDirectory(*source, entries, error)) << archive << " " << error;
  return entries;
}
