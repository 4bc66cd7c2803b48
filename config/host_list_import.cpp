#include "config/host_list_import.h"

#include <map>
#include <memory>
#include <utility>

#include "config/favorite_names.h"
#include "config/options.h"

const HostListFormat& FormatOfHostList(HostListKind kind) {
  static const HostListFormat kWsFtp{"ws_ftp.ini", nullptr, "HOST", "UID", nullptr, "DIR"};
  static const HostListFormat kMatuFtp{"matuftp.ini", nullptr, "Hostname", "UserName", "LocalPath", "Directory"};
  static const HostListFormat kFfftp{"ffftp.ini", "HostName", "HostAdrs", "UserName", "LocalDir", "RemoteDir"};
  switch (kind) {
    case HostListKind::WsFtp: return kWsFtp;
    case HostListKind::MatuFtp: return kMatuFtp;
    default: return kFfftp;
  }
}

bool ImporterTakesSection(HostListKind kind, const std::string& name) {
  switch (kind) {
    case HostListKind::WsFtp: return name != "_config_" && name != "WS_FTP32";
    case HostListKind::MatuFtp:
      return name != "Options" && name != "FireWall" && name != "TextExt" && name != "Index" && name != "Window";
    default: return name.compare(0, 18, "FFFTP\\Options\\Host") == 0;
  }
}

// Hands each line of the text to `take`, its line end (LF or CR LF) left off.
template <typename Take>
static void ForEachLine(std::string_view text, Take take) {
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    std::string_view line = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    start = end == std::string_view::npos ? text.size() : end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    take(line);
  }
}

HostListSections ReadHostListSections(std::string_view text) {
  HostListSections result;
  ForEachLine(text, [&](std::string_view line) {
    if (line.size() > kHostListLineLimit) {
      ++result.skippedLines;
      return;
    }
    if (line.empty() || line[0] != '[') return;
    // The closing bracket is taken to be the last character, whatever it is.
    result.names.emplace_back(line.size() >= 2 ? line.substr(1, line.size() - 2) : std::string_view());
  });
  return result;
}

static std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

static std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

HostListValue HostListValues(std::string_view text) {
  // Key: section name, then the key name in lower case.
  auto values = std::make_shared<std::map<std::pair<std::string, std::string>, std::string>>();
  std::string section;
  bool inSection = false;
  ForEachLine(text, [&](std::string_view line) {
    line = TrimBlanks(line);
    if (!line.empty() && line[0] == '[') {
      const size_t close = line.find(']');
      section = std::string(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
      inSection = true;
      return;
    }
    const size_t equals = line.find('=');
    if (!inSection || equals == std::string_view::npos) return;
    std::string_view value = TrimBlanks(line.substr(equals + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
      value = value.substr(1, value.size() - 2);
    values->emplace(std::make_pair(section, AsciiLower(TrimBlanks(line.substr(0, equals)))),
                    CutToCapacity(std::string(value), 256));
  });
  return [values](const std::string& sectionName, const std::string& key) {
    auto found = values->find({sectionName, AsciiLower(key)});
    return found == values->end() ? std::string() : found->second;
  };
}

HostListImport PlanHostListImport(HostListKind kind, const std::vector<std::string>& sections,
                                  const HostListValue& value, size_t favoriteCount,
                                  const FavoriteFileTaken& taken, const TextCase& textCase) {
  const HostListFormat& format = FormatOfHostList(kind);
  auto read = [&](const std::string& section, const char* key) { return key ? value(section, key) : std::string(); };
  HostListImport plan;
  // Planned files are not written yet: they count as taken all the same.
  auto takenOrPlanned = [&](const std::string& fileName) {
    for (const ImportedHost& host : plan.hosts)
      if (EqualNoCase(textCase, host.fileName, fileName)) return true;
    return taken(fileName);
  };
  for (const std::string& section : sections) {
    if (!ImporterTakesSection(kind, section)) continue;
    if (favoriteCount + plan.hosts.size() >= kMaxFavoriteNames) {
      plan.stoppedAtLimit = true;
      break;
    }
    ImportedHost host;
    host.hostName = format.favoriteNameKey ? value(section, format.favoriteNameKey) : section;
    const std::string base = ImportedFavoriteBaseName(host.hostName);
    if (base.empty()) continue;
    host.fileName = FreeFavoriteFileName(base, takenOrPlanned);
    host.hostAddr = read(section, format.hostAddrKey);
    host.userId = read(section, format.userIdKey);
    host.localFolder = read(section, format.localFolderKey);
    host.remoteFolder = read(section, format.remoteFolderKey);
    plan.hosts.push_back(std::move(host));
  }
  return plan;
}
