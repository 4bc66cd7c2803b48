// Where Shift-JIS characters begin, and the path texts built on that: every character whose
// second byte looks like '\' or '|', wherever it stands in a name.
#include <gtest/gtest.h>

#include "support/shift_jis_samples.h"
#include "text/path_text.h"
#include "text/sjis.h"

namespace {

using sjis_samples::SeparatorLookingCharacters;
using sjis_samples::TextsBefore;
const size_t npos = std::string::npos;

TEST(ShiftJisCharacters, SecondByteIsNeverTakenForTheCharacterItLooksLike) {
  const std::vector<std::string> chars = SeparatorLookingCharacters();
  ASSERT_EQ(chars.size(), 120u);
  for (const std::string& before : TextsBefore()) {
    for (const std::string& ch : chars) {
      const std::string name = before + ch;
      const size_t at = before.size();
      SCOPED_TRACE(::testing::PrintToString(name));
      EXPECT_EQ(CharWidthAt(name, at), 2u);
      EXPECT_EQ(CheckedCharWidthAt(name, at), 2u);
      EXPECT_FALSE(IsSingleByteChar(name.c_str(), at + 1));  // at the end of the name
      const std::string middle = name + "x";
      EXPECT_FALSE(IsSingleByteChar(middle.c_str(), at + 1));
      EXPECT_TRUE(IsSingleByteChar(middle.c_str(), at + 2));
      const std::string separated = name + "\\" + ch + "|";
      EXPECT_TRUE(IsSingleByteChar(separated.c_str(), at + 2));  // a real '\' right after it
      EXPECT_EQ(FindSingleByteChar(separated, '\\'), at + 2);
      EXPECT_EQ(FindSingleByteChar(separated, '|'), separated.size() - 1);
      EXPECT_EQ(FindLastSingleByteChar(name, "\\|/"), npos);
      EXPECT_EQ(FindLastSingleByteChar(separated, "\\"), at + 2);
      EXPECT_EQ(SplitAtSingleByteChar(separated, '\\', true), (std::vector<std::string>{name, ch + "|"}));
      EXPECT_EQ(SplitAtSingleByteChar(name, '|', true), std::vector<std::string>{name});
    }
  }
}

TEST(ShiftJisCharacters, SingleByteCharactersBelow0x80Only) {
  EXPECT_TRUE(IsSingleByteChar("\\a", 0));
  EXPECT_FALSE(IsSingleByteChar("\x95\x5c", 0));  // a lead byte is no single-byte character
  EXPECT_FALSE(IsSingleByteChar("a\xb1", 1));     // nor is any byte of 0x80 or above
  // Half-width katakana (0xA1-0xDF) are characters of one byte: what follows stands alone.
  EXPECT_TRUE(IsSingleByteChar("\xb1\\", 1));
  // Two lead-range bytes in a row are one character; the '\' after them is a real one.
  EXPECT_TRUE(IsSingleByteChar("\x81\x81\\", 2));
  EXPECT_TRUE(IsSingleByteChar("\x81\x81\x81\x81\\", 4));
  EXPECT_FALSE(IsSingleByteChar("\x81\x81\x81\\", 3));
  // A lead byte takes the byte after it, as the code page reads it; only the checked width
  // of archive names leaves a byte that cannot follow a lead byte alone.
  EXPECT_FALSE(IsSingleByteChar("\x95/", 1));
  EXPECT_EQ(CharWidthAt("\x95/", 0), 2u);
  EXPECT_EQ(CheckedCharWidthAt("\x95/", 0), 1u);
  EXPECT_EQ(CheckedCharWidthAt("\x95\x5c", 0), 2u);
  EXPECT_EQ(CharWidthAt("\x95", 0), 1u);  // a lead byte at the end
}

TEST(ShiftJisCharacters, FindAndSplitWalkWholeCharacters) {
  const std::string text = "a;\x95\x7c;;b;";
  EXPECT_EQ(FindSingleByteChar(text, ';'), 1u);
  EXPECT_EQ(FindSingleByteChar(text, ';', 2), 4u);
  EXPECT_EQ(FindSingleByteChar(text, '|'), npos);
  EXPECT_EQ(FindLastSingleByteChar(text, ";"), text.size() - 1);
  EXPECT_EQ(SplitAtSingleByteChar(text, ';', true),
            (std::vector<std::string>{"a", "\x95\x7c", "", "b", ""}));
  EXPECT_EQ(SplitAtSingleByteChar(text, ';', false), (std::vector<std::string>{"a", "\x95\x7c", "b"}));
  EXPECT_EQ(SplitAtSingleByteChar("", ';', true), std::vector<std::string>{""});
  EXPECT_TRUE(SplitAtSingleByteChar("", ';', false).empty());
}

// A drive root is the only folder whose path ends in a separator; every other folder gets
// one between it and a name, whatever character it ends in.
TEST(LocalPathText, SeparatorAfterEveryFolderButARoot) {
  for (const std::string& before : TextsBefore()) {
    for (const std::string& ch : SeparatorLookingCharacters()) {
      const std::string folder = "C:\\" + before + ch;
      SCOPED_TRACE(::testing::PrintToString(folder));
      EXPECT_FALSE(EndsInSeparator(folder));
      EXPECT_TRUE(EndsInSeparator(folder + "\\"));
      EXPECT_EQ(JoinLocalPath(folder, "*"), folder + "\\*");
      EXPECT_EQ(JoinLocalPath(folder, ch), folder + "\\" + ch);
    }
  }
  EXPECT_TRUE(EndsInSeparator("C:\\"));
  EXPECT_TRUE(EndsInSeparator("C:/"));
  EXPECT_FALSE(EndsInSeparator(""));
  EXPECT_FALSE(EndsInSeparator("C:"));
  EXPECT_EQ(JoinLocalPath("C:\\", "a.txt"), "C:\\a.txt");
  EXPECT_EQ(JoinLocalPath("C:\\work", "a.txt"), "C:\\work\\a.txt");
  EXPECT_EQ(JoinLocalPath("C:\\work", ""), "C:\\work\\");
}

}  // namespace
