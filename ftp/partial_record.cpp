#include "ftp/partial_record.h"

#include <cstdio>

#include "ftp/command_format.h"

namespace {

constexpr const char* kFirstLine = "VakoPartial 1";

bool ParseDecimal(const std::string& text, uint64_t& out) {
  if (text.empty() || text.size() > 20) return false;
  uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    const uint64_t digit = static_cast<uint64_t>(c - '0');
    if (value > (UINT64_MAX - digit) / 10) return false;
    value = value * 10 + digit;
  }
  out = value;
  return true;
}

}  // namespace

std::string FormatPartialRecord(const PartialRecord& record) {
  if (record.server.empty() || record.remotePath.empty()) return std::string();
  for (const std::string* field : {&record.server, &record.remotePath, &record.date, &record.localPath})
    if (HasLineBreak(*field)) return std::string();
  std::string text = std::string(kFirstLine) + "\r\n";
  text += "server=" + record.server + "\r\n";
  text += "remote=" + record.remotePath + "\r\n";
  text += "size=" + std::to_string(record.size) + "\r\n";
  text += "date=" + record.date + "\r\n";
  if (!record.localPath.empty()) text += "local=" + record.localPath + "\r\n";
  return text;
}

bool ParsePartialRecord(const std::string& text, PartialRecord& out) {
  if (text.size() > kPartialRecordLimit || text.find('\0') != std::string::npos) return false;
  PartialRecord record;
  bool haveSize = false;
  unsigned seen = 0;  // one bit per key
  size_t start = 0;
  bool first = true;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    start = end + 1;
    if (first) {
      if (line != kFirstLine) return false;
      first = false;
      continue;
    }
    if (line.empty()) continue;
    const size_t equals = line.find('=');
    if (equals == std::string::npos) return false;
    const std::string key = line.substr(0, equals), value = line.substr(equals + 1);
    static const char* const kKeys[] = {"server", "remote", "size", "date", "local"};
    unsigned bit = 0;
    for (unsigned i = 0; i < 5; ++i)
      if (key == kKeys[i]) bit = 1u << i;
    if (bit == 0 || (seen & bit)) return false;
    seen |= bit;
    if (key == "server") record.server = value;
    else if (key == "remote") record.remotePath = value;
    else if (key == "date") record.date = value;
    else if (key == "local") record.localPath = value;
    else if (!ParseDecimal(value, record.size)) return false;
    else haveSize = true;
  }
  if (first || record.server.empty() || record.remotePath.empty() || !haveSize) return false;
  out = record;
  return true;
}

std::string UploadRecordName(const std::string& server, const std::string& remotePath) {
  // FNV-1a over both, kept apart by a NUL that neither can hold.
  uint64_t hash = 14695981039346656037ull;
  const std::string key = server + '\0' + remotePath;
  for (unsigned char c : key) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
  return std::string("up") + hex + kRecordSuffix;
}

uint64_t ResumeOffset(uint64_t partialSize, uint64_t wholeSize) {
  return partialSize > 0 && partialSize < wholeSize ? partialSize : 0;
}

bool ParseSizeReply(const std::string& reply, uint64_t& size) {
  if (reply.compare(0, 4, "213 ") != 0) return false;
  const size_t end = reply.find_first_of("\r\n", 4);
  return ParseDecimal(reply.substr(4, end == std::string::npos ? std::string::npos : end - 4), size);
}
