// The library's promise to its caller: an output buffer of twice the input's length plus
// the terminating zero is always enough, and text that cannot be converted within it, or
// at all, comes back empty rather than cut short or garbled.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>

#include "kanji_text_corpus.h"
#include "plugins/nkf32/kanji_converter.h"
#include "plugins/nkf32/nkf_library.h"

namespace {

const unsigned char kGuard = 0xA5;

// Runs OPERATION with an output block of exactly the promised size followed by guard
// bytes, and checks that none of the guard bytes changed.
std::string CallBounded(size_t (*operation)(char*, const char*), const std::string& input) {
  size_t limit = nkf::LibraryOutputLimit(input.size());
  std::unique_ptr<char[]> block(new char[limit + 64]);
  std::memset(block.get(), kGuard, limit + 64);
  size_t written = operation(block.get(), input.c_str());
  for (size_t i = limit; i < limit + 64; ++i)
    EXPECT_EQ(kGuard, static_cast<unsigned char>(block[i])) << "wrote past the limit at " << i;
  EXPECT_EQ(written, std::strlen(block.get()));
  return std::string(block.get());
}

std::string Convert(const char* option, const std::string& input) {
  EXPECT_EQ(0, nkf::LibrarySetOption(option));
  return CallBounded(nkf::LibraryConvert, input);
}

}  // namespace

TEST(LibraryBound, AllHalfwidthKanaFillsTheBufferExactly) {
  // Each one-byte katakana becomes two bytes: the largest growth -s and -e can show.
  std::string kana;
  for (int i = 0; i < 2000; ++i) kana.push_back(static_cast<char>(0xB1 + i % 40));
  kana.back() = '\xb1';
  kana = "\xb1\xb2" + kana;  // starts as a pair, so the text is not taken for EUC-JP
  for (const char* option : {"-s", "-e"}) {
    std::string out = Convert(option, kana);
    EXPECT_FALSE(out.empty()) << option;
    EXPECT_LE(out.size(), 2 * kana.size()) << option;
  }
  std::string out = CallBounded(nkf::LibraryWidenKana, std::string(500, '\xb6'));
  EXPECT_EQ(1000u, out.size());
}

TEST(LibraryBound, EscapeHeavyJisThatWouldNotFitComesBackEmpty) {
  // One kanji between ASCII letters: 3 bytes of Shift-JIS become 9 of ISO-2022-JP.
  std::string sparse;
  for (int i = 0; i < 300; ++i) sparse += "a\x88\x9f";
  EXPECT_EQ("", Convert("-j", sparse));
  // Half-width katakana between letters grow the most: 2 bytes become 9.
  std::string kana = "\x88\x9f";
  for (int i = 0; i < 300; ++i) kana += "a\xb1";
  EXPECT_EQ("", Convert("-j", kana));
  // Ordinary text with longer runs fits and is converted whole.
  std::string prose;
  for (int i = 0; i < 100; ++i) prose += "\x93\xfa\x96\x7b\x8c\xea\x82\xcc\x95\xb6\x8f\xcd abc\r\n";
  std::string expected;
  ASSERT_TRUE(nkf::ConvertKanjiText(prose, nkf::OutputCode::Jis, &expected));
  EXPECT_EQ(expected, Convert("-j", prose));
}

TEST(LibraryBound, RandomAndHostileInputsNeverPassTheLimit) {
  std::mt19937 rng(5);
  const char* options[] = {"-s", "-e", "-j"};
  for (int i = 0; i < 3000; ++i) {
    std::string input;
    size_t n = rng() % 64;
    for (size_t k = 0; k < n; ++k) {
      // Bytes drawn mostly from the interesting ones: escapes, shifts, 8-bit.
      static const char pick[] = "\x1b$B(I@J\x0e\x0f\x8e\x8f\xa1\xb1\xde\xdf\xe0\xfc\xfd\x81\x40\n";
      char c = rng() % 3 ? pick[rng() % (sizeof pick - 1)] : static_cast<char>(rng() % 255 + 1);
      input.push_back(c);
    }
    CallBounded(nkf::LibraryWidenKana, input);
    for (const char* option : options) {
      std::string out = Convert(option, input);
      EXPECT_LE(out.size(), 2 * input.size());
    }
  }
}

TEST(LibraryBound, EmptyInputGivesAnEmptyString) {
  for (const char* option : {"-s", "-e", "-j"}) EXPECT_EQ("", Convert(option, ""));
  EXPECT_EQ("", CallBounded(nkf::LibraryWidenKana, ""));
}

TEST(LibraryOptions, UnknownOptionsKeepTheLastChoice) {
  ASSERT_EQ(0, nkf::LibrarySetOption("-e"));
  EXPECT_EQ(-1, nkf::LibrarySetOption("-x"));
  EXPECT_EQ(-1, nkf::LibrarySetOption(nullptr));
  EXPECT_EQ("\xb0\xa1", CallBounded(nkf::LibraryConvert, "\x88\x9f"));
}

TEST(ChosenBehaviour, ALoneKatakanaStartingTheTextIsKept) {
  // nkf loses such a katakana with the byte after it; a file must not lose a line end.
  std::string out;
  ASSERT_TRUE(nkf::ConvertKanjiText("\xb1\r\n\x88\x9f\r\n", nkf::OutputCode::Euc, &out));
  EXPECT_EQ("\xa5\xa2\r\n\xb0\xa1\r\n", out);
  ASSERT_TRUE(nkf::ConvertKanjiText("abc \xb1", nkf::OutputCode::ShiftJis, &out));
  EXPECT_EQ("abc \x83\x41", out);
}

TEST(ChosenBehaviour, Utf8TextIsRefusedNotGarbled) {
  std::string out = "x";
  EXPECT_FALSE(nkf::ConvertKanjiText("\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e\n", nkf::OutputCode::ShiftJis, &out));
  EXPECT_EQ("", out);
  EXPECT_EQ("UTF-8\n", corpus::RunNkf("-g", "\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e\n"));
  EXPECT_EQ("", Convert("-s", "\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e\n"));
}

TEST(ChosenBehaviour, MimeEncodedWordsStayAsWritten) {
  // A text file that quotes a mail header keeps it; nkf would decode it.
  const std::string header = "Subject: =?ISO-2022-JP?B?GyRCJCIbKEI=?=\r\n";
  std::string out;
  ASSERT_TRUE(nkf::ConvertKanjiText(header, nkf::OutputCode::ShiftJis, &out));
  EXPECT_EQ(header, out);
}

TEST(WidenKana, JoinsMarksOnlyWhereACharacterExists) {
  // ka+voiced -> ga, ha+semi-voiced -> pa, u+voiced -> vu, a+voiced stays two characters,
  // and a two-byte character whose second byte looks like katakana is left alone.
  std::string out = nkf::WidenHalfwidthKana("\xb6\xde\xca\xdf\xb3\xde\xb1\xde\x88\xb1 \xde^");
  EXPECT_EQ("\x83\x4b\x83\x70\x83\x94\x83\x41\x81\x4a\x88\xb1 \x81\x4a^", out);
  // The same as nkf widens Shift-JIS katakana (a Shift-JIS kanji first makes the code clear).
  std::string all = "\x88\x9f";
  for (int k = 0xA1; k <= 0xDF; ++k) {
    all.push_back(static_cast<char>(k));
    all += "\xde";
    all.push_back(static_cast<char>(k));
    all += "\xdf\n";
  }
  EXPECT_EQ(corpus::RunNkf("-s", all), nkf::WidenHalfwidthKana(all));
}
