// The partial files the program leaves when a transfer breaks or is stopped, and their
// records (ftp/partial_record.h), on the local disk.
#pragma once
#include <cstdint>
#include <string>

#include "ftp/partial_record.h"

// The connected server as records name it: user@host:port.
std::string PartialServerName();

// A download's partial beside its target: "<target>.vkpart", recorded in
// "<target>.vkpart.txt". The record is read once, when made.
class DownloadPartial {
 public:
  DownloadPartial(const std::string& target, const PartialRecord& wanted);

  // The offset to continue from: the partial's size when its record is the wanted one and
  // the partial is less than the listed size; 0 to download whole.
  uint64_t Offset() const { return offset_; }
  // True when a partial may be left under the partial's name: nothing lies there, or only
  // what this program left (whatever its record says).
  bool MayLeave() const;
  const std::string& Path() const { return path_; }

  // Writes the wanted record. false when it could not be written.
  bool WriteRecord();
  // After the file arrived whole: a partial of the program's and its record go.
  void RemoveOwn();
  // The partial turned out not to be a beginning of the file: it and its record go.
  void Remove();

 private:
  std::string path_, recordPath_;
  PartialRecord wanted_;
  uint64_t offset_ = 0;
  bool recordThere_ = false;
  bool own_ = false;  // a record of the program's lies there
};

// A partial upload's record in the work folder, named by server and remote path.
class UploadPartial {
 public:
  // wanted: the server, remote path, local path, size and time of the file to send.
  explicit UploadPartial(const PartialRecord& wanted);
  // True when the record of an earlier upload of this very file to this very place lies
  // there: the server's copy is what the program left of it.
  bool Left() const { return left_; }
  bool WriteRecord();
  void RemoveRecord();

 private:
  std::string recordPath_;
  PartialRecord wanted_;
  bool left_ = false;
};

// The local file's size and last write time as a record keeps them (the time as the
// decimal count of FILETIME). false when the file cannot be looked at.
bool LocalFileFacts(const std::string& path, uint64_t& size, std::string& time);
