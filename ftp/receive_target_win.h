// Where a download is received: a temporary file beside the target, which replaces the
// target only once the whole file has arrived. An earlier file of that name therefore
// survives a transfer that breaks, is refused or is stopped.
#pragma once
#include <windows.h>

#include <string>

class ReceiveTarget {
 public:
  explicit ReceiveTarget(const std::string& target);
  ~ReceiveTarget();  // an open or unfinished temporary file is removed
  ReceiveTarget(const ReceiveTarget&) = delete;
  ReceiveTarget& operator=(const ReceiveTarget&) = delete;

  // Creates the temporary file in the target's folder and opens it for writing. false
  // when the folder takes no new file.
  bool Create();
  HANDLE Handle() const { return file_; }
  void Close();

  // The file arrived whole: it takes the target's place in one step. false when that
  // failed (the temporary file is removed, an earlier file stays).
  bool Commit();
  // The transfer ended early after data had begun to come: an earlier file stays and the
  // partial one goes; with no earlier file the partial one stays under the real name.
  void KeepPartial();
  // Nothing useful arrived: the temporary file goes, the target is untouched.
  void Discard();

 private:
  std::string target_, temp_;
  bool hadEarlier_ = false;
  HANDLE file_ = INVALID_HANDLE_VALUE;
};
