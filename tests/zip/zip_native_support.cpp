#include "zip/zip_native_support.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "plugins/archive_common/output_text.h"
#include "plugins/unzip32/posix_zip_file_system.h"
#include "plugins/unzip32/unzip_command.h"

ScratchFolder::ScratchFolder() {
  const char* base = std::getenv("VAKO_BINARY_DIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/zip-test-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (mkdtemp(buffer.data())) path_ = buffer.data();
}

ScratchFolder::~ScratchFolder() {
  if (!path_.empty()) Shell("rm -rf " + Quoted(path_));
}

void WriteBytes(const std::string& path, const std::string& data) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(data.data(), static_cast<std::streamsize>(data.size()));
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

bool Exists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

void MakeFolders(const std::string& path) { Shell("mkdir -p " + Quoted(path)); }

namespace {
void ReadTreeInto(const std::string& root, const std::string& relative,
                  std::map<std::string, std::string>& tree) {
  const std::string here = relative.empty() ? root : root + "/" + relative;
  DIR* dir = opendir(here.c_str());
  if (!dir) return;
  std::vector<std::string> names;
  while (dirent* d = readdir(dir)) {
    const std::string name = d->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  closedir(dir);
  for (const std::string& name : names) {
    const std::string rel = relative.empty() ? name : relative + "/" + name;
    struct stat st;
    if (lstat((root + "/" + rel).c_str(), &st) != 0) continue;
    if (S_ISDIR(st.st_mode)) {
      tree[rel] = "<folder>";
      ReadTreeInto(root, rel, tree);
    } else {
      tree[rel] = ReadBytes(root + "/" + rel);
    }
  }
}
}  // namespace

std::map<std::string, std::string> ReadTree(const std::string& root) {
  std::map<std::string, std::string> tree;
  ReadTreeInto(root, "", tree);
  return tree;
}

bool Shell(const std::string& command) { return std::system(command.c_str()) == 0; }

std::string Quoted(const std::string& path) {
  std::string q = "'";
  for (char c : path) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

UnZipRun RunUnZip(const std::string& command_line) {
  std::vector<char> buffer(1 << 16);
  OutputText output(buffer.data(), buffer.size());
  PosixZipFileSystem files;
  UnZipRun run;
  run.result = RunUnZipCommand(command_line, files, output);
  run.text = buffer.data();
  return run;
}

UnZipRun ExtractWithUnZip(const std::string& archive, const std::string& folder) {
  return RunUnZip("-x \"" + archive + "\" \"" + folder + "/\"");
}
