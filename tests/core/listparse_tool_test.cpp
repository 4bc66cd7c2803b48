// Whole listings through vako-listparse: what real vsftpd, pure-ftpd and pyftpdlib sent for one
// sample folder (tests/core/data/README.md), and the tool's options.
#include <gtest/gtest.h>

#include <cstdlib>

#include "lha/plugin_test_support.h"

namespace {

std::string Data(const std::string& name) {
  return std::string(std::getenv("VAKO_SOURCE_DIR")) + "/tests/core/data/" + name;
}

// Runs the tool with its arguments and the rest of a shell command line; the exit status of
// the whole command goes to *status.
std::string Tool(const std::string& command, int* status) {
  std::string out;
  *status = RunShell(".", "'" + std::string(std::getenv("VAKO_BINARY_DIR")) + "/tools/vako-listparse' " + command, &out);
  return out;
}

const std::string kNow = "--now $(cat '" + Data("capture.now") + "')";

TEST(ListparseTool, RealServerListingsShowTheSampleFolder) {
  for (const std::string server : {"vsftpd", "pure-ftpd", "pyftpdlib"}) {
    const std::string listing = kNow + " < '" + Data(server + ".list") + "' | ";
    int status = -1;
    // Kind, size, date and name, sorted; the attributes agree with the kind.
    EXPECT_EQ(Tool(listing + "cut -f1,2,3,5 | LC_ALL=C sort | diff - '" + Data(server + ".expected") + "'", &status), "");
    EXPECT_EQ(status, 0) << server;
    EXPECT_EQ(Tool(listing + "cut -f1,4 | cut -c1,3 | LC_ALL=C sort -u", &status), "dd\ndl\nf-\nfl\n") << server;
  }
}

TEST(ListparseTool, LagOptionAndBadOptions) {
  int status = -1;
  std::string out = Tool(kNow + " --lag -360 < '" + Data("vsftpd.list") + "'", &status);
  EXPECT_EQ(status, 0);
  EXPECT_NE(out.find("f\t1234\t2019/03/03 18:00\t-rw-r--r--\ta.txt\n"), std::string::npos);
  Tool("--now 2024-13-01 < /dev/null", &status);
  EXPECT_NE(status, 0);
  Tool("--lag ten < /dev/null", &status);
  EXPECT_NE(status, 0);
  EXPECT_EQ(Tool("--now 2024-03-15 < /dev/null", &status), "");
  EXPECT_EQ(status, 0);
}

// A machine listing (MLSD) reads as well; its UTC times are not moved by the lag.
TEST(ListparseTool, MachineListing) {
  int status = -1;
  EXPECT_EQ(Tool("--lag 60 < '" + Data("machine.list") + "'", &status), "f\t5368709121\t2001/02/03 04:05\t-rw-r--r--\t big file\n");
  EXPECT_EQ(status, 0);
}

}  // namespace
