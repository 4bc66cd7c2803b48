// Names read as the prefix's ANSI code page has them: 1252 in the English prefix, where an
// accented letter is a character of its own, and 932 in the Japanese one.
#include <gtest/gtest.h>
#include <windows.h>

#include "jobs/transfer_rules.h"
#include "text/path_text.h"
#include "text/sjis.h"

TEST(ActiveCodePage, LeadBytesAreTheSystems) {
  for (int c = 0; c < 256; ++c) EXPECT_EQ(IsLeadByte(static_cast<unsigned char>(c)), IsDBCSLeadByte(static_cast<BYTE>(c)) != 0) << c;
}

TEST(ActiveCodePage, AccentedNamesInTheWesternEdition) {
  const bool western = GetACP() == 1252;
  ASSERT_TRUE(western || GetACP() == 932) << GetACP();
  OptionsRecord options;
  options.Auto = 1;
  EXPECT_EQ(ExtensionKey("caf\xe9.html"), western ? "html" : "caf\xe9.html");
  EXPECT_EQ(ChooseTransferMode("caf\xe9.html", kModeBinary, options, ShiftJisAsciiCase()), western ? kModeAscii : kModeBinary);
  EXPECT_EQ(JoinLocalPath("C:\\Temp\\Caf\xe9\\", "a.txt"), western ? "C:\\Temp\\Caf\xe9\\a.txt" : "C:\\Temp\\Caf\xe9\\\\a.txt");
  EXPECT_EQ(SplitAtSingleByteChar("Jos\xe9\\Documents", '\\', false).size(), western ? 2u : 1u);
}
