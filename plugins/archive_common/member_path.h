// Member names read from archives, checked before anything is written under a destination.
#pragma once
#include <string>
#include <vector>

// A member name split into the folder parts and the file name, or the reason it was refused.
struct MemberPath {
  bool ok = false;
  std::vector<std::string> parts;  // never empty, ".", ".." or holding a separator
  bool is_folder = false;          // the stored name ended with a separator
  std::string problem;             // why the name was refused (English, for the output text)
};

// Splits an archive member name at '\\' and '/', where that byte is a character of its own in
// Shift-JIS (a 0x5C trail byte belongs to its character). Empty and "." parts are dropped.
// Refuses names that could reach outside the destination folder or name a device:
// a leading separator, a colon anywhere (drive letters, streams), a ".." part or any part made
// only of dots and blanks, a DOS device name (CON, NUL, COM1, ...), and a name that would hold
// such a part if its hidden 0x5C trail bytes were read as separators (as a non-Japanese code
// page would). Names of more than 1023 bytes are refused as well.
MemberPath CheckMemberPath(const std::string& name);

// The folder and the checked parts joined with SEPARATOR; one separator is put after FOLDER
// unless it is empty or already ends with '\\' or '/' (Shift-JIS aware).
std::string JoinMemberPath(const std::string& folder, const MemberPath& path, char separator);

// The parts joined with '/', the form member names are stored and compared in.
std::string MemberPathText(const MemberPath& path);

// True when the last byte of TEXT is a '\\' or '/' of its own (not a Shift-JIS trail byte).
bool EndsWithSeparator(const std::string& text);
