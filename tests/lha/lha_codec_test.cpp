// The LHA codec and header code on their own: round trips, corrupt input, header layouts,
// the entry record and wildcards.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "lha_test_support.h"
#include "plugins/unlha32/crc16.h"
#include "plugins/unlha32/entry_record.h"
#include "plugins/unlha32/lh_decoder.h"
#include "plugins/unlha32/lh_encoder.h"
#include "plugins/unlha32/lha_archive.h"
#include "plugins/unlha32/lha_header.h"
#include "plugins/unlha32/wildcard.h"

namespace {

std::string MethodFor(int dict_bits) {
  return dict_bits == 13 ? "-lh5-" : dict_bits == 15 ? "-lh6-" : "-lh7-";
}

// Decodes PACKED as METHOD; returns the error text ("" on success).
std::string Decode(const std::string& method, const std::vector<uint8_t>& packed,
                   uint64_t original, std::string& out, uint16_t& crc) {
  MemorySource source(packed.data(), packed.size());
  out.clear();
  return DecodeMember(method, source, 0, packed.size(), original,
                      [&out](const uint8_t* d, size_t n) {
                        out.append(reinterpret_cast<const char*>(d), n);
                        return true;
                      },
                      crc);
}

uint16_t Crc(const std::string& s) {
  return UpdateCrc16(0, reinterpret_cast<const uint8_t*>(s.data()), s.size());
}

TEST(Crc16, MatchesTheArcCheckValue) {
  EXPECT_EQ(Crc("123456789"), 0xBB3D);
  EXPECT_EQ(Crc(""), 0);
}

TEST(LhCodec, RoundTripsEveryKindOfInputInEveryDictionarySize) {
  std::vector<std::string> inputs = {
      "", "a", "ab", "abc", std::string(1, '\0'), std::string(5000, 'x'),
      TextData(100, 1), TextData(70000, 2), NoiseData(20000, 3),
      TextData(40000, 4) + NoiseData(3000, 5) + std::string(70000, '\0') + TextData(9000, 6)};
  // Repeats further back than 8 KiB but within 64 KiB reward the larger dictionaries.
  std::string far = NoiseData(20000, 7);
  inputs.push_back(far + far + far);
  for (int bits : {13, 15, 16}) {
    for (size_t i = 0; i < inputs.size(); ++i) {
      const std::string& in = inputs[i];
      std::vector<uint8_t> packed =
          EncodeLh(reinterpret_cast<const uint8_t*>(in.data()), in.size(), bits);
      std::string out;
      uint16_t crc = 0;
      ASSERT_EQ(Decode(MethodFor(bits), packed, in.size(), out, crc), "") << bits << " #" << i;
      ASSERT_EQ(out, in) << bits << " #" << i;
      EXPECT_EQ(crc, Crc(in));
    }
  }
  std::vector<uint8_t> far5 = EncodeLh(reinterpret_cast<const uint8_t*>(inputs.back().data()),
                                       inputs.back().size(), 13);
  std::vector<uint8_t> far7 = EncodeLh(reinterpret_cast<const uint8_t*>(inputs.back().data()),
                                       inputs.back().size(), 16);
  EXPECT_LT(far7.size() * 2, far5.size());
}

TEST(LhCodec, CompressesText) {
  std::string text = TextData(100000, 9);
  std::vector<uint8_t> packed = EncodeLh(reinterpret_cast<const uint8_t*>(text.data()), text.size(), 13);
  EXPECT_LT(packed.size(), text.size() / 2);
}

TEST(LhCodec, TruncatedOrDamagedDataFailsCleanly) {
  std::string in = TextData(30000, 11);
  std::vector<uint8_t> packed = EncodeLh(reinterpret_cast<const uint8_t*>(in.data()), in.size(), 13);
  std::string out;
  uint16_t crc = 0;
  for (size_t keep : {size_t(0), size_t(1), size_t(5), packed.size() / 2, packed.size() - 1}) {
    std::vector<uint8_t> cut(packed.begin(), packed.begin() + static_cast<long>(keep));
    EXPECT_NE(Decode("-lh5-", cut, in.size(), out, crc), "") << keep;
    EXPECT_LE(out.size(), in.size());
  }
  // Damage anywhere: an error or a wrong CRC, never more output than the header claims.
  std::mt19937 rng(5);
  for (int round = 0; round < 300; ++round) {
    std::vector<uint8_t> bad = packed;
    bad[rng() % bad.size()] ^= static_cast<uint8_t>(1u << (rng() % 8));
    std::string error = Decode("-lh5-", bad, in.size(), out, crc);
    EXPECT_LE(out.size(), in.size());
    if (error.empty()) {
      EXPECT_EQ(out.size(), in.size());
      if (out != in) {
        EXPECT_NE(crc, Crc(in));
      }
    }
  }
  // A header claiming more output than the data holds ends in an error, not a hang.
  EXPECT_NE(Decode("-lh5-", packed, in.size() + 100000, out, crc), "");
}

TEST(LhCodec, StoredAndUnknownMethods) {
  std::vector<uint8_t> bytes = {'a', 'b', 'c'};
  std::string out;
  uint16_t crc = 0;
  EXPECT_EQ(Decode("-lh0-", bytes, 3, out, crc), "");
  EXPECT_EQ(out, "abc");
  EXPECT_NE(Decode("-lh0-", bytes, 4, out, crc), "");
  EXPECT_NE(Decode("-lh1-", bytes, 3, out, crc), "");
  EXPECT_NE(Decode("-lzs-", bytes, 3, out, crc), "");
  EXPECT_FALSE(CanDecodeMethod("-lh1-"));
  EXPECT_TRUE(CanDecodeMethod("-lh7-"));
}

// Level-0 and level-1 headers built by hand, as old MS-DOS archivers wrote them.
std::vector<uint8_t> Level01Header(int level, const std::string& method, const std::string& name,
                                   uint32_t packed, uint32_t original, uint16_t crc,
                                   uint32_t dos_time, uint8_t attribute,
                                   const std::vector<std::vector<uint8_t>>& extensions = {}) {
  std::vector<uint8_t> h = {0, 0};
  h.insert(h.end(), method.begin(), method.end());
  uint32_t ext_total = 0;
  for (const auto& e : extensions) ext_total += static_cast<uint32_t>(e.size() + 2);
  Put32(h, level == 1 ? packed + ext_total : packed);
  Put32(h, original);
  Put32(h, dos_time);
  h.push_back(attribute);
  h.push_back(static_cast<uint8_t>(level));
  h.push_back(static_cast<uint8_t>(name.size()));
  h.insert(h.end(), name.begin(), name.end());
  Put16(h, crc);
  if (level == 1) {
    h.push_back('M');
    Put16(h, extensions.empty() ? 0 : static_cast<uint16_t>(extensions[0].size() + 2));
  }
  h[0] = static_cast<uint8_t>(h.size() - 2);
  unsigned sum = 0;
  for (size_t i = 2; i < h.size(); ++i) sum += h[i];
  h[1] = static_cast<uint8_t>(sum);
  for (size_t i = 0; i < extensions.size(); ++i) {
    h.insert(h.end(), extensions[i].begin(), extensions[i].end());
    Put16(h, i + 1 < extensions.size() ? static_cast<uint16_t>(extensions[i + 1].size() + 2) : 0);
  }
  return h;
}

TEST(LhaHeader, ReadsLevelZeroAndOneWithTheirSeparators) {
  std::vector<uint8_t> archive =
      Level01Header(0, "-lh0-", "DOCS\\A.TXT", 3, 3, Crc("abc"), 0x266750A5, 0x21);
  archive.insert(archive.end(), {'a', 'b', 'c'});
  std::vector<uint8_t> dir_ext = {0x02, 's', 'u', 'b', 0xFF, 0x95, 0x5C, 0xFF};
  std::vector<uint8_t> second =
      Level01Header(1, "-lh0-", "b.gif", 2, 2, Crc("xy"), 0x266750A5, 0x20, {dir_ext});
  archive.insert(archive.end(), second.begin(), second.end());
  archive.insert(archive.end(), {'x', 'y', 0});
  MemorySource source(archive.data(), archive.size());
  std::vector<LhaEntry> entries;
  std::string error;
  ASSERT_TRUE(ReadLhaDirectory(source, entries, error)) << error;
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].name, "DOCS/A.TXT");
  EXPECT_EQ(entries[0].level, 0);
  EXPECT_EQ(entries[0].attributes, 0x21u);
  EXPECT_EQ(entries[0].dos_time, 0x266750A5u);
  EXPECT_FALSE(entries[0].has_unix_time);
  EXPECT_EQ(entries[1].name, "sub/\x95\x5C/b.gif");
  EXPECT_EQ(entries[1].packed_size, 2u);
  EXPECT_EQ(entries[1].level, 1);
  EXPECT_EQ(FormatDosTime(entries[0].dos_time), "1999-03-07 10:05:10");
}

