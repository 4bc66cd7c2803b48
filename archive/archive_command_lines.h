// The command lines handed to the archive libraries. Every name and path goes in double
// quotes, so that blanks stay inside one word. The libraries read a word that starts with
// '-' as a switch, one that starts with '@' as a response file, and '*' and '?' in a member
// name as wildcards; no quoting helps there, so such a member name is never put into a
// command (the builder answers an empty text) and a relative path gets ".\" before it.
#pragma once
#include <optional>
#include <string>
#include <vector>

// The quoted word of a member name as stored in the archive; nothing when the library
// would read the name as something else (see above), or it holds a quote or a control byte.
std::optional<std::string> MemberWord(const std::string& member);
// The quoted word of a file-system path; nothing when the path holds a quote or a control byte.
std::optional<std::string> PathWord(const std::string& path);

// e "archive" "workFolder\" "member": the member, without its folder part, into the folder.
std::string ExtractMemberCommand(const std::string& archive, const std::string& folder, const std::string& member);
// n "-grNEW" "archive" "old": the member renamed.
std::string RenameMemberCommand(const std::string& newName, const std::string& archive, const std::string& oldName);
// n "archive" "member": the library asks for the new name in a dialog of its own.
std::string AskRenameMemberCommand(const std::string& archive, const std::string& member);
// a "archive" "folder\" "name": the file of the folder added under its name alone.
std::string AddFileCommand(const std::string& archive, const std::string& folder, const std::string& name);
// WORD "archive" "folder\": the whole archive, with its folders, into the folder.
std::string TestExtractCommand(const std::string& word, const std::string& archive, const std::string& folder);
// a -jm2 SWITCHES "archive" "file".
std::string CompressFileCommand(const std::string& switches, const std::string& archive, const std::string& file);
// a -jm2 SWITCHES "archive" "folder\*.*", the folder relative to the current folder.
std::string CompressFolderCommand(const std::string& switches, const std::string& archive, const std::string& folder);

// The switches of Compress Files ("-i1" with lzhCap, " -a1" appended with lzhSys) and of
// Compress Folder ("-r2 -x1 " first).
std::string CompressSwitches(bool folder, int lzhCap, int lzhSys);

// The longest delete command the library's callers keep to.
constexpr size_t kDeleteCommandLimit = 511;

// d "archive" "m1" "m2" ...: as many commands as needed so that each stays within the
// limit; a name too long to share one stands alone in its own command. Members that cannot
// go into a command (MemberWord) are left out and named in `refused`.
std::vector<std::string> DeleteMembersCommands(const std::string& archive, const std::vector<std::string>& members,
                                               std::vector<std::string>* refused = nullptr);
