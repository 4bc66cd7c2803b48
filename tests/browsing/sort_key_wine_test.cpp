// The lists sort by keys made once per text; their byte order must be the order the
// system's own comparison (lstrcmpiA) gives, or rows would come out in another order
// than the one the user's system defines. Run in the English and the Japanese code page.
#include <windows.h>

#include "app/system_text_case_win.h"
#include "jobs/transfer_rules.h"
#include "support/case_table.h"

namespace {

int Sign(int v) { return (v > 0) - (v < 0); }

TEST(SortKeys, OrderAsTheSystemComparison) {
  std::vector<std::string> texts;
  for (const Case& c : ReadCases("browsing/data/sort_texts.tsv"))
    if (c[0] == "*" || c[0] == std::to_string(GetACP())) texts.push_back(c.at(1));
  ASSERT_GT(texts.size(), 40u);
  for (const std::string& a : texts) {
    std::string keyA = SystemSortKey(a);
    for (const std::string& b : texts) {
      int byKeys = Sign(SortKeyOrder().compare(keyA.c_str(), SystemSortKey(b).c_str()));
      EXPECT_EQ(byKeys, Sign(lstrcmpiA(a.c_str(), b.c_str()))) << "\"" << a << "\" vs \"" << b << "\"";
    }
  }
}

// "Only updated" compares Date texts as bytes where both have one shape, and by the
// system's comparison otherwise: either way the answer must be the system's.
TEST(SortKeys, DateTextsCompareAsTheSystemDoes) {
  std::vector<std::string> dates;
  const char* shapes[] = {"%d/%02d/%02d %02d:%02d", "%d/%d/%d %d:%02d", "%d-%02d-%02d %02d.%02d",
                          "%d\x94\x4e%d\x8c\x8e%d %d:%02d", " %d/%02d/%02d  %02d:%02d"};
  const int values[][5] = {{2024, 5, 1, 10, 0}, {2024, 5, 1, 9, 59}, {2024, 12, 31, 23, 59},
                           {1999, 10, 2, 0, 0}, {10000, 1, 1, 1, 1}, {2024, 5, 10, 10, 0}};
  for (const char* shape : shapes) {
    for (const auto& v : values) {
      char text[64];
      std::snprintf(text, sizeof text, shape, v[0], v[1], v[2], v[3], v[4]);
      dates.push_back(text);
    }
  }
  for (const std::string& a : dates)
    for (const std::string& b : dates)
      EXPECT_EQ(IsNewerDateText(a, b, SystemTextCase()), lstrcmpiA(a.c_str(), b.c_str()) > 0)
          << "\"" << a << "\" vs \"" << b << "\"";
}

}  // namespace
