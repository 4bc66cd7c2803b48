#include "ftp/socket_address_win.h"

#include <cstring>

#include "ftp/socket_wait_win.h"

HostAddress HostOf(const sockaddr_storage& address) {
  HostAddress host;
  if (address.ss_family == AF_INET) {
    host.family = 4;
    std::memcpy(host.bytes, &reinterpret_cast<const sockaddr_in&>(address).sin_addr, 4);
  } else if (address.ss_family == AF_INET6) {
    host.family = 6;
    std::memcpy(host.bytes, &reinterpret_cast<const sockaddr_in6&>(address).sin6_addr, 16);
  }
  return host;
}

int AddressLength(const sockaddr_storage& address) {
  return address.ss_family == AF_INET6 ? static_cast<int>(sizeof(sockaddr_in6)) : static_cast<int>(sizeof(sockaddr_in));
}

uint16_t PortOf(const sockaddr_storage& address) {
  if (address.ss_family == AF_INET6) return ntohs(reinterpret_cast<const sockaddr_in6&>(address).sin6_port);
  return ntohs(reinterpret_cast<const sockaddr_in&>(address).sin_port);
}

void SetPort(sockaddr_storage& address, uint16_t port) {
  if (address.ss_family == AF_INET6) reinterpret_cast<sockaddr_in6&>(address).sin6_port = htons(port);
  else reinterpret_cast<sockaddr_in&>(address).sin_port = htons(port);
}

std::string AddressAndPort(const sockaddr_storage& address) {
  return HostAndPort(AddressText(HostOf(address)), PortOf(address));
}

int ConnectToHost(const std::string& host, int port, SOCKET& connected, sockaddr_storage& server) {
  connected = INVALID_SOCKET;
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_protocol = IPPROTO_TCP;
  addrinfo* found = nullptr;
  const int looked = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found);
  if (looked != 0) {
    WSASetLastError(looked);  // the lookup's own error code, for the message
    return 0;
  }
  int error = WSAHOST_NOT_FOUND;
  for (const addrinfo* a = found; a; a = a->ai_next) {
    if ((a->ai_family != AF_INET && a->ai_family != AF_INET6) || a->ai_addrlen > sizeof server) continue;
    SOCKET s = socket(a->ai_family, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) {
      error = WSAGetLastError();
      continue;
    }
    sockaddr_storage address{};
    std::memcpy(&address, a->ai_addr, a->ai_addrlen);
    if (ConnectWithTimeout(s, reinterpret_cast<const sockaddr*>(&address), static_cast<int>(a->ai_addrlen))) {
      connected = s;
      server = address;
      break;
    }
    error = WSAGetLastError();
    closesocket(s);
  }
  freeaddrinfo(found);
  if (connected == INVALID_SOCKET) WSASetLastError(error);
  return connected != INVALID_SOCKET ? 1 : 0;
}
