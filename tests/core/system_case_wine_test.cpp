// The rules with the system's own case functions of code page 932 (lstrcmpiA,
// CharLowerBuffA, CharUpperBuffA), as the Windows program hands them in: second bytes
// of Shift-JIS characters stay untouched, and the text orders the rules rely on hold.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/row_compare.h"
#include "jobs/transfer_rules.h"

namespace {

int SystemCompare(const char* a, const char* b) { return lstrcmpiA(a, b); }
void SystemLower(std::string& s) {
  if (!s.empty()) CharLowerBuffA(&s[0], static_cast<DWORD>(s.size()));
}
void SystemUpper(std::string& s) {
  if (!s.empty()) CharUpperBuffA(&s[0], static_cast<DWORD>(s.size()));
}
const TextCase kSystem{SystemCompare, SystemLower, SystemUpper};

TEST(SystemCase, RunsInCodePage932) { ASSERT_EQ(GetACP(), 932u); }

TEST(SystemCase, NameCaseKeepsSecondBytes) {
  OptionsRecord o;
  o.CapitalMode = 1;
  std::string name = "\x83\x61z\x95\x5c.txt";  // second bytes 'a' and '\'
  EXPECT_EQ(ApplyNameCase(name, o, kSystem), "\x83\x61Z\x95\x5c.TXT");
  o.CapitalMode = 0;
  name = "\x83\x41Z.TXT";  // second byte 'A'
  EXPECT_EQ(ApplyNameCase(name, o, kSystem), "\x83\x41z.txt");
}

TEST(SystemCase, ListMatchAndClasses) {
  OptionsRecord o;
  EXPECT_EQ(ClassifyEntry(0, "NOTES.TXT", o, kSystem), ClassAscii);
  EXPECT_EQ(ClassifyEntry(0, "\x95\x5c.JpG", o, kSystem), ClassBinary);
  EXPECT_EQ(ClassifyEntry(0x10, "..", o, kSystem), ClassParentFolder);
  EXPECT_TRUE(MatchExtensionList("txt;\x95\x5c", "\x95\x5c", kSystem));
  EXPECT_FALSE(MatchExtensionList("\x83\x41", "\x83\x61", kSystem));
  EXPECT_TRUE(MatchExtensionList("a;;b", "", kSystem));
}

TEST(SystemCase, DateTextsOrderChronologically) {
  const char* dates[] = {"1999/01/10 00:00", "2023/12/31 23:59", "2024/01/01 00:00",
                         "2024/01/01 00:30", "2024/02/28 20:00", "2024/10/01 09:05"};
  for (size_t i = 0; i + 1 < sizeof dates / sizeof dates[0]; ++i) {
    EXPECT_TRUE(IsNewerDateText(dates[i + 1], dates[i], kSystem)) << dates[i + 1];
    EXPECT_FALSE(IsNewerDateText(dates[i], dates[i + 1], kSystem)) << dates[i];
    EXPECT_FALSE(IsNewerDateText(dates[i], dates[i], kSystem)) << dates[i];
  }
}

TEST(SystemCase, RowsSortFoldersFirst) {
  auto row = [](const char* name, const char* size) {
    RowTexts r;
    r.column[0] = name;
    r.column[1] = size;
    return r;
  };
  std::vector<RowTexts> rows = {row("src", "   "), row("b.txt", "1"), row("..", "   "),
                                row("A.txt", "2"), row("Bin", "   ")};
  SortRows(rows, 40023, false, kSystem);
  const char* expected[] = {"..", "Bin", "src", "A.txt", "b.txt"};
  for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i].column[0], expected[i]);
}

}  // namespace
