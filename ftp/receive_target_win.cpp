#include "ftp/receive_target_win.h"

#include <vector>

ReceiveTarget::ReceiveTarget(const std::string& target) : target_(target) {}

ReceiveTarget::~ReceiveTarget() { Discard(); }

bool ReceiveTarget::Create() {
  // The temporary file lives in the target's own folder, so that replacing the target
  // is a rename within one volume.
  std::vector<char> full(32768);
  char* namePart = nullptr;
  DWORD length = GetFullPathNameA(target_.c_str(), static_cast<DWORD>(full.size()), full.data(), &namePart);
  if (length == 0 || length >= full.size() || !namePart) return false;
  std::string folder(full.data(), static_cast<size_t>(namePart - full.data()));
  char temp[MAX_PATH + 16] = "";
  if (!GetTempFileNameA(folder.c_str(), "vko", 0, temp)) return false;
  temp_ = temp;
  DWORD attributes = GetFileAttributesA(target_.c_str());
  hadEarlier_ = attributes != INVALID_FILE_ATTRIBUTES;
  file_ = CreateFileA(temp_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_ARCHIVE,
                      nullptr);
  if (file_ == INVALID_HANDLE_VALUE) {
    DeleteFileA(temp_.c_str());
    temp_.clear();
    return false;
  }
  return true;
}

void ReceiveTarget::Close() {
  if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
  file_ = INVALID_HANDLE_VALUE;
}

bool ReceiveTarget::Commit() {
  Close();
  if (temp_.empty()) return false;
  if (MoveFileExA(temp_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    temp_.clear();
    return true;
  }
  Discard();
  return false;
}

void ReceiveTarget::KeepPartial() {
  Close();
  if (temp_.empty()) return;
  if (!hadEarlier_ && MoveFileExA(temp_.c_str(), target_.c_str(), 0)) temp_.clear();
  Discard();
}

void ReceiveTarget::Discard() {
  Close();
  if (!temp_.empty()) DeleteFileA(temp_.c_str());
  temp_.clear();
}
