// The connection settings of one FTP host; CurrentHost is the one the connection uses.
#pragma once
#include <string>

struct ProxySettings {
  std::string ProxyServer, ProxyUser, ProxyPass;
  int ProxyPort = 21;
  int ProxyType = 0;
  int Proxy = 0;
};

struct HostProfile {
  std::string HostName, HostAddr, UserID, UserPass;
  std::string InitialLocalFolder, InitialRemoteFolder;
  int TimeLag = 0;
  int Port = 21;
  int List = 0;
  int Pasv = 0;  // 1: passive data connections
  ProxySettings Proxy;
  int NameEncoding = 0;  // how names travel: one of NameEncodings
  int Security = 0;      // how the connection is protected: one of SecurityModes
};

// The host's "Security" value: none, explicit TLS (AUTH TLS on the normal port) or implicit
// TLS (TLS from the first byte, port 990 by default).
enum SecurityModes { kSecurityNone = 0, kSecurityExplicitTls = 1, kSecurityImplicitTls = 2 };

// A stored value that is not one of the three reads as none.
int ValidSecurity(int value);

// The port shown after the user picks another Security: the usual port of the new mode
// where the old one's usual port stood (21 becomes 990 for implicit TLS and back); any
// other port is the user's own and stays.
int PortForSecurity(int security, int port);

// The host's choice of name encoding, as "NameEncoding" holds it: automatic takes UTF-8 from
// a server that lists it until the server sends a name that is not UTF-8.
enum NameEncodings { kNamesAutomatic = 0, kNamesUtf8 = 1, kNamesCodePage = 2 };

// A stored value that is not one of the three reads as automatic.
int ValidNameEncoding(int value);

extern HostProfile CurrentHost;

// The favorite file the host-settings sheet reads from and saves into.
extern std::string CurrentFavoritePath;

// The favorite file the open connection was made from (its tree cache may be named after it).
extern std::string ConnectedFavoritePath;

// The proxy block of the options record.
ProxySettings ProxyOfOptions();

// The copy the Connect command makes from the options record after the Connect dialog.
void FillHostFromOptions();
