#include "plugins/unlha32/lha_commands.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "plugins/archive_common/command_line.h"
#include "plugins/archive_common/member_path.h"
#include "plugins/unlha32/crc16.h"
#include "plugins/unlha32/lh_decoder.h"
#include "plugins/unlha32/lh_encoder.h"
#include "plugins/unlha32/lha_archive.h"
#include "plugins/unlha32/wildcard.h"
#include "text/sjis.h"

namespace {

const int kDeepestFolder = 64;  // guards against folder loops made with links

struct Switches {
  int recurse = 0;
  int keep_paths = -1;  // -1: the command's own default
  bool upper_case = false;
  bool include_hidden = false;
  int method = 2;
  bool has_new_name = false;
  std::string new_name;
};

struct Pattern {
  std::string text;
  Switches switches;  // as they stood when the pattern was read
};

struct Command {
  char word = 0;
  std::string archive;
  std::string base;
  std::vector<Pattern> patterns;
  Switches last;  // the switches after the whole line
};

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

bool ParseSwitch(const std::string& word, Switches& sw, std::string& error) {
  std::string body = word.substr(1);
  if (body.size() >= 2 && Lower(body[0]) == 'g' && Lower(body[1]) == 'r') {
    sw.has_new_name = true;
    sw.new_name = body.substr(2);
    return true;
  }
  std::string value;
  char letter = Lower(body[0]);
  if (body.size() >= 2 && letter == 'j' && Lower(body[1]) == 'm') {
    letter = 'M';  // -jm: the method level
    value = body.substr(2);
  } else {
    value = body.substr(1);
  }
  int number = 1;
  if (value == "-") {
    number = 0;
  } else if (!value.empty() && value != "+") {
    if (value.size() > 3) {
      error = "bad switch " + word;
      return false;
    }
    number = 0;
    for (char c : value) {
      if (c < '0' || c > '9') {
        error = "bad switch " + word;
        return false;
      }
      number = number * 10 + (c - '0');
    }
  }
  switch (letter) {
    case 'r': sw.recurse = number; return true;
    case 'x': sw.keep_paths = number != 0; return true;
    case 'i': sw.upper_case = number != 0; return true;
    case 'a': sw.include_hidden = number != 0; return true;
    case 'M': sw.method = number; return true;
    case 'c':  // extraction always replaces existing files
    case 'm':  // the library never asks questions
      return true;
    default:
      error = "unknown switch " + word;
      return false;
  }
}

bool ParseCommand(LhaPlatform& platform, std::vector<std::string> words, Command& cmd,
                  std::string& error) {
  if (words.empty()) {
    error = "no command";
    return false;
  }
  if (words[0].size() != 1) {
    error = "unknown command " + words[0];
    return false;
  }
  cmd.word = Lower(words[0][0]);
  words.erase(words.begin());
  ReadWholeFile read = [&platform](const std::string& path, std::string& text) {
    return platform.ReadWholeFile(path, text);
  };
  if (!ExpandResponseFiles(words, read, error)) return false;
  Switches sw;
  for (const std::string& w : words) {
    if (w.size() > 1 && w[0] == '-') {
      if (!ParseSwitch(w, sw, error)) return false;
    } else if (cmd.archive.empty()) {
      cmd.archive = w;
    } else if (cmd.base.empty() && cmd.patterns.empty() && EndsWithSeparator(w)) {
      cmd.base = w;
    } else if (!w.empty()) {
      cmd.patterns.push_back({w, sw});
    }
  }
  cmd.last = sw;
  if (cmd.archive.empty()) {
    error = "no archive named";
    return false;
  }
  return true;
}

// True when NAME lies below the member folder FOLDER.
bool IsBelow(const std::string& folder, const std::string& name) {
  // '/' is never the second byte of a Shift-JIS character.
  return name.size() > folder.size() + 1 && name[folder.size()] == '/' &&
         SameMemberName(name.substr(0, folder.size()), folder);
}

// Matches a member name against a pattern; with FOLDERS, a pattern without wildcards that
// names a folder also takes everything below it.
bool MemberMatches(const std::string& pattern, const std::string& name, bool folders) {
  std::string p = NormaliseStoredName(pattern);
  if (MatchWildcard(p, name)) return true;
  if (!folders || HasWildcard(p) || p.empty()) return false;
  return IsBelow(p, name);
}

// True when NAME is the member PATTERN names, letter case counting; with FOLDERS also a
// member below it.
bool MemberIsExactly(const std::string& pattern, const std::string& name, bool folders) {
  std::string p = NormaliseStoredName(pattern);
  if (name == p) return true;
  return folders && !p.empty() && name.size() > p.size() + 1 && name[p.size()] == '/' &&
         name.compare(0, p.size(), p) == 0;
}

// Which patterns take only the members they name exactly: letter case tells apart members
// such as readme.txt and README.TXT, so a name without wildcards that one of them bears
// exactly takes that one alone; otherwise case is ignored, as on MS-DOS.
std::vector<bool> ExactPatterns(const Command& cmd, const std::vector<LhaEntry>& entries,
                                bool folders) {
  std::vector<bool> exact(cmd.patterns.size(), false);
  for (size_t i = 0; i < cmd.patterns.size(); ++i) {
    if (HasWildcard(cmd.patterns[i].text)) continue;
    for (const LhaEntry& e : entries)
      if (MemberIsExactly(cmd.patterns[i].text, e.name, folders)) exact[i] = true;
  }
  return exact;
}

bool PatternTakes(const Pattern& pattern, bool exact, const std::string& name, bool folders) {
  return exact ? MemberIsExactly(pattern.text, name, folders)
               : MemberMatches(pattern.text, name, folders);
}

int64_t EntryUnixTime(LhaPlatform& platform, const LhaEntry& e) {
  return e.has_unix_time ? e.unix_time : platform.LocalDosToUnix(e.dos_time);
}

uint32_t EntryDosTime(LhaPlatform& platform, const LhaEntry& e) {
  return e.has_unix_time ? platform.UnixToLocalDos(e.unix_time) : e.dos_time;
}

// Reads the whole table of contents; a broken archive is refused before anything is written.
std::unique_ptr<ByteSource> OpenArchive(LhaPlatform& platform, const std::string& path,
                                        std::vector<LhaEntry>& entries, OutputText& out) {
  std::unique_ptr<ByteSource> source = platform.OpenRead(path);
  if (!source) {
    out.Line(path + ": cannot open the archive");
    return nullptr;
  }
  std::string error;
  if (!ReadLhaDirectory(*source, entries, error)) {
    out.Line(path + ": " + error);
    return nullptr;
  }
  return source;
}

bool CopyRange(ByteSource& source, uint64_t offset, uint64_t size, OutputFile& file) {
  std::vector<uint8_t> chunk;
  while (size > 0) {
    size_t n = static_cast<size_t>(std::min<uint64_t>(size, 65536));
    chunk.resize(n);
    if (!source.ReadAt(offset, chunk.data(), n) || !file.Write(chunk.data(), n)) return false;
    offset += n;
    size -= n;
  }
  return true;
}

bool WriteBytes(OutputFile& file, const std::vector<uint8_t>& bytes) {
  return bytes.empty() || file.Write(bytes.data(), bytes.size());
}

// ---- extraction ----

bool ExtractOne(LhaPlatform& platform, ByteSource& source, const LhaEntry& entry,
                const std::string& base, bool keep_paths, OutputText& out) {
  MemberPath path = CheckMemberPath(entry.name);
  if (!path.ok) {
    out.Line(entry.name + ": refused, " + path.problem);
    return false;
  }
  const char sep = platform.Separator();
  if (entry.IsFolder()) {
    if (!keep_paths) return true;
    std::string folder = JoinMemberPath(base, path, sep);
    if (!platform.MakeFolders(folder)) {
      out.Line(entry.name + ": cannot create the folder");
      return false;
    }
    return true;
  }
  if (!CanDecodeMethod(entry.method)) {
    out.Line(entry.name + ": unsupported method " + entry.method);
    return false;
  }
  MemberPath leaf = path;
  if (!keep_paths) leaf.parts.erase(leaf.parts.begin(), leaf.parts.end() - 1);
  MemberPath parent = leaf;
  parent.parts.pop_back();
  std::string folder = parent.parts.empty() ? base : JoinMemberPath(base, parent, sep);
  if (!folder.empty() && !platform.MakeFolders(folder)) {
    out.Line(entry.name + ": cannot create the folder " + folder);
    return false;
  }
  std::string target = JoinMemberPath(base, leaf, sep);
  std::unique_ptr<OutputFile> file = platform.Create(target);
  if (!file) {
    out.Line(entry.name + ": cannot create " + target);
    return false;
  }
  uint16_t crc = 0;
  std::string error = DecodeMember(
      entry.method, source, entry.data_offset, entry.packed_size, entry.original_size,
      [&file](const uint8_t* data, size_t size) { return file->Write(data, size); }, crc);
  if (!error.empty()) {
    out.Line(entry.name + ": " + error);
    return false;
  }
  if (crc != entry.crc) {
    out.Line(entry.name + ": CRC error");
    return false;
  }
  if (!file->Commit()) {
    out.Line(entry.name + ": cannot write " + target);
    return false;
  }
  platform.SetFileTime(target, EntryUnixTime(platform, entry));
  uint32_t attributes = entry.attributes & (kAttrReadOnly | kAttrHidden | kAttrSystem);
  if (attributes != 0) platform.SetAttributes(target, attributes | kAttrArchive);
  out.Line(entry.name + " - extracted");
  return true;
}

int Extract(LhaPlatform& platform, const Command& cmd, bool default_keep, OutputText& out) {
  std::vector<LhaEntry> entries;
  std::unique_ptr<ByteSource> source = platform.OpenRead(cmd.archive);
  if (!source) {
    out.Line(cmd.archive + ": cannot open the archive");
    return kLhaFailed;
  }
  std::string error;
  bool whole = ReadLhaDirectory(*source, entries, error);
  if (!whole && entries.empty()) {
    out.Line(cmd.archive + ": " + error);
    return kLhaFailed;
  }
  if (!cmd.base.empty() && !platform.MakeFolders(cmd.base)) {
    out.Line(cmd.base + ": cannot create the folder");
    return kLhaFailed;
  }
  int failures = 0;
  std::vector<bool> used(cmd.patterns.size(), false);
  const std::vector<bool> exact = ExactPatterns(cmd, entries, true);
  for (const LhaEntry& entry : entries) {
    const Switches* sw = &cmd.last;
    if (!cmd.patterns.empty()) {
      sw = nullptr;
      for (size_t i = 0; i < cmd.patterns.size() && !sw; ++i)
        if (PatternTakes(cmd.patterns[i], exact[i], entry.name, true)) {
          sw = &cmd.patterns[i].switches;
          used[i] = true;
        }
      if (!sw) continue;
    }
    bool keep = sw->keep_paths < 0 ? default_keep : sw->keep_paths != 0;
    if (!ExtractOne(platform, *source, entry, cmd.base, keep, out)) ++failures;
  }
  for (size_t i = 0; i < used.size(); ++i)
    if (!used[i]) {
      out.Line(cmd.patterns[i].text + ": no such member");
      ++failures;
    }
  if (!whole) {
    out.Line(cmd.archive + ": " + error);
    ++failures;
  }
  return failures ? kLhaPartly : kLhaOk;
}

// ---- listing and testing ----

int List(LhaPlatform& platform, const Command& cmd, OutputText& out) {
  std::vector<LhaEntry> entries;
  std::unique_ptr<ByteSource> source = platform.OpenRead(cmd.archive);
  if (!source) {
    out.Line(cmd.archive + ": cannot open the archive");
    return kLhaFailed;
  }
  std::string error;
  bool whole = ReadLhaDirectory(*source, entries, error);
  for (const LhaEntry& e : entries) {
    char numbers[80];
    std::snprintf(numbers, sizeof numbers, "%10llu %10llu %04X ",
                  static_cast<unsigned long long>(e.original_size),
                  static_cast<unsigned long long>(e.packed_size), e.crc);
    out.Line(numbers + e.method + " " + FormatDosTime(EntryDosTime(platform, e)) + " " +
             e.name + (e.IsFolder() ? "/" : ""));
  }
  if (!whole) {
    out.Line(cmd.archive + ": " + error);
    return entries.empty() ? kLhaFailed : kLhaPartly;
  }
  return kLhaOk;
}

int Test(LhaPlatform& platform, const Command& cmd, OutputText& out) {
  std::vector<LhaEntry> entries;
  std::unique_ptr<ByteSource> source = platform.OpenRead(cmd.archive);
  if (!source) {
    out.Line(cmd.archive + ": cannot open the archive");
    return kLhaFailed;
  }
  std::string error;
  bool whole = ReadLhaDirectory(*source, entries, error);
  int failures = 0;
  for (const LhaEntry& e : entries) {
    uint16_t crc = 0;
    std::string problem = DecodeMember(e.method, *source, e.data_offset, e.packed_size,
                                       e.original_size, [](const uint8_t*, size_t) { return true; }, crc);
    if (problem.empty() && crc != e.crc) problem = "CRC error";
    if (!problem.empty()) {
      out.Line(e.name + ": " + problem);
      ++failures;
    } else {
      out.Line(e.name + " - OK");
    }
  }
  if (!whole) {
    out.Line(cmd.archive + ": " + error);
    return entries.empty() ? kLhaFailed : kLhaPartly;
  }
  return failures ? kLhaPartly : kLhaOk;
}

// ---- adding ----

struct AddItem {
  std::string path;    // where the file is
  std::string member;  // the name it gets in the archive
  FileFacts facts;
};

class Collector {
 public:
  Collector(LhaPlatform& platform, const Command& cmd, OutputText& out)
      : platform_(platform), cmd_(cmd), out_(out) {
    archive_full_ = platform.FullPath(cmd.archive);
  }

