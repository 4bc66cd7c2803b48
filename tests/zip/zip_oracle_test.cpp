// Archives made by Debian's zip, extracted through the UnZip command, must give back the
// very tree they were made from.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "zip/zip_native_support.h"

namespace {

// Mixed content: well and badly compressible, larger than one 64 KiB chunk.
std::string BigContent() {
  std::string data;
  uint32_t x = 12345;
  for (int i = 0; i < 3 * 1024 * 1024 / 64; ++i) {
    data += "line " + std::to_string(i) + " of the sample text file\r\n";
    for (int j = 0; j < 24; ++j) {
      x = x * 1103515245 + 12345;
      data += static_cast<char>(x >> 24);
    }
  }
  return data;
}

// A tree with nested and empty folders, an empty file, a large file, blanks and Shift-JIS
// names (whose second bytes include 0x5C, the backslash).
void MakeSampleTree(const std::string& root) {
  MakeFolders(root + "/docs/guide/deep");
  MakeFolders(root + "/emptydir");
  MakeFolders(root + "/\x83\x5c\x83\x74\x83\x67");  // "software" in katakana
  WriteBytes(root + "/readme.txt", "Sample archive\r\n");
  WriteBytes(root + "/empty.txt", "");
  WriteBytes(root + "/with blank.txt", "blank in the name");
  WriteBytes(root + "/docs/guide/deep/nested.txt", std::string(5000, 'n'));
  WriteBytes(root + "/docs/a.txt", "docs a");
  WriteBytes(root + "/big.bin", BigContent());
  WriteBytes(root + "/\x95\x5c.txt", "table");  // "table": trail byte 0x5C
  WriteBytes(root + "/\x83\x5c\x83\x74\x83\x67/\x94\x5c\x97\xcd.txt", "ability");
}

struct ZipOracleTest : ::testing::Test {
  ScratchFolder scratch;
  std::string source = scratch / "source";
  std::string output = scratch / "out";
  void SetUp() override {
    ASSERT_FALSE(scratch.path().empty());
    MakeSampleTree(source);
  }
  // zip run inside the source tree with the given options, writing ARCHIVE.
  void Zip(const std::string& options, const std::string& archive) {
    ASSERT_TRUE(Shell("cd " + Quoted(source) + " && zip -q -r " + options + " " +
                      Quoted(archive) + " ."));
  }
  void ExpectIdenticalExtraction(const std::string& archive) {
    const UnZipRun run = ExtractWithUnZip(archive, output);
    EXPECT_EQ(run.result, 0) << run.text;
    const auto expected = ReadTree(source);
    const auto actual = ReadTree(output);
    EXPECT_EQ(actual.size(), expected.size()) << run.text;
    for (const auto& item : expected) {
      auto found = actual.find(item.first);
      ASSERT_NE(found, actual.end()) << item.first << "\n" << run.text;
      EXPECT_TRUE(found->second == item.second) << item.first;
    }
  }
};

TEST_F(ZipOracleTest, DeflatedStoredAndZip64ArchivesExtractIdentically) {
  for (const char* options : {"-9", "-0", "-fz -6"}) {
    SCOPED_TRACE(options);
    const std::string archive = scratch / "sample.zip";
    Zip(options, archive);
    ExpectIdenticalExtraction(archive);
    Shell("rm -rf " + Quoted(output) + " " + Quoted(archive));
  }
}

TEST_F(ZipOracleTest, ReportsEveryMemberAndKeepsTheirDates) {
  const std::string archive = scratch / "sample.zip";
  const std::string stamped = source + "/docs/a.txt";
  ASSERT_TRUE(Shell("touch -d '1999-03-07 10:05:00' " + Quoted(stamped)));
  Zip("-9", archive);
  const UnZipRun run = ExtractWithUnZip(archive, output);
  EXPECT_EQ(run.result, 0);
  EXPECT_NE(run.text.find(" inflating: docs/guide/deep/nested.txt\r\n"), std::string::npos)
      << run.text;
  EXPECT_NE(run.text.find("  creating: emptydir/\r\n"), std::string::npos) << run.text;
  EXPECT_NE(run.text.find("\x95\x5c.txt\r\n"), std::string::npos) << run.text;
  EXPECT_NE(run.text.find("8 files extracted, 0 refused, 0 failed"), std::string::npos)
      << run.text;
  struct stat a, b;
  ASSERT_EQ(stat(stamped.c_str(), &a), 0);
  ASSERT_EQ(stat((output + "/docs/a.txt").c_str(), &b), 0);
  EXPECT_EQ(a.st_mtime, b.st_mtime);
}

// Extracting again over an earlier extraction whose files were changed since: every
// member replaces its file, longer or shorter, and files not in the archive stay.
TEST_F(ZipOracleTest, ReplacesExistingFilesAndLeavesOthersAlone) {
  const std::string archive = scratch / "sample.zip";
  Zip("-9", archive);
  MakeFolders(output + "/docs/guide/deep");
  WriteBytes(output + "/readme.txt", std::string(100000, 'r'));  // longer than the member
  WriteBytes(output + "/big.bin", "short");                       // shorter than the member
  WriteBytes(output + "/empty.txt", "was not empty");
  WriteBytes(output + "/docs/guide/deep/nested.txt", "old nested");
  WriteBytes(output + "/mine.txt", "not in the archive");
  const UnZipRun run = ExtractWithUnZip(archive, output);
  EXPECT_EQ(run.result, 0) << run.text;
  auto expected = ReadTree(source);
  expected["mine.txt"] = "not in the archive";
  EXPECT_TRUE(ReadTree(output) == expected) << run.text;
}

// zip writing to a pipe cannot seek back: sizes and CRC follow the data in descriptors.
TEST_F(ZipOracleTest, StreamedArchiveWithDataDescriptors) {
  const std::string archive = scratch / "streamed.zip";
  ASSERT_TRUE(Shell("cd " + Quoted(source) + " && zip -q -r - . | cat > " + Quoted(archive)));
  ExpectIdenticalExtraction(archive);
}

// Self-extracting archives carry a program before the archive; with offsets left as
// they were (plain concatenation) and with offsets adjusted by zip -A. A comment sits
// after the directory.
TEST_F(ZipOracleTest, DataBeforeTheArchiveAndAComment) {
  const std::string plain = scratch / "plain.zip";
  Zip("-9", plain);
  ASSERT_TRUE(Shell("echo 'archive comment' | zip -q -z " + Quoted(plain)));
  WriteBytes(scratch / "stub.bin", std::string(3000, 'M') + "PK\x05\x06 not a record");
  for (bool adjust : {false, true}) {
    SCOPED_TRACE(adjust ? "adjusted" : "concatenated");
    const std::string sfx = scratch / "sfx.zip";
    ASSERT_TRUE(Shell("cat " + Quoted(scratch / "stub.bin") + " " + Quoted(plain) + " > " +
                      Quoted(sfx)));
    if (adjust) {
      ASSERT_TRUE(Shell("zip -q -A " + Quoted(sfx)));
    }
    ExpectIdenticalExtraction(sfx);
    Shell("rm -rf " + Quoted(output));
  }
}

}  // namespace
