#include "config/host_profile.h"

#include "config/options.h"

HostProfile CurrentHost;
std::string CurrentFavoritePath;
std::string ConnectedFavoritePath;

ProxySettings ProxyOfOptions() {
  ProxySettings proxy;
  proxy.ProxyServer = Options.ProxyServer;
  proxy.ProxyUser = Options.ProxyUser;
  proxy.ProxyPass = Options.ProxyPass;
  proxy.ProxyPort = Options.ProxyPort;
  proxy.ProxyType = Options.ProxyType;
  proxy.Proxy = Options.Proxy;
  return proxy;
}

void FillHostFromOptions() {
  CurrentHost.UserID = Options.UserID;
  CurrentHost.UserPass = Options.UserPass;
  CurrentHost.HostName = Options.HostName;
  CurrentHost.HostAddr = Options.HostAddr;
  CurrentHost.InitialRemoteFolder = Options.InitialRemoteFolder;
  CurrentHost.InitialLocalFolder = Options.InitialLocalFolder;
  CurrentHost.Proxy = ProxyOfOptions();
  CurrentHost.List = Options.List;
  CurrentHost.TimeLag = Options.TimeLag;
  CurrentHost.Port = Options.Port;
  CurrentHost.Pasv = Options.Pasv;
  CurrentHost.NameEncoding = ValidNameEncoding(Options.NameEncoding);
  CurrentHost.Security = ValidSecurity(Options.Security);
}

int ValidNameEncoding(int value) { return value == kNamesUtf8 || value == kNamesCodePage ? value : kNamesAutomatic; }

int ValidSecurity(int value) {
  return value == kSecurityExplicitTls || value == kSecurityImplicitTls ? value : kSecurityNone;
}

int PortForSecurity(int security, int port) {
  constexpr int kPlainPort = 21, kImplicitTlsPort = 990;
  if (security == kSecurityImplicitTls) return port == kPlainPort ? kImplicitTlsPort : port;
  return port == kImplicitTlsPort ? kPlainPort : port;
}
