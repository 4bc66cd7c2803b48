// The LHA codec and header code on their own: round trips, damaged input, header layouts,
// the entry record and wildcards.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <tuple>

#include "lha/plugin_test_support.h"
#include "plugins/unlha32/crc16.h"
#include "plugins/unlha32/entry_record.h"
#include "plugins/unlha32/lh_decoder.h"
#include "plugins/unlha32/lh_encoder.h"
#include "plugins/unlha32/lha_archive.h"
#include "plugins/unlha32/lha_header.h"
#include "plugins/unlha32/wildcard.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Encode(const std::string& in, int bits) { return EncodeLh(reinterpret_cast<const uint8_t*>(in.data()), in.size(), bits); }
uint16_t Crc(const std::string& s) { return UpdateCrc16(0, reinterpret_cast<const uint8_t*>(s.data()), s.size()); }

// Decodes PACKED as METHOD into OUT; the error text ("" on success).
std::string Decode(const std::string& method, const Bytes& packed, uint64_t original, std::string& out, uint16_t& crc) {
  MemorySource source(packed.data(), packed.size());
  out.clear();
  const auto sink = [&out](const uint8_t* d, size_t n) {
    out.append(reinterpret_cast<const char*>(d), n);
    return true;
  };
  return DecodeMember(method, source, 0, packed.size(), original, sink, crc);
}

bool ReadAll(const Bytes& archive, std::vector<LhaEntry>& entries, std::string& error) {
  MemorySource source(archive.data(), archive.size());
  return ReadLhaDirectory(source, entries, error);
}

TEST(LhCodec, RoundTripsEveryKindOfInputInEveryDictionarySize) {
  const std::string far = NoiseData(20000, 7);  // repeats 20 KB apart reward the larger windows
  const std::vector<std::string> inputs = {"", "a", "abc", std::string(1, '\0'), std::string(5000, 'x'),
      TextData(70000, 2), NoiseData(20000, 3), TextData(40000, 4) + std::string(70000, '\0') + TextData(9000, 6), far + far + far};
  const std::pair<int, const char*> methods[] = {{13, "-lh5-"}, {15, "-lh6-"}, {16, "-lh7-"}};
  for (const auto& [bits, method] : methods) {
    for (const std::string& in : inputs) {
      std::string out;
      uint16_t crc = 0;
      ASSERT_EQ(Decode(method, Encode(in, bits), in.size(), out, crc), "") << method << " " << in.size();
      ASSERT_TRUE(out == in) << method << " " << in.size();
      EXPECT_EQ(crc, Crc(in));
    }
  }
  EXPECT_EQ(Crc("123456789"), 0xBB3D);
  EXPECT_LT(Encode(inputs.back(), 16).size() * 2, Encode(inputs.back(), 13).size());
  EXPECT_LT(Encode(inputs[5], 13).size(), inputs[5].size() / 2);
}

TEST(LhCodec, DamagedCutOrUnknownDataFailsCleanly) {
  const std::string in = TextData(30000, 11);
  const Bytes packed = Encode(in, 13);
  std::string out;
  uint16_t crc = 0;
  for (size_t keep : {size_t(0), size_t(1), size_t(5), packed.size() / 2, packed.size() - 1}) {
    EXPECT_NE(Decode("-lh5-", Bytes(packed.begin(), packed.begin() + static_cast<long>(keep)), in.size(), out, crc), "") << keep;
    EXPECT_LE(out.size(), in.size());
  }
  // A header claiming more output than the data holds ends in an error, not a hang.
  EXPECT_NE(Decode("-lh5-", packed, in.size() + 100000, out, crc), "");
  const Bytes abc = {'a', 'b', 'c'};
  EXPECT_EQ(Decode("-lh0-", abc, 3, out, crc), "");
  EXPECT_EQ(out, "abc");
  EXPECT_NE(Decode("-lh0-", abc, 4, out, crc), "");
  EXPECT_NE(Decode("-lh1-", abc, 3, out, crc), "");
  EXPECT_NE(Decode("-lzs-", abc, 3, out, crc), "");
}

