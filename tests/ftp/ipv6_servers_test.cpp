// The engine over IPv6 loopback (::1) against vsftpd, pure-ftpd and pyftpdlib: an address
// typed with or without brackets, a listing and a file each way byte for byte, announced
// with EPRT in active and EPSV in passive mode (PORT and PASV cannot carry IPv6).
#include <ws2tcpip.h>

#include <ostream>
#include <string>
#include <tuple>

#include "engine_fixture_win.h"

namespace {

const Server kServers[] = {
    {"vsftpd", "VAKO_VSFTPD6_PORT", "VAKO_VSFTPD6_ROOT", false},
    {"pureftpd", "VAKO_PUREFTPD6_PORT", "VAKO_PUREFTPD6_ROOT", true},
    {"pyftpdlib", "VAKO_PYFTPD6_PORT", "VAKO_PYFTPD6_ROOT", true},
};

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

class Ipv6EngineTest : public EngineTest, public ::testing::WithParamInterface<std::tuple<Server, int>> {};

TEST_P(Ipv6EngineTest, ListAndTransferBothWays) {
  const Server& server = std::get<0>(GetParam());
  const int passive = std::get<1>(GetParam());
  const int port = testenv::Port(server.portVariable);
  ASSERT_GT(port, 0) << server.name << " is not running on ::1";
  root = testenv::Get(server.rootVariable);
  CurrentHost.Pasv = passive;
  ASSERT_EQ(Login(port, testenv::Get("VAKO_FTP_PASS"), "./", passive ? "[::1]" : " ::1"), 1) << ::testing::PrintToString(BoxTexts());
  EXPECT_EQ(ServerAddress.ss_family, AF_INET6);

  const std::string data = BinaryContent(700 * 1024 + 3, 6);
  WriteWholeFile(OnServer("six.bin"), data);
  ASSERT_EQ(FetchListing(), 1);
  EXPECT_NE(ListingBuffer.find("six.bin"), std::string::npos) << ListingBuffer;
  ASSERT_EQ(RetrieveFile("six.bin", Local("six.bin"), 2, data.size()), 1);
  EXPECT_TRUE(ReadWholeFile(Local("six.bin")) == data) << "the retrieved copy differs";
  ASSERT_EQ(StoreFile(Local("six.bin"), "six-up.bin", 2), 1);
  EXPECT_TRUE(ReadWholeFile(OnServer("six-up.bin")) == data) << "the stored copy differs";
  EXPECT_TRUE(BoxTexts().empty()) << ::testing::PrintToString(BoxTexts());

  // Three data connections (list, retrieve, store), each announced the IPv6 way and accepted.
  const std::string log = Log();
  if (passive) {
    EXPECT_EQ(Count(log, "EPSV\r\n229 "), 3u) << log;
    EXPECT_EQ(log.find("\nPASV"), std::string::npos) << log;
  } else {
    EXPECT_EQ(Count(log, "EPRT |2|::1|"), 3u) << log;
    EXPECT_EQ(Count(log, "|\r\n200 "), 3u) << log;
    EXPECT_EQ(log.find("\nPORT "), std::string::npos) << log;  // pure-ftpd answers "200 PORT command successful"
  }
  ExpectInStep(server.chrooted ? "/" : root);
}

INSTANTIATE_TEST_SUITE_P(Servers, Ipv6EngineTest, ::testing::Combine(::testing::ValuesIn(kServers), ::testing::Values(0, 1)),
                         [](const ::testing::TestParamInfo<std::tuple<Server, int>>& info) {
                           return std::string(std::get<0>(info.param).name) + (std::get<1>(info.param) ? "_passive" : "_active");
                         });

// A port on ::1 where nothing listens: the message shows the address in brackets.
TEST_F(EngineTest, RefusedIpv6ConnectionShowsTheAddressInBrackets) {
  SOCKET probe = socket(AF_INET6, SOCK_STREAM, 0);
  ASSERT_NE(probe, INVALID_SOCKET);
  sockaddr_in6 address{};
  address.sin6_family = AF_INET6;
  address.sin6_addr = in6addr_loopback;
  int length = sizeof address;
  ASSERT_EQ(bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
  closesocket(probe);  // nothing listens there now
  const int port = ntohs(address.sin6_port);
  EXPECT_EQ(Login(port, "any", "./", "::1"), 0);
  ASSERT_EQ(BoxTexts().size(), 1u);
  const std::string box = BoxTexts()[0], head = "Failed to connect internet\r\n\r\n[::1]:" + std::to_string(port) + "\r\n";
  EXPECT_EQ(box.substr(0, head.size()), head) << box;
}

}  // namespace
