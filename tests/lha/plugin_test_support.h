// Helpers of the native plug-in tests: a scratch folder, files and trees, shell commands,
// and command lines run through the LHA and UnZip libraries' own code.
#pragma once
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "plugins/unlha32/lha_archive.h"
#include "support/case_table.h"

// A fresh folder under the build tree, removed when the test passed.
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

void WriteFile(const std::string& path, const std::string& bytes);  // creates parent folders
std::string ReadFile(const std::string& path);                      // "" when missing
bool FileExists(const std::string& path);                           // links count
long long ModificationTime(const std::string& path);
std::string Fingerprint(const std::string& bytes);  // size and hash, short enough to print
// Everything below ROOT by relative path: "<folder>", or the file's fingerprint.
std::map<std::string, std::string> Tree(const std::string& root);

// Runs COMMAND with sh in FOLDER: its exit status; stdout and stderr into OUTPUT.
int RunShell(const std::string& folder, const std::string& command, std::string* output = nullptr);
bool HaveProgram(const std::string& name);

// Deterministic data: text-like (compressible, with Shift-JIS and CR LF) and noise.
std::string TextData(size_t size, unsigned seed);
std::string NoiseData(size_t size, unsigned seed);

struct LibraryRun {
  int result;
  std::string output;
};
// One command line through the library's own code, as the DLL runs it (LHA from FOLDER).
LibraryRun RunLha(const std::string& folder, const std::string& line, size_t output_size = 65536);
LibraryRun RunUnZip(const std::string& line);
// The members of an LHA archive file, as our reader lists them.
std::vector<LhaEntry> Entries(const std::string& archive);
