// Shift-JIS names whose second bytes look like '\' (0x5C) or '|' (0x7C), for the tests of
// every routine that looks for those characters in names and paths.
#pragma once
#include <string>
#include <vector>

namespace sjis_samples {

// Every two-byte character whose second byte is 0x5C or 0x7C: all lead bytes 0x81-0x9F and
// 0xE0-0xFC with each of the two.
inline std::vector<std::string> SeparatorLookingCharacters() {
  std::vector<std::string> chars;
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (lead > 0x9F && lead < 0xE0) continue;
    for (int trail : {0x5C, 0x7C}) chars.push_back({static_cast<char>(lead), static_cast<char>(trail)});
  }
  return chars;
}

// Real names: "ichiranhyou.xls", "yoteihyou.txt", "tenpo.mid", and the folder "ichiranhyou".
inline const std::string kIchiranhyou = "\x88\xea\x97\x97\x95\x5c";
inline const std::string kListXls = kIchiranhyou + ".xls";
inline const std::string kPlanTxt = "\x97\x5c\x92\xe8\x95\x5c.txt";
inline const std::string kTempoMid = "\x83\x65\x83\x93\x83\x7c.mid";

}  // namespace sjis_samples
