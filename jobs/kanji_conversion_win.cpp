#include "jobs/kanji_conversion_win.h"

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

#include "app/load_plugin_win.h"
#include "app/message_boxes_win.h"
#include "config/options.h"
#include "ftp/transfer_job_frame_win.h"
#include "resources/resource_ids.h"

namespace {

using SetNkfOptionFn = int(WINAPI*)(LPCSTR);
using ConvertFn = void(WINAPI*)(LPSTR, LPCSTR);


struct FileHandle {
  HANDLE handle;
  explicit FileHandle(HANDLE h) : handle(h) {}
  ~FileHandle() { Close(); }
  void Close() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    handle = INVALID_HANDLE_VALUE;
  }
  bool IsOpen() const { return handle != INVALID_HANDLE_VALUE; }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
};

template <class Function>
Function Lookup(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// nkf32.dll and its three functions, only from the program's folder: the current folder
// is wherever the user browsed to.
struct NkfLibrary {
  HMODULE module = nullptr;
  SetNkfOptionFn setOption = nullptr;
  ConvertFn convert = nullptr, widen = nullptr;

  void Load() {
    module = LoadPluginLibrary("nkf32.dll");
    if (!module) return;
    setOption = Lookup<SetNkfOptionFn>(module, "SetNkfOption");
    convert = Lookup<ConvertFn>(module, "NkfConvert");
    widen = Lookup<ConvertFn>(module, "ToZenkakuKana");
  }
  void Free() {
    if (module) FreeLibrary(module);
    *this = NkfLibrary();
  }
};

// A job converting many files loads the library once and frees it at its end (on the job's
// thread alone); a conversion outside a job loads and frees it for itself.
NkfLibrary JobNkf;
void FreeJobNkf() { JobNkf.Free(); }

class NkfForOneFile {
 public:
  NkfForOneFile() : inJob_(InTransferJob()) {
    if (!inJob_) {
      own_.Load();
    } else if (!JobNkf.module) {
      JobNkf.Load();
      if (JobNkf.module) AtTransferJobEnd(FreeJobNkf);
    }
  }
  ~NkfForOneFile() {
    if (!inJob_) own_.Free();
  }
  NkfForOneFile(const NkfForOneFile&) = delete;
  NkfForOneFile& operator=(const NkfForOneFile&) = delete;
  const NkfLibrary& get() const { return inJob_ ? JobNkf : own_; }

 private:
  bool inJob_;
  NkfLibrary own_;
};

// A zero-filled block, or null when it cannot be had.
std::unique_ptr<char[]> ZeroedBlock(size_t size) { return std::unique_ptr<char[]>(new (std::nothrow) char[size]()); }

bool ReadWhole(HANDLE file, char* buffer, size_t size) {
  size_t done = 0;
  while (done < size) {
    DWORD want = size - done > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size - done);
    DWORD got = 0;
    if (!ReadFile(file, buffer + done, want, &got, nullptr)) return false;
    if (got == 0) break;  // the file shrank since its size was taken; the rest stays zero
    done += got;
  }
  return true;
}

bool WriteWhole(HANDLE file, const char* data, size_t size) {
  size_t done = 0;
  while (done < size) {
    DWORD want = size - done > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size - done);
    DWORD put = 0;
    if (!WriteFile(file, data + done, want, &put, nullptr) || put == 0) return false;
    done += put;
  }
  return true;
}

}  // namespace

int ConvertKanjiFile(const char* sourcePath, const char* targetPath, const char* option) {
  NkfForOneFile library;
  if (!library.get().module) return -2;
  const auto setOption = library.get().setOption;
  const auto convert = library.get().convert;
  const auto widen = library.get().widen;
  if (!setOption || !convert || !widen) return -1;

  FileHandle source(CreateFileA(sourcePath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!source.IsOpen()) return -1;

  // The library is told no sizes: each block offers twice the text plus its terminating
  // zero. With widening, the second call works on the first call's output, which can be
  // twice the file already, so the block receiving it offers twice that again.
  const bool widenToo = Options.NKFKana == 1;
  LARGE_INTEGER length;
  std::unique_ptr<char[]> first, second;
  size_t size = 0;
  bool sized = GetFileSizeEx(source.handle, &length) && length.QuadPart >= 0 &&
               static_cast<uint64_t>(length.QuadPart) <= (SIZE_MAX - 1) / 4;
  if (sized) {
    size = static_cast<size_t>(length.QuadPart);
    first = ZeroedBlock(widenToo ? 4 * size + 1 : 2 * size + 1);
    if (first) second = ZeroedBlock(2 * size + 1);
  }
  if (!first || !second) {
    ShowMessage(IDS_OUT_OF_MEMORY);
    return -1;
  }
  if (!ReadWhole(source.handle, first.get(), size)) {
    ShowMessage(IDS_FAILED_READ_FILE);
    return -1;
  }
  source.Close();
  // The library sees text up to its first zero byte only: a file holding one (UTF-16, a
  // compiled program, a file that shrank while read) would come back cut short. It stays
  // as it is instead.
  if (std::memchr(first.get(), '\0', size)) return -1;

  // Our library answers text it cannot convert, or whose conversion would overrun its
  // block, with an empty result: for non-empty text that is a failure, not an empty file.
  auto refused = [](const char* output, const char* input) { return output[0] == '\0' && input[0] != '\0'; };
  setOption(option);
  const char* result = second.get();
  if (widenToo && std::strcmp(option, "-s") != 0) {
    // Sending: the Shift-JIS file is widened, then converted.
    widen(second.get(), first.get());
    if (refused(second.get(), first.get())) return -1;
    convert(first.get(), second.get());
    if (refused(first.get(), second.get())) return -1;
    result = first.get();
  } else {
    convert(second.get(), first.get());
    if (refused(second.get(), first.get())) return -1;
    if (widenToo) {
      // Receiving: widening reads Shift-JIS, so it comes after the conversion to it;
      // before, it would take EUC-JP or JIS bytes for katakana.
      widen(first.get(), second.get());
      if (refused(first.get(), second.get())) return -1;
      result = first.get();
    }
  }

  FileHandle target(CreateFileA(targetPath, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!target.IsOpen()) return -1;
  if (!WriteWhole(target.handle, result, std::strlen(result))) {
    target.Close();
    ShowMessage(IDS_FAILED_SEND);
    return -1;
  }
  return 0;
}
