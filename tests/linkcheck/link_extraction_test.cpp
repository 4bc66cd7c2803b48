// Link extraction from HTML bytes: a corpus of hand-written pages and a table of short ones
// (the links expected are data files beside them), the word rules (a table), and pages far
// larger than any word, tag or buffer.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "support/case_table.h"
#include "linkcheck/link_rows.h"
#include "linkcheck/link_scanner.h"
#include "linkcheck/link_tables.h"
#include "linkcheck/tag_words.h"

namespace {

using Links = std::vector<std::pair<std::string, std::string>>;  // tag, link

Links Scan(const std::string& bytes, size_t piece = std::string::npos) {
  LinkScanner scanner;
  if (piece == std::string::npos) piece = bytes.size() ? bytes.size() : 1;
  for (size_t at = 0; at < bytes.size(); at += piece) scanner.Feed(std::string_view(bytes).substr(at, piece));
  Links links;
  for (const FoundLink& found : scanner.TakeLinks()) links.emplace_back(kLinkTags[found.tagIndex], found.link);
  return links;
}

Links ToLinks(std::vector<std::string>::const_iterator from, std::vector<std::string>::const_iterator to) {
  Links links;
  for (; from != to; ++from) links.emplace_back(from->substr(0, from->find('=')), from->substr(from->find('=') + 1));
  return links;
}

// Each page is read whole, byte by byte and in odd pieces: tags span the pieces.
TEST(LinkCorpus, EveryPageGivesItsLinksHoweverItIsCut) {
  for (const char* page : {"anchors", "tag_set", "sjis", "broken"}) {
    const std::string bytes = ReadTestFile(std::string("linkcheck/corpus/") + page + ".html");
    ASSERT_FALSE(bytes.empty()) << page;
    Links expected;
    for (const auto& row : ReadCases(std::string("linkcheck/corpus/") + page + ".links"))
      for (const auto& link : ToLinks(row.begin(), row.end())) expected.push_back(link);
    for (size_t piece : {bytes.size(), size_t{1}, size_t{7}}) EXPECT_EQ(Scan(bytes, piece), expected) << page << " / " << piece;
  }
  const auto scans = ReadCases("linkcheck/data/scans.tsv");
  ASSERT_GT(scans.size(), 10u);
  for (const auto& row : scans) EXPECT_EQ(Scan(row[0]), ToLinks(row.begin() + 1, row.end())) << row[0];
}

// The word rules, letter case, the rows and what opening a link hands to the shell.
TEST(LinkRules, EveryCaseOfTheTable) {
  using case_table::Args;
  const std::set<std::string> files{"Sub/Page.html", "\x95\x5c\x8e\xa6.html", "docs\\a.html", "\x95\x5c\\a.html"};
  bool looked = false;
  auto exists = [&](const std::string& path) {
    looked = true;
    return files.count(path) > 0;
  };
  case_table::RunCases("linkcheck/data/word_rules.tsv",
                       {{"join", [](const Args& a) {
                          TagWords words(a.begin(), a.end());
                          JoinEqualsWords(words);
                          return case_table::Join(words, " ");
                        }},
                        {"attr", [](const Args& a) {
                          std::string value;
                          return FindAttribute(TagWords(a.begin() + 1, a.end()), a[0], value) ? value : "-";
                        }},
                        {"nocase", [](const Args& a) { return case_table::Bool(SameTextNoCase(a[0], a[1])); }},
                        {"row", [&](const Args& a) {
                          looked = false;
                          const std::string file = a.size() > 2 ? a[2] : "index.html";
                          const LinkRowTexts row = MakeLinkRow({std::stoi(a[0]), a[1]}, file, exists, "OK", "NG");
                          EXPECT_FALSE(looked && row.availability == "--") << "an external link looked up";
                          return row.tag + " " + row.fileName + " " + row.availability;
                        }},
                        {"open", [](const Args& a) { return OpenTargetOfLink(a[0], a[1], a.size() > 2 ? a[2] : "index.html"); }},
                        {"program", [](const Args& a) { return case_table::Bool(LinkRunsProgram(a[0])); }}});
}

TEST(Limits, LongWordsAreCutBetweenCharactersAndEveryWordOfATagIsKept) {
  std::string kanji;
  for (int i = 0; i < 700; ++i) kanji += "\x95\x5c";
  // "href=" and 509 characters fill the word's 1,023 bytes exactly; one byte more before
  // them and the 1,023rd byte would be the first half of a character
  EXPECT_EQ(Scan("<a href=" + kanji + ">"), (Links{{"a", kanji.substr(0, 1018)}}));
  EXPECT_EQ(Scan("<a href=x" + kanji + ">"), (Links{{"a", "x" + kanji.substr(0, 1016)}}));
  EXPECT_EQ(Scan("<a href=" + std::string(3000, 'x') + ">"), (Links{{"a", std::string(kWordRoom - 5, 'x')}}));
  EXPECT_EQ(Scan("<img alt=" + kanji + " src=\"s.gif\">"), (Links{{"img", "s.gif"}}));  // the next word begins anew

  std::string tag = "<a";
  for (int i = 1; i < 100; ++i) tag += " data-w" + std::to_string(i) + "=\"v\"";
  EXPECT_EQ(Scan(tag + " href=\"last.html\">"), (Links{{"a", "last.html"}}));
  EXPECT_EQ(Scan(tag + " href = \"joined.html\">"), (Links{{"a", "joined.html"}}));
  EXPECT_EQ(Scan(tag + ">"), Links{});
}

TEST(Limits, FiveMegabytePages) {
  const size_t big = 5u << 20;
  std::string page, line = "<tr><td background=\"cell.gif\"><a href=\"page%.html#x\">text</a></td></tr>\r\n";
  size_t lines = 0;
  for (; page.size() < big; ++lines) page += line;
  Links links = Scan(page, 65536);
  ASSERT_EQ(links.size(), lines * 2);
  EXPECT_EQ(links.back(), (Links::value_type{"a", "page%.html"}));
  EXPECT_EQ(Scan(std::string(big, 'x'), 65536), Links{});  // no tag at all
  EXPECT_EQ(Scan("<a href=" + std::string(big, 'y'), 65536), Links{});  // a tag that never ends
  std::string words = "<img";
  while (words.size() < big) words += " w";
  EXPECT_EQ(Scan(words + " src=\"end.gif\">", 65536), (Links{{"img", "end.gif"}}));
  EXPECT_EQ(Scan("<img title=" + std::string(big, 't') + " src=\"z.gif\">", 65536), (Links{{"img", "z.gif"}}));
}

}  // namespace
