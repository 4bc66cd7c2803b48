#include "config/host_profile.h"

#include "config/options.h"

HostProfile CurrentHost;
std::string CurrentFavoritePath;
std::string ConnectedFavoritePath;

void FillHostFromOptions() {
  CurrentHost.UserID = Options.UserID;
  CurrentHost.UserPass = Options.UserPass;
  CurrentHost.HostName = Options.HostName;
  CurrentHost.HostAddr = Options.HostAddr;
  CurrentHost.InitialRemoteFolder = Options.InitialRemoteFolder;
  CurrentHost.InitialLocalFolder = Options.InitialLocalFolder;
  CurrentHost.Proxy.ProxyServer = Options.ProxyServer;
  CurrentHost.Proxy.ProxyUser = Options.ProxyUser;
  CurrentHost.Proxy.ProxyPass = Options.ProxyPass;
  CurrentHost.Proxy.ProxyPort = Options.ProxyPort;
  CurrentHost.Proxy.ProxyType = Options.ProxyType;
  CurrentHost.Proxy.Proxy = Options.Proxy;
  CurrentHost.List = Options.List;
  CurrentHost.TimeLag = Options.TimeLag;
  CurrentHost.Port = Options.Port;
  CurrentHost.Pasv = Options.Pasv;
}
