#include "ftp/partial_files_win.h"

#include <windows.h>

#include <vector>

#include "app/app_state_win.h"
#include "config/host_profile.h"

namespace {

// The whole of a small file; false when it is missing, unreadable or past the limit.
bool ReadSmallFile(const std::string& path, std::string& text) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  std::vector<char> buffer(kPartialRecordLimit + 1);
  DWORD got = 0;
  const BOOL ok = ReadFile(h, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr);
  CloseHandle(h);
  if (!ok || got > kPartialRecordLimit) return false;
  text.assign(buffer.data(), got);
  return true;
}

bool WriteSmallFile(const std::string& path, const std::string& text) {
  if (text.empty()) return false;
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(h);
  if (ok && written == text.size()) return true;
  DeleteFileA(path.c_str());
  return false;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

std::string PartialServerName() {
  return CurrentHost.UserID + "@" + CurrentHost.HostAddr + ":" + std::to_string(CurrentHost.Port);
}

bool LocalFileFacts(const std::string& path, uint64_t& size, std::string& time) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  time = std::to_string((static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                        data.ftLastWriteTime.dwLowDateTime);
  return true;
}

DownloadPartial::DownloadPartial(const std::string& target, const PartialRecord& wanted)
    : path_(target + kPartialSuffix), recordPath_(target + kRecordSuffix), wanted_(wanted) {
  std::string text;
  PartialRecord found;
  recordThere_ = Exists(recordPath_);
  own_ = recordThere_ && ReadSmallFile(recordPath_, text) && ParsePartialRecord(text, found) &&
         found.localPath.empty();
  if (!own_ || !(found == wanted_)) return;
  uint64_t size = 0;
  std::string time;
  if (LocalFileFacts(path_, size, time)) offset_ = ResumeOffset(size, wanted_.size);
}

// Asked only when a transfer breaks: a record that is not the program's, or a partial
// without one, is someone else's.
bool DownloadPartial::MayLeave() const { return own_ || (!recordThere_ && !Exists(path_)); }

bool DownloadPartial::WriteRecord() {
  if (!WriteSmallFile(recordPath_, FormatPartialRecord(wanted_))) return false;
  own_ = true;
  return true;
}

void DownloadPartial::RemoveOwn() {
  if (!own_) return;
  DeleteFileA(path_.c_str());
  DeleteFileA(recordPath_.c_str());
  own_ = false;
}

void DownloadPartial::Remove() {
  own_ = true;
  RemoveOwn();
}

UploadPartial::UploadPartial(const PartialRecord& wanted)
    : recordPath_(WorkFolder + UploadRecordName(wanted.server, wanted.remotePath)), wanted_(wanted) {
  std::string text;
  PartialRecord found;
  left_ = ReadSmallFile(recordPath_, text) && ParsePartialRecord(text, found) && found == wanted_;
}

bool UploadPartial::WriteRecord() { return WriteSmallFile(recordPath_, FormatPartialRecord(wanted_)); }

void UploadPartial::RemoveRecord() { DeleteFileA(recordPath_.c_str()); }
