// unzip32.dll: the ZIP library the program loads at run time. One export, UnZip, with the
// window, command line, output buffer and buffer size the program passes.
#include <windows.h>

#include "plugins/archive_common/output_text.h"
#include "plugins/unzip32/unzip_command.h"
#include "plugins/unzip32/win32_zip_file_system_win.h"

extern "C" int WINAPI UnZip(HWND window, LPCSTR command_line, LPSTR output, DWORD output_size) {
  OutputText text(output, output_size);
  if (!command_line) {
    text.Line("error: empty command line");
    return kUnZipFailed;
  }
  // Nothing may escape into the caller; the only exception possible is running out
  // of memory.
  try {
    Win32ZipFileSystem files;
    return RunUnZipCommand(command_line, files, text);
  } catch (...) {
    text.Line("error: out of memory");
    return kUnZipFailed;
  }
}
