// The three importers on host lists written for these tests: which sections become
// favorites, under which names, with which values, and how lines are read.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <sstream>

#include "config/favorite_names.h"
#include "config/host_list_import.h"

namespace {

// A small INI reader for the samples: keys by section, as the profile functions find them
// (section names exact, the first value of a key wins).
// Keys by section as the profile functions find them in a sample (section names exact, the
// first value of a key wins).
HostListValue SampleReader(const std::string& text) {
  auto values = std::make_shared<std::map<std::string, std::string>>();
  std::string section, line;
  std::istringstream in(text);
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] == '[')
      section = line.substr(1, line.find(']') - 1);
    else if (line.find('=') != std::string::npos)
      values->emplace(section + "\n" + line.substr(0, line.find('=')), line.substr(line.find('=') + 1));
  }
  return [values](const std::string& section, const std::string& key) {
    auto it = values->find(section + "\n" + key);
    return it == values->end() ? std::string() : it->second;
  };
}

HostListImport Import(HostListKind kind, const std::string& text, size_t existing = 0, int* skipped = nullptr) {
  const HostListSections sections = ReadHostListSections(text);
  if (skipped) *skipped = sections.skippedLines;
  return PlanHostListImport(kind, sections.names, SampleReader(text), existing);
}

std::string Fields(const ImportedHost& h) {
  return h.fileName + "|" + h.hostName + "|" + h.hostAddr + "|" + h.userId + "|" + h.localFolder + "|" + h.remoteFolder;
}

const char kWsFtpList[] =
    "[_config_]\r\nHOST=not-a-host\r\n"
    "[WS_FTP32]\r\nHOST=nor-this\r\n"
    "[My Site]\r\nHOST=ftp.example.org\r\nUID=me\r\nDIR=/pub\r\nPASS=secret\r\n"
    "[..\\..\\evil]\r\nHOST=10.0.0.1\r\n"
    "[C:\\x]\r\nHOST=c.example\r\n"
    "[/abs]\r\nHOST=abs.example\r\n"
    "[a*b?c|d:e]\r\nHOST=six.example\r\n";

TEST(HostListImport, WsFtpTakesEverySectionButItsOwnSettings) {
  const HostListImport plan = Import(HostListKind::WsFtp, kWsFtpList);
  ASSERT_EQ(plan.hosts.size(), 5u);
  EXPECT_EQ(Fields(plan.hosts[0]), "My Site.BOK|My Site|ftp.example.org|me||/pub");
  // Hostile names stay names of files in the program folder; the host keeps its label.
  EXPECT_EQ(plan.hosts[1].fileName, ".._.._evil.BOK");
  EXPECT_EQ(plan.hosts[1].hostName, "..\\..\\evil");
  EXPECT_EQ(plan.hosts[2].fileName, "C__x.BOK");
  EXPECT_EQ(plan.hosts[3].fileName, "_abs.BOK");
  EXPECT_EQ(plan.hosts[4].fileName, "a_b_c_d_e.BOK");
  EXPECT_EQ(plan.hosts[4].hostAddr, "six.example");
  EXPECT_FALSE(plan.stoppedAtLimit);
}

TEST(HostListImport, MatuFtpSkipsItsFiveSettingSections) {
  const std::string list =
      "[Options]\r\nHostname=x\r\n[FireWall]\r\n[TextExt]\r\n[Index]\r\n[Window]\r\n[options]\r\n"
      "[Home]\r\nHostname=home.example\r\nUserName=u\r\nLocalPath=C:\\web\r\nDirectory=/www\r\n";
  const HostListImport plan = Import(HostListKind::MatuFtp, list);
  ASSERT_EQ(plan.hosts.size(), 2u);  // names compare with their letter case: [options] is a host
  EXPECT_EQ(plan.hosts[0].fileName, "options.BOK");
  EXPECT_EQ(Fields(plan.hosts[1]), "Home.BOK|Home|home.example|u|C:\\web|/www");
}

