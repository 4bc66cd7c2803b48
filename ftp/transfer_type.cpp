#include "ftp/transfer_type.h"

#include <cctype>

#include "ftp/reply_line.h"

namespace {

std::string UpperWord(const std::string& text, size_t& at) {
  while (at < text.size() && text[at] == ' ') ++at;
  std::string word;
  for (; at < text.size() && text[at] != ' ' && text[at] != '\r' && text[at] != '\n'; ++at)
    word += static_cast<char>(std::toupper(static_cast<unsigned char>(text[at])));
  return word;
}

}  // namespace

std::string TransferTypeMemory::CommandFor(int mode) const {
  const char wanted = mode == 1 ? 'A' : 'I';
  if (known_ == wanted) return std::string();
  return wanted == 'A' ? "TYPE A\r\n" : "TYPE I\r\n";
}

void TransferTypeMemory::NoteExchange(const std::string& commandLine, const std::string& reply) {
  size_t at = 0;
  const std::string verb = UpperWord(commandLine, at);
  if (reply.empty()) {
    known_ = 0;  // the connection broke: whatever comes next starts afresh
    return;
  }
  if (verb == "TYPE") {
    const std::string type = UpperWord(commandLine, at);
    const std::string more = UpperWord(commandLine, at);
    const bool plain = (type == "A" || type == "I") && more.empty();
    known_ = plain && ReplyIsPositive(reply) ? type[0] : 0;
    return;
  }
  if (verb == "REIN" || verb == "USER" || verb == "ACCT") known_ = 0;
}
