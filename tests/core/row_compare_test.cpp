// The file lists' order: folders first, sizes as numbers, names as tie-break, reversal.
#include <gtest/gtest.h>

#include "app/row_compare.h"

namespace {

const TextCase& tc = ShiftJisAsciiCase();

RowTexts Folder(const std::string& name, const std::string& date = "   ") {
  RowTexts r;
  r.column[0] = name;
  r.column[1] = "   ";
  r.column[2] = "Folder";
  r.column[3] = date;
  r.column[4] = "drwxr-xr-x";
  return r;
}

RowTexts File(const std::string& name, const std::string& size, const std::string& type = "ASCII",
              const std::string& date = "2024/01/01 00:00") {
  RowTexts r;
  r.column[0] = name;
  r.column[1] = size;
  r.column[2] = type;
  r.column[3] = date;
  r.column[4] = "-rw-r--r--";
  return r;
}

std::vector<std::string> Names(const std::vector<RowTexts>& rows) {
  std::vector<std::string> names;
  for (const RowTexts& r : rows) names.push_back(r.column[0]);
  return names;
}

using V = std::vector<std::string>;

TEST(RowCompare, ByNameFoldersFirstAndReversal) {
  std::vector<RowTexts> rows = {Folder("src"), File("b.txt", "1"), Folder(".."), File("A.txt", "2"),
                                Folder("Bin")};
  SortRows(rows, 40023, false, tc);
  EXPECT_EQ(Names(rows), (V{"..", "Bin", "src", "A.txt", "b.txt"}));
  SortRows(rows, 40023, true, tc);
  EXPECT_EQ(Names(rows), (V{"b.txt", "A.txt", "src", "Bin", ".."}));
}

TEST(RowCompare, BySizeNumbersThenNames) {
  std::vector<RowTexts> rows = {File("ten", "10"), Folder("dir"), File("nine", "9"), File("b", "9"),
                                File("zero", "0")};
  SortRows(rows, 40024, false, tc);
  // A folder counts as size 0 and sorts by name among the empty files.
  EXPECT_EQ(Names(rows), (V{"dir", "zero", "b", "nine", "ten"}));
  // 64-bit sizes: 5 GiB is larger than 4 GiB + 1 and than 1 GiB.
  rows = {File("five", "5368709120"), File("one", "1073741824"), File("four", "4294967297")};
  SortRows(rows, 40024, false, tc);
  EXPECT_EQ(Names(rows), (V{"one", "four", "five"}));
  SortRows(rows, 40024, true, tc);
  EXPECT_EQ(Names(rows), (V{"five", "four", "one"}));
  // A difference beyond int range must not wrap into the wrong sign.
  EXPECT_LT(CompareRows(File("a", "0"), File("b", "4294967296"), 1, false, tc), 0);
  EXPECT_GT(CompareRows(File("a", "9223372036854775807"), File("b", "0"), 1, false, tc), 0);
}

TEST(RowCompare, ByTypeDateAndAttributes) {
  std::vector<RowTexts> rows = {File("z.txt", "1", "ASCII"), File("a.jpg", "1", "BINARY"),
                                File("m.txt", "1", "ASCII"), Folder("d")};
  SortRows(rows, 40025, false, tc);
  EXPECT_EQ(Names(rows), (V{"d", "m.txt", "z.txt", "a.jpg"}));
  rows = {File("new", "1", "ASCII", "2024/03/01 10:00"), File("old", "1", "ASCII", "2023/12/31 23:59"),
          Folder("f", "2025/01/01 00:00")};
  SortRows(rows, 40026, false, tc);
  EXPECT_EQ(Names(rows), (V{"f", "old", "new"}));
  SortRows(rows, 40026, true, tc);
  EXPECT_EQ(Names(rows), (V{"new", "old", "f"}));
  rows = {File("x", "1"), Folder("y")};
  rows[0].column[4] = "-rwxr-xr-x";
  SortRows(rows, 40027, false, tc);
  EXPECT_EQ(Names(rows), (V{"y", "x"}));
}

TEST(RowCompare, NoSortingAndCase) {
  std::vector<RowTexts> rows = {File("b", "1"), File("a", "1")};
  SortRows(rows, 40028, false, tc);
  EXPECT_EQ(Names(rows), (V{"b", "a"}));
  EXPECT_EQ(CompareRows(File("ABC", "1"), File("abc", "1"), 0, false, tc), 0);
  EXPECT_EQ(CompareRows(File("ABC", "1"), File("abc", "1"), 0, true, tc), 0);
  // An empty Size text is a file, not a folder.
  EXPECT_GT(CompareRows(File("a", ""), Folder("z"), 0, false, tc), 0);
}

}  // namespace