TEST(LhaHeader, RejectsBrokenHeadersWithAnError) {
  std::vector<uint8_t> good = Level01Header(0, "-lh0-", "a.txt", 3, 3, Crc("abc"), 0, 0x20);
  good.insert(good.end(), {'a', 'b', 'c', 0});
  std::vector<LhaEntry> entries;
  std::string error;
  {
    std::vector<uint8_t> bad = good;
    bad[1] ^= 1;  // header checksum
    MemorySource s(bad.data(), bad.size());
    EXPECT_FALSE(ReadLhaDirectory(s, entries, error));
    EXPECT_NE(error.find("checksum"), std::string::npos);
  }
  {
    std::vector<uint8_t> bad(good.begin(), good.end() - 3);  // data runs past the end
    MemorySource s(bad.data(), bad.size());
    EXPECT_FALSE(ReadLhaDirectory(s, entries, error));
  }
  {
    std::vector<uint8_t> bad(good.begin(), good.begin() + 10);
    MemorySource s(bad.data(), bad.size());
    EXPECT_FALSE(ReadLhaDirectory(s, entries, error));
  }
  {
    std::vector<uint8_t> bad = good;
    bad[20] = 3;  // level 3 is not read
    MemorySource s(bad.data(), bad.size());
    EXPECT_FALSE(ReadLhaDirectory(s, entries, error));
  }
  {
    std::vector<uint8_t> text = {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '\n',
                                 'n', 'o', 't', ' ', 'a', 'n', ' ', 'a', 'r', 'c', 'h', 'i', 'v', 'e'};
    MemorySource s(text.data(), text.size());
    EXPECT_FALSE(ReadLhaDirectory(s, entries, error));
  }
  {
    std::vector<uint8_t> empty = {0};
    MemorySource s(empty.data(), empty.size());
    EXPECT_TRUE(ReadLhaDirectory(s, entries, error));
    EXPECT_TRUE(entries.empty());
  }
}

