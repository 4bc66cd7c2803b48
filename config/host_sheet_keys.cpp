#include "config/host_sheet_keys.h"

#include "config/password.h"
#include "config/profile_value.h"

ProfileEntries BasicPageEntries(const HostProfile& host) {
  return {{"HostName", QuoteForProfile(host.HostName)},
          {"HostAddr", QuoteForProfile(host.HostAddr)},
          {"UserID", QuoteForProfile(host.UserID)},
          {"UserPass", QuoteForProfile(ScramblePassword(host.UserPass))},
          {"InitialLocalFolder", QuoteForProfile(host.InitialLocalFolder)},
          {"InitialRemoteFolder", QuoteForProfile(host.InitialRemoteFolder)}};
}

ProfileEntries DetailsPageEntries(const HostProfile& host) {
  return {{"TimeLag", std::to_string(host.TimeLag)},
          {"iPort", std::to_string(host.Port)},
          {"List", std::to_string(host.List)},
          {"NameEncoding", std::to_string(host.NameEncoding)},
          {"Security", std::to_string(ValidSecurity(host.Security))}};
}

ProfileEntries ProxyPageEntries(const ProxySettings& proxy, int pasv) {
  return {{"Proxy", std::to_string(proxy.Proxy)},
          {"ProxyServer", QuoteForProfile(proxy.ProxyServer)},
          {"ProxyPort", std::to_string(proxy.ProxyPort)},
          {"ProxyUser", QuoteForProfile(proxy.ProxyUser)},
          {kScrambledProxyPassKey, QuoteForProfile(ScramblePassword(proxy.ProxyPass))},
          {"ProxyPass", ""},
          {"ProxyType", std::to_string(proxy.ProxyType)},
          {"Pasv", std::to_string(pasv)}};
}
