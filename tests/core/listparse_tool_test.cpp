// Whole listings through vako-listparse: what real vsftpd, pure-ftpd and pyftpdlib sent for one
// sample folder (tests/core/data/README.md), and the tool's options.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "core/case_table.h"

namespace {

using case_table::Split;

std::string Data(const std::string& name) { return std::string(std::getenv("VAKO_SOURCE_DIR")) + "/tests/core/data/" + name; }

std::vector<std::string> Lines(std::istream& in) {
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The tool's output lines for the file on standard input; its exit status goes to *status.
std::vector<std::string> RunTool(const std::string& args, const std::string& input, int* status) {
  std::string command = "'" + std::string(std::getenv("VAKO_BINARY_DIR")) + "/tools/vako-listparse' " + args + " < '" + input + "'";
  FILE* p = popen(command.c_str(), "r");
  std::string out;
  char buf[4096];
  for (size_t got; p && (got = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, got);
  *status = p ? pclose(p) : -1;
  std::istringstream s(out);
  return Lines(s);
}

std::string Now() {
  std::ifstream f(Data("capture.now"));
  std::string day;
  f >> day;
  return "--now " + day;
}

TEST(ListparseTool, RealServerListingsShowTheSampleFolder) {
  for (const char* server : {"vsftpd", "pure-ftpd", "pyftpdlib"}) {
    SCOPED_TRACE(server);
    int status = -1;
    std::vector<std::string> got;
    // Kind, size, date, attributes, name: the attributes' first letter tells the kind.
    for (const std::string& line : RunTool(Now(), Data(std::string(server) + ".list"), &status)) {
      std::vector<std::string> f = Split(line, '\t');
      ASSERT_EQ(f.size(), 5u) << line;
      EXPECT_NE(std::string("dl-").find(f[3].substr(0, 1)), std::string::npos) << line;
      EXPECT_TRUE(f[3][0] != 'd' || f[0] == "d") << line;
      got.push_back(f[0] + "\t" + f[1] + "\t" + f[2] + "\t" + f[4]);
    }
    EXPECT_EQ(status, 0);
    std::sort(got.begin(), got.end());
    std::ifstream expected(Data(std::string(server) + ".expected"));
    EXPECT_EQ(got, Lines(expected));
  }
}

TEST(ListparseTool, LagOptionAndBadOptions) {
  int status = -1;
  std::vector<std::string> out = RunTool(Now() + " --lag -360", Data("vsftpd.list"), &status);
  EXPECT_EQ(status, 0);
  EXPECT_NE(std::find(out.begin(), out.end(), "f\t1234\t2019/03/03 18:00\t-rw-r--r--\ta.txt"), out.end());
  RunTool("--now 2024-13-01", "/dev/null", &status);
  EXPECT_NE(status, 0);
  RunTool("--lag ten", "/dev/null", &status);
  EXPECT_NE(status, 0);
  EXPECT_TRUE(RunTool("--now 2024-03-15", "/dev/null", &status).empty());
  EXPECT_EQ(status, 0);
}

}  // namespace
