// The lists sort by keys made once per text; their byte order must be the order the
// system's own comparison (lstrcmpiA) gives, or rows would come out in another order
// than the one the user's system defines. Run in the English and the Japanese code page.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/system_text_case_win.h"

namespace {

int Sign(int v) { return (v > 0) - (v < 0); }

TEST(SortKeys, OrderAsTheSystemComparison) {
  std::vector<std::string> texts = {"", " ", "..", ".", ".hidden", "a", "A", "a.txt", "A.TXT", "a.txt.bak", "ab",
                                    "a-b", "ab-", "a'b", "co-op", "coop", "co op", "B", "b.txt", "Bin", "src",
                                    "with space.txt", "textlink", "entry000010.txt", "entry000009.txt", "10", "9",
                                    "-rw-r--r--", "-rw-------", "drwxr-xr-x", "lrwxrwxrwx", "   ", "2001/03/01 00:00",
                                    "1999/12/31 23:59", "ASCII", "BINARY", "File", "Folder", "_x", "~x", "x~", "Zeta",
                                    "zeta", "\xc4pfel", "apfel"};
  if (GetACP() == 932) {
    for (const char* sjis : {"\x95\x5c\x8e\xa6.txt", "\x83\x5c\x83\x74\x83\x67", "\x83\x74\x83\x48\x83\x8b\x83\x5f",
                             "\x82\x60", "\x82\x81", "\xb1", "\x83\x41", "\x8a\xbf\x8e\x9a"})
      texts.push_back(sjis);
  }
  for (const std::string& a : texts) {
    std::string keyA = SystemSortKey(a);
    for (const std::string& b : texts) {
      int byKeys = Sign(SortKeyOrder().compare(keyA.c_str(), SystemSortKey(b).c_str()));
      EXPECT_EQ(byKeys, Sign(lstrcmpiA(a.c_str(), b.c_str()))) << "\"" << a << "\" vs \"" << b << "\"";
    }
  }
}

}  // namespace
