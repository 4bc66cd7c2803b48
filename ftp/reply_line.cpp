#include "ftp/reply_line.h"

int ReplyIsPositive(const std::string& reply) {
  // Codes 1xx-3xx succeed. An empty line is what a closed connection leaves behind:
  // counting it as success would report a lost connection as a finished command.
  if (reply.empty()) return 0;
  return reply[0] >= '0' && reply[0] < '4' ? 1 : 0;
}

void StripBeforeFirstDigit(std::string& line) {
  size_t i = 0;
  while (i < line.size() && !(line[i] >= '0' && line[i] <= '9')) ++i;
  line.erase(0, i);
}

bool IsContinuationLine(const std::string& line) { return line.size() > 3 && line[3] == '-'; }

bool ReplyClosesConnection(const std::string& reply) { return reply.compare(0, 3, "421") == 0; }

bool ReplyEnd::IsLastLine(const std::string& raw, const std::string& stripped) {
  if (first_) {
    first_ = false;
    if (!IsContinuationLine(stripped)) return true;
    closing_ = stripped.substr(0, 3) + " ";
    return false;
  }
  // Telnet commands (0xFF...) or a stray control byte may come before the code; a
  // blank or any other text there means a line of the reply's body.
  size_t i = 0;
  while (i < raw.size() && (static_cast<unsigned char>(raw[i]) >= 0x80 || static_cast<unsigned char>(raw[i]) < 0x20))
    ++i;
  return raw.compare(i, closing_.size(), closing_) == 0;
}

std::string LoggedCommandText(const std::string& command) {
  if (command.compare(0, 4, "PASS") == 0) return "PASS ********\r\n";
  return command;
}
