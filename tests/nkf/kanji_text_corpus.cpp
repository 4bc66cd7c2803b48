#include "kanji_text_corpus.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace corpus {

const char* Name(Encoding e) {
  switch (e) {
    case Encoding::ShiftJis: return "Shift-JIS";
    case Encoding::Euc: return "EUC-JP";
    case Encoding::Jis: return "ISO-2022-JP";
  }
  return "?";
}

const std::vector<Char>& AssignedCells() {
  static const std::vector<Char> cells = [] {
    // Rows with gaps, as JIS X 0208:1997 assigns them; rows 1, 16-46 and 48-83 are full.
    struct Range { int row, first, last; };
    const Range partial[] = {{2, 1, 14},  {2, 26, 33}, {2, 42, 48}, {2, 60, 74}, {2, 82, 89}, {2, 94, 94},
                             {3, 16, 25}, {3, 33, 58}, {3, 65, 90}, {4, 1, 83},  {5, 1, 86},  {6, 1, 24},
                             {6, 33, 56}, {7, 1, 33},  {7, 49, 81}, {8, 1, 32},  {47, 1, 51}, {84, 1, 6}};
    std::vector<Char> v;
    for (int row = 1; row <= 84; ++row) {
      bool full = row == 1 || (row >= 16 && row <= 46) || (row >= 48 && row <= 83);
      for (int cell = 1; cell <= 94; ++cell) {
        bool ok = full;
        for (const Range& r : partial)
          if (r.row == row && cell >= r.first && cell <= r.last) ok = true;
        if (ok) v.push_back({Char::Kanji, row, cell});
      }
    }
    return v;
  }();
  return cells;
}

namespace {
void PutShiftJis(std::string* out, int row, int cell) {
  int j1 = row + 0x20, j2 = cell + 0x20;
  int lead = ((j1 - 0x21) >> 1) + 0x81;
  if (lead > 0x9F) lead += 0x40;
  int trail = (j1 & 1) ? j2 + 0x1F + (j2 >= 0x60 ? 1 : 0) : j2 + 0x7E;
  out->push_back(static_cast<char>(lead));
  out->push_back(static_cast<char>(trail));
}
}  // namespace

std::string Encode(const std::vector<Char>& chars, Encoding encoding) {
  std::string out;
  enum { Ascii, Kanji, Kana } mode = Ascii;
  for (const Char& c : chars) {
    switch (c.kind) {
      case Char::Ascii:
        if (encoding == Encoding::Jis && mode != Ascii) out += "\x1b(B";
        mode = Ascii;
        out.push_back(static_cast<char>(c.a));
        break;
      case Char::Kanji:
        if (encoding == Encoding::ShiftJis) {
          PutShiftJis(&out, c.a, c.b);
        } else if (encoding == Encoding::Euc) {
          out.push_back(static_cast<char>(c.a + 0xA0));
          out.push_back(static_cast<char>(c.b + 0xA0));
        } else {
          if (mode != Kanji) out += "\x1b$B";
          mode = Kanji;
          out.push_back(static_cast<char>(c.a + 0x20));
          out.push_back(static_cast<char>(c.b + 0x20));
        }
        break;
      case Char::Kana:
        if (encoding == Encoding::ShiftJis) {
          out.push_back(static_cast<char>(c.a));
        } else if (encoding == Encoding::Euc) {
          out.push_back('\x8e');
          out.push_back(static_cast<char>(c.a));
        } else {
          if (mode != Kana) out += "\x1b(I";
          mode = Kana;
          out.push_back(static_cast<char>(c.a - 0x80));
        }
        break;
    }
  }
  if (encoding == Encoding::Jis && mode != Ascii) out += "\x1b(B";
  return out;
}

std::vector<Char> RandomText(std::mt19937& rng) {
  const std::vector<Char>& cells = AssignedCells();
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  auto chance = [&]() { return std::uniform_real_distribution<double>(0, 1)(rng); };
  // Some texts draw their kanji from a handful of cells, which makes the encodings hard to tell.
  static const int poolSizes[] = {1, 2, 5, 50, 0};
  int poolSize = poolSizes[pick(5)];
  std::vector<Char> pool;
  for (int i = 0; poolSize && i < poolSize; ++i) pool.push_back(cells[pick(static_cast<int>(cells.size()))]);
  const std::vector<Char>& kanji = poolSize ? pool : cells;
  double ascii = chance() * 0.5, lineEnd = chance() * 0.2, kana = chance() * 0.6;
  int length = pick(3) == 0 ? pick(11) : pick(3) == 0 ? 500 + pick(1000) : pick(61);
  static const char* words[] = {"a", "Z", " ", "1", "\\", "~", ".", "abc ", "<p>", "\t"};
  std::vector<Char> text;
  for (int i = 0; i < length; ++i) {
    double k = chance();
    if (k < ascii) {
      for (const char* p = words[pick(10)]; *p; ++p) text.push_back({Char::Ascii, *p});
    } else if (k < ascii + lineEnd) {
      if (pick(2)) text.push_back({Char::Ascii, '\r'});
      text.push_back({Char::Ascii, '\n'});
    } else if (k < ascii + lineEnd + kana) {
      text.push_back({Char::Kana, 0xA1 + pick(63)});
    } else {
      text.push_back(kanji[pick(static_cast<int>(kanji.size()))]);
    }
  }
  return text;
}

std::string RunNkf(const std::string& option, const std::string& input) {
  char inPath[] = "/tmp/vako-nkf-in-XXXXXX";
  int fd = mkstemp(inPath);
  if (fd < 0) return "<mkstemp failed>";
  if (!input.empty() && write(fd, input.data(), input.size()) != static_cast<ssize_t>(input.size())) {
    close(fd);
    unlink(inPath);
    return "<write failed>";
  }
  close(fd);
  std::string command = "nkf " + option + " < " + inPath;
  std::string out;
  if (FILE* p = popen(command.c_str(), "r")) {
    char buf[65536];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    if (pclose(p) != 0) out = "<nkf failed>";
  } else {
    out = "<popen failed>";
  }
  unlink(inPath);
  return out;
}

bool StartsWithLoneKana(const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) continue;
    if (c < 0xA1 || c > 0xDF) return false;
    return i + 1 == text.size() || static_cast<unsigned char>(text[i + 1]) < 0x80;
  }
  return false;
}

}  // namespace corpus
