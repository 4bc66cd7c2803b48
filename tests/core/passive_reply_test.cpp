// The replies that open passive data connections, as servers send them and as a hostile
// or broken one might.
#include <gtest/gtest.h>

#include "ftp/passive_reply.h"

namespace {

TEST(PassiveReply, Epsv) {
  uint16_t port = 0;
  EXPECT_TRUE(ParseEpsvReply("229 Entering Extended Passive Mode (|||6446|)", port));
  EXPECT_EQ(port, 6446);
  EXPECT_TRUE(ParseEpsvReply("229 EPSV ok (!!!65535!)\r\n", port));
  EXPECT_EQ(port, 65535);
  for (const char* bad : {"229 Entering Extended Passive Mode (|||0|)", "229 (|||65536|)", "229 (|||6446)",
                          "229 (||6446|)", "229 (|||64a46|)", "229 (|||-1|)", "229 (|||6446!)", "229 (111101|)",
                          "229 no parentheses", "228 (|||6446|)", "229 (", "229 (|||", "",
                          "229 (|||99999999999999999999|)"}) {
    EXPECT_FALSE(ParseEpsvReply(bad, port)) << bad;
  }
}

TEST(PassiveReply, Pasv) {
  unsigned char a[4] = {};
  uint16_t port = 0;
  EXPECT_TRUE(ParsePasvReply("227 Entering Passive Mode (127,0,0,2,39,16).", a, port));
  EXPECT_EQ(a[0], 127);
  EXPECT_EQ(a[3], 2);
  EXPECT_EQ(port, 39 * 256 + 16);
  // Without parentheses, and after other numbers that are not six.
  EXPECT_TRUE(ParsePasvReply("227 =192,168,1,20,4,1", a, port));
  EXPECT_EQ(a[0], 192);
  EXPECT_EQ(port, 1025);
  EXPECT_TRUE(ParsePasvReply("227 Mode 2 on (10,0,0,1,255,255)", a, port));
  EXPECT_EQ(port, 65535);
  for (const char* bad : {"227 Entering Passive Mode (127,0,0,1,1000)", "227 (256,0,0,1,4,1)",
                          "227 (127,0,0,1,0,0)", "227 (127,0,0,1,4)", "227 (127,0,0,1,4,1000)",
                          "227 (127;0;0;1;4;1)", "200 (127,0,0,1,4,1)", "227", "",
                          "227 (127,0,0,1,4,99999999999999999999)"}) {
    EXPECT_FALSE(ParsePasvReply(bad, a, port)) << bad;
  }
}

}  // namespace
