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

std::string LoggedCommandText(const std::string& command) {
  if (command.compare(0, 4, "PASS") == 0) return "PASS ********\r\n";
  return command;
}