TEST(HostListImport, FfftpTakesHostSectionsNamedByTheirHostName) {
  const std::string list =
      "[FFFTP]\r\nVersion=1\r\n"
      "[FFFTP\\Options]\r\nHostName=options\r\n"
      "[FFFTP\\Options\\Host3]\r\nHostName=work\r\nHostAdrs=work.example\r\nUserName=w\r\nLocalDir=D:\\w\r\nRemoteDir=/w\r\n"
      "[ffftp\\options\\host4]\r\nHostName=lower\r\n"
      "[FFFTP\\Options\\Host5]\r\nHostName=..\\..\\Windows\\evil\r\nHostAdrs=e.example\r\n"
      "[FFFTP\\Options\\Host6]\r\nHostAdrs=nameless.example\r\n";
  const HostListImport plan = Import(HostListKind::Ffftp, list);
  ASSERT_EQ(plan.hosts.size(), 2u);
  EXPECT_EQ(Fields(plan.hosts[0]), "work.BOK|work|work.example|w|D:\\w|/w");
  EXPECT_EQ(plan.hosts[1].fileName, ".._.._Windows_evil.BOK");
  EXPECT_EQ(plan.hosts[1].hostName, "..\\..\\Windows\\evil");
  // Host6 has no HostName: nothing to name its file after.
}

TEST(HostListImport, LinesAreReadPastALongOneAndHeadersKeepTheirRule) {
  const std::string longLine = "; " + std::string(300, 'x') + "\r\n";
  const std::string limitLine = "[" + std::string(252, 'L') + "]\r\n";  // exactly 254 characters
  const std::string list = "[First]\r\nHOST=1\r\n" + longLine + "[Second]\r\nHOST=2\r\n" +
                           "[" + std::string(260, 'T') + "]\r\n" + limitLine + "[Blank] \r\nHOST=3\n[Unix]\nHOST=4\n[Last]";
  int skipped = 0;
  const HostListImport plan = Import(HostListKind::WsFtp, list, 0, &skipped);
  EXPECT_EQ(skipped, 2);
  std::vector<std::string> names;
  for (const ImportedHost& host : plan.hosts) names.push_back(host.hostName);
  EXPECT_EQ(names, (std::vector<std::string>{"First", "Second", std::string(252, 'L'), "Blank]", "Unix", "Last"}));
  EXPECT_EQ(plan.hosts[1].hostAddr, "2");
  EXPECT_EQ(plan.hosts[4].hostAddr, "4");
  // A blank after the bracket keeps the bracket in the name, and the values are not found.
  EXPECT_EQ(plan.hosts[3].hostAddr, "");

  EXPECT_TRUE(ReadHostListSections("").names.empty());
  EXPECT_EQ(ReadHostListSections("[\r\n[]\r\n").names, (std::vector<std::string>{"", ""}));
}

TEST(HostListImport, StopsWhenTheFavoritesAreFull) {
  std::string list;
  for (int i = 0; i < 10; ++i) list += "[h" + std::to_string(i) + "]\r\nHOST=x\r\n";
  HostListImport plan = Import(HostListKind::WsFtp, list, 95);
  EXPECT_EQ(plan.hosts.size(), 5u);
  EXPECT_TRUE(plan.stoppedAtLimit);
  EXPECT_EQ(plan.hosts.back().hostName, "h4");
  plan = Import(HostListKind::WsFtp, list, kMaxFavoriteNames);
  EXPECT_TRUE(plan.hosts.empty());
  // Sections never made into favorites do not count.
  plan = Import(HostListKind::WsFtp, "[_config_]\r\n[WS_FTP32]\r\n[h]\r\n", 99);
  ASSERT_EQ(plan.hosts.size(), 1u);
  EXPECT_FALSE(plan.stoppedAtLimit);
}

}  // namespace
