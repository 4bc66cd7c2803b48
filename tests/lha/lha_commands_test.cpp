// The LHA library's commands on real files: compress and extract, the switches, response
// files, and refusal of unsafe lines, members and broken archives.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "lha/plugin_test_support.h"
#include "lha/stored_members_archive.h"
#include "plugins/unlha32/lha_commands.h"

namespace {

std::vector<std::string> Names(const std::string& archive) {
  std::vector<std::string> names;
  for (const LhaEntry& e : Entries(archive)) names.push_back(e.name + (e.IsFolder() ? "/" : ""));
  std::sort(names.begin(), names.end());
  return names;
}

class LhaCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFile(dir / "site/index.html", TextData(5000, 1));
    WriteFile(dir / "site/a.txt", "alpha\r\n");
    WriteFile(dir / "site/sub/b.txt", TextData(20000, 2));
    WriteFile(dir / "site/sub/noise.bin", NoiseData(3000, 3));
    RunShell(dir.path(), "mkdir -p site/empty");
    const LibraryRun r = Run("a -jm2 -r2 -x1 \"" + dir.path() + "/arc.lzh\" \"site/*.*\"");
    ASSERT_EQ(r.result, kLhaOk) << r.output;
  }
  LibraryRun Run(const std::string& line) { return RunLha(dir.path(), line); }
  ScratchFolder dir;
};

TEST_F(LhaCommands, CompressFolderKeepsItsTreeAndEExtractsWithoutFolders) {
  EXPECT_EQ(Names(dir / "arc.lzh"), SplitOn("site/a.txt|site/empty/|site/index.html|site/sub/|site/sub/b.txt|site/sub/noise.bin", '|'));
  std::map<std::string, std::string> methods;
  for (const LhaEntry& e : Entries(dir / "arc.lzh")) {
    EXPECT_EQ(e.level, 2);
    methods[e.name] = e.method;
  }
  EXPECT_EQ(methods["site/sub/b.txt"], "-lh5-");
  EXPECT_EQ(methods["site/sub/noise.bin"], "-lh0-");  // packing would not shrink it
  // e: without folders, over an earlier copy; a missing member is reported.
  WriteFile(dir / "work/b.txt", "stale");
  EXPECT_EQ(Run("e arc.lzh work/ site/sub/b.txt").result, kLhaOk);
  EXPECT_EQ(ReadFile(dir / "work/b.txt"), ReadFile(dir / "site/sub/b.txt"));
  const LibraryRun missing = Run("e arc.lzh work/ site/nothing.txt");
  EXPECT_EQ(missing.result, kLhaPartly);
  EXPECT_NE(missing.output.find("site/nothing.txt"), std::string::npos);
}

TEST_F(LhaCommands, AddReplacesDeleteRemovesRenameMovesFolders) {
  WriteFile(dir / "work/readme.txt", "first");
  EXPECT_EQ(Run("a arc.lzh work/ readme.txt").result, kLhaOk);
  WriteFile(dir / "work/readme.txt", "second, longer");
  EXPECT_EQ(Run("a arc.lzh work/ readme.txt").result, kLhaOk);
  Run("a arc.lzh \"*.*\"");  // the only file here is the archive, which is never added
  EXPECT_EQ(Run("d \"arc.lzh\" \"site/a.txt\" \"site/sub/noise.bin\"").result, kLhaOk);
  EXPECT_EQ(Run("n \"-grsite/lower\" arc.lzh site/sub").result, kLhaOk);
  EXPECT_EQ(Names(dir / "arc.lzh"), SplitOn("readme.txt|site/empty/|site/index.html|site/lower/|site/lower/b.txt", '|'));
  EXPECT_EQ(Run("x arc.lzh out/").result, kLhaOk);
  EXPECT_EQ(ReadFile(dir / "out/readme.txt"), "second, longer");
  EXPECT_EQ(ReadFile(dir / "out/site/lower/b.txt"), ReadFile(dir / "site/sub/b.txt"));
}

TEST_F(LhaCommands, CompressFilesSwitches) {
  WriteFile(dir / "in/Mixed Case.txt", TextData(800, 4));
  WriteFile(dir / "in/\x83\x61kana.txt", "kana");  // a trail byte that looks like 'a'
  WriteFile(dir / "in/.hidden", "secret");
  // -i1 upper-cases ASCII letters only; -x0 (the default) keeps no folders.
  EXPECT_EQ(Run("a -jm2 -i1 \"" + dir.path() + "/up.lzh\" \"" + dir.path() + "/in/Mixed Case.txt\"").result, kLhaOk);
  EXPECT_EQ(Run("a -jm2 -i1 up.lzh in/\x83\x61kana.txt").result, kLhaOk);
  EXPECT_EQ(Names(dir / "up.lzh"), SplitOn("MIXED CASE.TXT|\x83\x61KANA.TXT", '|'));
  // Hidden files only with -a1; -jm0 stores.
  EXPECT_EQ(Run("a -jm2 plain.lzh \"in/*.*\"").result, kLhaOk);
  EXPECT_EQ(Names(dir / "plain.lzh").size(), 2u);
  EXPECT_EQ(Run("a -jm0 -a1 all.lzh \"in/*.*\"").result, kLhaOk);
  EXPECT_EQ(Names(dir / "all.lzh").size(), 3u);
  EXPECT_EQ(Entries(dir / "all.lzh")[0].method, "-lh0-");
}

