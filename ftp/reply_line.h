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

// The text the protocol log gets for a command line: a command starting with "PASS"
// (case-sensitively) is masked as "PASS ********\r\n".
std::string LoggedCommandText(const std::string& command);
