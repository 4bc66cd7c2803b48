// The converter against Debian's nkf: for Japanese text in any of the three codes our output
// with -s, -e or -j must be byte for byte what nkf gives with the same option.
#include <gtest/gtest.h>

#include "lha/plugin_test_support.h"
#include "nkf/kanji_text_corpus.h"
#include "plugins/nkf32/kanji_converter.h"

using corpus::Char;
using corpus::Encoding;

namespace {

// Up to 32 bytes from `at`, escaped as gtest prints texts.
std::string Bytes(const std::string& s, size_t at = 0) {
  return ::testing::PrintToString(s.substr(std::min(at, s.size()), 32));
}

void ExpectSameAsNkf(const std::string& input, const std::string& context) {
  for (const auto& [flag, code] : {std::pair{"-s", nkf::OutputCode::ShiftJis}, {"-e", nkf::OutputCode::Euc}, {"-j", nkf::OutputCode::Jis}}) {
    std::string ours;
    ASSERT_TRUE(nkf::ConvertKanjiText(input, code, &ours)) << context << " " << flag;
    const std::string theirs = corpus::RunNkf(flag, input);
    size_t at = 0;
    while (at < ours.size() && at < theirs.size() && ours[at] == theirs[at]) ++at;
    EXPECT_TRUE(ours == theirs) << context << " " << flag << ": differs at byte " << at << "\n input " << Bytes(input, at > 16 ? at - 16 : 0)
                                << "\n nkf   " << Bytes(theirs, at) << "\n ours  " << Bytes(ours, at);
  }
}

void ExpectSameInEachEncoding(const std::vector<Char>& text, const std::string& context) {
  for (Encoding e : corpus::kEncodings) ExpectSameAsNkf(corpus::Encode(text, e), context + " in code " + std::to_string(int(e)));
}

// Lines of N characters, alternately ended by CR LF and LF.
std::vector<Char> InLines(const std::vector<Char>& chars, size_t n) {
  std::vector<Char> out;
  for (size_t i = 0; i < chars.size(); ++i) {
    out.push_back(chars[i]);
    if (i % n != n - 1 && i + 1 != chars.size()) continue;
    if ((i / n) % 2 == 0) out.push_back({Char::Ascii, '\r'});
    out.push_back({Char::Ascii, '\n'});
  }
  return out;
}

}  // namespace

TEST(ConverterOracle, EveryCellAndEveryKatakanaWithEveryMark) {
  ExpectSameInEachEncoding(InLines(corpus::AssignedCells(), 40), "assigned cells");
  // Unassigned cells and row 13 too: after a character only one code can hold, each cell is
  // plain arithmetic.
  std::vector<Char> cells;
  for (int row = 1; row <= 84; ++row)
    for (int cell = 1; cell <= 94; ++cell) cells.push_back({Char::Kanji, row, cell});
  const std::vector<Char> text = InLines(cells, 1);
  ExpectSameAsNkf("\x88\x9f\n" + corpus::Encode(text, Encoding::ShiftJis), "every cell, Shift-JIS");
  ExpectSameAsNkf("\xb0\xfe\n" + corpus::Encode(text, Encoding::Euc), "every cell, EUC-JP");
  ExpectSameAsNkf(corpus::Encode(text, Encoding::Jis), "every cell, ISO-2022-JP");
  // Each katakana alone and with the voiced and semi-voiced marks, a full-width character
  // keeping the runs apart; then a long run of katakana only.
  std::vector<Char> kana, run;
  for (int k = 0xA1; k <= 0xDF; ++k) {
    for (int mark : {0, 0xDE, 0xDF}) {
      kana.insert(kana.end(), {{Char::Kanji, 4, 2}, {Char::Kana, k}});
      if (mark) kana.push_back({Char::Kana, mark});
      kana.push_back({Char::Ascii, '\n'});
    }
  }
  ExpectSameInEachEncoding(kana, "katakana");
  std::mt19937 rng(7);
  for (int i = 0; i < 3000; ++i) run.push_back({Char::Kana, 0xA1 + static_cast<int>(rng() % 63)});
  run.push_back({Char::Ascii, '\n'});
  ExpectSameInEachEncoding(run, "katakana run");
}

TEST(ConverterOracle, RandomTextsInEachEncoding) {
  std::mt19937 rng(20240611);
  int compared = 0, skipped = 0;
  for (int i = 0; i < 150; ++i) {
    const std::vector<Char> text = corpus::RandomText(rng);
    for (Encoding e : corpus::kEncodings) {
      const std::string input = corpus::Encode(text, e);
      std::string ours;
      if (corpus::StartsWithLoneKana(input)) {
        ++skipped;
      } else if (!nkf::ConvertKanjiText(input, nkf::OutputCode::ShiftJis, &ours)) {
        EXPECT_EQ("UTF-8\n", corpus::RunNkf("-g", input)) << "taken for UTF-8: " << Bytes(input);
      } else {
        ExpectSameAsNkf(input, "text " + std::to_string(i) + " in code " + std::to_string(int(e)));
        ++compared;
      }
    }
  }
  EXPECT_GT(compared, 400);
  EXPECT_LT(skipped, 40);
}

TEST(ConverterOracle, AmbiguousTextIsReadAsNkfReadsIt) {
  // Two bytes that EUC-JP, Shift-JIS and UTF-8 may all accept: the reading decides the
  // output. Every lead with every third trail keeps the run short.
  for (int lead = 0xA1; lead <= 0xFE; ++lead) {
    for (int trail = 0xA1 + lead % 3; trail <= 0xFE; trail += 3) {
      const std::string input{static_cast<char>(lead), static_cast<char>(trail)};
      if (lead == 0xFC && (trail == 0xEF || trail == 0xF0)) continue;  // nkf gives nothing for these vendor cells
      std::string ours;
      if (nkf::ConvertKanjiText(input, nkf::OutputCode::Euc, &ours))
        EXPECT_EQ(corpus::RunNkf("-e", input), ours) << Bytes(input);
      else
        EXPECT_EQ("UTF-8\n", corpus::RunNkf("-g", input)) << Bytes(input);
    }
  }
  // Pairs that read as EUC-JP kanji or Shift-JIS katakana, then a Shift-JIS kanji: the guess
  // decides only when it comes within the bytes examined.
  for (int pairs : {1, 1000, 1023, 1024, 1500}) {
    std::string input;
    for (int i = 0; i < pairs; ++i) input += "\xb0\xa1";
    ExpectSameAsNkf(input + "\n\x88\x9f\n", "pairs " + std::to_string(pairs));
    ExpectSameAsNkf(std::string(3000, 'a') + input + "\n\x88\x9f\n", "after ASCII, pairs " + std::to_string(pairs));
  }
  for (const Case& c : ReadCases("nkf/data/mixed_texts.tsv")) ExpectSameAsNkf(c[1], c[0]);
}
