// The rows both file lists show: column texts, icons and keys of local items and of parsed
// remote entries, their order once sorted, the type cache, and tree-cache renames.
#include <gtest/gtest.h>

#include "app/list_row.h"
#include "app/local_rows.h"
#include "app/tree_cache_rename.h"
#include "ftp/remote_rows.h"
#include "jobs/transfer_rules.h"

namespace {

const TextCase& Case() { return ShiftJisAsciiCase(); }

LocalFileFacts File(const std::string& name, uint32_t high, uint32_t low, uint32_t attributes = 0x20) {
  LocalFileFacts f;
  f.name = name;
  f.sizeHigh = high;
  f.sizeLow = low;
  f.attributes = attributes;
  f.lastWrite = EntryDate{1999, 2, 3, 9, 5};
  return f;
}

// Name, size, type, date, attributes; then image and key.
void ExpectRow(const ListRow& row, std::vector<std::string> texts, int image, long key) {
  for (size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(row.texts.column[i], texts[i]) << texts[0] << " column " << i;
  EXPECT_EQ(row.image, image) << texts[0];
  EXPECT_EQ(row.key, key) << texts[0];
}

TEST(LocalRows, TextsOfBothHalvesOfTheSizeAndTheAttributeLetters) {
  // 2 and 3 GiB: the low half alone would read as a negative 32-bit number.
  EXPECT_EQ(LocalSizeText(0x20, 0, 0x80000000u), "2147483648");
  EXPECT_EQ(LocalSizeText(0x20, 1, 0x40000000u), "5368709120");
  EXPECT_EQ(LocalSizeText(0x20, 0xFFFFFFFFu, 0xFFFFFFFFu), "18446744073709551615");
  EXPECT_EQ(LocalSizeText(0x10 | 0x20, 0, 0), "   ");
  EXPECT_EQ(LocalAttributesText(0x27), "AHSR");
  EXPECT_EQ(LocalAttributesText(0x02 | 0x01), "-H-R");
  EXPECT_EQ(LocalAttributesText(0x80), "----");  // normal: none of the four

  OptionsRecord o;
  RowWords w;
  ExpectRow(LocalParentRow(o, w), {"..", "   ", "Folder", " ", " "}, 4, 0);
  ExpectRow(LocalRowOf(File("Read.TXT", 0, 1234), 1, o, Case(), w), {"Read.TXT", "1234", "ASCII", "1999/02/03 09:05", "A---"}, 1, 1);
  ExpectRow(LocalRowOf(File("p.zip", 0, 1), 2, o, Case(), w), {"p.zip", "1", "BINARY"}, 2, 2);
  ExpectRow(LocalRowOf(File("notes", 0, 1), 3, o, Case(), w), {"notes", "1", "File"}, 3, 3);
  ExpectRow(LocalRowOf(File("src", 0, 0, 0x10), 4, o, Case(), w), {"src", "   ", "Folder"}, 0, 4);
  // The shell's type name and icon replace the program's own only when asked for.
  LocalFileFacts shelled = File("a.txt", 0, 5);
  shelled.shellTypeName = "Text Document";
  shelled.systemIcon = 42;
  ExpectRow(LocalRowOf(shelled, 1, o, Case(), w), {"a.txt", "5", "ASCII"}, 1, 1);
  o.DetailExt = o.DetailIcon = 1;
  ExpectRow(LocalRowOf(shelled, 1, o, Case(), w), {"a.txt", "5", "Text Document"}, 42, 1);
  EXPECT_EQ(LocalParentRow(o, w).image, 3);
}

TEST(RemoteRows, RowsOfAListing) {
  ListingClock march;
  march.year = 2024;
  march.month = 3;
  auto entries = ParseListing(
      "drwxr-xr-x   2 owner  group   512 Jan 10 10:00 pub\r\n"
      "-rw-r--r--   1 owner  group  1234 Jan 10  1999 a.txt\r\n"
      "-rw-r--r--   1 owner  group  5000000000 Dec 31 23:30 big.lzh\r\n"
      "lrwxrwxrwx   1 owner  group  3 Feb 1 2020 up -> pub\r\n",
      march);
  ASSERT_EQ(entries.size(), 4u);
  OptionsRecord o;
  RowWords w;
  ExpectRow(RemoteParentRow(w), {"..", "   ", "Folder"}, 4, 3000);
  ExpectRow(RemoteRowOf(entries[0], 1, o, Case(), 0, w), {"pub", "   ", "Folder", "2024/01/10 10:00", "drwxr-xr-x"}, 0, 3001);
  ExpectRow(RemoteRowOf(entries[1], 2, o, Case(), 0, w), {"a.txt", "1234", "ASCII", "1999/01/10 00:00"}, 1, 3002);
  // Beyond 32 bits; Dec 31 in March is last year, and an hour of lag carries it over.
  ExpectRow(RemoteRowOf(entries[2], 3, o, Case(), 60, w), {"big.lzh", "5000000000", "BINARY", "2024/01/01 00:30"}, 2, 3003);
  ExpectRow(RemoteRowOf(entries[3], 4, o, Case(), -540, w), {"up", "   ", "Folder", "2020/01/31 15:00"}, 0, 3004);
}

TEST(ListRows, SortedRowsKeepTheParentAmongTheFolders) {
  RowWords w;
  OptionsRecord o;
  std::vector<ListRow> rows = {LocalParentRow(o, w)};
  for (auto* name : {"src", "b.txt", "Bin", "A.txt"}) {
    const uint32_t folder = name[0] == 's' || name[0] == 'B' ? 0x10 : 0x20;
    rows.push_back(LocalRowOf(File(name, 0, 10 - static_cast<uint32_t>(rows.size()), folder), static_cast<long>(rows.size()), o, Case(), w));
  }
  auto names = [](std::vector<ListRow> sorted) {
    std::string all;
    for (const ListRow& r : sorted) all += r.texts.column[0] + " ";
    return all;
  };
  std::vector<ListRow> sorted = rows;
  SortListRows(sorted, 40023, false, Case());
  EXPECT_EQ(names(sorted), ".. Bin src A.txt b.txt ");
  SortListRows(sorted, 40023, true, Case());
  EXPECT_EQ(names(sorted), "b.txt A.txt src Bin .. ");
  sorted = rows;
  SortListRows(sorted, 40028, false, Case());
  EXPECT_EQ(names(sorted), names(rows));
}

TEST(RemoteRows, ClassCacheAnswersAsTheTypeRule) {
  OptionsRecord o;
  o.AsciiType = "txt;HTML";
  o.BinaryType = "jpg;txt.gz";
  EntryClassCache cache(o, Case());
  // Asked twice each, in an order where a cached answer could leak to another name.
  for (int pass = 0; pass < 2; ++pass) {
    for (auto [name, attributes] : std::vector<std::pair<std::string, uint32_t>>{
             {"a.txt", 0}, {"B.TXT", 0}, {"x.jpg", 0}, {"y.html", 0}, {"noext", 0}, {"txt", 0}, {"..", 0x10},
             {"pub.txt", 0x10}, {"a.tar.gz", 0}, {"c.Html", 0}, {".txt", 0}}) {
      RemoteEntry e;
      e.name = name;
      e.attributes = attributes;
      EXPECT_EQ(cache.ClassOf(e), ClassifyEntry(e.attributes, e.name, o, Case())) << name;
    }
  }
}

// The folder's own line is the caller's (appended new, removed old); the lines below it
// move; a look-alike prefix ("linuxes") and an existing line are left as they are.
TEST(TreeCacheRename, LinesBelowARenamedFolderFollowIt) {
  EXPECT_EQ(RenameTreeCacheDescendants({"pub/", "pub/linux/", "pub/linux/kernel/", "pub/linuxes/", "pub/gnu/kernel/"},
                                       "pub/linux/", "pub/gnu/"),
            (std::vector<std::string>{"pub/", "pub/linux/", "pub/gnu/kernel/", "pub/linuxes/"}));
  EXPECT_EQ(RenameTreeCacheDescendants({"a/", "a/b/"}, "", "z/"), (std::vector<std::string>{"a/", "a/b/"}));
}

}  // namespace
