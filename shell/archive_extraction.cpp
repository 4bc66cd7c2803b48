#include "shell/archive_extraction.h"

#include <algorithm>
#include <cstring>

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

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

std::string PlaceholderNameOfMember(const std::string& member, bool folder) {
  const std::string name = folder ? StripTrailingSeparators(member) : member;
  if (name.empty() || HoldsForbiddenChar(name)) return "";
  const size_t last = FindLastSingleByteChar(name, "/\\");
  // A folder below another one would be offered as an item two levels down.
  if (folder && last != std::string::npos) return "";
  std::string own = last == std::string::npos ? name : name.substr(last + 1);
  // Names of dots and blanks alone are no names of their own on Windows.
  if (own.empty() || own.find_first_not_of(". ") == std::string::npos) return "";
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
    if (member.folder)
      lines += "-x1 " + std::string(" \"") + StripTrailingSeparators(member.name) + "/*.*\"\r\n";
    else
      lines += "-x0 " + std::string(" \"") + member.name + "\"\r\n";
    out.placeholders.push_back(own);
    out.placeholderIsFolder.push_back(member.folder);
  }
  const std::string head = "x -c1 -m1";
  const std::string paths = " " + Quoted(archivePath) + " " + Quoted(workFolder);
  const std::string response = " " + Quoted("@" + responsePath);
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
