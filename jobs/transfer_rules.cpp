#include "jobs/transfer_rules.h"

#include <limits>
#include <vector>

#include "text/sjis.h"

std::string ExtensionKey(const std::string& name) {
  const size_t dot = FindLastSingleByteChar(name, ".");
  return dot == std::string::npos ? name : name.substr(dot + 1);
}

namespace {

// The entries of the lists in use, split once: a job asks the same few lists (binary,
// ASCII, the two permission lists) about every file. A list is split again only when its
// text changed. Per thread, since the window classifies rows while a job transfers.
struct SplitList {
  std::string text;
  std::vector<std::string> entries;
};
constexpr size_t kListsKept = 4;
thread_local SplitList KeptLists[kListsKept];
thread_local size_t NextToReplace = 0;

const std::vector<std::string>& EntriesOf(const std::string& list) {
  for (SplitList& kept : KeptLists)
    if (kept.text == list && (!list.empty() || !kept.entries.empty())) return kept.entries;
  SplitList& fresh = KeptLists[NextToReplace];
  NextToReplace = (NextToReplace + 1) % kListsKept;
  fresh.text = list;
  fresh.entries = SplitAtSingleByteChar(list, ';', true);
  return fresh.entries;
}

}  // namespace

bool MatchExtensionList(const std::string& list, const std::string& key, const TextCase& tc,
                        size_t keyLimit) {
  if (key.size() > keyLimit) return false;
  for (const std::string& entry : EntriesOf(list)) {
    if (EqualNoCase(tc, entry, key)) return true;
  }
  return false;
}

EntryClass ClassifyEntry(uint32_t attributes, const std::string& name,
                         const OptionsRecord& options, const TextCase& tc) {
  if (attributes & kFolderAttribute) {
    return EqualNoCase(tc, name, "..") ? ClassParentFolder : ClassFolder;
  }
  std::string key = ExtensionKey(name);
  if (MatchExtensionList(options.BinaryType, key, tc)) return ClassBinary;
  if (MatchExtensionList(options.AsciiType, key, tc)) return ClassAscii;
  return ClassOther;
}

static int ModeOfClass(EntryClass entryClass, int manualMode) {
  switch (entryClass) {
    case ClassAscii: return kModeAscii;
    case ClassBinary: return kModeBinary;
    default: return manualMode;
  }
}

int ChooseTransferMode(const std::string& name, int manualMode, const OptionsRecord& options,
                       const TextCase& tc) {
  if (options.Auto != 1) return manualMode;
  return ModeOfClass(ClassifyEntry(0, name, options, tc), manualMode);
}

EntryClass EntryClassCache::ClassOf(uint32_t attributes, const std::string& name) {
  // Folders and the parent are told by their attributes and name, not by extension.
  if (attributes & kFolderAttribute) return ClassifyEntry(attributes, name, options_, tc_);
  const std::string key = ExtensionKey(name);
  auto found = byExtension_.find(key);
  if (found != byExtension_.end()) return found->second;
  const EntryClass entryClass = ClassifyEntry(attributes, name, options_, tc_);
  byExtension_.emplace(key, entryClass);
  return entryClass;
}

int EntryClassCache::ModeOf(const std::string& name, int manualMode) {
  if (options_.Auto != 1) return manualMode;
  return ModeOfClass(ClassOf(0, name), manualMode);
}

std::string& ApplyNameCase(std::string& name, const OptionsRecord& options, const TextCase& tc) {
  if (options.CapitalMode == 0) tc.lower(name);
  else if (options.CapitalMode == 1) tc.upper(name);
  return name;
}

// Texts of one shape: the same length, digits where the other has digits, the same bytes
// everywhere else. Two of them first differ in a digit, so their byte order is the order
// any comparison that orders digits gives them, the system's included.
static bool SameShapeOfDigits(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const bool digitA = a[i] >= '0' && a[i] <= '9', digitB = b[i] >= '0' && b[i] <= '9';
    if (digitA != digitB || (!digitA && a[i] != b[i])) return false;
  }
  return true;
}

// Both Date texts of a file are mostly of one shape: compared as bytes, they spare the
// system's comparison, which converts both texts (a mirror compares every file it keeps).
bool IsNewerDateText(const std::string& candidate, const std::string& other, const TextCase& tc) {
  if (SameShapeOfDigits(candidate, other)) return candidate.compare(other) > 0;
  return tc.compare(candidate.c_str(), other.c_str()) > 0;
}

int64_t SizeTextValue(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const int64_t limit = std::numeric_limits<int64_t>::max();
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    int digit = text[i] - '0';
    value = value > (limit - digit) / 10 ? limit : value * 10 + digit;
  }
  return negative ? -value : value;
}

bool SizesDiffer(const std::string& localSize, const std::string& remoteSize) {
  return SizeTextValue(localSize) != SizeTextValue(remoteSize);
}

bool ShouldSendFile(int compareDate, const std::string& localDate, const std::string& localSize,
                    bool remoteFound, const std::string& remoteDate, const std::string& remoteSize,
                    const TextCase& tc) {
  if (!remoteFound) return true;
  if ((compareDate & 1) && !IsNewerDateText(localDate, remoteDate, tc)) return false;
  if ((compareDate & 2) && !SizesDiffer(localSize, remoteSize)) return false;
  return true;
}

bool ShouldReceiveFile(int compareDate2, const std::string& remoteDate, bool localFound,
                       const std::string& localDate, const TextCase& tc) {
  if (!(compareDate2 & 1) || !localFound) return true;
  return IsNewerDateText(remoteDate, localDate, tc);
}

int FindPermissionRule(const std::string& remoteName, const OptionsRecord& options,
                       const TextCase& tc) {
  std::string key = ExtensionKey(remoteName);
  if (MatchExtensionList(options.ChmodType1, key, tc, kPermissionKeyLimit)) return 0;
  if (MatchExtensionList(options.ChmodType2, key, tc, kPermissionKeyLimit)) return 1;
  return -1;
}

const std::string& PermissionOfRule(int rule, const OptionsRecord& options) {
  return rule == 0 ? options.Chmod1 : options.Chmod2;
}
