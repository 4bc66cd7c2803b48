#include "config/favorite_host_file_win.h"

#include <string>

#include "config/host_sheet_keys.h"
#include "config/password.h"
#include "config/profile_file_win.h"

static const char kSection[] = "Vako";
static const char kNoRemoteFolder[] = "$_$";
static const char kMissing[] = "\x01missing";

void ReadFavoriteFile(const std::string& path, HostProfile& host) {
  auto text = [&](const char* key, const char* fallback, size_t capacity) {
    return ReadProfileText(path, kSection, key, fallback, capacity);
  };
  auto number = [&](const char* key) { return ReadProfileInt(path, kSection, key, 0); };
  host.HostName = text("HostName", "", 256);
  host.HostAddr = text("HostAddr", "", 128);
  host.UserID = text("UserID", "", 128);
  host.UserPass = UnscramblePassword(text("UserPass", "", 128));
  host.InitialLocalFolder = text("InitialLocalFolder", "", 260);
  // Read back as much as the sheet and Add Favorites write.
  host.InitialRemoteFolder = text("InitialRemoteFolder", kNoRemoteFolder, kRemoteFolderCapacity);
  if (host.InitialRemoteFolder == kNoRemoteFolder)
    host.InitialRemoteFolder = text("InitialRemortFolder", "./", kRemoteFolderCapacity);
  host.TimeLag = number("TimeLag");
  host.List = number("List");
  host.Security = ValidSecurity(number("Security"));
  host.Port = number("iPort");
  if (host.Port == 0) host.Port = host.Security == kSecurityImplicitTls ? 990 : 21;
  host.Proxy.ProxyServer = text("ProxyServer", "", 260);
  host.Proxy.ProxyUser = text("ProxyUser", "", 128);
  const std::string scrambledProxyPass = text(kScrambledProxyPassKey, kMissing, kProxyPassCapacity);
  host.Proxy.ProxyPass = scrambledProxyPass == kMissing ? text("ProxyPass", "", kProxyPassCapacity)
                                                        : UnscramblePassword(scrambledProxyPass);
  host.Proxy.ProxyType = number("ProxyType");
  host.Proxy.ProxyPort = number("ProxyPort");
  host.Proxy.Proxy = number("Proxy");
  host.Pasv = number("Pasv") == 1 ? 1 : 0;
  host.NameEncoding = ValidNameEncoding(number("NameEncoding"));
}

bool WriteAddedFavorite(const std::string& path, const HostProfile& host, const std::string& localFolder,
                        const std::string& remoteFolder, bool keepPassword) {
  auto write = [&](const char* key, const std::string& value) { return WriteProfileText(path, kSection, key, value); };
  // The first write creates the file: when it fails, so would the others.
  if (!write("HostAddr", host.HostAddr)) return false;
  write("UserID", host.UserID);
  write("UserPass", keepPassword ? ScramblePassword(host.UserPass) : std::string());
  write("InitialLocalFolder", localFolder);
  write("InitialRemoteFolder", remoteFolder);
  write("TimeLag", std::to_string(host.TimeLag));
  // A host reached through passive connections is kept that way; others get no new key.
  if (host.Pasv == 1) write("Pasv", "1");
  // So is a host whose names need a choice of their own.
  if (host.NameEncoding != kNamesAutomatic) write("NameEncoding", std::to_string(host.NameEncoding));
  // And a protected one, with its port: reached in the clear or on the wrong port, its
  // favorite would send the password unprotected or fail.
  if (host.Security != kSecurityNone) {
    write("Security", std::to_string(host.Security));
    write("iPort", std::to_string(host.Port));
  }
  return true;
}

bool WriteImportedFavorite(const std::string& path, const ImportedHost& host) {
  auto write = [&](const char* key, const std::string& value) { return WriteProfileText(path, kSection, key, value); };
  if (!write("HostName", host.hostName)) return false;
  write("HostAddr", host.hostAddr);
  write("UserID", host.userId);
  write("UserPass", "");
  write("InitialLocalFolder", host.localFolder);
  write("InitialRemoteFolder", host.remoteFolder);
  write("TimeLag", "0");
  return true;
}