  void Pattern(const ::Pattern& p) {
    sw_ = p.switches;
    const char sep = platform_.Separator();
    bool absolute = IsAbsolute(p.text);
    std::string fs = absolute || cmd_.base.empty() ? p.text
                                                    : JoinPlain(cmd_.base, p.text, sep);
    size_t cut = LastSeparator(p.text);
    std::string dir_text = cut == std::string::npos ? std::string() : p.text.substr(0, cut + 1);
    std::string leaf = cut == std::string::npos ? p.text : p.text.substr(cut + 1);
    if (HasWildcard(leaf)) {
      size_t fs_cut = LastSeparator(fs);
      std::string folder = fs_cut == std::string::npos ? std::string() : fs.substr(0, fs_cut + 1);
      std::vector<FolderItem> items;
      if (!platform_.ListFolder(folder.empty() ? std::string(".") : folder, items)) {
        out_.Line(p.text + ": cannot read the folder");
        ++failures;
        return;
      }
      int matched = 0;
      for (const FolderItem& item : items) {
        if (!MatchWildcard(leaf, item.name)) continue;
        ++matched;
        Take(folder + item.name, dir_text + item.name, item.facts, 0);
      }
      if (matched == 0) {
        out_.Line(p.text + ": no matching file");
        ++failures;
      }
      return;
    }
    FileFacts facts = platform_.Facts(fs);
    if (!facts.exists) {
      out_.Line(p.text + ": not found");
      ++failures;
      return;
    }
    if (facts.is_folder && sw_.recurse == 0) {
      out_.Line(p.text + ": is a folder (add it with -r)");
      ++failures;
      return;
    }
    Take(StripSeparator(fs), StripSeparator(p.text), facts, 0);
  }

