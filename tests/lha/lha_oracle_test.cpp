// Our LHA library against Debian's independent tools: archives jlha makes in every method and
// header level extract identically through our code, and lhasa extracts ours identically,
// also after our rename and delete have rewritten them.
#include <gtest/gtest.h>

#include "lha/plugin_test_support.h"
#include "plugins/unlha32/lha_commands.h"

namespace {

const long long kEvenTime = 920801100;  // 1999-03-07, even seconds for MS-DOS times

class LhaOracle : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HaveProgram("jlha") || !HaveProgram("lhasa")) GTEST_SKIP() << "jlha and lhasa are needed";
    WriteFile(dir / "tree/readme.txt", TextData(30000, 21));
    WriteFile(dir / "tree/docs/manual.txt", TextData(90000, 22));
    WriteFile(dir / "tree/docs/deep/er/notes.txt", TextData(1500, 23));
    WriteFile(dir / "tree/bin/noise.dat", NoiseData(12000, 24));
    WriteFile(dir / "tree/bin/zeros.dat", std::string(50000, '\0'));
    WriteFile(dir / "tree/empty.txt", "");
    const std::string far = NoiseData(20000, 25);  // repeats 20 KB apart: needs -lh6-/-lh7- windows
    WriteFile(dir / "tree/far.dat", far + far + far);
    Shell("mkdir -p tree/hollow && find tree -exec touch -d @" + std::to_string(kEvenTime) + " {} +");
  }
  void Shell(const std::string& command) {
    std::string output;
    ASSERT_EQ(RunShell(dir.path(), command, &output), 0) << command << "\n" << output;
  }
  void ExpectSameTree(const std::string& out) {
    EXPECT_EQ(Tree(dir / out), Tree(dir / "tree"));
    EXPECT_EQ(ModificationTime(dir / out + "/docs/deep/er/notes.txt"), kEvenTime);
  }
  ScratchFolder dir;
};

TEST_F(LhaOracle, JlhaArchivesInEveryMethodAndLevelExtractIdentically) {
  for (const auto& [option, method] : {std::pair{"o5", "-lh5-"}, {"o6", "-lh6-"}, {"o7", "-lh7-"}, {"z", "-lh0-"}}) {
    for (const std::string level : {"0", "1", "2"}) {
      const std::string name = "j_" + std::string(option) + level + ".lzh";
      SCOPED_TRACE(name);
      Shell("jlha a" + level + option + "q " + name + " tree");
      bool saw_method = false;
      for (const LhaEntry& e : Entries(dir / name)) {
        EXPECT_EQ(e.level, std::stoi(level)) << e.name;
        saw_method |= e.method == method && e.original_size > 0;
      }
      EXPECT_TRUE(saw_method) << "jlha used " << method;
      const LibraryRun r = RunLha(dir.path(), "x " + name + " out_" + name + "/");
      ASSERT_EQ(r.result, kLhaOk) << r.output;
      ExpectSameTree("out_" + name + "/tree");
      EXPECT_EQ(RunLha(dir.path(), "t " + name).result, kLhaOk);
    }
  }
}

TEST_F(LhaOracle, OurArchivesExtractIdenticallyWithLhasa) {
  const LibraryRun r = RunLha(dir.path(), "a -jm2 -r2 -x1 ours.lzh \"tree\\*.*\"");
  ASSERT_EQ(r.result, kLhaOk) << r.output;
  Shell("lhasa t ours.lzh && mkdir lx && cd lx && lhasa xq ../ours.lzh");
  ExpectSameTree("lx/tree");
  // Still whole for lhasa after our rename and delete have rewritten it.
  EXPECT_EQ(RunLha(dir.path(), "n \"-grtree/read me first.txt\" ours.lzh tree/readme.txt").result, kLhaOk);
  EXPECT_EQ(RunLha(dir.path(), "d ours.lzh tree/docs/deep/er/notes.txt").result, kLhaOk);
  Shell("rm -rf lx && mkdir lx && cd lx && lhasa xq ../ours.lzh && cmp '../tree/readme.txt' 'tree/read me first.txt' && test ! -e tree/docs/deep/er/notes.txt");
}

}  // namespace
