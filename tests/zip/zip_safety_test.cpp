// Hostile, damaged and truncated archives and bad command lines:
// nothing is written outside the destination, nothing damaged is left looking good, and
// every fault ends in an error text.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <map>
#include <vector>

#include "zip/zip_builder.h"
#include "zip/zip_native_support.h"

namespace {

struct ZipSafetyTest : ::testing::Test {
  ScratchFolder scratch;
  std::string archive = scratch / "test.zip";
  std::string output = scratch / "box/out";
  void SetUp() override {
    ASSERT_FALSE(scratch.path().empty());
    MakeFolders(scratch / "box");
  }
  UnZipRun Extract(const std::string& bytes) {
    WriteBytes(archive, bytes);
    return ExtractWithUnZip(archive, output);
  }
  // Nothing but the destination may appear beside it.
  void ExpectNothingOutside() {
    const auto box = ReadTree(scratch / "box");
    for (const auto& item : box)
      EXPECT_TRUE(item.first == "out" || item.first.compare(0, 4, "out/") == 0) << item.first;
  }
};

TEST_F(ZipSafetyTest, NamesLeadingOutsideAreRefusedAndTheRestExtracted) {
  const std::string absolute = scratch / "absolute.txt";
  const std::vector<std::string> hostile = {
      "../evil.txt", "a/../../evil.txt", "sub\\..\\..\\evil.txt", absolute,
      "\\evil.txt", "C:evil.txt", "C:\\evil.txt", "..", ".. /evil.txt", ".../evil.txt",
      "evil.txt:stream", "con.txt", "docs/NUL",
      "\x95\\..\\evil.txt",  // the 0x5C after 0x95 is a separator under other code pages
  };
  ZipBuilder zip;
  zip.AddStored("first.txt", "1");
  for (const std::string& name : hostile) zip.AddStored(name, "evil");
  zip.AddStored("\x95\\.txt", "table");  // a genuine Shift-JIS name with a 0x5C byte
  zip.AddStored("\x83\\\x83t\x83g/readme.txt", "software");
  zip.AddDeflated("docs/last.txt", "last one");
  const UnZipRun run = Extract(zip.Build());

  EXPECT_EQ(run.result, 1) << run.text;
  for (const std::string& name : hostile)
    EXPECT_NE(run.text.find("   refused: " + name + " ("), std::string::npos) << name;
  EXPECT_NE(run.text.find("(0x5C trail byte)"), std::string::npos) << run.text;
  EXPECT_NE(run.text.find("4 files extracted, 14 refused, 0 failed"), std::string::npos)
      << run.text;
  EXPECT_FALSE(Exists(absolute));
  ExpectNothingOutside();
  EXPECT_EQ(ReadBytes(output + "/first.txt"), "1");
  struct tm dos_time = {};  // the builder's MS-DOS stamp, 1999-03-07 10:00:00 local time
  dos_time.tm_year = 99;
  dos_time.tm_mon = 2;
  dos_time.tm_mday = 7;
  dos_time.tm_hour = 10;
  dos_time.tm_isdst = -1;
  struct stat st;
  ASSERT_EQ(stat((output + "/first.txt").c_str(), &st), 0);
  EXPECT_EQ(st.st_mtime, mktime(&dos_time));
  EXPECT_EQ(ReadBytes(output + "/\x95\\.txt"), "table");
  EXPECT_EQ(ReadBytes(output + "/\x83\\\x83t\x83g/readme.txt"), "software");
  EXPECT_EQ(ReadBytes(output + "/docs/last.txt"), "last one");
  EXPECT_EQ(ReadTree(output).size(), 6u);  // four files and the folders docs and the katakana one
}

TEST_F(ZipSafetyTest, DamagedMembersFailAndAreNotLeftBehind) {
  const std::string text(200000, 'x');
  ZipBuilder zip;
  zip.AddStored("crc.txt", "stored data").crc32 ^= 1;
  zip.AddDeflated("crc-deflated.txt", text).crc32 ^= 1;
  BuiltMember& garbage = zip.AddDeflated("garbage.txt", "whatever");
  garbage.payload = std::string("\xff\xff\xff\xff\xff\xff", 6);
  garbage.compressed_size = 6;
  zip.AddDeflated("bomb.txt", text).uncompressed_size = 1000;  // inflates to far more
  zip.AddDeflated("short.txt", "short").uncompressed_size = 10;
  BuiltMember& cut = zip.AddDeflated("cut.txt", text);
  cut.payload.resize(cut.payload.size() / 2);  // the stream ends too early
  cut.compressed_size = static_cast<uint32_t>(cut.payload.size());
  zip.AddStored("sizes.txt", "abc").uncompressed_size = 4;
  zip.AddStored("locked.txt", "secret").flags = 1;
  zip.AddStored("bzip2.txt", "data").method = 12;
  zip.AddStored("good.txt", "good");
  const UnZipRun run = Extract(zip.Build());

  EXPECT_EQ(run.result, 1) << run.text;
  const char* expected[] = {
      "crc.txt (CRC error)",
      "crc-deflated.txt (CRC error)",
      "garbage.txt (compressed data damaged)",
      "bomb.txt (data larger than recorded)",
      "short.txt (data shorter than recorded)",
      "cut.txt (compressed data truncated)",
      "sizes.txt (stored sizes disagree)",
      "locked.txt (encrypted members are not supported)",
      "bzip2.txt (compression method 12 is not supported)",
  };
  for (const char* line : expected)
    EXPECT_NE(run.text.find(std::string("     error: ") + line + "\r\n"), std::string::npos)
        << line << "\n" << run.text;
  EXPECT_NE(run.text.find("1 file extracted, 0 refused, 9 failed"), std::string::npos);
  const auto tree = ReadTree(output);
  EXPECT_EQ(tree.size(), 1u);
  EXPECT_EQ(ReadBytes(output + "/good.txt"), "good");
}

// A member that cannot be extracted must not cost the user the file already there: it
// keeps its bytes and no temporary file is left beside it. Good members still replace.
TEST_F(ZipSafetyTest, FailedMembersLeaveExistingFilesUntouched) {
  const std::string text(200000, 'x');
  ZipBuilder zip;
  zip.AddStored("locked.txt", "secret").flags = 1;
  zip.AddDeflated("sub/locked.txt", text).flags = 1;
  zip.AddStored("bzip2.txt", "data").method = 12;
  zip.AddStored("crc.txt", "stored data").crc32 ^= 1;
  zip.AddDeflated("sub/crc-deflated.txt", text).crc32 ^= 1;
  BuiltMember& cut = zip.AddDeflated("cut.txt", text);
  cut.payload.resize(cut.payload.size() / 2);
  cut.compressed_size = static_cast<uint32_t>(cut.payload.size());
  zip.AddStored("sizes.txt", "abc").uncompressed_size = 4;
  zip.AddDeflated("bomb.txt", text).uncompressed_size = 1000;
  zip.AddStored("good.txt", "new");
  zip.AddDeflated("sub/good.txt", text);
  zip.AddStored("past.txt", "pppp");
  zip.AddStored("link.txt", "through the link");  // a link is neither followed nor replaced
  std::string bytes = zip.Build();
  // The directory says past.txt holds 1000 bytes, far more than the archive has left.
  const size_t central = bytes.rfind("past.txt") - 46;
  bytes[central + 20] = bytes[central + 24] = '\xE8';
  bytes[central + 21] = bytes[central + 25] = '\x03';

  MakeFolders(output + "/sub");
  std::map<std::string, std::string> before;
  for (const char* name : {"locked.txt", "sub/locked.txt", "bzip2.txt", "crc.txt",
                           "sub/crc-deflated.txt", "cut.txt", "sizes.txt", "bomb.txt",
                           "good.txt", "sub/good.txt", "past.txt"}) {
    before[name] = std::string("the user's own ") + name + std::string(3000, '!');
    WriteBytes(output + "/" + name, before[name]);
  }
  WriteBytes(scratch / "outside.txt", "outside");
  ASSERT_EQ(symlink((scratch / "outside.txt").c_str(), (output + "/link.txt").c_str()), 0);
  const UnZipRun run = Extract(bytes);

  EXPECT_EQ(run.result, 1) << run.text;
  EXPECT_NE(run.text.find("2 files extracted, 0 refused, 10 failed"), std::string::npos)
      << run.text;
  std::map<std::string, std::string> expected = before;
  expected["sub"] = "<folder>";
  expected["good.txt"] = "new";
  expected["sub/good.txt"] = text;
  expected["link.txt"] = "outside";
  EXPECT_TRUE(ReadTree(output) == expected) << run.text;
  EXPECT_NE(run.text.find("     error: link.txt (cannot create file)\r\n"), std::string::npos)
      << run.text;
  EXPECT_EQ(ReadBytes(scratch / "outside.txt"), "outside");
  ExpectNothingOutside();
}

// A member whose data would run past the end of the file, a directory that claims more
// entries than it holds, and offsets beyond the file.
TEST_F(ZipSafetyTest, LyingDirectoriesEndInAnErrorText) {
  ZipBuilder zip;
  zip.AddStored("a.txt", "aaaa");
  zip.AddStored("b.txt", "bbbb");
  const std::string good = zip.Build();
  const size_t end = good.size() - 22;

  std::string past = good;  // b.txt's sizes say 1000 bytes
  const size_t b_central = good.find(std::string("PK\x01\x02", 4), good.find("PK\x01\x02") + 4);
  past[b_central + 20] = past[b_central + 24] = '\xE8';
  past[b_central + 21] = past[b_central + 25] = '\x03';
  UnZipRun run = Extract(past);
  EXPECT_EQ(run.result, 1);
  EXPECT_NE(run.text.find("error: b.txt (truncated archive)"), std::string::npos) << run.text;

  std::string count = good;  // 65535 entries in a two-entry directory
  count[end + 8] = count[end + 9] = count[end + 10] = count[end + 11] = '\xFF';
  run = Extract(count);
  EXPECT_EQ(run.result, 2);
  EXPECT_NE(run.text.find("error: damaged archive"), std::string::npos) << run.text;

  std::string offset = good;  // directory said to start far beyond the end
  offset[end + 19] = '\x7F';
  run = Extract(offset);
  EXPECT_EQ(run.result, 2);
  EXPECT_NE(run.text.find("error: damaged archive"), std::string::npos) << run.text;

  std::string local = good;  // b.txt's local header points into a.txt's data
  local[b_central + 42] = 40;
  run = Extract(local);
  EXPECT_EQ(run.result, 1);
  EXPECT_NE(run.text.find("error: b.txt (damaged archive (local header))"), std::string::npos)
      << run.text;
  ExpectNothingOutside();
}

// Every cut of a real archive ends with an error text, never a crash or a hang.
TEST_F(ZipSafetyTest, EveryTruncationOfARealArchiveFailsCleanly) {
  MakeFolders(scratch / "src/sub");
  std::string varied;
  for (int i = 0; i < 3000; ++i) varied += std::to_string(i * 7919 % 1000);
  WriteBytes(scratch / "src/sub/a.txt", varied);
  WriteBytes(scratch / "src/b.txt", "bbbbbbbbbb");
  const std::string made = scratch / "made.zip";
  ASSERT_TRUE(Shell("cd " + Quoted(scratch / "src") + " && zip -q -r -9 " + Quoted(made) + " ."));
  const std::string whole = ReadBytes(made);
  ASSERT_GT(whole.size(), 100u);
  for (size_t length = 0; length < whole.size(); ++length) {
    const UnZipRun run = Extract(whole.substr(0, length));
    ASSERT_NE(run.result, 0) << length;
    ASSERT_NE(run.text.find("error: "), std::string::npos) << length;
  }
  // Damage inside the data of a deflated member is caught by inflate or the CRC.
  std::string damaged = whole;
  const size_t header = damaged.find("sub/a.txt") - 30;
  auto u16 = [&](size_t at) {
    return static_cast<size_t>(static_cast<unsigned char>(damaged[at]) |
                               (static_cast<unsigned char>(damaged[at + 1]) << 8));
  };
  const size_t data = header + 30 + u16(header + 26) + u16(header + 28);
  damaged[data + u16(header + 18) / 2] ^= 0x55;
  Shell("rm -rf " + Quoted(output));
  const UnZipRun run = Extract(damaged);
  EXPECT_EQ(run.result, 1) << run.text;
  EXPECT_FALSE(Exists(output + "/sub/a.txt")) << run.text;
  EXPECT_EQ(ReadBytes(output + "/b.txt"), "bbbbbbbbbb");
  ExpectNothingOutside();
}

TEST_F(ZipSafetyTest, CommandLines) {
  ZipBuilder zip;
  zip.AddStored("a.txt", "a");
  WriteBytes(scratch / "with blank.zip", zip.Build());
  // The program's own form: quoted, blanks inside, a final backslash before the quote
  // (the POSIX build takes '/' for it here).
  UnZipRun run = RunUnZip("-x \"" + (scratch / "with blank.zip") + "\" \"" + output + "/\"");
  EXPECT_EQ(run.result, 0) << run.text;
  EXPECT_EQ(ReadBytes(output + "/a.txt"), "a");

  run = RunUnZip("-x " + (scratch / "with blank.zip"));
  EXPECT_EQ(run.result, 2);
  EXPECT_NE(run.text.find("error: "), std::string::npos);
  for (const char* line : {"", "   ", "-l a.zip out/", "-x", "-x \"\" \"out/\"",
                           "-x a.zip out/ extra"}) {
    run = RunUnZip(line);
    EXPECT_EQ(run.result, 2) << line;
    EXPECT_NE(run.text.find("error: "), std::string::npos) << line;
  }
  run = RunUnZip("-x \"" + (scratch / "missing.zip") + "\" \"" + output + "/\"");
  EXPECT_EQ(run.result, 2);
  EXPECT_NE(run.text.find("error: cannot open the archive"), std::string::npos) << run.text;
  WriteBytes(scratch / "text.zip", "this is not an archive at all");
  run = RunUnZip("-x \"" + (scratch / "text.zip") + "\" \"" + output + "/\"");
  EXPECT_EQ(run.result, 2);
  EXPECT_NE(run.text.find("error: not a ZIP archive"), std::string::npos) << run.text;
}

}  // namespace