  std::vector<AddItem> items_;
  int failures = 0;

 private:
  static bool IsAbsolute(const std::string& t) {
    return (!t.empty() && (t[0] == '\\' || t[0] == '/')) || (t.size() >= 2 && t[1] == ':');
  }
  static size_t LastSeparator(const std::string& t) {
    return FindLastSingleByteChar(t, "\\/:");
  }
  static std::string JoinPlain(const std::string& folder, const std::string& name, char sep) {
    if (folder.empty()) return name;
    return EndsWithSeparator(folder) ? folder + name : folder + sep + name;
  }
  static std::string StripSeparator(std::string t) {
    while (t.size() > 1 && EndsWithSeparator(t)) t.pop_back();
    return t;
  }

  // The member name of a file given as TEXT: no drive, no leading separators, no "." or ".."
  // parts; only the last part without -x1.
  std::string MemberName(const std::string& text) const {
    std::string normal = NormaliseStoredName(text);
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= normal.size()) {
      size_t end = normal.find('/', start);
      if (end == std::string::npos) end = normal.size();
      std::string part = normal.substr(start, end - start);
      if (parts.empty() && part.size() == 2 && part[1] == ':') part.clear();
      if (!part.empty() && part != "." && part != "..") parts.push_back(part);
      start = end + 1;
    }
    std::string name;
    bool keep = sw_.keep_paths > 0;
    for (size_t i = keep ? 0 : (parts.empty() ? 0 : parts.size() - 1); i < parts.size(); ++i) {
      if (!name.empty()) name += '/';
      name += parts[i];
    }
    return sw_.upper_case ? UpperCaseName(name) : name;
  }

