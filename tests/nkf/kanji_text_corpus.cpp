#include "nkf/kanji_text_corpus.h"

#include <unistd.h>

#include "lha/plugin_test_support.h"

namespace corpus {

const std::vector<Char>& AssignedCells() {
  static const std::vector<Char> cells = [] {
    const std::vector<Case> partial = ReadCases("nkf/data/assigned_cells.tsv");
    std::vector<Char> v;
    for (int row = 1; row <= 84; ++row) {
      for (int cell = 1; cell <= 94; ++cell) {
        bool ok = row == 1 || (row >= 16 && row <= 46) || (row >= 48 && row <= 83);
        for (const Case& r : partial) ok |= std::stoi(r[0]) == row && cell >= std::stoi(r[1]) && cell <= std::stoi(r[2]);
        if (ok) v.push_back({Char::Kanji, row, cell});
      }
    }
    EXPECT_EQ(v.size(), 6879u) << "the characters JIS X 0208:1997 assigns";
    return v;
  }();
  return cells;
}

std::string Encode(const std::vector<Char>& chars, Encoding encoding) {
  std::string out;
  Char::Kind mode = Char::Ascii;
  const char* escapes[] = {"\x1b(B", "\x1b$B", "\x1b(I"};  // by kind
  for (const Char& c : chars) {
    if (encoding == Encoding::Jis && c.kind != mode) out += escapes[c.kind];
    mode = c.kind;
    if (c.kind == Char::Ascii) {
      out += static_cast<char>(c.a);
    } else if (c.kind == Char::Kana) {
      if (encoding == Encoding::Euc) out += '\x8e';
      out += static_cast<char>(encoding == Encoding::Jis ? c.a - 0x80 : c.a);
    } else if (encoding == Encoding::ShiftJis) {
      const int j1 = c.a + 0x20, j2 = c.b + 0x20, lead = ((j1 - 0x21) >> 1) + 0x81;
      out += static_cast<char>(lead > 0x9F ? lead + 0x40 : lead);
      out += static_cast<char>((j1 & 1) ? j2 + 0x1F + (j2 >= 0x60 ? 1 : 0) : j2 + 0x7E);
    } else {
      const int offset = encoding == Encoding::Euc ? 0xA0 : 0x20;
      out += static_cast<char>(c.a + offset);
      out += static_cast<char>(c.b + offset);
    }
  }
  if (encoding == Encoding::Jis && mode != Char::Ascii) out += escapes[0];
  return out;
}

std::vector<Char> RandomText(std::mt19937& rng) {
  const std::vector<Char>& cells = AssignedCells();
  auto pick = [&](size_t n) { return std::uniform_int_distribution<int>(0, static_cast<int>(n) - 1)(rng); };
  auto chance = [&]() { return std::uniform_real_distribution<double>(0, 1)(rng); };
  // Some texts draw their kanji from a handful of cells, which makes the encodings hard to tell.
  static const int pool_sizes[] = {1, 2, 5, 50, 0};
  std::vector<Char> pool;
  for (int i = pool_sizes[pick(5)]; i > 0; --i) pool.push_back(cells[pick(cells.size())]);
  const std::vector<Char>& kanji = pool.empty() ? cells : pool;
  const double ascii = chance() * 0.5, line_end = ascii + chance() * 0.2, kana = line_end + chance() * 0.6;
  const int length = pick(3) == 0 ? pick(11) : pick(3) == 0 ? 500 + pick(1000) : pick(61);
  static const char* words[] = {"a", "Z", " ", "1", "\\", "~", ".", "abc ", "<p>", "\t"};
  std::vector<Char> text;
  for (int i = 0; i < length; ++i) {
    const double k = chance();
    if (k < ascii) {
      for (const char* p = words[pick(10)]; *p; ++p) text.push_back({Char::Ascii, *p});
    } else if (k < line_end) {
      if (pick(2)) text.push_back({Char::Ascii, '\r'});
      text.push_back({Char::Ascii, '\n'});
    } else {
      text.push_back(k < kana ? Char{Char::Kana, 0xA1 + pick(63)} : kanji[pick(kanji.size())]);
    }
  }
  return text;
}

std::string RunNkf(const std::string& option, const std::string& input) {
  const std::string path = "/tmp/vako-nkf-input-" + std::to_string(getpid());
  WriteFile(path, input);
  std::string out;
  if (RunShell("/", "nkf " + option + " < " + path, &out) != 0) out = "<nkf failed>";
  unlink(path.c_str());
  return out;
}

bool StartsWithLoneKana(const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) continue;
    return c >= 0xA1 && c <= 0xDF && (i + 1 == text.size() || static_cast<unsigned char>(text[i + 1]) < 0x80);
  }
  return false;
}

}  // namespace corpus
