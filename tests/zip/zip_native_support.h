// POSIX helpers of the native ZIP tests: scratch folders, files, whole trees, and runs of
// the UnZip command and of Debian's zip.
#pragma once
#include <map>
#include <string>

class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

void WriteBytes(const std::string& path, const std::string& data);
std::string ReadBytes(const std::string& path);  // "" when missing
bool Exists(const std::string& path);
void MakeFolders(const std::string& path);  // with its parents

// Every file and folder under ROOT by relative path ('/'-separated); folders map to
// "<folder>", files to their contents.
std::map<std::string, std::string> ReadTree(const std::string& root);

// Runs a shell command; true when it exits with 0.
bool Shell(const std::string& command);
std::string Quoted(const std::string& path);  // single-quoted for the shell

struct UnZipRun {
  int result;
  std::string text;
};
// The command line through the same code the DLL runs, writing with POSIX calls.
UnZipRun RunUnZip(const std::string& command_line);
// -x "<archive>" "<folder>/"
UnZipRun ExtractWithUnZip(const std::string& archive, const std::string& folder);
