// Wildcards as the LHA commands take them: '*' any run of characters, '?' one character
// (a whole Shift-JIS character), letters compared without regard to ASCII case, '\\' and '/'
// the same. "*.*" at the end also matches names without a dot, as on MS-DOS.
#pragma once
#include <string>

bool MatchWildcard(const std::string& pattern, const std::string& name);
bool HasWildcard(const std::string& text);

// NAME with its ASCII letters turned to upper case; Shift-JIS characters are left alone.
std::string UpperCaseName(const std::string& name);

// True when A and B name the same member: ASCII case and the kind of separator ignored.
bool SameMemberName(const std::string& a, const std::string& b);
