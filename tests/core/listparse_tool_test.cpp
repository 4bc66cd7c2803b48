// Whole listings through vako-listparse: the answers real vsftpd, pure-ftpd and pyftpdlib
// gave for one sample folder (captured by capture_listings.py), and the tool's options.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

std::string Tool() { return Env("VAKO_BINARY_DIR") + "/tools/vako-listparse"; }
std::string Data(const std::string& name) { return Env("VAKO_SOURCE_DIR") + "/tests/core/data/" + name; }

std::string ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

// Runs the tool with the file on standard input; the exit status goes to *status.
std::string RunTool(const std::string& args, const std::string& inputPath, int* status) {
  std::string command = "'" + Tool() + "' " + args + " < '" + inputPath + "'";
  FILE* p = popen(command.c_str(), "r");
  std::string out;
  if (!p) return out;
  char buf[4096];
  size_t got;
  while ((got = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, got);
  *status = pclose(p);
  return out;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream s(text);
  std::string line;
  while (std::getline(s, line)) lines.push_back(line);
  return lines;
}

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> f;
  size_t start = 0, tab;
  while ((tab = line.find('\t', start)) != std::string::npos) {
    f.push_back(line.substr(start, tab - start));
    start = tab + 1;
  }
  f.push_back(line.substr(start));
  return f;
}

std::string CaptureDay() {
  std::string day = ReadFile(Data("capture.now"));
  while (!day.empty() && (day.back() == '\n' || day.back() == '\r')) day.pop_back();
  return day;
}

class RealServerListing : public ::testing::TestWithParam<const char*> {};

TEST_P(RealServerListing, ShowsTheSampleFolder) {
  const std::string server = GetParam();
  int status = -1;
  std::string out = RunTool("--now " + CaptureDay(), Data(server + ".list"), &status);
  EXPECT_EQ(status, 0);
  std::vector<std::string> got;
  for (const std::string& line : Lines(out)) {
    std::vector<std::string> f = Fields(line);
    ASSERT_EQ(f.size(), 5u) << line;
    // The attributes are the listing's first word: its first letter tells the kind.
    ASSERT_FALSE(f[3].empty());
    EXPECT_NE(std::string("dl-").find(f[3][0]), std::string::npos) << line;
    if (f[3][0] == 'd') {
      EXPECT_EQ(f[0], "d") << line;
    }
    got.push_back(f[0] + "\t" + f[1] + "\t" + f[2] + "\t" + f[4]);
  }
  std::sort(got.begin(), got.end());
  std::vector<std::string> expected = Lines(ReadFile(Data(server + ".expected")));
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(got, expected);
}

INSTANTIATE_TEST_SUITE_P(Servers, RealServerListing,
                         ::testing::Values("vsftpd", "pure-ftpd", "pyftpdlib"),
                         [](const ::testing::TestParamInfo<const char*>& i) {
                           std::string n = i.param;
                           n.erase(std::remove(n.begin(), n.end(), '-'), n.end());
                           return n;
                         });

TEST(ListparseTool, LagOptionMovesEveryDate) {
  int status = -1;
  std::string out = RunTool("--now " + CaptureDay() + " --lag -360", Data("vsftpd.list"), &status);
  EXPECT_EQ(status, 0);
  bool seen = false;
  for (const std::string& line : Lines(out)) {
    std::vector<std::string> f = Fields(line);
    if (f.size() == 5 && f[4] == "a.txt") {
      EXPECT_EQ(f[2], "2019/03/03 18:00");
      seen = true;
    }
  }
  EXPECT_TRUE(seen);
}

TEST(ListparseTool, RefusesBadOptions) {
  int status = -1;
  RunTool("--now 2024-13-01", "/dev/null", &status);
  EXPECT_NE(status, 0);
  RunTool("--lag ten", "/dev/null", &status);
  EXPECT_NE(status, 0);
  std::string out = RunTool("--now 2024-03-15", "/dev/null", &status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(out, "");
}

}  // namespace