  void Take(const std::string& path, const std::string& text, const FileFacts& facts, int depth) {
    if (!sw_.include_hidden && (facts.attributes & (kAttrHidden | kAttrSystem))) return;
    if (platform_.FullPath(path) == archive_full_) return;
    if (facts.is_folder) {
      if (sw_.recurse == 0) return;
      if (depth >= kDeepestFolder) {
        out_.Line(text + ": folders nested too deep");
        ++failures;
        return;
      }
      if (sw_.recurse >= 2 && sw_.keep_paths > 0) Add(path, text, facts);
      std::vector<FolderItem> items;
      if (!platform_.ListFolder(path, items)) {
        out_.Line(text + ": cannot read the folder");
        ++failures;
        return;
      }
      const char sep = platform_.Separator();
      for (const FolderItem& item : items)
        Take(JoinPlain(path, item.name, sep), JoinPlain(text, item.name, '/'), item.facts,
             depth + 1);
      return;
    }
    Add(path, text, facts);
  }

  void Add(const std::string& path, const std::string& text, const FileFacts& facts) {
    std::string member = MemberName(text);
    MemberPath check = CheckMemberPath(member);
    if (!check.ok) {
      out_.Line(text + ": refused, " + check.problem);
      ++failures;
      return;
    }
    items_.push_back({path, member, facts});
  }

