// Favorite names (a table in data/): what Add Favorites and the importers make of a name, the
// display and filter texts, the next free file name, the menu's order, the tree cache a
// favorite keeps; and the menu's numbering.
#include <gtest/gtest.h>

#include <set>

#include "support/case_table.h"
#include "app/text_case.h"
#include "app/tree_cache.h"
#include "config/favorite_names.h"
#include "config/favorites_menu_model.h"
#include "config/open_dialog_filter.h"

namespace {

TEST(FavoriteNames, EveryRowOfTheTable) {
  using case_table::Args;
  case_table::RunCases("favorites/data/names.tsv",
                       {{"add", [](const Args& a) { return FavoriteFileBaseName(a[0]); }},
                        {"import", [](const Args& a) { return ImportedFavoriteBaseName(a[0]); }},
                        {"display", [](const Args& a) { return FavoriteDisplayName(a[0]); }},
                        {"is-file", [](const Args& a) { return std::to_string(IsFavoriteFileName(a[0])); }},
                        {"filter", [](const Args& a) { return OpenDialogFilter(a[0]); }},
                        {"tree-cache", [](const Args& a) { return KeptTreeCachePath(a[0], a[1], a[2]); }},
                        {"free", [](const Args& a) {
                          const std::set<std::string> taken(a.begin() + 1, a.end());
                          return FreeFavoriteFileName(a[0], [&](const std::string& n) { return taken.count(n) > 0; });
                        }},
                        {"sort", [](const Args& a) {
                          Args names = a;
                          SortFavoriteNames(names, ShiftJisAsciiCase());
                          return case_table::List(names);
                        }}});
}

TEST(FavoritesMenu, PopupEntriesComeFirstAndNumbersStopAtTheRange) {
  const std::vector<FavoriteFolder> folders = {{"work", {"w1.BOK", "w2.BOK"}}, {"empty", {}}, {"old", {"o.BOK"}}};
  const FavoritesMenuModel model = MakeFavoritesMenuModel("C:\\Vako\\", folders, {"a.BOK", "ftp.example.BOK"});
  ASSERT_EQ(model.popups.size(), 3u);
  EXPECT_EQ(model.popups[0].entries[1].id, 20001);
  EXPECT_EQ(model.popups[0].entries[1].text, "w2");
  EXPECT_EQ(model.popups[2].entries[0].id, 20002);
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
  const FavoritesMenuModel full = MakeFavoritesMenuModel("C:\\Vako\\", {{"sub", std::vector<std::string>(30, "s.BOK")}}, many);
  EXPECT_EQ(full.entries[69].id, 20099);
  EXPECT_EQ(full.entries[70].id, kInertFavoriteCommand);
  EXPECT_EQ(full.entries[99].text, "h199");
  EXPECT_EQ(full.PathOf(kInertFavoriteCommand), "");
  // At most 100 pop-ups; numbers never wrap into the range again.
  std::vector<FavoriteFolder> folders150;
  for (int i = 0; i < 150; ++i) folders150.push_back({"f" + std::to_string(i), std::vector<std::string>(500, "z.BOK")});
  const FavoritesMenuModel huge = MakeFavoritesMenuModel("C:\\Vako\\", folders150, {"a.BOK"});
  EXPECT_EQ(huge.popups.size(), 100u);
  EXPECT_EQ(huge.popups[99].entries[499].id, kInertFavoriteCommand);
  EXPECT_EQ(huge.entries[0].id, kInertFavoriteCommand);
}

}  // namespace
