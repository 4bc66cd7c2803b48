#include "config/host_list_import.h"

#include "config/favorite_names.h"

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

HostListSections ReadHostListSections(std::string_view text) {
  HostListSections result;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    std::string_view line = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    start = end == std::string_view::npos ? text.size() : end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.size() > kHostListLineLimit) {
      ++result.skippedLines;
      continue;
    }
    if (line.empty() || line[0] != '[') continue;
    // The closing bracket is taken to be the last character, whatever it is.
    result.names.emplace_back(line.size() >= 2 ? line.substr(1, line.size() - 2) : std::string_view());
  }
  return result;
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
