// Favorite names: what Add Favorites and the importers make of a name, the next free file
// name, the menu text, the menu's order and its numbering, the tree cache a favorite keeps,
// and the filter text of the Open dialogs.
#include <gtest/gtest.h>

#include <set>

#include "app/text_case.h"
#include "app/tree_cache.h"
#include "config/favorite_names.h"
#include "config/favorites_menu_model.h"
#include "config/open_dialog_filter.h"

namespace {

TEST(FavoriteNames, AddFavoritesReplacesOnlyTheSixCharacters) {
  EXPECT_EQ(FavoriteFileBaseName("a/b:c"), "a_b_c");
  EXPECT_EQ(FavoriteFileBaseName("\\/:*?|"), "______");
  EXPECT_EQ(FavoriteFileBaseName("my <site> \"x\". .."), "my <site> \"x\". ..");
  // Shift-JIS "table" (0x95 0x5C) and katakana "po" (0x83 0x7C) stay whole.
  EXPECT_EQ(FavoriteFileBaseName("\x95\x5c\x83\x7c/"), "\x95\x5c\x83\x7c_");
}

TEST(FavoriteNames, ImportedNamesCannotLeaveTheProgramFolder) {
  for (const std::string& hostile : {std::string("..\\..\\evil"), std::string("C:\\x"), std::string("/abs"),
                                     std::string("\\\\server\\share\\x"), std::string("../up"), std::string("a:b*c?d|e")}) {
    const std::string name = ImportedFavoriteBaseName(hostile);
    EXPECT_EQ(name.find_first_of("\\/:*?|"), std::string::npos) << hostile;
    EXPECT_FALSE(name.empty()) << hostile;
  }
  EXPECT_EQ(ImportedFavoriteBaseName("..\\..\\evil"), ".._.._evil");
  EXPECT_EQ(ImportedFavoriteBaseName("C:\\x"), "C__x");
  EXPECT_EQ(ImportedFavoriteBaseName("/abs"), "_abs");
  EXPECT_EQ(ImportedFavoriteBaseName("a<b>\"c\"\t\x7f"), "a_b__c___");
  // Nothing of a file name left: no favorite.
  EXPECT_EQ(ImportedFavoriteBaseName(""), "");
  EXPECT_EQ(ImportedFavoriteBaseName(".."), "");
  EXPECT_EQ(ImportedFavoriteBaseName(" . "), "");
  // Devices are no files.
  EXPECT_EQ(ImportedFavoriteBaseName("CON"), "_CON");
  EXPECT_EQ(ImportedFavoriteBaseName("nul.txt"), "_nul.txt");
  EXPECT_EQ(ImportedFavoriteBaseName("com1"), "_com1");
  EXPECT_EQ(ImportedFavoriteBaseName("console"), "console");
  EXPECT_EQ(ImportedFavoriteBaseName("\x95\x5c\x83\x7c"), "\x95\x5c\x83\x7c");
}

TEST(FavoriteNames, FreeNamesAreNumberedAfterTheName) {
  std::set<std::string> taken;
  auto exists = [&](const std::string& name) { return taken.count(name) > 0; };
  for (int i = 0; i < 3; ++i) taken.insert(FreeFavoriteFileName("x", exists));
  EXPECT_EQ(taken, (std::set<std::string>{"x.BOK", "x0.BOK", "x1.BOK"}));
  taken = {"x.BOK", "x1.BOK"};
  EXPECT_EQ(FreeFavoriteFileName("x", exists), "x0.BOK");
  EXPECT_EQ(FreeFavoriteFileName("y", exists), "y.BOK");
}

TEST(FavoriteNames, DisplayNameAndFileNames) {
  EXPECT_EQ(FavoriteDisplayName("ftp.example.BOK"), "ftp.example");
  EXPECT_EQ(FavoriteDisplayName("a_b_c.BOK"), "a_b_c");
  EXPECT_EQ(FavoriteDisplayName(".BOK"), "");
  EXPECT_TRUE(IsFavoriteFileName("x.BOK"));
  EXPECT_TRUE(IsFavoriteFileName("x.bok"));
  EXPECT_FALSE(IsFavoriteFileName("x.BOKX"));
  EXPECT_FALSE(IsFavoriteFileName("xBOK"));
}

TEST(FavoriteNames, SortIgnoresLetterCaseAndKeepsEveryName) {
  std::vector<std::string> names = {"zeta.BOK", "Alpha.BOK", "beta.BOK", "alpha0.BOK", "Beta.BOK", "\x83\x41.BOK"};
  SortFavoriteNames(names, ShiftJisAsciiCase());
  ASSERT_EQ(names.size(), 6u);
  EXPECT_EQ(names[0], "Alpha.BOK");
  EXPECT_EQ(names[1], "alpha0.BOK");
  EXPECT_TRUE((names[2] == "beta.BOK" && names[3] == "Beta.BOK") || (names[2] == "Beta.BOK" && names[3] == "beta.BOK"));
  EXPECT_EQ(names[4], "zeta.BOK");
  EXPECT_EQ(names[5], "\x83\x41.BOK");
}

TEST(FavoritesMenu, PopupEntriesComeFirstAndNumbersStopAtTheRange) {
  const std::vector<FavoriteFolder> folders = {{"work", {"w1.BOK", "w2.BOK"}}, {"empty", {}}, {"old", {"o.BOK"}}};
  const FavoritesMenuModel model = MakeFavoritesMenuModel("C:\\Vako\\", folders, {"a.BOK", "ftp.example.BOK"});
  ASSERT_EQ(model.popups.size(), 3u);
  EXPECT_EQ(model.popups[0].title, "work");
  EXPECT_EQ(model.popups[0].entries[0].id, 20000);
  EXPECT_EQ(model.popups[0].entries[1].id, 20001);
  EXPECT_EQ(model.popups[0].entries[1].text, "w2");
  EXPECT_TRUE(model.popups[1].entries.empty());
  EXPECT_EQ(model.popups[2].entries[0].id, 20002);
  ASSERT_EQ(model.entries.size(), 2u);
  EXPECT_EQ(model.entries[0].id, 20003);
  EXPECT_EQ(model.entries[1].text, "ftp.example");
  // An entry of a sub-folder opens the file in that folder, not one of the same name above it.
  EXPECT_EQ(model.PathOf(20000), "C:\\Vako\\work\\w1.BOK");
  EXPECT_EQ(model.PathOf(20004), "C:\\Vako\\ftp.example.BOK");
  EXPECT_EQ(model.PathOf(20005), "");
  EXPECT_EQ(model.PathOf(19999), "");

  // 100 names in the program folder after 30 in a pop-up: the last 30 are shown but inert.
  std::vector<std::string> many;
  for (int i = 0; i < 100; ++i) many.push_back("h" + std::to_string(100 + i) + ".BOK");
  std::vector<std::string> thirty(30, "s.BOK");
  const FavoritesMenuModel full = MakeFavoritesMenuModel("C:\\Vako\\", {{"sub", thirty}}, many);
  EXPECT_EQ(full.entries[69].id, 20099);
  EXPECT_EQ(full.entries[70].id, kInertFavoriteCommand);
  EXPECT_EQ(full.entries[99].id, kInertFavoriteCommand);
  EXPECT_EQ(full.entries[99].text, "h199");
  EXPECT_EQ(full.PathOf(kInertFavoriteCommand), "");
  EXPECT_EQ(full.PathOf(20099), "C:\\Vako\\h169.BOK");

  // At most 100 pop-ups; numbers never wrap into the range again.
  std::vector<FavoriteFolder> folders150;
  for (int i = 0; i < 150; ++i) folders150.push_back({"f" + std::to_string(i), std::vector<std::string>(500, "z.BOK")});
  const FavoritesMenuModel huge = MakeFavoritesMenuModel("C:\\Vako\\", folders150, {"a.BOK"});
  EXPECT_EQ(huge.popups.size(), 100u);
  EXPECT_EQ(huge.popups[99].entries[499].id, kInertFavoriteCommand);
  EXPECT_EQ(huge.entries[0].id, kInertFavoriteCommand);
}

TEST(FavoriteTreeCache, AFavoriteWithoutHostNameKeepsItsCacheUnderItsOwnName) {
  EXPECT_EQ(KeptTreeCachePath("C:\\Vako\\", "ftp.example.org", "C:\\Vako\\x.BOK"), "C:\\Vako\\ftp.example.org.tre");
  EXPECT_EQ(KeptTreeCachePath("C:\\Vako\\", "", "C:\\Vako\\x.BOK"), "C:\\Vako\\x.tre");
  EXPECT_EQ(KeptTreeCachePath("C:\\Vako\\", "", "C:\\Vako\\work\\y.bok"), "C:\\Vako\\work\\y.tre");
  EXPECT_NE(KeptTreeCachePath("C:\\Vako\\", "", "C:\\Vako\\x.BOK"), KeptTreeCachePath("C:\\Vako\\", "", "C:\\Vako\\x0.BOK"));
  // A file of another name never names a file beside its folder.
  EXPECT_EQ(KeptTreeCachePath("C:\\Vako\\", "", "C:\\fav\\abc"), "C:\\fav\\abc.tre");
  // A connection that came from no file keeps the old rule.
  EXPECT_EQ(KeptTreeCachePath("C:\\Vako\\", "", ""), "C:\\Vako\\.tre");
}

TEST(OpenDialogFilter, SeparatorsAreSingleByteBars) {
  EXPECT_EQ(OpenDialogFilter("Vako FTP Favorites|*.BOK|"), std::string("Vako FTP Favorites\0*.BOK\0\0\0", 27));
  // Katakana "po" ends in 0x7C: it stays a character.
  EXPECT_EQ(OpenDialogFilter("\x83\x7c|*.ini|"), std::string("\x83\x7c\0*.ini\0\0\0", 11));
}

}  // namespace
