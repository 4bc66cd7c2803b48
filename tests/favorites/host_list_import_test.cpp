// The three importers on host lists written for these tests (in data/): which sections
// become favorites, under which names, with which values, and how lines are read.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "config/favorite_names.h"
#include "support/case_table.h"
#include "config/host_list_import.h"

namespace {

// `files`: the file names already in the program folder.
HostListImport Import(HostListKind kind, const std::string& text, size_t existing = 0, int* skipped = nullptr,
                      const std::set<std::string>& files = {}) {
  const HostListSections sections = ReadHostListSections(text);
  if (skipped) *skipped = sections.skippedLines;
  return PlanHostListImport(
      kind, sections.names, HostListValues(text), existing,
      [&](const std::string& name) { return files.count(name) > 0; }, ShiftJisAsciiCase());
}

std::string Fields(const ImportedHost& h) {
  return h.fileName + "|" + h.hostName + "|" + h.hostAddr + "|" + h.userId + "|" + h.localFolder + "|" + h.remoteFolder;
}

TEST(HostListImport, EachImporterOnItsSampleList) {
  const std::map<std::string, HostListKind> kinds = {
      {"wsftp", HostListKind::WsFtp}, {"matu", HostListKind::MatuFtp}, {"ffftp", HostListKind::Ffftp}};
  const std::vector<Case> rows = ReadCases("favorites/data/imports.tsv", false);
  for (const Case& row : rows) {
    const std::vector<std::string> files = SplitOn(row.at(2), '/');
    const HostListImport plan = Import(kinds.at(row.at(1)), ReadTestFile("favorites/data/" + row.at(0)), 0, nullptr,
                                       std::set<std::string>(files.begin(), files.end()));
    std::vector<std::string> planned;
    for (const ImportedHost& host : plan.hosts) planned.push_back(Fields(host));
    EXPECT_EQ(planned, std::vector<std::string>(row.begin() + 3, row.end())) << row[0];
    EXPECT_FALSE(plan.stoppedAtLimit);
  }
  EXPECT_EQ(rows.size(), 4u);
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

TEST(HostListImport, ValuesAreReadAsTheProfileFunctionsReadThemButSectionsKeepTheirCase) {
  const HostListValue value = HostListValues("[S]\r\n host = \"a b\" \r\nHOST=second\r\nuid='u'\r\nDIR=" +
                                             std::string(300, 'd') + "\r\n[s]\r\nHOST=lower\n");
  EXPECT_EQ(value("S", "HOST"), "a b");
  EXPECT_EQ(value("S", "UID"), "u");
  EXPECT_EQ(value("S", "DIR"), std::string(255, 'd'));
  EXPECT_EQ(value("s", "HOST"), "lower");
  EXPECT_EQ(value("s", "UID"), "");
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
