// The LHA commands on Windows, through the ANSI file calls so that Shift-JIS names reach the
// file system unchanged. Runs on Windows 95 and later.
#pragma once
#include <windows.h>

#include "plugins/unlha32/lha_platform.h"

class Win32LhaPlatform : public LhaPlatform {
 public:
  explicit Win32LhaPlatform(HWND owner) : owner_(owner) {}
  char Separator() const override { return '\\'; }
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

 private:
  HWND owner_;
};
