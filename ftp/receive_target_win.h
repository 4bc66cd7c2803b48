// Where a download is received. Over an earlier file of that name: a temporary file beside
// it, which replaces it only once the whole file has arrived, so the earlier file survives
// a transfer that breaks, is refused or is stopped. With none: the file itself. A download
// that goes on from a partial file appends to it and puts it in the target's place once
// whole.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

class ReceiveTarget {
 public:
  explicit ReceiveTarget(const std::string& target);
  ~ReceiveTarget();  // an open or unfinished temporary file is removed
  ReceiveTarget(const ReceiveTarget&) = delete;
  ReceiveTarget& operator=(const ReceiveTarget&) = delete;

  // Creates the file to receive into and opens it for writing. false when the folder
  // takes no new file.
  bool Create();
  // Opens the partial file to append to; offset is its size. false when it cannot be
  // opened (nothing is touched).
  bool Resume(const std::string& partial, uint64_t& offset);
  // The server would not go on: the partial file is emptied to receive the whole file.
  bool Restart();
  HANDLE Handle() const { return file_; }
  void Close();

  // The file arrived whole: it takes the target's place in one step. false when that
  // failed (the temporary file is removed, an earlier file stays).
  bool Commit();
  // The transfer ended early after data had begun to come: an earlier file stays and the
  // partial one goes; with no earlier file the partial one stays under the real name.
  void KeepPartial();
  // The same, but what arrived is kept under the partial file's name (replacing what lay
  // there), and an earlier file stays. false, with KeepPartial done instead, when it could
  // not be moved there. A resumed partial stays where it is.
  bool KeepPartialAs(const std::string& partial);
  // Nothing useful arrived: the temporary file goes, the target is untouched.
  void Discard();

 private:
  std::string target_, temp_;
  bool hadEarlier_ = false;
  bool direct_ = false;  // receiving straight into the target, which did not exist
  bool resumed_ = false;  // appending to a partial file (temp_), which is never removed here
  HANDLE file_ = INVALID_HANDLE_VALUE;
};
