// Where extracted members go: the DLL writes through Win32, the native tool and tests
// through POSIX. Paths are byte strings in the system's ANSI code page.
#pragma once
#include <memory>
#include <string>

#include "plugins/unzip32/zip_byte_source.h"
#include "plugins/unzip32/zip_directory.h"

// A member being written. The bytes go to a temporary file beside the target, and only
// Commit puts it in the target's place; dropped without Commit, the temporary file is
// removed and a file already at the target stays exactly as it was.
class ZipOutputFile {
 public:
  virtual ~ZipOutputFile() = default;
  virtual bool Write(const void* data, size_t size) = 0;
  // Gives the file the entry's modification time, closes it and moves it over the target.
  virtual bool Commit(const ZipEntry& entry) = 0;
};

class ZipFileSystem {
 public:
  virtual ~ZipFileSystem() = default;
  virtual char Separator() const = 0;
  // Null, with a reason in `error`, when the archive cannot be opened.
  virtual std::unique_ptr<ZipByteSource> OpenArchive(const std::string& path,
                                                     std::string& error) = 0;
  // Creates the folder unless a folder of that name exists already.
  virtual bool MakeFolder(const std::string& path) = 0;
  // Starts writing the file PATH, whose temporary file goes into FOLDER (the folder that
  // holds PATH). Null when that fails, or when PATH is something extraction must not
  // replace: a folder, a link, a read-only file.
  virtual std::unique_ptr<ZipOutputFile> CreateOutputFile(const std::string& folder,
                                                          const std::string& path) = 0;
};
