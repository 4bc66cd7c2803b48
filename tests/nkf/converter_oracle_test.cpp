// The converter against Debian's nkf: for Japanese text in any of the three encodings our
// output with -s, -e or -j must be byte for byte what nkf gives with the same option.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "kanji_text_corpus.h"
#include "plugins/nkf32/kanji_converter.h"

using corpus::Char;
using corpus::Encoding;

namespace {

const struct {
  const char* flag;
  nkf::OutputCode code;
} kOptions[] = {{"-s", nkf::OutputCode::ShiftJis}, {"-e", nkf::OutputCode::Euc}, {"-j", nkf::OutputCode::Jis}};
const Encoding kEncodings[] = {Encoding::ShiftJis, Encoding::Euc, Encoding::Jis};

std::string Hex(const std::string& s, size_t max = 64) {
  static const char* digits = "0123456789abcdef";
  std::string out;
  for (size_t i = 0; i < s.size() && i < max; ++i) {
    out += digits[(s[i] >> 4) & 15];
    out += digits[s[i] & 15];
  }
  return s.size() > max ? out + "..." : out;
}

// The index of the first differing byte, for a readable failure.
size_t FirstDifference(const std::string& a, const std::string& b) {
  size_t i = 0;
  while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
  return i;
}

void ExpectSameAsNkf(const std::string& input, const std::string& context) {
  for (const auto& option : kOptions) {
    std::string ours;
    ASSERT_TRUE(nkf::ConvertKanjiText(input, option.code, &ours)) << context << " " << option.flag;
    std::string theirs = corpus::RunNkf(option.flag, input);
    if (ours != theirs) {
      size_t at = FirstDifference(ours, theirs);
      ADD_FAILURE() << context << " " << option.flag << ": differs at byte " << at << " of " << theirs.size()
                    << "\n input " << Hex(input.substr(at > 16 ? at - 16 : 0)) << "\n nkf   "
                    << Hex(theirs.substr(at)) << "\n ours  " << Hex(ours.substr(at));
    }
  }
}

// Lines of N characters, alternately ended by CR LF and LF.
std::vector<Char> InLines(const std::vector<Char>& chars, size_t n) {
  std::vector<Char> out;
  for (size_t i = 0; i < chars.size(); ++i) {
    out.push_back(chars[i]);
    if (i % n == n - 1 || i + 1 == chars.size()) {
      if ((i / n) % 2 == 0) out.push_back({Char::Ascii, '\r'});
      out.push_back({Char::Ascii, '\n'});
    }
  }
  return out;
}

}  // namespace

TEST(ConverterOracle, EveryAssignedCellInEachEncoding) {
  std::vector<Char> text = InLines(corpus::AssignedCells(), 40);
  for (Encoding e : kEncodings) ExpectSameAsNkf(corpus::Encode(text, e), corpus::Name(e));
}

TEST(ConverterOracle, EveryCellOfRowsOneToEightyFourOnceTheCodeIsClear) {
  // Unassigned cells and row 13 included: after a character only one encoding can hold,
  // each cell is plain arithmetic.
  std::vector<Char> cells;
  for (int row = 1; row <= 84; ++row)
    for (int cell = 1; cell <= 94; ++cell) cells.push_back({Char::Kanji, row, cell});
  std::vector<Char> text = InLines(cells, 1);
  ExpectSameAsNkf("\x88\x9f\n" + corpus::Encode(text, Encoding::ShiftJis), "Shift-JIS");
  ExpectSameAsNkf("\xb0\xfe\n" + corpus::Encode(text, Encoding::Euc), "EUC-JP");
  ExpectSameAsNkf(corpus::Encode(text, Encoding::Jis), "ISO-2022-JP");
}

TEST(ConverterOracle, HalfwidthKanaWithEveryMark) {
  // Each katakana alone, then followed by the voiced and the semi-voiced mark.
  std::vector<Char> text;
  for (int k = 0xA1; k <= 0xDF; ++k) {
    for (int mark : {0, 0xDE, 0xDF}) {
      text.push_back({Char::Kanji, 4, 2});  // a full-width character keeps each run apart
      text.push_back({Char::Kana, k});
      if (mark) text.push_back({Char::Kana, mark});
      text.push_back({Char::Ascii, '\n'});
    }
  }
  for (Encoding e : kEncodings) ExpectSameAsNkf(corpus::Encode(text, e), corpus::Name(e));
  // Long runs of katakana only, as a Shift-JIS file of half-width text is.
  std::vector<Char> run;
  std::mt19937 rng(7);
  for (int i = 0; i < 3000; ++i) run.push_back({Char::Kana, 0xA1 + static_cast<int>(rng() % 63)});
  run.push_back({Char::Ascii, '\n'});
  for (Encoding e : kEncodings) ExpectSameAsNkf(corpus::Encode(run, e), std::string("run ") + corpus::Name(e));
  // JIS katakana by shift-out and shift-in as well as by escape.
  ExpectSameAsNkf("a\x0e\x36\x5e\x4a\x5f\x0f b\r\n", "SO/SI");
}

