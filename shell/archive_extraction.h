// The extraction behind a drag of archive members: the LHA command line, the response file
// that lists the members, and the placeholders in the work folder that the extracted files
// replace.
#pragma once
#include <string>
#include <vector>

constexpr size_t kMaxDraggedMembers = 256;
// Room of the command text; what does not fit goes into the response file.
constexpr size_t kArchiveCommandRoom = 255;

struct ArchiveMember {
  std::string name;  // as the archive stores it, folder part included
  bool folder = false;
};

struct ArchiveExtraction {
  std::string command;   // for the LHA library
  std::string response;  // the response file's text, lines ending in CR LF
  // Names in the work folder that the drag offers, in the order of the members.
  std::vector<std::string> placeholders;
  std::vector<bool> placeholderIsFolder;
};

// archivePath: the archive's full path; workFolder ends in a backslash. Members that cannot
// become a placeholder of their own (an unsafe name, a folder below another folder, a second
// member extracting to the same name) are left out, and at most 256 are carried. With the
// paths too long for the command text, the archive and the work folder go into the response
// file; false when even its own path does not fit.
bool BuildArchiveExtraction(const std::string& archivePath, const std::string& workFolder,
                            const std::string& responsePath, const std::vector<ArchiveMember>& members,
                            ArchiveExtraction& out);

// The name a member is extracted to in the work folder (the part after its last folder
// separator; a folder's trailing separators dropped first); empty when it could name no
// file of its own there.
std::string PlaceholderNameOfMember(const std::string& member, bool folder);
