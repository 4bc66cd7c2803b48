// Which help F1 opens, from the files beside the program and the edition's language.
#include <gtest/gtest.h>

#include <set>

#include "app/help_file.h"

namespace {

HelpToOpen Choose(const std::string& language, std::set<std::string> files) {
  return ChooseHelp("C:\\Vako\\", language, [&](const std::string& p) { return files.count(p) > 0; });
}

const char kEn[] = "C:\\Vako\\help\\en\\index.html";
const char kJa[] = "C:\\Vako\\help\\ja\\index.html";

TEST(HelpChoice, OldHelpFileWinsOverThePages) {
  HelpToOpen h = Choose("ja", {"C:\\Vako\\vako.hlp", kEn, kJa});
  EXPECT_EQ(h.file, "vako.hlp");
  EXPECT_EQ(h.folder, "C:\\Vako\\");
}

TEST(HelpChoice, PagesOfTheEditionsLanguage) {
  EXPECT_EQ(Choose("ja", {kEn, kJa}).file, kJa);
  EXPECT_EQ(Choose("en", {kEn, kJa}).file, kEn);
  EXPECT_EQ(Choose("", {kEn, kJa}).file, kEn);             // a missing string: English
  EXPECT_EQ(Choose("ja", {kEn}).file, kEn);                // no Japanese pages
  EXPECT_EQ(Choose("..\\..\\x", {kEn, kJa}).file, kEn);    // never a path from the text
}

}  // namespace
