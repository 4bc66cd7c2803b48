// Socket addresses of either family (sockaddr_storage) as the engine uses them: their host
// for comparing and showing, their port, and the connection to a host by name or literal.
#pragma once
#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstdint>
#include <string>

#include "ftp/host_address.h"

HostAddress HostOf(const sockaddr_storage& address);
int AddressLength(const sockaddr_storage& address);  // of the family's own structure
uint16_t PortOf(const sockaddr_storage& address);
void SetPort(sockaddr_storage& address, uint16_t port);
// "127.0.0.1:21", "[::1]:21".
std::string AddressAndPort(const sockaddr_storage& address);

// Resolves host (a name or a literal of either family) and connects to each of its
// addresses in the order the system gives them, until one answers; each try within the
// time limit. 1 with the connected socket and the server's address; 0 with
// WSAGetLastError telling why the last try failed.
int ConnectToHost(const std::string& host, int port, SOCKET& connected, sockaddr_storage& server);