TEST(LhaHeader, Level2RoundTripKeepsEveryField) {
  for (size_t name_length : {size_t(1), size_t(40), size_t(195), size_t(196), size_t(197), size_t(300)}) {
    LhaEntry e;
    e.method = "-lh5-";
    e.name = "dir/" + std::string(name_length, 'n');
    e.packed_size = 10;
    e.original_size = 20;
    e.crc = 0xBEEF;
    e.unix_time = 920801100;
    e.attributes = kAttrArchive | kAttrHidden;
    std::vector<uint8_t> h = BuildLevel2Header(e);
    EXPECT_NE(h[0], 0) << "a zero first byte would read as the end of the archive";
    h.resize(h.size() + 10, 'z');
    MemorySource s(h.data(), h.size());
    LhaEntry back;
    std::string error;
    ASSERT_EQ(ReadLhaHeader(s, 0, back, error), HeaderResult::kEntry) << error;
    EXPECT_EQ(back.name, e.name);
    EXPECT_EQ(back.method, e.method);
    EXPECT_EQ(back.packed_size, 10u);
    EXPECT_EQ(back.original_size, 20u);
    EXPECT_EQ(back.crc, 0xBEEF);
    EXPECT_EQ(back.unix_time, 920801100);
    EXPECT_EQ(back.attributes, kAttrArchive | kAttrHidden);
    EXPECT_EQ(back.data_offset + 10, h.size());
    h[h.size() - 12] ^= 0x40;  // inside the header: its CRC no longer matches
    if (h.size() - 12 >= 26) {
      EXPECT_NE(ReadLhaHeader(s, 0, back, error), HeaderResult::kEntry);
    }
  }
}

