// Any bytes as replies on the control connection, line by line: the reply-line rules and
// the PWD, EPSV and PASV readers never crash and keep within their inputs and capacities.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ftp/passive_reply.h"
#include "ftp/pwd_reply.h"
#include "ftp/reply_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  ReplyEnd end;
  for (size_t from = 0; from <= text.size();) {
    size_t to = text.find('\n', from);
    if (to == std::string::npos) to = text.size();
    const std::string line = text.substr(from, to - from);
    from = to + 1;
    std::string stripped = line;
    StripBeforeFirstDigit(stripped);
    // What is left is the line's tail from its first digit.
    if (stripped.size() > line.size() || line.compare(line.size() - stripped.size(), stripped.size(), stripped) != 0)
      std::abort();
    if (!stripped.empty() && (stripped[0] < '0' || stripped[0] > '9')) std::abort();
    end.IsLastLine(line, stripped);
    IsContinuationLine(stripped);
    if (ReplyIsPositive(stripped) && ReplyClosesConnection(stripped)) std::abort();
    std::string path = "unchanged";
    if (ExtractPwdPath(stripped, 64, path) && path.size() > 63) std::abort();
    uint16_t port = 0;
    HostAddress named;
    named.family = 9;
    if (ParseEpsvReply(stripped, port, &named) && (port == 0 || (named.family != 0 && AddressText(named).empty())))
      std::abort();
    // The address text read back gives the same address.
    HostAddress again;
    if (named.family == 4 || named.family == 6) {
      if (!ParseAddressText(AddressText(named), again) || !SameHost(again, named)) std::abort();
    }
    unsigned char address[4];
    if (ParsePasvReply(stripped, address, port) && port == 0) std::abort();
    const std::string logged = LoggedCommandText(line);
    if (line.compare(0, 4, "PASS") == 0 && logged != "PASS ********\r\n") std::abort();
  }
  return 0;
}