TEST(LhaHeader, ReadsLevelZeroAndOneAndRejectsBrokenHeaders) {
  const std::vector<Case> archives = ReadCases("lha/data/old_header_archives.tsv");
  ASSERT_EQ(archives.size(), 2u);
  std::vector<LhaEntry> entries;
  std::string error;
  ASSERT_TRUE(ReadAll(Bytes(archives[0][1].begin(), archives[0][1].end()), entries, error)) << error;
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].name, "DOCS/A.TXT");
  EXPECT_EQ(entries[0].attributes, 0x21u);
  EXPECT_EQ(FormatDosTime(entries[0].dos_time), "1999-03-07 10:05:10");
  EXPECT_EQ(entries[1].name, "sub/\x95\x5C/b.gif");
  EXPECT_EQ(entries[1].level, 1);
  EXPECT_EQ(entries[1].packed_size, 2u);

  const Bytes good(archives[1][1].begin(), archives[1][1].end());
  ASSERT_TRUE(ReadAll(good, entries, error)) << error;
  const std::vector<std::function<void(Bytes&)>> damage = {
      [](Bytes& b) { b[1] ^= 1; },               // header checksum
      [](Bytes& b) { b.resize(b.size() - 3); },  // data runs past the end
      [](Bytes& b) { b.resize(10); },            // header cut
      [](Bytes& b) { b[20] = 3; },               // level 3 is not read
      [](Bytes& b) { b = {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '\n', 'n', 'o', 't', ' ', 'L', 'H', 'A'}; },
  };
  for (size_t i = 0; i < damage.size(); ++i) {
    Bytes bad = good;
    damage[i](bad);
    EXPECT_FALSE(ReadAll(bad, entries, error)) << i;
    EXPECT_FALSE(error.empty()) << i;
  }
  EXPECT_TRUE(ReadAll({0}, entries, error));
  EXPECT_TRUE(entries.empty());
}

TEST(LhaHeader, Level2RoundTripKeepsEveryField) {
  for (size_t name_length : {size_t(1), size_t(195), size_t(196), size_t(197), size_t(300)}) {
    LhaEntry e;
    e.method = "-lh5-";
    e.name = "dir/" + std::string(name_length, 'n');
    e.packed_size = 10;
    e.original_size = 20;
    e.crc = 0xBEEF;
    e.unix_time = 920801100;
    e.attributes = kAttrArchive | kAttrHidden;
    Bytes h = BuildLevel2Header(e);
    EXPECT_NE(h[0], 0) << "a zero first byte would read as the end of the archive";
    h.resize(h.size() + 10, 'z');
    MemorySource s(h.data(), h.size());
    LhaEntry back;
    std::string error;
    ASSERT_EQ(ReadLhaHeader(s, 0, back, error), HeaderResult::kEntry) << error;
    EXPECT_EQ(std::tie(back.name, back.method, back.packed_size, back.original_size, back.crc, back.unix_time, back.attributes),
              std::tie(e.name, e.method, e.packed_size, e.original_size, e.crc, e.unix_time, e.attributes));
    EXPECT_EQ(back.data_offset + 10, h.size());
    h[h.size() - 12] ^= 0x40;  // inside the header: its CRC no longer matches
    EXPECT_NE(ReadLhaHeader(s, 0, back, error), HeaderResult::kEntry);
  }
  EXPECT_EQ(NormaliseStoredName("\xFF" "a\xFF\xFF" "b\\c/"), "a/b/c");
  EXPECT_EQ(NormaliseStoredName("\x95\x5C\\x"), "\x95\x5C/x");
}

TEST(EntryRecord, LongNamesAreCutBetweenCharactersInsideTheRecord) {
  LhaEntry e;
  e.method = "-lh5-";
  e.name = "a";
  for (int i = 0; i < 300; ++i) e.name += "\x82\xA0";
  Bytes record(kEntryRecordSize + 8, 0xEE);
  FillEntryRecord(e, 0, record.data());
  const size_t length = std::strlen(reinterpret_cast<char*>(&record[26]));
  EXPECT_LE(length, 512u);
  EXPECT_EQ(length % 2, 1u);
  EXPECT_EQ(Bytes(record.end() - 8, record.end()), Bytes(8, 0xEE));
}

TEST(Wildcard, MatchesAsOnMsDos) {
  for (const Case& c : ReadCases("lha/data/wildcards.tsv")) EXPECT_EQ(MatchWildcard(c[0], c[1]), c[2] == "1") << c[0] << " " << c[1];
}

}  // namespace
