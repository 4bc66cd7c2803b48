// Which help F1 opens, from the files beside the program and the edition's language.
#include <gtest/gtest.h>

#include <set>

#include "app/help_file.h"

TEST(HelpChoice, OldHelpFileFirstThenThePagesOfTheLanguage) {
  const std::string en = "C:\\Vako\\help\\en\\index.html", ja = "C:\\Vako\\help\\ja\\index.html";
  auto choose = [](const std::string& language, std::set<std::string> files) {
    return ChooseHelp("C:\\Vako\\", language, [&](const std::string& p) { return files.count(p) > 0; });
  };
  HelpToOpen old = choose("ja", {"C:\\Vako\\vako.hlp", en, ja});
  EXPECT_EQ(old.file, "vako.hlp");
  EXPECT_EQ(old.folder, "C:\\Vako\\");
  EXPECT_EQ(choose("ja", {en, ja}).file, ja);
  EXPECT_EQ(choose("en", {en, ja}).file, en);
  EXPECT_EQ(choose("", {en, ja}).file, en);            // no language text: English
  EXPECT_EQ(choose("ja", {en}).file, en);              // no Japanese pages
  EXPECT_EQ(choose("..\\..\\x", {en, ja}).file, en);   // never a path from the text
}
