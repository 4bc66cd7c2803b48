// Our LHA library against Debian's independent tools: archives made by jlha (Java LHA) in
// every method and header level it offers extract identically through our code, and archives
// our code writes extract identically through lhasa.
#include <gtest/gtest.h>

#include <sstream>

#include "lha_test_support.h"
#include "plugins/unlha32/lha_archive.h"
#include "plugins/unlha32/lha_commands.h"
#include "plugins/unlha32/posix_lha_platform.h"

namespace {

const long long kEvenTime = 920801100;  // 1999-03-07, even seconds for MS-DOS times

void MakeTree(const std::string& root) {
  WriteFile(root + "/tree/readme.txt", TextData(30000, 21));
  WriteFile(root + "/tree/docs/manual.txt", TextData(90000, 22));
  WriteFile(root + "/tree/docs/deep/er/notes.txt", TextData(1500, 23));
  WriteFile(root + "/tree/bin/noise.dat", NoiseData(12000, 24));
  WriteFile(root + "/tree/bin/zeros.dat", std::string(50000, '\0'));
  WriteFile(root + "/tree/empty.txt", "");
  std::string far = NoiseData(20000, 25);  // repeats 20 KB apart: needs -lh6-/-lh7- windows
  WriteFile(root + "/tree/far.dat", far + far + far);
  RunShell(root, "mkdir -p tree/hollow && find tree -type f -exec touch -d @" +
                     std::to_string(kEvenTime) + " {} +");
}

class LhaOracle : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HaveProgram("jlha") || !HaveProgram("lhasa")) GTEST_SKIP() << "jlha and lhasa are needed";
    MakeTree(dir.path());
  }
  ScratchFolder dir;
};

TEST_F(LhaOracle, JlhaArchivesInEveryMethodAndLevelExtractIdentically) {
  struct Variant { const char* options; const char* method; };
  const Variant variants[] = {{"o5", "-lh5-"}, {"o6", "-lh6-"}, {"o7", "-lh7-"}, {"z", "-lh0-"}};
  for (const Variant& v : variants) {
    for (int level : {0, 1, 2}) {
      SCOPED_TRACE(std::string(v.options) + " level " + std::to_string(level));
      std::string name = std::string("j_") + v.options + std::to_string(level) + ".lzh";
      std::string jlha_out;
      ASSERT_EQ(RunShell(dir.path(), "jlha a" + std::to_string(level) + v.options + "q " + name +
                                         " tree", &jlha_out), 0) << jlha_out;
      // jlha really used the method and level.
      PosixLhaPlatform platform;
      std::unique_ptr<ByteSource> source = platform.OpenRead(dir / name);
      ASSERT_TRUE(source);
      std::vector<LhaEntry> entries;
      std::string error;
      ASSERT_TRUE(ReadLhaDirectory(*source, entries, error)) << error;
      bool saw_method = false;
      for (const LhaEntry& e : entries) {
        EXPECT_EQ(e.level, level) << e.name;
        if (e.method == v.method && e.original_size > 0) saw_method = true;
      }
      EXPECT_TRUE(saw_method);
      std::string out = "out_" + name + "/";
      LhaRun r = RunLha(dir.path(), "x " + name + " " + out);
      ASSERT_EQ(r.result, kLhaOk) << r.output;
      EXPECT_EQ(TreeContents(dir / out + "tree"), TreeContents(dir / "tree"));
      EXPECT_TRUE(FileExists(dir / out + "tree/hollow"));
      EXPECT_EQ(ModificationTime(dir / out + "tree/docs/manual.txt"), kEvenTime);
      LhaRun t = RunLha(dir.path(), "t " + name);
      EXPECT_EQ(t.result, kLhaOk) << t.output;
    }
  }
}

