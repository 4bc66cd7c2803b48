// The file system of the DLL: ANSI Win32 calls, so Shift-JIS names pass as the bytes
// they are stored as.
#pragma once
#include "plugins/unzip32/zip_file_system.h"

class Win32ZipFileSystem : public ZipFileSystem {
 public:
  char Separator() const override { return '\\'; }
  std::unique_ptr<ZipByteSource> OpenArchive(const std::string& path,
                                             std::string& error) override;
  bool MakeFolder(const std::string& path) override;
  std::unique_ptr<ZipOutputFile> CreateOutputFile(const std::string& folder,
                                                  const std::string& path) override;
};
