// The library's promise to its caller: an output buffer of twice the input's length plus the
// terminating zero is always enough, and text that cannot be converted within it, or at all,
// comes back empty rather than cut short or garbled.
#include <gtest/gtest.h>

#include <cstring>

#include "lha/plugin_test_support.h"
#include "nkf/kanji_text_corpus.h"
#include "plugins/nkf32/kanji_converter.h"
#include "plugins/nkf32/nkf_library.h"

namespace {

// Runs OPERATION with an output block of exactly the promised size followed by guard bytes,
// none of which may change.
std::string CallBounded(size_t (*operation)(char*, const char*), const std::string& input) {
  const size_t limit = nkf::LibraryOutputLimit(input.size());
  std::vector<char> block(limit + 64, '\xA5');
  const size_t written = operation(block.data(), input.c_str());
  EXPECT_EQ(std::string(block.begin() + static_cast<long>(limit), block.end()), std::string(64, '\xA5')) << "wrote past the limit";
  EXPECT_EQ(written, std::strlen(block.data()));
  return block.data();
}

std::string Convert(const std::string& option, const std::string& input) {
  EXPECT_EQ(0, nkf::LibrarySetOption(option.c_str()));
  return CallBounded(nkf::LibraryConvert, input);
}

TEST(LibraryBound, TheLargestGrowthFitsAndWhatWouldNotFitComesBackEmpty) {
  // Each one-byte katakana becomes two bytes: the largest growth -s and -e can show. An odd
  // length keeps the text from being taken for EUC-JP.
  std::string kana = "\xb1\xb2";
  for (int i = 0; i < 2001; ++i) kana += static_cast<char>(0xB1 + i % 40);
  for (const char* option : {"-s", "-e"}) EXPECT_EQ(Convert(option, kana).size(), 2 * kana.size()) << option;
  EXPECT_EQ(CallBounded(nkf::LibraryWidenKana, std::string(500, '\xb6')).size(), 1000u);
  // One kanji between letters: 3 bytes of Shift-JIS would become 9 of ISO-2022-JP; kana between
  // letters, 2 would become 9.
  std::string sparse, sparse_kana = "\x88\x9f", prose;
  for (int i = 0; i < 300; ++i) {
    sparse += "a\x88\x9f";
    sparse_kana += "a\xb1";
  }
  EXPECT_EQ("", Convert("-j", sparse));
  EXPECT_EQ("", Convert("-j", sparse_kana));
  // Ordinary text with longer runs fits and is converted whole.
  for (int i = 0; i < 100; ++i) prose += "\x93\xfa\x96\x7b\x8c\xea\x82\xcc\x95\xb6\x8f\xcd abc\r\n";
  std::string expected;
  ASSERT_TRUE(nkf::ConvertKanjiText(prose, nkf::OutputCode::Jis, &expected));
  EXPECT_EQ(expected, Convert("-j", prose));
}

TEST(LibraryBound, ChosenConversionsAndOptions) {
  for (const Case& c : ReadCases("nkf/data/chosen_conversions.tsv")) EXPECT_EQ(Convert(c[1], c[0]), c[2]) << c[0];
  ASSERT_EQ(0, nkf::LibrarySetOption("-e"));
  EXPECT_EQ(-1, nkf::LibrarySetOption("-x"));
  EXPECT_EQ(-1, nkf::LibrarySetOption(nullptr));
  EXPECT_EQ("\xb0\xa1", CallBounded(nkf::LibraryConvert, "\x88\x9f")) << "an unknown option keeps the last choice";
}

TEST(WidenKana, JoinsMarksOnlyWhereACharacterExistsAsNkfDoes) {
  // ka+voiced: ga, ha+semi-voiced: pa, u+voiced: vu, a+voiced stays two characters, and a
  // two-byte character whose second byte looks like katakana is left alone.
  EXPECT_EQ(nkf::WidenHalfwidthKana("\xb6\xde\xca\xdf\xb3\xde\xb1\xde\x88\xb1 \xde^"),
            "\x83\x4b\x83\x70\x83\x94\x83\x41\x81\x4a\x88\xb1 \x81\x4a^");
  std::string all = "\x88\x9f";  // a Shift-JIS kanji first makes the code clear to nkf
  for (int k = 0xA1; k <= 0xDF; ++k) all += std::string{static_cast<char>(k), '\xde', static_cast<char>(k), '\xdf', '\n'};
  EXPECT_EQ(corpus::RunNkf("-s", all), nkf::WidenHalfwidthKana(all));
}

}  // namespace
