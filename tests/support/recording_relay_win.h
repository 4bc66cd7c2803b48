// A relay for tests on loopback: forwards the connections that come to listenAddress:port
// (one at a time) to the same port or to targetPort on 127.0.0.1, and keeps every byte that
// crossed, both ways.
#pragma once
#include <winsock2.h>

#include <atomic>
#include <string>
#include <thread>

class RecordingRelay {
 public:
  RecordingRelay(const char* listenAddress, int port, int targetPort) : target_(targetPort ? targetPort : port) {
    WSADATA winsock;
    WSAStartup(MAKEWORD(2, 2), &winsock);
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = inet_addr(listenAddress);
    address.sin_port = htons(static_cast<u_short>(port));
    int length = sizeof address;
    bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(listener_, 4);
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    this->port = ntohs(address.sin_port);
    thread_ = std::thread([this] { Run(); });
  }
  // The bytes, once the program has closed its connections.
  const std::string& Recorded() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    return recorded_;
  }
  ~RecordingRelay() {
    Recorded();
    closesocket(listener_);
    WSACleanup();
  }
  // Connections accepted from now on go to this port.
  void Retarget(int targetPort) { target_ = targetPort; }
  int port = 0;

 private:
  static bool Readable(SOCKET a, SOCKET b, bool& first) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(a, &readable);
    if (b != INVALID_SOCKET) FD_SET(b, &readable);
    timeval wait{0, 100000};
    if (select(0, &readable, nullptr, nullptr, &wait) <= 0) return false;
    first = FD_ISSET(a, &readable);
    return true;
  }
  void Run() {
    bool unused = false;
    while (!stop_) {
      if (!Readable(listener_, INVALID_SOCKET, unused)) continue;
      SOCKET client = accept(listener_, nullptr, nullptr);
      SOCKET server = socket(AF_INET, SOCK_STREAM, 0);
      sockaddr_in address{};
      address.sin_family = AF_INET;
      address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
      address.sin_port = htons(static_cast<u_short>(target_));
      if (client != INVALID_SOCKET && connect(server, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        for (;;) {
          bool fromClient = false;
          if (!Readable(client, server, fromClient)) {
            if (stop_) break;  // once quiet: the program may still hold the connection
            continue;
          }
          SOCKET from = fromClient ? client : server, to = fromClient ? server : client;
          char chunk[65536];
          int got = recv(from, chunk, sizeof chunk, 0);
          if (got <= 0 || send(to, chunk, got, 0) != got) break;
          recorded_.append(chunk, static_cast<size_t>(got));
        }
      }
      closesocket(server);
      if (client != INVALID_SOCKET) closesocket(client);
    }
  }
  std::atomic<int> target_;
  SOCKET listener_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
  std::string recorded_;
};
