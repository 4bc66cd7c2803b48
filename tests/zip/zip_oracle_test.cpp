// Archives Debian's zip makes in every way it writes them, extracted through UnZip, must give
// back the very tree they were made from.
#include <gtest/gtest.h>

#include "lha/plugin_test_support.h"

namespace {

struct ZipOracleTest : ::testing::Test {
  ScratchFolder scratch;
  std::string source = scratch / "source", output = scratch / "out";
  // Nested and empty folders, an empty file, a blank, 3 MiB of mixed content, and Shift-JIS
  // names whose second bytes are 0x5C.
  void SetUp() override {
    std::string big;
    for (int i = 0; i < 50000; ++i) big += "line " + std::to_string(i) + " of the sample\r\n" + NoiseData(24, i);
    for (const auto& [name, data] : std::map<std::string, std::string>{
             {"readme.txt", "Sample archive\r\n"}, {"empty.txt", ""}, {"with blank.txt", "blank in the name"},
             {"docs/guide/deep/nested.txt", std::string(5000, 'n')}, {"docs/a.txt", "docs a"}, {"big.bin", big},
             {"\x95\x5c.txt", "table"}, {"\x83\x5c\x83\x74\x83\x67/\x94\x5c\x97\xcd.txt", "ability"}})
      WriteFile(source + "/" + name, data);
    ASSERT_EQ(RunShell(source, "mkdir emptydir && touch -d '1999-03-07 10:05:00' docs/a.txt"), 0);
    WriteFile(scratch / "stub", std::string(3000, 'M') + "PK\x05\x06 not a record");
  }
  LibraryRun Extract() { return RunUnZip("-x \"" + (scratch / "a.zip") + "\" \"" + output + "/\""); }
};

TEST_F(ZipOracleTest, EveryWayZipWritesExtractsIdentically) {
  for (const Case& way : ReadCases("zip/data/zip_ways.tsv")) {
    SCOPED_TRACE(way[0]);
    ASSERT_EQ(RunShell(source, "rm -rf ../a.zip ../p.zip ../out && " + way[1]), 0);
    const LibraryRun run = Extract();
    EXPECT_EQ(run.result, 0) << run.output;
    EXPECT_EQ(Tree(output), Tree(source)) << run.output;
    EXPECT_EQ(ModificationTime(output + "/docs/a.txt"), ModificationTime(source + "/docs/a.txt"));
    EXPECT_NE(run.output.find(": docs/guide/deep/nested.txt\r\n"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("  creating: emptydir/\r\n"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("8 files extracted, 0 refused, 0 failed"), std::string::npos) << run.output;
  }
}

}  // namespace
