#include "archive/archive_library_win.h"

#include <vector>

#include "app/load_plugin_win.h"

namespace {

using CommandEntry = int(WINAPI*)(HWND, LPCSTR, LPSTR, DWORD);

// Releases the library however the call ends.
class LoadedLibrary {
 public:
  explicit LoadedLibrary(const char* name) : module_(LoadPluginLibrary(name)) {}
  ~LoadedLibrary() {
    if (module_) FreeLibrary(module_);
  }
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;
  HMODULE get() const { return module_; }

 private:
  HMODULE module_;
};

}  // namespace

int RunArchiveCommandWithResult(ArchiveKind kind, HWND owner, const std::string& commandLine, std::string* output,
                                size_t outputSize, int* result) {
  LoadedLibrary library(kind == ArchiveKind::Lha ? "unlha32.dll" : "unzip32.dll");
  if (!library.get()) return 0;
  auto entry = reinterpret_cast<CommandEntry>(
      reinterpret_cast<void*>(GetProcAddress(library.get(), kind == ArchiveKind::Lha ? "Unlha" : "UnZip")));
  if (!entry) return 0;
  // The library never writes at or past the size it is given.
  std::vector<char> text(outputSize > 0 ? outputSize : 1, '\0');
  const int answer = entry(owner, commandLine.c_str(), text.data(), static_cast<DWORD>(outputSize));
  text.back() = '\0';
  if (output) *output = text.data();
  if (result) *result = answer;
  return 1;
}

int RunArchiveCommand(ArchiveKind kind, HWND owner, const std::string& commandLine, std::string* output,
                      size_t outputSize) {
  return RunArchiveCommandWithResult(kind, owner, commandLine, output, outputSize, nullptr);
}
