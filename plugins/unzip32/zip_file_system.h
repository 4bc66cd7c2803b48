// Where extracted members go: the DLL writes through Win32, the native tool and tests
// through POSIX. Paths are byte strings in the system's ANSI code page.
#pragma once
#include <memory>
#include <string>

#include "plugins/unzip32/zip_byte_source.h"
#include "plugins/unzip32/zip_directory.h"

class ZipOutputFile {
 public:
  virtual ~ZipOutputFile() = default;
  virtual bool Write(const void* data, size_t size) = 0;
  // Closes the file and gives it the entry's modification time.
  virtual bool Finish(const ZipEntry& entry) = 0;
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
  // Creates or replaces a file; null when that fails.
  virtual std::unique_ptr<ZipOutputFile> CreateOutputFile(const std::string& path) = 0;
  virtual void RemoveFile(const std::string& path) = 0;
};
