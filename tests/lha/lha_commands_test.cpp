// The LHA library's commands on real files: compress, extract, add, delete and rename, the
// switches (steps in data/command_scripts.tsv), and refusal of unsafe lines, members and
// broken archives.
#include <gtest/gtest.h>

#include <algorithm>

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
    for (const LhaEntry& e : Entries(dir / "arc.lzh")) EXPECT_EQ(e.level, 2) << e.name;
  }
  LibraryRun Run(const std::string& line) { return RunLha(dir.path(), line); }
  ScratchFolder dir;
};

TEST_F(LhaCommands, CompressExtractAddDeleteRenameAndSwitches) {
  for (const Case& s : ReadCases("lha/data/command_scripts.tsv")) {
    SCOPED_TRACE(case_table::Join(s, " | "));
    if (s[0] == "write") {
      WriteFile(dir / s[1], s[2]);
    } else if (s[0] == "shell") {
      std::string output;
      EXPECT_EQ(RunShell(dir.path(), s[1], &output), 0) << output;
    } else if (s[0] == "run") {
      std::string line = s[1];
      for (size_t at; (at = line.find("$DIR")) != std::string::npos;) line.replace(at, 4, dir.path());
      const LibraryRun r = Run(line);
      EXPECT_EQ(r.result, std::stoi(s[2])) << r.output;
      if (s.size() > 3) { EXPECT_NE(r.output.find(s[3]), std::string::npos) << r.output; }
    } else if (s[0] == "names") {
      EXPECT_EQ(case_table::Join(Names(dir / s[1]), "|"), s[2]);
    } else if (s[0] == "method") {
      std::string method = "<no member>";
      for (const LhaEntry& e : Entries(dir / s[1])) method = e.name == s[2] ? e.method : method;
      EXPECT_EQ(method, s[3]);
    } else {
      EXPECT_EQ(ReadFile(dir / s[1]), s[0] == "same" ? ReadFile(dir / s[2]) : s[2]);
    }
  }
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
