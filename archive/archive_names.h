// Names around archives: the file an extracted member becomes, the folder a test extract
// makes, the archive kind of a file name, the folder part of a chosen path, and the files
// of a multiple choice in the Open dialog. Shift-JIS aware.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

// The name a member gets when it is extracted without its folder part, as the LHA library
// cuts it ('/', '\' or 0xFF separate folders); empty when that name could not be a file of
// the target folder (empty, "." or "..", a drive or stream colon), so that nothing outside
// the folder is ever named.
std::string ExtractedCopyName(const std::string& member);

// Where a member goes when it is sent to the server: its folder parts and name joined by
// '/' ('/', '\' or 0xFF separate them as stored; one at the end marks a folder member),
// relative to the remote folder it is sent into; empty when a part could not be a name
// there (empty, "." or "..", a colon), so that nothing outside that folder is ever named.
std::string MemberUploadPath(const std::string& member);

// Names for a message, each after a line break; after the twentieth only "..." follows.
std::string NameListText(const std::vector<std::string>& names);

// The file name of an archive path without its folder and extension (tools for
// C:\a\tools.lzh).
std::string TestExtractFolderName(const std::string& archivePath);

// True when the name ends in the extension (".lzh"), letter case not counting.
bool HasExtensionNoCase(const std::string& name, const std::string& extension);

// The part of a chosen folder path after its last '\' or ':' (site for C:\web\site).
std::string LastPathPart(const std::string& path);

// The files of the Open dialog's answer with multiple selection: one full path, or the
// folder followed by the names, each ended by a zero, the whole ended by a second zero.
std::vector<std::string> ChosenFiles(const char* answer, size_t size);
