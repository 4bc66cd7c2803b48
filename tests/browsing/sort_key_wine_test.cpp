// The lists sort by keys made once per text; their byte order must be the order the
// system's own comparison (lstrcmpiA) gives, or rows would come out in another order
// than the one the user's system defines. Run in the English and the Japanese code page.
#include <windows.h>

#include "app/system_text_case_win.h"
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

}  // namespace
