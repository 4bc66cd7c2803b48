// Helpers for the native LHA tests: a scratch folder, files, and running Debian's tools.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

// A fresh folder under the build tree (or /tmp), removed when the test ends.
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
std::string ReadFile(const std::string& path);
bool FileExists(const std::string& path);
void SetModificationTime(const std::string& path, long long unix_time);
long long ModificationTime(const std::string& path);

// Runs a shell command in FOLDER; returns its exit status and fills OUTPUT (stdout and stderr).
int RunShell(const std::string& folder, const std::string& command, std::string* output = nullptr);
std::string Quote(const std::string& text);  // for the shell
bool HaveProgram(const std::string& name);

// Runs one LHA command line through the library, as the DLL would, from FOLDER.
struct LhaRun {
  int result;
  std::string output;
};
LhaRun RunLha(const std::string& folder, const std::string& line, size_t output_size = 65536);

// Deterministic test data: text-like (compressible) and noise (incompressible).
std::string TextData(size_t size, unsigned seed);
std::string NoiseData(size_t size, unsigned seed);

// Every file below ROOT as "relative/path size fingerprint" lines, sorted.
std::string TreeContents(const std::string& root);

// A short text for comparing file contents without printing them.
std::string Fingerprint(const std::string& bytes);