TEST(LhaHeader, NormalisesStoredNames) {
  EXPECT_EQ(NormaliseStoredName("a\\b/c"), "a/b/c");
  EXPECT_EQ(NormaliseStoredName("\xFF" "a\xFF\xFF" "b\xFF"), "a/b");
  EXPECT_EQ(NormaliseStoredName("\x95\x5C\\x"), "\x95\x5C/x");
  EXPECT_EQ(NormaliseStoredName("dir\\"), "dir");
}

TEST(EntryRecord, FieldsSitAtTheirOffsets) {
  LhaEntry e;
  e.method = "-lh5-";
  e.name = "docs/a.txt";
  e.original_size = 0x12345678;
  e.packed_size = 0x1234567;
  e.crc = 0xABCD;
  e.attributes = kAttrArchive | kAttrReadOnly;
  std::vector<uint8_t> record(kEntryRecordSize + 8, 0xEE);
  FillEntryRecord(e, (0x2667u << 16) | 0x50A0u, record.data());
  auto u32 = [&record](size_t at) { return Get32(&record[at]); };
  EXPECT_EQ(u32(0), 0x12345678u);
  EXPECT_EQ(u32(4), 0x1234567u);
  EXPECT_EQ(u32(8), 0xABCDu);
  EXPECT_EQ(Get16(&record[20]), 62);  // per mille
  EXPECT_EQ(Get16(&record[22]), 0x2667);
  EXPECT_EQ(Get16(&record[24]), 0x50A0);
  EXPECT_STREQ(reinterpret_cast<char*>(&record[26]), "docs/a.txt");
  EXPECT_STREQ(reinterpret_cast<char*>(&record[542]), "r--a-");
  EXPECT_STREQ(reinterpret_cast<char*>(&record[550]), "-lh5-");
  for (size_t i = kEntryRecordSize; i < record.size(); ++i) EXPECT_EQ(record[i], 0xEE);
  EXPECT_EQ(EntryAttributes(e), static_cast<int>(kAttrArchive | kAttrReadOnly));
  e.method = "-lhd-";
  EXPECT_EQ(EntryAttributes(e), static_cast<int>(kAttrFolder));

  // A name longer than the field is cut to 512 bytes, never inside a character.
  e.name = "a";
  for (int i = 0; i < 300; ++i) e.name += "\x82\xA0";
  FillEntryRecord(e, 0, record.data());
  size_t length = std::strlen(reinterpret_cast<char*>(&record[26]));
  EXPECT_LE(length, 512u);
  EXPECT_EQ(length % 2, 1u);
}

TEST(Wildcard, MatchesAsOnMsDos) {
  EXPECT_TRUE(MatchWildcard("*.*", "README"));
  EXPECT_TRUE(MatchWildcard("*.*", "docs/a.txt"));
  EXPECT_TRUE(MatchWildcard("docs/*.*", "docs/sub/a.txt"));
  EXPECT_TRUE(MatchWildcard("DOCS\\*.TXT", "docs/a.txt"));
  EXPECT_FALSE(MatchWildcard("docs/*.*", "doc/a.txt"));
  EXPECT_TRUE(MatchWildcard("?.txt", "\x95\x5C.txt"));
  EXPECT_FALSE(MatchWildcard("??.txt", "\x95\x5C.txt"));
  EXPECT_FALSE(MatchWildcard("*.txt", "a.txt.bak"));
  // A trail byte that looks like a lower-case letter is not folded.
  EXPECT_FALSE(MatchWildcard("\x83\x41", "\x83\x61"));
  EXPECT_EQ(UpperCaseName("docs/\x83\x61" "file.txt"), "DOCS/\x83\x61" "FILE.TXT");
}

}  // namespace
