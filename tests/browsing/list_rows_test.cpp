// The rows both file lists show: column texts, icons and keys of local items and of
// parsed remote entries, and their order once sorted.
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

std::vector<std::string> Names(const std::vector<ListRow>& rows) {
  std::vector<std::string> names;
  for (const ListRow& r : rows) names.push_back(r.texts.column[0]);
  return names;
}

TEST(LocalRows, SizesUseBothHalvesOfTheRecord) {
  EXPECT_EQ(LocalSizeText(0x20, 0, 1234), "1234");
  // 2 GiB and 3 GiB: the low half alone would read as a negative 32-bit number.
  EXPECT_EQ(LocalSizeText(0x20, 0, 0x80000000u), "2147483648");
  EXPECT_EQ(LocalSizeText(0x20, 0, 0xC0000000u), "3221225472");
  EXPECT_EQ(LocalSizeText(0x20, 1, 0x40000000u), "5368709120");
  EXPECT_EQ(LocalSizeText(0x20, 0xFFFFFFFFu, 0xFFFFFFFFu), "18446744073709551615");
  EXPECT_EQ(LocalSizeText(0x10, 7, 7), "   ");
  EXPECT_EQ(LocalSizeText(0x10 | 0x20, 0, 0), "   ");
}

TEST(LocalRows, AttributeLetters) {
  EXPECT_EQ(LocalAttributesText(0x20), "A---");
  EXPECT_EQ(LocalAttributesText(0x02 | 0x01), "-H-R");
  EXPECT_EQ(LocalAttributesText(0x27), "AHSR");
  EXPECT_EQ(LocalAttributesText(0x10), "----");
  EXPECT_EQ(LocalAttributesText(0x80), "----");  // normal: none of the four
}

TEST(LocalRows, ParentAndItemRows) {
  OptionsRecord o;
  RowWords w;
  ListRow parent = LocalParentRow(o, w);
  EXPECT_EQ(Names({parent}), std::vector<std::string>{".."});
  EXPECT_EQ(parent.texts.column[1], "   ");
  EXPECT_EQ(parent.texts.column[2], "Folder");
  EXPECT_EQ(parent.texts.column[3], " ");
  EXPECT_EQ(parent.texts.column[4], " ");
  EXPECT_EQ(parent.image, 4);
  EXPECT_EQ(parent.key, 0);
  o.DetailExt = 1;
  EXPECT_EQ(LocalParentRow(o, w).image, 3);

  o = OptionsRecord();
  ListRow text = LocalRowOf(File("Read.TXT", 0, 1234), 1, o, Case(), w);
  EXPECT_EQ(text.texts.column[0], "Read.TXT");
  EXPECT_EQ(text.texts.column[1], "1234");
  EXPECT_EQ(text.texts.column[2], "ASCII");
  EXPECT_EQ(text.texts.column[3], "1999/02/03 09:05");
  EXPECT_EQ(text.texts.column[4], "A---");
  EXPECT_EQ(text.image, 1);
  EXPECT_EQ(text.key, 1);
  EXPECT_EQ(LocalRowOf(File("p.zip", 0, 1), 2, o, Case(), w).texts.column[2], "BINARY");
  ListRow other = LocalRowOf(File("notes", 0, 1), 3, o, Case(), w);
  EXPECT_EQ(other.texts.column[2], "File");
  EXPECT_EQ(other.image, 3);
  ListRow folder = LocalRowOf(File("src", 0, 0, 0x10), 4, o, Case(), w);
  EXPECT_EQ(folder.texts.column[1], "   ");
  EXPECT_EQ(folder.texts.column[2], "Folder");
  EXPECT_EQ(folder.image, 0);

  // The shell's type name and icon replace the program's own only when asked for.
  LocalFileFacts shelled = File("a.txt", 0, 5);
  shelled.shellTypeName = "Text Document";
  shelled.systemIcon = 42;
  EXPECT_EQ(LocalRowOf(shelled, 1, o, Case(), w).texts.column[2], "ASCII");
  EXPECT_EQ(LocalRowOf(shelled, 1, o, Case(), w).image, 1);
  o.DetailExt = 1;
  o.DetailIcon = 1;
  EXPECT_EQ(LocalRowOf(shelled, 1, o, Case(), w).texts.column[2], "Text Document");
  EXPECT_EQ(LocalRowOf(shelled, 1, o, Case(), w).image, 42);
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
  ListRow parent = RemoteParentRow(w);
  EXPECT_EQ(parent.texts.column[0], "..");
  EXPECT_EQ(parent.texts.column[1], "   ");
  EXPECT_EQ(parent.texts.column[2], "Folder");
  EXPECT_EQ(parent.image, 4);
  EXPECT_EQ(parent.key, 3000);

  ListRow pub = RemoteRowOf(entries[0], 1, o, Case(), 0, w);
  EXPECT_EQ(pub.texts.column[1], "   ");
  EXPECT_EQ(pub.texts.column[2], "Folder");
  EXPECT_EQ(pub.texts.column[3], "2024/01/10 10:00");
  EXPECT_EQ(pub.texts.column[4], "drwxr-xr-x");
  EXPECT_EQ(pub.image, 0);
  EXPECT_EQ(pub.key, 3001);
  ListRow a = RemoteRowOf(entries[1], 2, o, Case(), 0, w);
  EXPECT_EQ(a.texts.column[1], "1234");
  EXPECT_EQ(a.texts.column[2], "ASCII");
  EXPECT_EQ(a.texts.column[3], "1999/01/10 00:00");
  EXPECT_EQ(a.image, 1);
  // A size beyond 32 bits is shown whole; Dec 31 in March is last year, and an hour of
  // lag carries it into the new year.
  ListRow big = RemoteRowOf(entries[2], 3, o, Case(), 60, w);
  EXPECT_EQ(big.texts.column[1], "5000000000");
  EXPECT_EQ(big.texts.column[2], "BINARY");
  EXPECT_EQ(big.texts.column[3], "2024/01/01 00:30");
  ListRow link = RemoteRowOf(entries[3], 4, o, Case(), -540, w);
  EXPECT_EQ(link.texts.column[0], "up");
  EXPECT_EQ(link.texts.column[1], "   ");
  EXPECT_EQ(link.texts.column[3], "2020/01/31 15:00");
}

