// What the program writes beside a file transfer it left unfinished, so that a later
// transfer of the same file can go on from where it stopped. A partial download lies
// beside its target under the target's name plus kPartialSuffix, with its record under the
// name plus kRecordSuffix; a partial upload's record lies in the work folder. A partial
// without its record is not the program's (the user's, or another program's) and is never
// continued nor replaced.
//
// The record is text, one "key=value" line each, after a first line naming the format:
//   VakoPartial 1
//   server=anna@ftp.example.com:21
//   remote=/pub/big.iso
//   size=5000000010
//   date=2024/03/01 12:00
//   local=C:\Data\big.iso          (uploads only)
#pragma once
#include <cstdint>
#include <string>

constexpr const char* kPartialSuffix = ".vkpart";
constexpr const char* kRecordSuffix = ".vkpart.txt";
// A record past this size is not one the program wrote.
constexpr size_t kPartialRecordLimit = 16384;

struct PartialRecord {
  std::string server;      // user@host:port of the connection that left it
  std::string remotePath;  // the remote file's path
  uint64_t size = 0;       // downloads: the listed size; uploads: the local file's size
  std::string date;        // downloads: the listed date; uploads: the local file's time
  std::string localPath;   // uploads: the file sent; empty for downloads

  bool operator==(const PartialRecord& other) const {
    return server == other.server && remotePath == other.remotePath && size == other.size && date == other.date &&
           localPath == other.localPath;
  }
};

// The record's text; empty when a field holds CR, LF or NUL (it could not be read back
// as the same record) or the server or remote path is empty.
std::string FormatPartialRecord(const PartialRecord& record);

// Reads a record written by FormatPartialRecord. false for anything else: another first
// line, a line without "=", an unknown or repeated key, a missing server, remote path or
// size, a size that is not plain decimal digits within 64 bits, NUL bytes, a text past
// kPartialRecordLimit.
bool ParsePartialRecord(const std::string& text, PartialRecord& out);

// The work folder's file name of an upload's record: "up" and a hash of the server and
// remote path in hex, then kRecordSuffix.
std::string UploadRecordName(const std::string& server, const std::string& remotePath);

// The offset a transfer continues from: the partial's size when it is a true beginning
// of the whole (more than nothing, less than all), else 0 (transfer the whole file).
uint64_t ResumeOffset(uint64_t partialSize, uint64_t wholeSize);

// The size of a "213 <size>" reply to SIZE. false for any other reply.
bool ParseSizeReply(const std::string& reply, uint64_t& size);
