#include "shell/archive_extraction.h"

#include <algorithm>
#include <cstring>

#include "archive/archive_command_lines.h"
#include "plugins/archive_common/member_path.h"
#include "text/sjis.h"

namespace {

// Windows names take none of these; a quote would also end the quoted word early.
bool HoldsForbiddenChar(const std::string& name) {
  for (char c : std::string("\"<>|:*?"))
    if (FindSingleByteChar(name, c) != std::string::npos) return true;
  return false;
}

std::string StripTrailingSeparators(std::string name) {
  for (;;) {
    const size_t last = FindLastSingleByteChar(name, "/\\");
    if (last == std::string::npos || last + 1 != name.size()) return name;
    name.erase(last);
  }
}

bool SameNameNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

}  // namespace

std::string PlaceholderNameOfMember(const std::string& member, bool folder) {
  // The library's own check: a name that reaches outside the folder, also when its 0x5C
  // bytes are read one by one, has no place there.
  const MemberPath path = CheckMemberPath(member);
  if (!path.ok || (folder && path.parts.size() != 1)) return "";  // a folder below another one
  const std::string& own = path.parts.back();
  if (HoldsForbiddenChar(own) || own.find_first_not_of(". ") == std::string::npos) return "";
  return own;
}

bool BuildArchiveExtraction(const std::string& archivePath, const std::string& workFolder,
                            const std::string& responsePath, const std::vector<ArchiveMember>& members,
                            ArchiveExtraction& out) {
  out = ArchiveExtraction();
  std::string lines;
  for (const ArchiveMember& member : members) {
    if (out.placeholders.size() >= kMaxDraggedMembers) break;
    const std::string own = PlaceholderNameOfMember(member.name, member.folder);
    if (own.empty()) continue;
    if (std::any_of(out.placeholders.begin(), out.placeholders.end(),
                    [&](const std::string& taken) { return SameNameNoCase(taken, own); }))
      continue;
    // Each line is read as words like a command: a name the library would take for a
    // switch, a response file or a wildcard, or that would break the line, is left out.
    const std::string name = member.folder ? StripTrailingSeparators(member.name) : member.name;
    const std::optional<std::string> word = MemberWord(name);
    if (!word) continue;
    if (member.folder)
      lines += "-x1  " + word->substr(0, word->size() - 1) + "/*.*\"\r\n";
    else
      lines += "-x0  " + *word + "\r\n";
    out.placeholders.push_back(own);
    out.placeholderIsFolder.push_back(member.folder);
  }
  const std::string head = "x -c1 -m1";
  const std::optional<std::string> archiveWord = PathWord(archivePath), workWord = PathWord(workFolder),
                                   responseWord = PathWord(responsePath);
  if (!archiveWord || !workWord || !responseWord) {
    out = ArchiveExtraction();
    return false;
  }
  const std::string paths = " " + *archiveWord + " " + *workWord;
  const std::string response = " \"@" + responseWord->substr(1);
  if (head.size() + paths.size() + response.size() <= kArchiveCommandRoom) {
    out.command = head + paths + response;
    out.response = lines;
    return true;
  }
  if (head.size() + response.size() > kArchiveCommandRoom) {
    out = ArchiveExtraction();
    return false;
  }
  // The archive and the destination are the first words the response file gives.
  out.command = head + response;
  out.response = paths.substr(1) + "\r\n" + lines;
  return true;
}
