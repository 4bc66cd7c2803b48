#include "archive/archive_command_lines.h"

namespace {

// A quote ends the word early and a CR or LF ends a response-file line.
bool HoldsBreakingByte(const std::string& text) {
  for (unsigned char c : text)
    if (c == '"' || c < 0x20) return true;
  return false;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// Empty when a part cannot go into a command: the whole command is then not sent.
std::string Join(std::initializer_list<std::optional<std::string>> words, const std::string& start) {
  std::string line = start;
  for (const auto& word : words) {
    if (!word) return "";
    line += " " + *word;
  }
  return line;
}

std::optional<std::string> FolderWord(const std::string& folder) {
  if (!folder.empty() && folder.back() == '\\') return PathWord(folder);
  return PathWord(folder + "\\");
}

}  // namespace

std::optional<std::string> MemberWord(const std::string& member) {
  if (member.empty() || member[0] == '-' || member[0] == '@' || HoldsBreakingByte(member)) return std::nullopt;
  // Bytes below 0x40 are never the second byte of a two-byte character.
  if (member.find_first_of("*?") != std::string::npos) return std::nullopt;
  return Quoted(member);
}

std::optional<std::string> PathWord(const std::string& path) {
  if (path.empty() || HoldsBreakingByte(path)) return std::nullopt;
  if (path[0] == '-' || path[0] == '@') return Quoted(".\\" + path);
  return Quoted(path);
}

std::string ExtractMemberCommand(const std::string& archive, const std::string& folder, const std::string& member) {
  return Join({PathWord(archive), FolderWord(folder), MemberWord(member)}, "e");
}

std::string RenameMemberCommand(const std::string& newName, const std::string& archive, const std::string& oldName) {
  if (!MemberWord(newName)) return "";
  return Join({Quoted("-gr" + newName), PathWord(archive), MemberWord(oldName)}, "n");
}

std::string AskRenameMemberCommand(const std::string& archive, const std::string& member) {
  return Join({PathWord(archive), MemberWord(member)}, "n");
}

std::string AddFileCommand(const std::string& archive, const std::string& folder, const std::string& name) {
  return Join({PathWord(archive), FolderWord(folder), MemberWord(name)}, "a");
}

std::string TestExtractCommand(const std::string& word, const std::string& archive, const std::string& folder) {
  return Join({PathWord(archive), FolderWord(folder)}, word);
}

std::string CompressFileCommand(const std::string& switches, const std::string& archive, const std::string& file) {
  return Join({PathWord(archive), PathWord(file)}, "a -jm2 " + switches);
}

std::string CompressFolderCommand(const std::string& switches, const std::string& archive, const std::string& folder) {
  const std::string pattern = folder.empty() || folder.back() == '\\' ? folder + "*.*" : folder + "\\*.*";
  return Join({PathWord(archive), PathWord(pattern)}, "a -jm2 " + switches);
}

std::string CompressSwitches(bool folder, int lzhCap, int lzhSys) {
  std::string switches = folder ? "-r2 -x1 " : "";
  if (lzhCap == 1) switches += "-i1";
  if (lzhSys == 1) switches += " -a1";
  return switches;
}

std::vector<std::string> DeleteMembersCommands(const std::string& archive, const std::vector<std::string>& members,
                                               std::vector<std::string>* refused) {
  std::vector<std::string> commands;
  const std::optional<std::string> archiveWord = PathWord(archive);
  const std::string start = archiveWord ? "d " + *archiveWord : "";
  std::string line;
  for (const std::string& member : members) {
    const std::optional<std::string> word = MemberWord(member);
    if (!word || !archiveWord) {
      if (refused) refused->push_back(member);
      continue;
    }
    if (!line.empty() && line.size() + 1 + word->size() > kDeleteCommandLimit) {
      commands.push_back(line);
      line.clear();
    }
    if (line.empty()) line = start;
    line += " " + *word;
  }
  if (!line.empty()) commands.push_back(line);
  return commands;
}