  LhaPlatform& platform_;
  const Command& cmd_;
  OutputText& out_;
  std::string archive_full_;
  Switches sw_;
};

std::string MemberKey(const std::string& name) { return UpperCaseName(NormaliseStoredName(name)); }

enum class Written { kDone, kSkipped, kWriteError };

// Packs one file or folder and writes its header and data. kSkipped when the file could not be
// read (nothing was written); kWriteError when the new archive is damaged.
Written WriteNewMember(LhaPlatform& platform, const AddItem& item, int method, OutputFile& file,
                    OutputText& out) {
  LhaEntry e;
  e.name = item.member;
  e.unix_time = item.facts.unix_time;
  e.has_unix_time = true;
  e.attributes = (item.facts.attributes & (kAttrReadOnly | kAttrHidden | kAttrSystem)) | kAttrArchive;
  if (item.facts.is_folder) {
    e.method = "-lhd-";
    e.attributes = kAttrFolder;
    if (!WriteBytes(file, BuildLevel2Header(e))) return Written::kWriteError;
    out.Line(item.member + "/ - added");
    return Written::kDone;
  }
  if (item.facts.size >= 0xFFFFFFFFull) {
    out.Line(item.path + ": too large for the archive");
    return Written::kSkipped;
  }
  std::unique_ptr<ByteSource> source = platform.OpenRead(item.path);
  std::vector<uint8_t> data(static_cast<size_t>(source ? source->Size() : 0));
  if (!source || source->Size() >= 0xFFFFFFFFull || !source->ReadAt(0, data.data(), data.size())) {
    out.Line(item.path + ": cannot read the file");
    return Written::kSkipped;
  }
  e.original_size = data.size();
  e.crc = UpdateCrc16(0, data.data(), data.size());
  std::vector<uint8_t> packed;
  e.method = "-lh0-";
  if (method != 0 && !data.empty()) {
    packed = EncodeLh(data.data(), data.size(), 13);
    if (packed.size() < data.size()) e.method = "-lh5-";
  }
  const std::vector<uint8_t>& body = e.method == "-lh5-" ? packed : data;
  e.packed_size = body.size();
  if (!WriteBytes(file, BuildLevel2Header(e)) || !WriteBytes(file, body)) return Written::kWriteError;
  out.Line(item.member + " - added");
  return Written::kDone;
}

