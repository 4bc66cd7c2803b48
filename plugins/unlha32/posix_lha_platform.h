// The LHA commands on a POSIX system: the native vako-lha tool and the native tests.
// A backslash in a path (outside a Shift-JIS character) is taken for a folder separator,
// as the DLL takes it.
#pragma once
#include "plugins/unlha32/lha_platform.h"

class PosixLhaPlatform : public LhaPlatform {
 public:
  char Separator() const override { return '/'; }
  std::unique_ptr<ByteSource> OpenRead(const std::string& path) override;
  bool ReadWholeFile(const std::string& path, std::string& text) override;
  FileFacts Facts(const std::string& path) override;
  bool ListFolder(const std::string& path, std::vector<FolderItem>& items) override;
  std::string FullPath(const std::string& path) override;
  std::unique_ptr<OutputFile> Create(const std::string& path) override;
  bool MakeFolders(const std::string& path) override;
  bool SetFileTime(const std::string& path, int64_t unix_time) override;
  bool SetAttributes(const std::string& path, uint32_t attributes) override;
  int64_t LocalDosToUnix(uint32_t dos_time) override;
  uint32_t UnixToLocalDos(int64_t unix_time) override;
  bool AskNewName(const std::string& old_name, std::string& new_name) override;
};
