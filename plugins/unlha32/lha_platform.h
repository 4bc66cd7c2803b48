// What the LHA commands need from the system they run on: files, folders and local time.
// One implementation uses POSIX calls (the native tool and tests), one the Win32 ANSI calls
// (the DLL, so Shift-JIS names reach the file system as they are).
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "plugins/unlha32/byte_io.h"

struct FileFacts {
  bool exists = false;
  bool is_folder = false;
  uint64_t size = 0;
  int64_t unix_time = 0;    // last write, UTC
  uint32_t attributes = 0;  // kAttrReadOnly, kAttrHidden, kAttrSystem (lha_header.h)
};

struct FolderItem {
  std::string name;
  FileFacts facts;
};

// A file being written; Commit closes it, anything else discards it.
class OutputFile {
 public:
  virtual ~OutputFile() = default;
  virtual bool Write(const uint8_t* data, size_t size) = 0;
  virtual bool Commit() = 0;
};

class LhaPlatform {
 public:
  virtual ~LhaPlatform() = default;
  virtual char Separator() const = 0;

  virtual std::unique_ptr<ByteSource> OpenRead(const std::string& path) = 0;
  virtual bool ReadWholeFile(const std::string& path, std::string& text) = 0;
  virtual FileFacts Facts(const std::string& path) = 0;
  virtual bool ListFolder(const std::string& path, std::vector<FolderItem>& items) = 0;
  // The absolute form of PATH, for telling whether two names are the same file.
  virtual std::string FullPath(const std::string& path) = 0;

  // Starts writing PATH: the bytes go to a new file beside it, which Commit moves over PATH,
  // so a failed extraction or archive update leaves the old file as it was.
  virtual std::unique_ptr<OutputFile> Create(const std::string& path) = 0;
  // Creates PATH and every missing folder above it; true when it exists as a folder afterwards.
  virtual bool MakeFolders(const std::string& path) = 0;
  virtual bool SetFileTime(const std::string& path, int64_t unix_time) = 0;
  virtual bool SetAttributes(const std::string& path, uint32_t attributes) = 0;

  // MS-DOS local date and time (date in the high word) to UTC and back.
  virtual int64_t LocalDosToUnix(uint32_t dos_time) = 0;
  virtual uint32_t UnixToLocalDos(int64_t unix_time) = 0;

  // Asks the user for a member's new name; false when there is nobody to ask or it was cancelled.
  virtual bool AskNewName(const std::string& old_name, std::string& new_name) = 0;
};
