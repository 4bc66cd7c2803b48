// Lines of the DOS-style listings that Windows servers give ("12-07-26  05:29PM  <DIR>  name").
#pragma once
#include <string>

struct ListedEntry;

// True when the line starts the DOS way: a date of three numbers joined by '-' (or '/')
// and a time. Unix lines start with their permission letters and never match.
bool IsDosListingLine(const std::string& line);

// Parses one DOS-style line: date MM-DD-YY or MM-DD-YYYY (or YYYY-MM-DD), time HH:MM in
// 24-hour form or with AM/PM, then "<DIR>" or the size (thousands maybe grouped by commas),
// then the name, spaces and all: after a size, every blank but the first is the name's.
// False when the line does not hold a sound entry; the caller's name rules still apply.
bool ParseDosListingLine(const std::string& line, ListedEntry& out);