int Add(LhaPlatform& platform, const Command& cmd, OutputText& out) {
  if (cmd.patterns.empty()) {
    out.Line("no files to add");
    return kLhaFailed;
  }
  FileFacts archive_facts = platform.Facts(cmd.archive);
  if (archive_facts.exists && archive_facts.is_folder) {
    out.Line(cmd.archive + ": is a folder");
    return kLhaFailed;
  }
  std::vector<LhaEntry> entries;
  std::unique_ptr<ByteSource> source;
  if (archive_facts.exists) {
    source = OpenArchive(platform, cmd.archive, entries, out);
    if (!source) return kLhaFailed;
  }
  Collector collector(platform, cmd, out);
  for (const Pattern& p : cmd.patterns) collector.Pattern(p);
  int failures = collector.failures;
  // The last of several files with one member name wins; replaced members keep their place.
  std::map<std::string, size_t> by_key;
  std::vector<AddItem> items;
  for (AddItem& item : collector.items_) {
    std::string key = MemberKey(item.member);
    auto found = by_key.find(key);
    if (found != by_key.end()) {
      items[found->second] = item;
    } else {
      by_key[key] = items.size();
      items.push_back(item);
    }
  }
  if (items.empty()) {
    out.Line("nothing to add");
    return kLhaFailed;
  }
  std::unique_ptr<OutputFile> file = platform.Create(cmd.archive);
  if (!file) {
    out.Line(cmd.archive + ": cannot create the archive");
    return kLhaFailed;
  }
  int method = cmd.patterns.back().switches.method;
  std::vector<bool> written(items.size(), false);
  const std::string write_error = cmd.archive + ": write error, archive not changed";
  for (const LhaEntry& e : entries) {
    auto found = by_key.find(MemberKey(e.name));
    Written result = Written::kSkipped;
    if (found != by_key.end()) {
      written[found->second] = true;
      result = WriteNewMember(platform, items[found->second], method, *file, out);
      if (result == Written::kSkipped) ++failures;  // the old member stays
    }
    if (result == Written::kSkipped &&
        !CopyRange(*source, e.header_offset, e.EndOffset() - e.header_offset, *file))
      result = Written::kWriteError;
    if (result == Written::kWriteError) {
      out.Line(write_error);
      return kLhaFailed;
    }
  }
  for (size_t i = 0; i < items.size(); ++i) {
    if (written[i]) continue;
    Written result = WriteNewMember(platform, items[i], method, *file, out);
    if (result == Written::kSkipped) ++failures;
    if (result == Written::kWriteError) {
      out.Line(write_error);
      return kLhaFailed;
    }
  }
  source.reset();  // the archive must be closed before it can be replaced
  if (!WriteBytes(*file, {0}) || !file->Commit()) {
    out.Line(write_error);
    return kLhaFailed;
  }
  return failures ? kLhaPartly : kLhaOk;
}

// ---- deleting and renaming ----

// Writes ENTRIES again, with a new level-2 header for those whose name RENAMED gives.
bool Rewrite(LhaPlatform& platform, const std::string& archive,
             std::unique_ptr<ByteSource>& source, const std::vector<LhaEntry>& entries,
             const std::vector<std::string>& renamed, OutputText& out) {
  std::unique_ptr<OutputFile> file = platform.Create(archive);
  if (!file) {
    out.Line(archive + ": cannot write the archive");
    return false;
  }
  for (size_t i = 0; i < entries.size(); ++i) {
    const LhaEntry& e = entries[i];
    bool ok;
    if (!renamed.empty() && !renamed[i].empty()) {
      LhaEntry changed = e;
      changed.name = renamed[i];
      changed.unix_time = EntryUnixTime(platform, e);
      ok = WriteBytes(*file, BuildLevel2Header(changed)) &&
           CopyRange(*source, e.data_offset, e.packed_size, *file);
    } else {
      ok = CopyRange(*source, e.header_offset, e.EndOffset() - e.header_offset, *file);
    }
    if (!ok) {
      out.Line(archive + ": write error, archive not changed");
      return false;
    }
  }
  source.reset();
  if (!WriteBytes(*file, {0}) || !file->Commit()) {
    out.Line(archive + ": write error, archive not changed");
    return false;
  }
  return true;
}

int Delete(LhaPlatform& platform, const Command& cmd, OutputText& out) {
  if (cmd.patterns.empty()) {
    out.Line("no member named");
    return kLhaFailed;
  }
  std::vector<LhaEntry> entries;
  std::unique_ptr<ByteSource> source = OpenArchive(platform, cmd.archive, entries, out);
  if (!source) return kLhaFailed;
  std::vector<LhaEntry> kept;
  std::vector<bool> used(cmd.patterns.size(), false);
  std::vector<std::string> gone;
  const std::vector<bool> exact = ExactPatterns(cmd, entries, false);
  for (const LhaEntry& e : entries) {
    bool drop = false;
    for (size_t i = 0; i < cmd.patterns.size(); ++i)
      if (PatternTakes(cmd.patterns[i], exact[i], e.name, false)) {
        used[i] = true;
        drop = true;
      }
    if (drop)
      gone.push_back(e.name);
    else
      kept.push_back(e);
  }
  int failures = 0;
  for (size_t i = 0; i < used.size(); ++i)
    if (!used[i]) {
      out.Line(cmd.patterns[i].text + ": no such member");
      ++failures;
    }
  if (gone.empty()) return kLhaFailed;
  if (!Rewrite(platform, cmd.archive, source, kept, {}, out)) return kLhaFailed;
  for (const std::string& name : gone) out.Line(name + " - deleted");
  return failures ? kLhaPartly : kLhaOk;
}