TEST(ConverterOracle, RandomTextsInEachEncoding) {
  std::mt19937 rng(20240611);
  int compared = 0, skipped = 0;
  for (int i = 0; i < 150; ++i) {
    std::vector<Char> text = corpus::RandomText(rng);
    for (Encoding e : kEncodings) {
      std::string input = corpus::Encode(text, e);
      if (corpus::StartsWithLoneKana(input)) {
        ++skipped;
        continue;
      }
      std::string ours;
      if (!nkf::ConvertKanjiText(input, nkf::OutputCode::ShiftJis, &ours)) {
        // Text we take for UTF-8 must be text nkf takes for UTF-8.
        EXPECT_EQ("UTF-8\n", corpus::RunNkf("-g", input)) << Hex(input);
        continue;
      }
      ExpectSameAsNkf(input, std::string("text ") + std::to_string(i) + " " + corpus::Name(e));
      ++compared;
    }
  }
  EXPECT_GT(compared, 400);
  EXPECT_LT(skipped, 40);
}

TEST(ConverterOracle, AmbiguousPairsAreReadAsNkfReadsThem) {
  // Two bytes that EUC-JP, Shift-JIS and UTF-8 may all accept: the reading chosen decides
  // the output. Every lead with every third trail keeps the run short.
  for (int lead = 0xA1; lead <= 0xFE; ++lead) {
    for (int trail = 0xA1 + lead % 3; trail <= 0xFE; trail += 3) {
      std::string input{static_cast<char>(lead), static_cast<char>(trail)};
      // Vendor cells that nkf answers with nothing in EUC-JP are not text this is about.
      if (lead == 0xFC && (trail == 0xEF || trail == 0xF0)) continue;
      std::string ours;
      if (!nkf::ConvertKanjiText(input, nkf::OutputCode::Euc, &ours)) {
        EXPECT_EQ("UTF-8\n", corpus::RunNkf("-g", input)) << Hex(input);
        continue;
      }
      EXPECT_EQ(corpus::RunNkf("-e", input), ours) << Hex(input);
    }
  }
}

TEST(ConverterOracle, TheGuessStopsAtTheSameWindow) {
  // Pairs that read as EUC-JP kanji or as Shift-JIS katakana, then a Shift-JIS kanji: it
  // decides only when it comes within the bytes examined.
  for (int pairs : {1, 1000, 1023, 1024, 1500}) {
    std::string input;
    for (int i = 0; i < pairs; ++i) input += "\xb0\xa1";
    input += "\n\x88\x9f\n";
    ExpectSameAsNkf(input, "pairs " + std::to_string(pairs));
    ExpectSameAsNkf(std::string(3000, 'a') + input, "after ASCII, pairs " + std::to_string(pairs));
  }
}

TEST(ConverterOracle, MixedEscapesAndVendorCharacters) {
  ExpectSameAsNkf("\x88\x9f\x1b$B0!\x1b(Ba\n", "Shift-JIS then JIS");
  ExpectSameAsNkf("\x1b$B0!\x1b(Ba\x88\x9f\n", "JIS then Shift-JIS");
  ExpectSameAsNkf("a\x1b$@0!\x1b(J\\~\x1b(B\n", "JIS C 6226 and the Roman set");
  ExpectSameAsNkf("a\x1b$(B0!\x1b(B\x1bK\n", "four-byte escape, unknown escape");
  ExpectSameAsNkf("\x1b$B0! 0!\n0!\x1b(B", "kanji mode across a space and a line end");
  // Windows code page 932: NEC row 13, the NEC-selected and the IBM extensions.
  std::string cp932 = "\x88\x9f\n\x87\x40\x87\x54\x87\x8a\n";
  for (int t = 0x40; t <= 0x7E; ++t) cp932 += std::string{'\xfa', static_cast<char>(t)};
  cp932 += "\n\xed\x40\xee\xec\xee\xef\xee\xf9\xee\xfc\xfb\xfc\xfc\x4b\n";
  ExpectSameAsNkf(cp932, "code page 932");
  ExpectSameAsNkf("\xa4\xa2\xfd\xa1\n\xf9\xa1\xfc\xee\xfc\xf1\xfc\xfb\xfc\xfc\xad\xa1\n", "EUC rows 89-92 and 13");
}

TEST(ConverterOracle, RoundTripsThroughEucAndJisGiveTheShiftJisBack) {
  std::vector<Char> text = InLines(corpus::AssignedCells(), 37);
  std::mt19937 rng(99);
  for (int i = 0; i < 40; ++i) {
    for (const Char& c : corpus::RandomText(rng))
      if (c.kind != Char::Kana) text.push_back(c);  // katakana widen: no way back
  }
  std::string sjis = corpus::Encode(text, Encoding::ShiftJis);
  for (nkf::OutputCode middle : {nkf::OutputCode::Euc, nkf::OutputCode::Jis}) {
    std::string there, back;
    ASSERT_TRUE(nkf::ConvertKanjiText(sjis, middle, &there));
    ASSERT_TRUE(nkf::ConvertKanjiText(there, nkf::OutputCode::ShiftJis, &back));
    EXPECT_TRUE(back == sjis) << "first difference at " << FirstDifference(back, sjis);
  }
}
