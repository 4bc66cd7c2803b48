// The keys each page of the host-settings sheet writes into the favorite file, with the
// values as the file holds them.
#pragma once
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "config/host_profile.h"

// Capacities of the host profile's text fields, terminating zero included.
constexpr size_t kHostNameCapacity = 256;
constexpr size_t kHostAddrCapacity = 128;
constexpr size_t kUserIdCapacity = 128;
constexpr size_t kUserPassCapacity = 128;
constexpr size_t kLocalFolderCapacity = 260;
constexpr size_t kRemoteFolderCapacity = 2048;
constexpr size_t kProxyServerCapacity = 260;
constexpr size_t kProxyUserCapacity = 128;
constexpr size_t kProxyPassCapacity = 128;

using ProfileEntries = std::vector<std::pair<std::string, std::string>>;

// Basic: names, address, login, scrambled password and the two initial folders.
ProfileEntries BasicPageEntries(const HostProfile& host);
// Details: time lag, port (as iPort), listing command, name encoding and Security.
ProfileEntries DetailsPageEntries(const HostProfile& host);
// Proxy: the whole proxy block, the password scrambled (the older plain key emptied), and
// the passive-mode box.
ProfileEntries ProxyPageEntries(const ProxySettings& proxy, int pasv);
