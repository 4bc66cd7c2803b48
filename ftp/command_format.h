// Command lines of the control connection. Every argument is sent unquoted, so a name
// holding CR or LF would end the command early and have the server read the rest as a
// second command of the name's choosing; such names are refused and nothing is built.
#pragma once
#include <string>
#include <string_view>

// True when the text holds a CR, an LF or a NUL (a NUL would end the line for some servers
// and for the protocol log).
bool HasLineBreak(std::string_view text);

// out = verb + "\r\n" (for "PWD", "QUIT", "LIST", "ABOR"...). Always 1.
int FormatCommandLine(std::string& out, std::string_view verb);

// out = verb + " " + argument + "\r\n". 0, and out left empty, when the argument holds a
// line break. An empty argument gives "VERB \r\n", which is what the caller asked for.
int FormatCommandLine(std::string& out, std::string_view verb, std::string_view argument);
