// Link extraction from HTML bytes: a corpus of hand-written pages (every tag of the set,
// both kinds of quotes and none, both cases, entities, Shift-JIS, broken tags), the word
// rules, and pages far larger than any word, tag or buffer.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "linkcheck/link_rows.h"
#include "linkcheck/link_scanner.h"
#include "linkcheck/link_tables.h"
#include "linkcheck/tag_words.h"
#include "support/test_env.h"

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

std::string Corpus(const std::string& name) {
  std::ifstream in(testenv::Get("VAKO_SOURCE_DIR") + "/tests/linkcheck/corpus/" + name, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

// The page's links read whole, byte by byte and in odd pieces: tags span the pieces.
void ExpectLinks(const std::string& name, const Links& expected) {
  const std::string bytes = Corpus(name);
  ASSERT_FALSE(bytes.empty()) << name;
  EXPECT_EQ(Scan(bytes), expected) << name;
  EXPECT_EQ(Scan(bytes, 1), expected) << name << " byte by byte";
  EXPECT_EQ(Scan(bytes, 7), expected) << name << " in pieces of 7";
}

TEST(LinkCorpus, Anchors) {
  ExpectLinks("anchors.html", {
                                  {"a", "Sub/Page.html"},  // capitals, fragment cut
                                  {"a", "plain.html"},
                                  {"a", "Mixed.HTML"},
                                  {"a", ""},  // only a fragment
                                  {"a", "docs/index.html"},
                                  {"a", "/index.html"},
                                  {"a", "spaced.html"},  // spaces around "="
                                  {"a", "quoted.html"},  // doubled quotes and blanks
                                  // page.cgi?x=1: its attribute name is href=page.cgi?x
                                  {"a", "find.cgi?q"},
                                  // the line break and the tab become part of the tag name
                                  {"a", "second.html"},
                                  {"a", "http://www.example.com/index.html"},
                                  {"a", "mailto:user@example.com"},
                                  {"a", "ftp://ftp.example.com/pub/index.html"},
                                  {"a", "HTTP://caps.example.com/index.html"},
                                  {"a", "'single.html'"},  // only double quotes are dropped
                                  {"a", "it's.html"},
                                  {"a", "a&amp;b.html"},  // entities stay as written
                                  {"a", "href"},          // a bare attribute is its own value
                                  // </a ...> is never a link tag
                              });
}

TEST(LinkCorpus, EveryTagOfTheSetAndNoOther) {
  ExpectLinks("tag_set.html", {
                                  {"body", "img/bg.gif"},
                                  {"table", "img/table.gif"},
                                  {"tr", "img/tr.gif"},
                                  {"td", "img/td.gif"},
                                  {"th", "img/th.gif"},
                                  {"img", "img/logo.gif"},
                                  {"img", "https://secure.example.com/x.png"},
                                  {"embed", "media/clip.mid"},
                                  {"bgsound", "media/loop.wav"},
                                  {"form", "cgi/send.cgi"},
                                  {"input", "img/go.gif"},
                                  {"frame", "menu.html"},
                                  {"frame", "main.html"},
                              });
}

TEST(LinkCorpus, ShiftJisTextAndLinks) {
  // Second bytes 0x5C, 0x7C and 0x41 in the links come through as they are; the full-width
  // brackets are no tag.
  ExpectLinks("sjis.html", {
                               {"a", "\x95\x5c\x8e\xa6.html"},
                               {"a", "\x83\x5c\x83\x74\x83\x67/\x88\xea\x97\x97.html"},
                               {"a", "\x83\x7c/index.html"},
                               {"a", "\x97\x90\x92\x9a.html"},
                               {"img", "\x89\xe6\x91\x9c/\x83\x41\x83\x43\x83\x52\x83\x93.gif"},
                               {"a", "\x94\x5c\x97\xcd\\\x97\x5c\x92\xe8\x95\x5c.html"},
                           });
}

TEST(LinkCorpus, BrokenAndUnterminatedTags) {
  ExpectLinks("broken.html", {
                                 {"img", "kept.gif"},  // a "<" inside a tag starts it afresh
                                 {"a", "after.html"},
                                 // a ">" in a quoted value ends the tag before src; a line
                                 // break before ">" stays in the value; the last tag never ends
                                 {"a", "end.html\n"},
                             });
}

TEST(LinkCorpus, TheStatedEdgeCases) {
  EXPECT_EQ(Scan("<A HREF=Sub/Page.html#top>"), (Links{{"a", "Sub/Page.html"}}));
  EXPECT_EQ(Scan("<a href=\"#top\">"), (Links{{"a", ""}}));
  EXPECT_EQ(Scan("<a href=\"docs/\">"), (Links{{"a", "docs/index.html"}}));
  EXPECT_EQ(Scan("<a href = \"a.html\">"), Scan("<a href=\"a.html\">"));
  EXPECT_EQ(Scan("<a href=\"page.cgi?x=1\">"), Links{});
  EXPECT_EQ(Scan("<a\r\nhref=\"a.html\">"), Links{});
  EXPECT_EQ(Scan("<form action=\"cgi/send.cgi\">"), (Links{{"form", "cgi/send.cgi"}}));
  EXPECT_EQ(Scan("<a name=\"x\">"), Links{});
}

TEST(TagWords, EqualsWordsJoinAsTheRuleSays) {
  TagWords words{"img", "src", "=", "a.gif", "alt", "=", "b"};
  JoinEqualsWords(words);
  EXPECT_EQ(words, (TagWords{"img", "src=a.gif", "alt=b"}));
  // right after the tag name: left alone
  words = {"a", "=", "href", "=", "x"};
  JoinEqualsWords(words);
  EXPECT_EQ(words, (TagWords{"a", "=", "href=x"}));
  // the word that moves into the place of a join is not looked at again
  words = {"a", "href", "=", "x", "=", "y"};
  JoinEqualsWords(words);
  EXPECT_EQ(words, (TagWords{"a", "href=x", "=", "y"}));
  // a "=" at the end joins with nothing and keeps the attribute
  words = {"a", "href", "="};
  JoinEqualsWords(words);
  EXPECT_EQ(words, (TagWords{"a", "href="}));
  EXPECT_EQ(Scan("<a href =>"), (Links{{"a", ""}}));
  EXPECT_EQ(Scan("<a href = >"), (Links{{"a", ""}}));
}

TEST(TagWords, TheLastEqualsSignSplitsAndTheFirstMatchWins) {
  std::string value;
  EXPECT_TRUE(FindAttribute({"a", "name=x", "HREF=one", "href=two"}, "href", value));
  EXPECT_EQ(value, "one");
  EXPECT_FALSE(FindAttribute({"a", "href=a=b"}, "href", value));
  EXPECT_TRUE(FindAttribute({"a", "href=a=b"}, "href=a", value));
  EXPECT_EQ(value, "b");
  // the tag name is never an attribute
  EXPECT_FALSE(FindAttribute({"href=x"}, "href", value));
  EXPECT_FALSE(FindAttribute({"a"}, "href", value));
}

TEST(ShiftJis, LetterCaseFoldsOnlyCharactersOfTheirOwn) {
  EXPECT_TRUE(SameTextNoCase("BackGround", "background"));
  // katakana "a" (0x83 0x41) and "di" (0x83 0x61): their second bytes are 'A' and 'a'
  EXPECT_FALSE(SameTextNoCase("\x83\x41", "\x83\x61"));
  EXPECT_FALSE(SameTextNoCase("\x83\x41=x", "\x83\x61=x"));
  // a full-width A is no tag name "a"
  EXPECT_EQ(Scan("<\x82\x60 href=x.html>"), Links{});
  EXPECT_FALSE(SameTextNoCase(std::string("a\0b", 3), "a"));
}

TEST(ShiftJis, ALongLinkIsCutBetweenCharactersNeverInsideOne) {
  std::string kanji;
  for (int i = 0; i < 700; ++i) kanji += "\x95\x5c";
  // "href=" and 509 characters fill the word's 1,023 bytes exactly
  EXPECT_EQ(Scan("<a href=" + kanji + ">"), (Links{{"a", kanji.substr(0, 1018)}}));
  // one byte more before them: the 1,023rd byte would be the first half of a character
  EXPECT_EQ(Scan("<a href=x" + kanji + ">"), (Links{{"a", "x" + kanji.substr(0, 1016)}}));
  EXPECT_EQ(Scan("<a href=" + std::string(3000, 'x') + ">"), (Links{{"a", std::string(kWordRoom - 5, 'x')}}));
  // a cut word ends where the next word begins
  EXPECT_EQ(Scan("<img alt=" + kanji + " src=\"s.gif\">"), (Links{{"img", "s.gif"}}));
}

TEST(ShiftJis, ALeadByteTakesTheByteAfterItAsTheCodePageReadsIt) {
  // 0x82 before '#' or '/' makes one (broken) character: neither is a character of its own
  EXPECT_EQ(Scan("<a href=x\x82#y>"), (Links{{"a", "x\x82#y"}}));
  EXPECT_EQ(Scan("<a href=x\x82/>"), (Links{{"a", "x\x82/"}}));
  // 0x97 0x97 0x2F: the second 0x97 is a second byte, so the '/' stands alone
  EXPECT_EQ(Scan("<a href=\x97\x97/>"), (Links{{"a", "\x97\x97/index.html"}}));
}

TEST(Limits, ATagOfAHundredWordsKeepsEveryWord) {
  std::string tag = "<a";
  for (int i = 1; i < 100; ++i) tag += " data-w" + std::to_string(i) + "=\"v\"";
  EXPECT_EQ(Scan(tag + " href=\"last.html\">"), (Links{{"a", "last.html"}}));
  // spaces around "=" far beyond the twentieth word are still joined
  EXPECT_EQ(Scan(tag + " href = \"joined.html\">"), (Links{{"a", "joined.html"}}));
  EXPECT_EQ(Scan(tag + ">"), Links{});
}

TEST(Limits, FiveMegabytePages) {
  // a page of many ordinary lines
  std::string page, line = "<tr><td background=\"cell.gif\"><a href=\"page%.html#x\">text</a></td></tr>\r\n";
  size_t lines = 0;
  while (page.size() < 5u << 20) {
    page += line;
    ++lines;
  }
  Links links = Scan(page, 65536);
  ASSERT_EQ(links.size(), lines * 2);
  EXPECT_EQ(links.back(), (Links::value_type{"a", "page%.html"}));
  // one line of five megabytes without any tag
  EXPECT_EQ(Scan(std::string(5u << 20, 'x'), 65536), Links{});
  // one tag that never ends: five megabytes of one word
  EXPECT_EQ(Scan("<a href=" + std::string(5u << 20, 'y'), 65536), Links{});
  // one tag of five megabytes of words, its link at the very end
  std::string words = "<img";
  while (words.size() < 5u << 20) words += " w";
  EXPECT_EQ(Scan(words + " src=\"end.gif\">", 65536), (Links{{"img", "end.gif"}}));
  // five megabytes of one word, then the link
  EXPECT_EQ(Scan("<img title=" + std::string(5u << 20, 't') + " src=\"z.gif\">", 65536),
            (Links{{"img", "z.gif"}}));
}

TEST(LinkRows, ColumnsAndAvailability) {
  const std::set<std::string> files{"Sub/Page.html", "docs/index.html", "\x95\x5c\x8e\xa6.html"};
  auto exists = [&](const std::string& path) { return files.count(path) > 0; };
  LinkRowTexts row = MakeLinkRow({0, "Sub/Page.html"}, "index.html", exists, "OK", "NG");
  EXPECT_EQ(row.link, "Sub/Page.html");
  EXPECT_EQ(row.tag, "a");
  EXPECT_EQ(row.fileName, "index.html");
  EXPECT_EQ(row.availability, "OK");
  EXPECT_EQ(MakeLinkRow({0, ""}, "f", exists, "OK", "NG").availability, "NG");
  EXPECT_EQ(MakeLinkRow({0, "\x95\x5c\x8e\xa6.html"}, "f", exists, "OK", "NG").availability, "OK");
  // external links are marked and never looked up
  bool asked = false;
  auto ask = [&](const std::string&) { return asked = true; };
  for (const char* link : {"http://a/", "ftp://b", "mailto:c", "gopher://d", "news://e", "telnet://f", "palace://g",
                           "https://h"})
    EXPECT_EQ(MakeLinkRow({2, link}, "f", ask, "OK", "NG").availability, "--") << link;
  EXPECT_FALSE(asked);
  // the prefix is compared case-sensitively over its whole length
  EXPECT_EQ(MakeLinkRow({0, "HTTP://x"}, "f", ask, "OK", "NG").availability, "OK");
  EXPECT_EQ(MakeLinkRow({0, "http:/x"}, "f", exists, "OK", "NG").availability, "NG");
  EXPECT_EQ(MakeLinkRow({12, "t.gif"}, "f", exists, "OK", "NG").tag, "table");
}

TEST(LinkRows, WhatOpeningALinkHandsToTheShell) {
  EXPECT_EQ(OpenTargetOfLink("http://www.example.com/index.html", "C:\\site"), "http://www.example.com/index.html");
  EXPECT_EQ(OpenTargetOfLink("mailto:user@example.com", "C:\\site"), "mailto:user@example.com");
  EXPECT_EQ(OpenTargetOfLink("sub/page.html", "C:\\site"), "C:\\site\\sub/page.html");
  EXPECT_EQ(OpenTargetOfLink("page.html", "C:\\"), "C:\\page.html");
  // a folder whose last byte is 0x5C as the second byte of a character still gets its '\'
  EXPECT_EQ(OpenTargetOfLink("a.html", "C:\\\x95\x5c"), "C:\\\x95\x5c\\a.html");
}

}  // namespace