TEST(ListRows, SortedRowsKeepTheParentAmongTheFolders) {
  RowWords w;
  OptionsRecord o;
  std::vector<ListRow> rows;
  rows.push_back(LocalParentRow(o, w));
  long n = 0;
  for (auto* name : {"src", "b.txt", "Bin", "A.txt"}) {
    uint32_t attributes = name[0] == 's' || name[0] == 'B' ? 0x10 : 0x20;
    rows.push_back(LocalRowOf(File(name, 0, 10 - static_cast<uint32_t>(n), attributes), n + 1, o, Case(), w));
    ++n;
  }
  std::vector<ListRow> byName = rows;
  SortListRows(byName, 40023, false, Case());
  EXPECT_EQ(Names(byName), (std::vector<std::string>{"..", "Bin", "src", "A.txt", "b.txt"}));
  SortListRows(byName, 40023, true, Case());
  EXPECT_EQ(Names(byName), (std::vector<std::string>{"b.txt", "A.txt", "src", "Bin", ".."}));
  std::vector<ListRow> unsorted = rows;
  SortListRows(unsorted, 40028, false, Case());
  EXPECT_EQ(Names(unsorted), Names(rows));
}

}  // namespace

namespace {

TEST(TreeCacheRename, LinesBelowARenamedFolderFollowIt) {
  std::vector<std::string> lines = {"pub/", "pub/linux/", "pub/linux/kernel/", "pub/linuxes/", "docs/",
                                    "pub/gnu/kernel/"};
  // The folder's own line is the caller's (appended new, removed old); the lines below
  // it move; a look-alike prefix ("linuxes") and an existing line are left as they are.
  EXPECT_EQ(RenameTreeCacheDescendants(lines, "pub/linux/", "pub/gnu/"),
            (std::vector<std::string>{"pub/", "pub/linux/", "pub/gnu/kernel/", "pub/linuxes/", "docs/"}));
  EXPECT_EQ(RenameTreeCacheDescendants({"a/", "a/b/"}, "a/", "z/"), (std::vector<std::string>{"a/", "z/b/"}));
  EXPECT_EQ(RenameTreeCacheDescendants({"a/", "a/b/"}, "", "z/"), (std::vector<std::string>{"a/", "a/b/"}));
}

}  // namespace

namespace {

TEST(RemoteRows, ClassCacheAnswersAsTheTypeRule) {
  OptionsRecord o;
  o.AsciiType = "txt;HTML";
  o.BinaryType = "jpg;txt.gz";
  EntryClassCache cache(o, Case());
  auto entry = [](const std::string& name, uint32_t attributes) {
    RemoteEntry e;
    e.name = name;
    e.attributes = attributes;
    return e;
  };
  // Asked twice each, in an order where a cached answer could leak to another name.
  for (int pass = 0; pass < 2; ++pass) {
    for (auto [name, attributes] : std::vector<std::pair<std::string, uint32_t>>{
             {"a.txt", 0}, {"B.TXT", 0}, {"x.jpg", 0}, {"y.html", 0}, {"noext", 0}, {"txt", 0}, {"..", 0x10},
             {"pub.txt", 0x10}, {"a.tar.gz", 0}, {"c.Html", 0}, {".txt", 0}}) {
      SCOPED_TRACE(name);
      RemoteEntry e = entry(name, attributes);
      EXPECT_EQ(cache.ClassOf(e), ClassifyEntry(e.attributes, e.name, o, Case()));
    }
  }
}

}  // namespace