int Rename(LhaPlatform& platform, const Command& cmd, OutputText& out) {
  if (cmd.patterns.size() != 1) {
    out.Line("name one member to rename");
    return kLhaFailed;
  }
  const Switches& sw = cmd.patterns[0].switches.has_new_name ? cmd.patterns[0].switches : cmd.last;
  std::string old_name = NormaliseStoredName(cmd.patterns[0].text);
  std::vector<LhaEntry> entries;
  std::unique_ptr<ByteSource> source = OpenArchive(platform, cmd.archive, entries, out);
  if (!source) return kLhaFailed;
  size_t target = entries.size();
  for (size_t i = 0; i < entries.size() && target == entries.size(); ++i)
    if (entries[i].name == old_name) target = i;
  for (size_t i = 0; i < entries.size() && target == entries.size(); ++i)
    if (SameMemberName(entries[i].name, old_name)) target = i;
  if (target == entries.size()) {
    out.Line(old_name + ": no such member");
    return kLhaFailed;
  }
  std::string asked;
  if (!sw.has_new_name) {
    if (!platform.AskNewName(entries[target].name, asked)) {
      out.Line(old_name + ": no new name given");
      return kLhaFailed;
    }
  }
  std::string new_name = NormaliseStoredName(sw.has_new_name ? sw.new_name : asked);
  MemberPath check = CheckMemberPath(new_name);
  if (!check.ok) {
    out.Line(new_name + ": refused, " + check.problem);
    return kLhaFailed;
  }
  new_name = MemberPathText(check);
  old_name = entries[target].name;
  if (new_name == old_name) return kLhaOk;
  // A folder takes the members below it along.
  std::vector<std::string> renamed(entries.size());
  renamed[target] = new_name;
  if (entries[target].IsFolder()) {
    for (size_t i = 0; i < entries.size(); ++i)
      if (i != target && IsBelow(old_name, entries[i].name))
        renamed[i] = new_name + entries[i].name.substr(old_name.size());
  }
  for (size_t i = 0; i < entries.size(); ++i) {
    if (!renamed[i].empty()) {
      if (entries[i].original_size > 0xFFFFFFFFull || entries[i].packed_size > 0xFFFFFFFFull) {
        out.Line(entries[i].name + ": too large to rename");
        return kLhaFailed;
      }
      continue;
    }
    for (size_t j = 0; j < entries.size(); ++j)
      if (!renamed[j].empty() && SameMemberName(entries[i].name, renamed[j])) {
        out.Line(renamed[j] + ": already in the archive");
        return kLhaFailed;
      }
  }
  if (!Rewrite(platform, cmd.archive, source, entries, renamed, out)) return kLhaFailed;
  out.Line(old_name + " - renamed to " + new_name);
  return kLhaOk;
}

}  // namespace

int RunLhaWords(LhaPlatform& platform, std::vector<std::string> words, OutputText& out) {
  Command cmd;
  std::string error;
  if (!ParseCommand(platform, std::move(words), cmd, error)) {
    out.Line(error);
    return kLhaFailed;
  }
  switch (cmd.word) {
    case 'a': return Add(platform, cmd, out);
    case 'e': return Extract(platform, cmd, false, out);
    case 'x': return Extract(platform, cmd, true, out);
    case 'd': return Delete(platform, cmd, out);
    case 'n': return Rename(platform, cmd, out);
    case 'l': return List(platform, cmd, out);
    case 't': return Test(platform, cmd, out);
    default:
      out.Line(std::string("unknown command ") + cmd.word);
      return kLhaFailed;
  }
}

int RunLhaCommand(LhaPlatform& platform, const std::string& line, OutputText& out) {
  return RunLhaWords(platform, SplitCommandLine(line), out);
}
