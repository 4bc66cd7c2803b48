// Per-file rules of every transfer: transfer mode by extension, the class a list entry
// shows, the case of upload names, the send/receive-only-updated tests and the
// permission sent after an upload. Pure decisions over names, texts and settings; the
// settings are read at every call, so a change in the options applies to the next file.
#pragma once
#include <cstdint>
#include <map>
#include <string>

#include "app/text_case.h"
#include "config/options.h"

enum EntryClass {
  ClassFolder = 0,
  ClassAscii = 1,
  ClassBinary = 2,
  ClassOther = 3,
  ClassParentFolder = 4,
};

constexpr uint32_t kFolderAttribute = 0x10;
constexpr int kModeAscii = 1;
constexpr int kModeBinary = 2;

// Longest key the type lists and the permission lists can hold (their stored capacity).
constexpr size_t kTypeKeyLimit = 127;
constexpr size_t kPermissionKeyLimit = 63;

// The text after the last dot of the name that is a character of its own; the whole
// name when there is no such dot.
std::string ExtensionKey(const std::string& name);

// True when an entry of the ';'-separated list equals the key, letter case not counting.
// Empty entries match the empty key only; a key longer than keyLimit matches nothing.
bool MatchExtensionList(const std::string& list, const std::string& key, const TextCase& tc,
                        size_t keyLimit = kTypeKeyLimit);

// Only the folder bit of the attributes is read.
EntryClass ClassifyEntry(uint32_t attributes, const std::string& name,
                         const OptionsRecord& options, const TextCase& tc);

// 1 (ASCII) or 2 (binary) for a file about to be transferred; manualMode is the mode
// last chosen with the Ascii / Binary commands.
int ChooseTransferMode(const std::string& name, int manualMode, const OptionsRecord& options,
                       const TextCase& tc);

// ClassifyEntry and ChooseTransferMode for the entries of one folder, each extension looked
// up once: the lists of extensions are compared with the system's case rules, which cost
// far more than the rest of a row, or of a job's look at a file. The type lists are read
// as they were when the folder's first entry of that extension was asked about.
class EntryClassCache {
 public:
  EntryClassCache(const OptionsRecord& options, const TextCase& tc) : options_(options), tc_(tc) {}
  EntryClass ClassOf(uint32_t attributes, const std::string& name);
  int ModeOf(const std::string& name, int manualMode);

 private:
  const OptionsRecord& options_;
  const TextCase& tc_;
  std::map<std::string, EntryClass> byExtension_;
};

// Converts the name in place as "CapitalMode" says (0 lower, 1 upper, else unchanged).
std::string& ApplyNameCase(std::string& name, const OptionsRecord& options, const TextCase& tc);

// True when the Date text candidate comes after other ("%d/%02d/%02d %02d:%02d" texts).
bool IsNewerDateText(const std::string& candidate, const std::string& other, const TextCase& tc);

// A Size column text read as a decimal number: leading blanks, an optional sign, then
// digits up to the first other character; no digits give 0. Saturates instead of wrapping.
int64_t SizeTextValue(const std::string& text);

// The size test of "send only updated files": a file whose remote namesake has a
// different size is sent, one of the same size is not.
bool SizesDiffer(const std::string& localSize, const std::string& remoteSize);

// Whether an upload sends the file under "CompareDate" (bit 0 date, bit 1 size). The
// remote texts are those of the remote row of the same name; remoteFound is false when
// the remote view has no such row, and the file is then always sent.
bool ShouldSendFile(int compareDate, const std::string& localDate, const std::string& localSize,
                    bool remoteFound, const std::string& remoteDate, const std::string& remoteSize,
                    const TextCase& tc);

// Whether a download receives the file under "CompareDate2" (bit 0 date).
bool ShouldReceiveFile(int compareDate2, const std::string& remoteDate, bool localFound,
                       const std::string& localDate, const TextCase& tc);

// 0 when "ChmodType1" matches the name's key, else 1 when "ChmodType2" does, else -1.
int FindPermissionRule(const std::string& remoteName, const OptionsRecord& options,
                       const TextCase& tc);

// The permission text of a rule found above ("Chmod1" or "Chmod2").
const std::string& PermissionOfRule(int rule, const OptionsRecord& options);
