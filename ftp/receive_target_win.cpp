#include "ftp/receive_target_win.h"

#include <vector>

ReceiveTarget::ReceiveTarget(const std::string& target) : target_(target) {}

ReceiveTarget::~ReceiveTarget() { Discard(); }

bool ReceiveTarget::Create() {
  // With no file of that name the download goes straight to it: a partial file would stay
  // under the real name anyway, and a job of many new files pays for no renames. Creating
  // it is the test of whether it exists: one call per new file, not two.
  file_ = CreateFileA(target_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_ARCHIVE,
                      nullptr);
  if (file_ != INVALID_HANDLE_VALUE) {
    direct_ = true;
    return true;
  }
  // Anything of that name (a file, a folder) is received beside it and put in its place
  // only when the transfer is confirmed; nothing of that name and no file: a failure.
  if (GetFileAttributesA(target_.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
  hadEarlier_ = true;
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
  file_ = CreateFileA(temp_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_ARCHIVE,
                      nullptr);
  if (file_ == INVALID_HANDLE_VALUE) {
    DeleteFileA(temp_.c_str());
    temp_.clear();
    return false;
  }
  return true;
}

bool ReceiveTarget::Resume(const std::string& partial, uint64_t& offset) {
  file_ = CreateFileA(partial.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_ARCHIVE,
                      nullptr);
  if (file_ == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER zero{}, end{};
  if (!SetFilePointerEx(file_, zero, &end, FILE_END)) {
    Close();
    return false;
  }
  offset = static_cast<uint64_t>(end.QuadPart);
  temp_ = partial;
  resumed_ = true;
  return true;
}

bool ReceiveTarget::Restart() {
  LARGE_INTEGER zero{};
  return file_ != INVALID_HANDLE_VALUE && SetFilePointerEx(file_, zero, nullptr, FILE_BEGIN) && SetEndOfFile(file_);
}

bool ReceiveTarget::KeepPartialAs(const std::string& partial) {
  Close();
  if (resumed_) {
    temp_.clear();
    resumed_ = false;
    return true;
  }
  const std::string& from = direct_ ? target_ : temp_;
  if (!from.empty() && MoveFileExA(from.c_str(), partial.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    if (direct_) direct_ = false;
    else temp_.clear();
    return true;
  }
  KeepPartial();
  return false;
}

void ReceiveTarget::Close() {
  if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
  file_ = INVALID_HANDLE_VALUE;
}

bool ReceiveTarget::Commit() {
  Close();
  if (direct_) {
    direct_ = false;
    return true;
  }
  if (temp_.empty()) return false;
  if (MoveFileExA(temp_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    temp_.clear();
    resumed_ = false;
    return true;
  }
  Discard();
  return false;
}

void ReceiveTarget::KeepPartial() {
  Close();
  if (resumed_) {
    temp_.clear();
    resumed_ = false;
    return;
  }
  if (direct_) {
    direct_ = false;
    return;
  }
  if (temp_.empty()) return;
  if (!hadEarlier_ && MoveFileExA(temp_.c_str(), target_.c_str(), 0)) temp_.clear();
  Discard();
}

void ReceiveTarget::Discard() {
  Close();
  if (resumed_) {  // the partial file stays for another time
    temp_.clear();
    resumed_ = false;
    return;
  }
  // A file made here for a transfer that never began goes again: there was none before.
  if (direct_) DeleteFileA(target_.c_str());
  direct_ = false;
  if (!temp_.empty()) DeleteFileA(temp_.c_str());
  temp_.clear();
}
