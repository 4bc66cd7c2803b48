// Host lists of three other FTP clients (INI-format files, one section per host) turned
// into favorites: which sections each importer takes and which keys fill which fields.
#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/text_case.h"

enum class HostListKind { WsFtp, MatuFtp, Ffftp };

// Where an importer finds each field in a host's section. A null key leaves the field empty;
// a null favoriteNameKey means the section name is the favorite's name.
struct HostListFormat {
  const char* defaultFileName;
  const char* favoriteNameKey;
  const char* hostAddrKey;
  const char* userIdKey;
  const char* localFolderKey;
  const char* remoteFolderKey;
};

const HostListFormat& FormatOfHostList(HostListKind kind);

// True when the importer makes a favorite of the section (names compare exactly).
bool ImporterTakesSection(HostListKind kind, const std::string& sectionName);

// The longest line of a host list that is read; a longer one is skipped.
constexpr size_t kHostListLineLimit = 254;

struct HostListSections {
  std::vector<std::string> names;  // in file order
  int skippedLines = 0;            // lines longer than the limit
};

// The section names of a host list's text: each line (ended by LF or CR LF; a last line
// without its end counts) that starts with '[' names a section, without its first and
// last character. Lines over the limit are skipped and counted; reading goes on after them.
HostListSections ReadHostListSections(std::string_view text);

// One favorite to write from a section.
struct ImportedHost {
  std::string fileName;  // safe name + ".BOK", directly in the program folder
  std::string hostName;  // the favorite name as the host list spells it
  std::string hostAddr, userId, localFolder, remoteFolder;
};

// Reads one key of one section of the host list (empty when it is missing).
using HostListValue = std::function<std::string(const std::string& section, const std::string& key)>;

// The values of a host list's text as the profile functions read them (the section named
// between '[' and the first ']', key names without blanks and letter case not counting, the
// first of equal keys, values without surrounding blanks or one pair of quotes, at most 255
// bytes), except that section names compare with their letter case, as the importers
// compare them: the profile functions would read [server] from an earlier [Server].
HostListValue HostListValues(std::string_view text);

struct HostListImport {
  std::vector<ImportedHost> hosts;
  bool stoppedAtLimit = false;  // the favorites were full before every section was taken
};

// Answers whether a file name is taken in the program folder.
using FavoriteFileTaken = std::function<bool(const std::string& fileName)>;

// The favorites that the sections make, given how many favorite names exist already: the
// import stops when they reach 100. A section whose name leaves nothing for a file name is
// not taken. Each host gets a file of its own, as Add Favorites chooses one ("x.BOK", then
// "x0.BOK"...): an existing favorite is never written over, and two hosts whose names make
// the same file name (letter case not counting, as in the file system) get two files.
HostListImport PlanHostListImport(HostListKind kind, const std::vector<std::string>& sections,
                                  const HostListValue& value, size_t favoriteCount,
                                  const FavoriteFileTaken& taken, const TextCase& textCase);
