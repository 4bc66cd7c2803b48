// Reply-line rules of the control connection, free of any socket.
#pragma once
#include <string>

// True when the reply (its first character is the first digit of the code) means success:
// a code below 4xx. An empty reply, what a closed connection leaves, is not a success.
int ReplyIsPositive(const std::string& reply);

// Removes everything before the first decimal digit (a line without digits becomes empty).
void StripBeforeFirstDigit(std::string& line);

// True when the line is a non-final line of a multi-line reply: its fourth character is '-'.
bool IsContinuationLine(const std::string& line);

// True for the reply a server sends as it closes the control connection (421).
bool ReplyClosesConnection(const std::string& reply);

// A reply of more lines than this is not a reply but a server gone wrong.
constexpr int kMaxReplyLines = 1000;

// Where a reply ends, line by line (RFC 959): a first line "xyz-" opens a multi-line
// reply that ends only at a line starting with "xyz " (after any Telnet or control bytes);
// free text and indented lines in between do not end it. Any other first line is the
// whole reply.
class ReplyEnd {
 public:
  // raw: the line as received; stripped: the same after StripBeforeFirstDigit.
  bool IsLastLine(const std::string& raw, const std::string& stripped);

 private:
  bool first_ = true;
  std::string closing_;  // "xyz " once a multi-line reply has opened
};

// The text the protocol log gets for a command line: a command starting with "PASS"
// (case-sensitively) is masked as "PASS ********\r\n".
std::string LoggedCommandText(const std::string& command);
