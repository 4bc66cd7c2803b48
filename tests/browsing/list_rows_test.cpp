// The rows both file lists show: column texts, icons and keys of local items and of parsed
// remote entries (cases in data/rows.tsv), and the type cache.
#include "support/case_table.h"

#include "app/list_row.h"
#include "app/local_rows.h"
#include "ftp/remote_rows.h"
#include "jobs/transfer_rules.h"

namespace {

const TextCase& Sjis() { return ShiftJisAsciiCase(); }

LocalFileFacts File(const std::string& name, uint32_t high, uint32_t low, uint32_t attributes = 0x20) {
  LocalFileFacts f;
  f.name = name;
  f.sizeHigh = high;
  f.sizeLow = low;
  f.attributes = attributes;
  f.lastWrite = EntryDate{1999, 2, 3, 9, 5};
  return f;
}

std::string Shown(const ListRow& row) {
  std::string texts = row.texts.column[0];
  for (int i = 1; i < 5; ++i) texts += "|" + row.texts.column[i];
  return texts + "\t" + std::to_string(row.image) + "\t" + std::to_string(row.key);
}

TEST(ListRows, RowsAsTheListsShowThem) {
  OptionsRecord o;
  RowWords w;
  const ListingClock march{2024, 3};
  long local = 0, remote = 0;
  for (const Case& f : ReadCases("browsing/data/rows.tsv", false)) {
    if (f[0] == "local") {
      LocalFileFacts facts = File(f[4], std::stoul(f[2]), std::stoul(f[3]), std::stoul(f[1], nullptr, 16));
      EXPECT_EQ(Shown(LocalRowOf(facts, ++local, o, Sjis(), w)), f[5] + "\t" + f[6] + "\t" + f[7]);
    } else {
      std::vector<ListedEntry> entries = ParseListing(f[2], march);
      ASSERT_EQ(entries.size(), 1u) << f[2];
      EXPECT_EQ(Shown(RemoteRowOf(entries[0], ++remote, o, Sjis(), std::stoi(f[1]), w)), f[3] + "\t" + f[4] + "\t" + f[5]);
    }
  }
  EXPECT_GT(local + remote, 10);
  EXPECT_EQ(Shown(LocalParentRow(o, w)), "..|   |Folder| | \t4\t0");
  EXPECT_EQ(Shown(RemoteParentRow(w)), "..|   |Folder|   |\t4\t3000");
  // The shell's type name and icon replace the program's own only when asked for.
  LocalFileFacts shelled = File("a.txt", 0, 5);
  shelled.shellTypeName = "Text Document";
  shelled.systemIcon = 42;
  EXPECT_EQ(LocalRowOf(shelled, 1, o, Sjis(), w).texts.column[2], "ASCII");
  o.DetailExt = o.DetailIcon = 1;
  EXPECT_EQ(Shown(LocalRowOf(shelled, 1, o, Sjis(), w)), "a.txt|5|Text Document|1999/02/03 09:05|A---\t42\t1");
  EXPECT_EQ(LocalParentRow(o, w).image, 3);
}

TEST(RemoteRows, ClassCacheAnswersAsTheTypeRule) {
  OptionsRecord o;
  o.AsciiType = "txt;HTML";
  o.BinaryType = "jpg;txt.gz";
  o.Auto = 1;
  EntryClassCache cache(o, Sjis());
  // Asked twice each, in an order where a cached answer could leak to another name.
  for (int pass = 0; pass < 2; ++pass) {
    for (auto [name, attributes] : std::vector<std::pair<std::string, uint32_t>>{
             {"a.txt", 0}, {"B.TXT", 0}, {"x.jpg", 0}, {"y.html", 0}, {"noext", 0}, {"txt", 0}, {"..", 0x10},
             {"pub.txt", 0x10}, {"a.tar.gz", 0}, {"c.Html", 0}, {".txt", 0}}) {
      RemoteEntry e;
      e.name = name;
      e.attributes = attributes;
      EXPECT_EQ(cache.ClassOf(e.attributes, e.name), ClassifyEntry(e.attributes, e.name, o, Sjis())) << name;
      if (!e.attributes) {
        for (int manual : {kModeAscii, kModeBinary})
          EXPECT_EQ(cache.ModeOf(name, manual), ChooseTransferMode(name, manual, o, Sjis())) << name;
      }
    }
  }
}

}  // namespace