TEST_F(LhaCommands, RefusedCommandLinesChangeNothing) {
  const std::string before = ReadFile(dir / "arc.lzh");
  for (const Case& c : ReadCases("lha/data/refused_commands.tsv")) {
    const LibraryRun r = Run(c[0]);
    EXPECT_EQ(r.result, std::stoi(c[1])) << c[0];
    EXPECT_FALSE(r.output.empty()) << c[0];
  }
  EXPECT_EQ(ReadFile(dir / "arc.lzh"), before);
  EXPECT_FALSE(FileExists(dir / "out") || FileExists(dir / "new.lzh"));
}

TEST_F(LhaCommands, MembersThatWouldLeaveTheDestinationAreRefused) {
  WriteFile(dir / "evil.lzh", StoredMembersArchive({"../evil1.txt", "ok.txt", "x/../../evil2.txt", "\x81\\..\\evil3.txt", "CON",
                                                    "in/ok2.txt", "C:evil4.txt"}));
  const LibraryRun r = Run("x evil.lzh dest/deeper/");
  EXPECT_EQ(r.result, kLhaPartly);
  for (const char* n : {"evil1", "evil2", "evil3", "CON", "evil4"}) EXPECT_NE(r.output.find(n), std::string::npos) << n << "\n" << r.output;
  EXPECT_EQ(Run("e evil.lzh flat/").result, kLhaPartly);
  EXPECT_EQ(Tree(dir / "flat"), (std::map<std::string, std::string>{{"ok.txt", Fingerprint("data")}, {"ok2.txt", Fingerprint("data")}}));
  std::string found;
  RunShell(dir.path(), "find . -name 'evil?*' -o -name '*CON*' | grep -v evil.lzh", &found);
  EXPECT_EQ(found, "");
  EXPECT_EQ(Tree(dir / "dest/deeper").size(), 3u);  // ok.txt, in, in/ok2.txt
}

TEST_F(LhaCommands, BrokenArchivesFailWithoutHarm) {
  const std::string good = ReadFile(dir / "arc.lzh");
  std::vector<uint64_t> boundaries;
  for (const LhaEntry& e : Entries(dir / "arc.lzh")) {
    boundaries.push_back(e.EndOffset());
    if (e.name != "site/sub/b.txt") continue;
    std::string bad = good;  // its data damaged: the CRC no longer matches
    bad[e.data_offset + e.packed_size / 2] ^= 0x10;
    WriteFile(dir / "bad.lzh", bad);
  }
  WriteFile(dir / "keep/site/sub/b.txt", "older copy");
  const LibraryRun r = Run("x bad.lzh keep/");
  EXPECT_EQ(r.result, kLhaPartly);
  EXPECT_NE(r.output.find("site/sub/b.txt"), std::string::npos);
  EXPECT_EQ(ReadFile(dir / "keep/site/sub/b.txt"), "older copy");
  EXPECT_EQ(ReadFile(dir / "keep/site/a.txt"), "alpha\r\n");
  // Cut anywhere but between members: an error, and no temporary file left behind.
  for (size_t cut = 1; cut < good.size(); cut += good.size() / 37 + 1) {
    if (std::find(boundaries.begin(), boundaries.end(), cut) != boundaries.end()) continue;
    WriteFile(dir / "cut.lzh", good.substr(0, cut));
    const LibraryRun c = Run("x cut.lzh cut/");
    EXPECT_NE(c.result, kLhaOk) << cut;
    EXPECT_FALSE(c.output.empty());
  }
  std::string temps;
  RunShell(dir.path(), "find . -name 'lha*.tmp'", &temps);
  EXPECT_EQ(temps, "");
  // Updating a broken archive leaves it alone.
  const std::string half = good.substr(0, good.size() / 2);
  WriteFile(dir / "cut.lzh", half);
  EXPECT_EQ(Run("a cut.lzh site/a.txt").result, kLhaFailed);
  EXPECT_EQ(Run("d cut.lzh site/a.txt").result, kLhaFailed);
  EXPECT_EQ(ReadFile(dir / "cut.lzh"), half);
}

}  // namespace