// lhasa's verbose listing as "name size" lines, for files only.
std::string LhasaFiles(const std::string& folder, const std::string& archive) {
  std::string text;
  RunShell(folder, "lhasa v " + Quote(archive), &text);
  std::istringstream in(text);
  std::string line, result;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::vector<std::string> f;
    std::string w;
    while (fields >> w) f.push_back(w);
    // [generic] PACKED SIZE RATIO METHOD CRC Mon DD HH:MM NAME
    if (f.size() >= 10 && f[0][0] == '[' && f[4].size() == 5 && f[4][0] == '-' && f[4] != "-lhd-")
      result += f[9] + " " + f[2] + "\n";
  }
  return result;
}

TEST_F(LhaOracle, OurArchivesExtractIdenticallyWithLhasa) {
  LhaRun r = RunLha(dir.path(), "a -jm2 -r2 -x1 ours.lzh \"tree\\*.*\"");
  ASSERT_EQ(r.result, kLhaOk) << r.output;
  std::string text;
  EXPECT_EQ(RunShell(dir.path(), "lhasa t ours.lzh", &text), 0) << text;
  ASSERT_EQ(RunShell(dir.path(), "mkdir lx && cd lx && lhasa xq ../ours.lzh", &text), 0) << text;
  EXPECT_EQ(TreeContents(dir / "lx/tree"), TreeContents(dir / "tree"));
  EXPECT_TRUE(FileExists(dir / "lx/tree/hollow"));
  EXPECT_EQ(ModificationTime(dir / "lx/tree/docs/deep/er/notes.txt"), kEvenTime);
  // Same names and sizes as our own listing.
  std::string expected;
  PosixLhaPlatform platform;
  std::unique_ptr<ByteSource> source = platform.OpenRead(dir / "ours.lzh");
  std::vector<LhaEntry> entries;
  std::string error;
  ASSERT_TRUE(ReadLhaDirectory(*source, entries, error));
  for (const LhaEntry& e : entries)
    if (!e.IsFolder()) expected += e.name + " " + std::to_string(e.original_size) + "\n";
  EXPECT_EQ(LhasaFiles(dir.path(), "ours.lzh"), expected);
  EXPECT_NE(expected.find("tree/docs/manual.txt 90000"), std::string::npos);
}

TEST_F(LhaOracle, ArchivesStayReadableAfterDeleteAndRename) {
  // Start from a level-0 jlha archive: renaming rewrites that member with a level-2 header.
  std::string text;
  ASSERT_EQ(RunShell(dir.path(), "jlha a0o5q mixed.lzh tree/readme.txt tree/docs", &text), 0) << text;
  EXPECT_EQ(RunLha(dir.path(), "a mixed.lzh tree\\bin\\noise.dat").result, kLhaOk);
  EXPECT_EQ(RunLha(dir.path(), "n \"-grtree/read me first.txt\" mixed.lzh tree/readme.txt").result, kLhaOk);
  EXPECT_EQ(RunLha(dir.path(), "d mixed.lzh tree/docs/deep/er/notes.txt").result, kLhaOk);
  EXPECT_EQ(RunShell(dir.path(), "lhasa t mixed.lzh", &text), 0) << text;
  ASSERT_EQ(RunShell(dir.path(), "mkdir lx && cd lx && lhasa xq ../mixed.lzh", &text), 0) << text;
  EXPECT_EQ(Fingerprint(ReadFile(dir / "lx/tree/read me first.txt")), Fingerprint(ReadFile(dir / "tree/readme.txt")));
  EXPECT_EQ(ModificationTime(dir / "lx/tree/read me first.txt"), kEvenTime);
  EXPECT_EQ(Fingerprint(ReadFile(dir / "lx/noise.dat")), Fingerprint(ReadFile(dir / "tree/bin/noise.dat")));
  EXPECT_EQ(Fingerprint(ReadFile(dir / "lx/tree/docs/manual.txt")), Fingerprint(ReadFile(dir / "tree/docs/manual.txt")));
  EXPECT_FALSE(FileExists(dir / "lx/tree/docs/deep/er/notes.txt"));
}

}  // namespace
