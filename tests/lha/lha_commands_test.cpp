// The LHA library's commands on real files: every command line the program sends, the
// switches, response files, and refusal of unsafe or broken archives.
#include <gtest/gtest.h>

#include <cstring>

#include "lha_test_support.h"
#include "plugins/unlha32/crc16.h"
#include "plugins/unlha32/lha_archive.h"
#include "plugins/unlha32/lha_commands.h"
#include "plugins/unlha32/lha_header.h"
#include "plugins/unlha32/posix_lha_platform.h"

namespace {

std::vector<LhaEntry> Entries(const std::string& archive) {
  PosixLhaPlatform platform;
  std::vector<LhaEntry> entries;
  std::unique_ptr<ByteSource> source = platform.OpenRead(archive);
  if (!source) {
    ADD_FAILURE() << "cannot open " << archive;
    return entries;
  }
  std::string error;
  EXPECT_TRUE(ReadLhaDirectory(*source, entries, error)) << error;
  return entries;
}

std::vector<std::string> Names(const std::string& archive) {
  std::vector<std::string> names;
  for (const LhaEntry& e : Entries(archive)) names.push_back(e.name + (e.IsFolder() ? "/" : ""));
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
    SetModificationTime(dir / "site/a.txt", 920801100);
  }
  LhaRun Run(const std::string& line) { return RunLha(dir.path(), line); }
  void MakeArchive() {
    LhaRun r = Run("a -jm2 -r2 -x1 \"" + dir.path() + "/arc.lzh\" \"site/*.*\"");
    ASSERT_EQ(r.result, kLhaOk) << r.output;
  }
  ScratchFolder dir;
};

TEST_F(LhaCommands, CompressFolderThenTestExtractRestoresTheTree) {
  MakeArchive();
  std::vector<std::string> names = Names(dir / "arc.lzh");
  EXPECT_EQ(names.size(), 6u);
  for (const char* n : {"site/index.html", "site/a.txt", "site/sub/", "site/sub/b.txt",
                        "site/sub/noise.bin", "site/empty/"})
    EXPECT_NE(std::find(names.begin(), names.end(), n), names.end()) << n;
  for (const LhaEntry& e : Entries(dir / "arc.lzh")) {
    EXPECT_EQ(e.level, 2);
    if (e.name == "site/sub/b.txt") {
      EXPECT_EQ(e.method, "-lh5-");
    }
    if (e.name == "site/sub/noise.bin") {
      EXPECT_EQ(e.method, "-lh0-");
    }
  }
  LhaRun r = Run("x \"" + dir.path() + "/arc.lzh\" \"" + dir.path() + "/test/arc/\"");
  EXPECT_EQ(r.result, kLhaOk) << r.output;
  EXPECT_EQ(TreeContents(dir / "test/arc/site"), TreeContents(dir / "site"));
  EXPECT_TRUE(FileExists(dir / "test/arc/site/empty"));
  EXPECT_EQ(ModificationTime(dir / "test/arc/site/a.txt"), 920801100);
}

TEST_F(LhaCommands, OpenEntryExtractsWithoutFolders) {
  MakeArchive();
  RunShell(dir.path(), "mkdir work");
  LhaRun r = Run("e arc.lzh " + dir.path() + "/work/ site/sub/b.txt");
  EXPECT_EQ(r.result, kLhaOk) << r.output;
  EXPECT_EQ(Fingerprint(ReadFile(dir / "work/b.txt")), Fingerprint(ReadFile(dir / "site/sub/b.txt")));
  EXPECT_FALSE(FileExists(dir / "work/site"));
  // Opening it again replaces the copy extracted before.
  WriteFile(dir / "work/b.txt", "stale");
  EXPECT_EQ(Run("e arc.lzh work/ site/sub/b.txt").result, kLhaOk);
  EXPECT_EQ(Fingerprint(ReadFile(dir / "work/b.txt")), Fingerprint(ReadFile(dir / "site/sub/b.txt")));
  LhaRun missing = Run("e arc.lzh work/ site/nothing.txt");
  EXPECT_EQ(missing.result, kLhaPartly);
  EXPECT_NE(missing.output.find("site/nothing.txt"), std::string::npos);
}

TEST_F(LhaCommands, DownloadIntoArchiveAddsFromTheWorkFolder) {
  MakeArchive();
  WriteFile(dir / "work/new file.txt", "downloaded");
  WriteFile(dir / "work/readme.txt", "first");
  EXPECT_EQ(Run("a arc.lzh work/ readme.txt").result, kLhaOk);
  WriteFile(dir / "work/readme.txt", "second, longer");
  LhaRun r = Run("a arc.lzh work/ readme.txt");
  EXPECT_EQ(r.result, kLhaOk) << r.output;
  std::vector<std::string> names = Names(dir / "arc.lzh");
  EXPECT_EQ(std::count(names.begin(), names.end(), "readme.txt"), 1);
  EXPECT_EQ(names.size(), 7u);
  RunShell(dir.path(), "mkdir out");
  EXPECT_EQ(Run("e arc.lzh out/ readme.txt").result, kLhaOk);
  EXPECT_EQ(ReadFile(dir / "out/readme.txt"), "second, longer");
}

TEST_F(LhaCommands, CompressFilesSwitches) {
  WriteFile(dir / "in/Mixed Case.txt", TextData(800, 4));
  WriteFile(dir / "in/\x83\x61kana.txt", "kana");  // a trail byte that looks like 'a'
  WriteFile(dir / "in/.hidden", "secret");
  // -i1: upper-case names (Shift-JIS characters untouched); -x0 (default): no folders.
  LhaRun r = Run("a -jm2 -i1 \"" + dir.path() + "/up.lzh\" \"" + dir.path() + "/in/Mixed Case.txt\"");
  EXPECT_EQ(r.result, kLhaOk) << r.output;
  EXPECT_EQ(Run("a -jm2 -i1 up.lzh in/\x83\x61kana.txt").result, kLhaOk);
  EXPECT_EQ(Names(dir / "up.lzh"), (std::vector<std::string>{"MIXED CASE.TXT", "\x83\x61KANA.TXT"}));
  // Hidden files only with -a1.
  EXPECT_EQ(Run("a -jm2 plain.lzh \"in/*.*\"").result, kLhaOk);
  EXPECT_EQ(Names(dir / "plain.lzh").size(), 2u);
  EXPECT_EQ(Run("a -jm2  -a1 all.lzh \"in/*.*\"").result, kLhaOk);
  EXPECT_EQ(Names(dir / "all.lzh").size(), 3u);
  // -jm0 stores.
  EXPECT_EQ(Run("a -jm0 stored.lzh \"in/Mixed Case.txt\"").result, kLhaOk);
  EXPECT_EQ(Entries(dir / "stored.lzh")[0].method, "-lh0-");
}

TEST_F(LhaCommands, AddNeverTakesTheArchiveItself) {
  WriteFile(dir / "flat/a.txt", "a");
  EXPECT_EQ(Run("a flat/self.lzh flat/a.txt").result, kLhaOk);
  EXPECT_EQ(Run("a flat/self.lzh \"flat/*.*\"").result, kLhaOk);
  EXPECT_EQ(Names(dir / "flat/self.lzh"), (std::vector<std::string>{"a.txt"}));
  LhaRun none = Run("a new.lzh nothing-here.txt");
  EXPECT_EQ(none.result, kLhaFailed);
  EXPECT_FALSE(FileExists(dir / "new.lzh"));
  LhaRun folder = Run("a new.lzh site");
  EXPECT_EQ(folder.result, kLhaFailed) << "a folder needs -r";
}

TEST_F(LhaCommands, DeleteRemovesOnlyTheNamedMembers) {
  MakeArchive();
  LhaRun r = Run("d \"arc.lzh\" \"site/a.txt\" \"site/sub/noise.bin\"");
  EXPECT_EQ(r.result, kLhaOk) << r.output;
  std::vector<std::string> names = Names(dir / "arc.lzh");
  EXPECT_EQ(names.size(), 4u);
  EXPECT_EQ(std::find(names.begin(), names.end(), "site/a.txt"), names.end());
  EXPECT_EQ(Run("x arc.lzh out/").result, kLhaOk);
  EXPECT_EQ(Fingerprint(ReadFile(dir / "out/site/sub/b.txt")), Fingerprint(ReadFile(dir / "site/sub/b.txt")));
  std::string before = ReadFile(dir / "arc.lzh");
  LhaRun none = Run("d \"arc.lzh\" \"site/zzz.txt\"");
  EXPECT_NE(none.result, kLhaOk);
  EXPECT_EQ(ReadFile(dir / "arc.lzh"), before);
}

TEST_F(LhaCommands, RenameByLabelAndItsRefusals) {
  MakeArchive();
  LhaRun r = Run("n \"-grsite/renamed \x95\x5C.txt\" \"arc.lzh\" \"site/a.txt\"");
  EXPECT_EQ(r.result, kLhaOk) << r.output;
  std::vector<std::string> names = Names(dir / "arc.lzh");
  EXPECT_NE(std::find(names.begin(), names.end(), "site/renamed \x95\x5C.txt"), names.end());
  EXPECT_EQ(Run("e arc.lzh out/ \"site/renamed \x95\x5C.txt\"").result, kLhaOk);
  EXPECT_EQ(ReadFile(dir / "out/renamed \x95\x5C.txt"), "alpha\r\n");
  EXPECT_EQ(ModificationTime(dir / "out/renamed \x95\x5C.txt"), 920801100);

  std::string before = ReadFile(dir / "arc.lzh");
  EXPECT_EQ(Run("n \"-grsite/index.html\" arc.lzh site/sub/b.txt").result, kLhaFailed);
  EXPECT_EQ(Run("n \"-gr../escape.txt\" arc.lzh site/sub/b.txt").result, kLhaFailed);
  EXPECT_EQ(Run("n \"-grC:\\x.txt\" arc.lzh site/sub/b.txt").result, kLhaFailed);
  EXPECT_EQ(Run("n \"-grok.txt\" arc.lzh site/none.txt").result, kLhaFailed);
  // Without -gr there is nobody to ask here.
  EXPECT_EQ(Run("n arc.lzh site/sub/b.txt").result, kLhaFailed);
  EXPECT_EQ(ReadFile(dir / "arc.lzh"), before);

  // A folder takes its members along.
  EXPECT_EQ(Run("n \"-grsite/lower\" arc.lzh site/sub").result, kLhaOk);
  names = Names(dir / "arc.lzh");
  EXPECT_NE(std::find(names.begin(), names.end(), "site/lower/b.txt"), names.end());
  EXPECT_NE(std::find(names.begin(), names.end(), "site/lower/"), names.end());
  EXPECT_EQ(std::find(names.begin(), names.end(), "site/sub/b.txt"), names.end());
}

TEST_F(LhaCommands, DragOutResponseFileExtractsOverPlaceholders) {
  MakeArchive();
  WriteFile(dir / "work/a.txt", "DMY\r\n");
  RunShell(dir.path(), "mkdir -p work/site/sub");
  WriteFile(dir / "work/res1.tmp", "-x1  \"site/sub/*.*\"\r\n-x0  \"site/a.txt\"\r\n");
  LhaRun r = Run("x -c1 -m1 \"arc.lzh\" \"" + dir.path() + "/work/\" \"@" + dir.path() + "/work/res1.tmp\"");
  EXPECT_EQ(r.result, kLhaOk) << r.output;
  EXPECT_EQ(ReadFile(dir / "work/a.txt"), "alpha\r\n");
  EXPECT_EQ(Fingerprint(ReadFile(dir / "work/site/sub/b.txt")), Fingerprint(ReadFile(dir / "site/sub/b.txt")));
  EXPECT_EQ(Fingerprint(ReadFile(dir / "work/site/sub/noise.bin")), Fingerprint(ReadFile(dir / "site/sub/noise.bin")));
  EXPECT_FALSE(FileExists(dir / "work/site/index.html"));
  LhaRun missing = Run("x -c1 -m1 arc.lzh work/ @work/none.tmp");
  EXPECT_EQ(missing.result, kLhaFailed);
  EXPECT_NE(missing.output.find("none.tmp"), std::string::npos);
}

// An archive written by hand with the given member names, each holding "data".
std::string HandMadeArchive(const std::vector<std::string>& names) {
  std::string archive;
  for (const std::string& name : names) {
    LhaEntry e;
    e.method = "-lh0-";
    e.name = name;  // stored as is: BuildLevel2Header splits at the last '/'
    e.packed_size = e.original_size = 4;
    e.crc = UpdateCrc16(0, reinterpret_cast<const uint8_t*>("data"), 4);
    std::vector<uint8_t> h = BuildLevel2Header(e);
    archive.append(h.begin(), h.end());
    archive += "data";
  }
  return archive + std::string(1, '\0');
}

TEST_F(LhaCommands, MembersThatWouldLeaveTheDestinationAreRefused) {
  WriteFile(dir / "evil.lzh", HandMadeArchive({"../evil1.txt", "ok.txt", "x/../../evil2.txt",
                                               "\x81\\..\\evil3.txt", "CON", "in/ok2.txt",
                                               "C:evil4.txt"}));
  LhaRun r = Run("x evil.lzh dest/deeper/");
  EXPECT_EQ(r.result, kLhaPartly);
  EXPECT_EQ(ReadFile(dir / "dest/deeper/ok.txt"), "data");
  EXPECT_EQ(ReadFile(dir / "dest/deeper/in/ok2.txt"), "data");
  std::string listing;
  RunShell(dir.path(), "find . -name 'evil*' -o -name '*CON*' | grep -v evil.lzh", &listing);
  EXPECT_EQ(listing, "");
  for (const char* n : {"evil1", "evil2", "evil3", "CON", "evil4"})
    EXPECT_NE(r.output.find(n), std::string::npos) << n << " should be reported\n" << r.output;
  // Without folders the same names are still refused.
  LhaRun flat = Run("e evil.lzh flat/");
  EXPECT_EQ(flat.result, kLhaPartly);
  RunShell(dir.path(), "ls flat", &listing);
  EXPECT_EQ(listing, "ok.txt\nok2.txt\n");
}

TEST_F(LhaCommands, BrokenArchivesFailWithoutHarm) {
  MakeArchive();
  std::string good = ReadFile(dir / "arc.lzh");
  WriteFile(dir / "keep/site/sub/b.txt", "older copy");
  // Damage the packed data of site/sub/b.txt: its CRC no longer matches.
  for (const LhaEntry& e : Entries(dir / "arc.lzh"))
    if (e.name == "site/sub/b.txt") {
      std::string bad = good;
      bad[e.data_offset + e.packed_size / 2] ^= 0x10;
      WriteFile(dir / "bad.lzh", bad);
    }
  LhaRun r = Run("x bad.lzh keep/");
  EXPECT_EQ(r.result, kLhaPartly);
  EXPECT_NE(r.output.find("site/sub/b.txt"), std::string::npos);
  EXPECT_EQ(ReadFile(dir / "keep/site/sub/b.txt"), "older copy");
  EXPECT_EQ(ReadFile(dir / "keep/site/a.txt"), "alpha\r\n");
  // Cut anywhere but between members: an error, never a crash; nothing left behind.
  std::vector<uint64_t> boundaries;
  for (const LhaEntry& e : Entries(dir / "arc.lzh")) boundaries.push_back(e.EndOffset());
  for (size_t cut = 1; cut < good.size(); cut += good.size() / 37 + 1) {
    if (std::find(boundaries.begin(), boundaries.end(), cut) != boundaries.end()) continue;
    WriteFile(dir / "cut.lzh", good.substr(0, cut));
    LhaRun c = Run("x cut.lzh cut/");
    EXPECT_NE(c.result, kLhaOk) << cut;
    EXPECT_FALSE(c.output.empty());
    std::string temps;
    RunShell(dir.path(), "find . -name 'lha*.tmp'", &temps);
    EXPECT_EQ(temps, "");
  }
  // Updating a broken archive leaves it alone.
  WriteFile(dir / "cut.lzh", good.substr(0, good.size() / 2));
  EXPECT_EQ(Run("a cut.lzh site/a.txt").result, kLhaFailed);
  EXPECT_EQ(Run("d cut.lzh site/a.txt").result, kLhaFailed);
  EXPECT_EQ(ReadFile(dir / "cut.lzh"), good.substr(0, good.size() / 2));
  EXPECT_EQ(Run("x not-there.lzh out/").result, kLhaFailed);
}

TEST_F(LhaCommands, BadCommandLinesAreRefused) {
  MakeArchive();
  EXPECT_EQ(Run("").result, kLhaFailed);
  EXPECT_EQ(Run("q arc.lzh").result, kLhaFailed);
  EXPECT_EQ(Run("extract arc.lzh").result, kLhaFailed);
  EXPECT_EQ(Run("x -z9 arc.lzh out/").result, kLhaFailed);
  EXPECT_EQ(Run("x -x1abc arc.lzh out/").result, kLhaFailed);
  EXPECT_EQ(Run("x -c1 -m1").result, kLhaFailed);
  EXPECT_FALSE(FileExists(dir / "out"));
}

TEST_F(LhaCommands, OutputStaysInsideTheCallersBuffer) {
  MakeArchive();
  for (size_t size : {size_t(0), size_t(1), size_t(7), size_t(40), size_t(2047)}) {
    std::vector<char> buffer(size + 32, '#');
    OutputText out(buffer.data(), size);
    PosixLhaPlatform platform;
    std::string line = "l " + dir.path() + "/arc.lzh";
    EXPECT_EQ(RunLhaCommand(platform, line, out), kLhaOk);
    for (size_t i = size; i < buffer.size(); ++i) ASSERT_EQ(buffer[i], '#') << size;
    if (size > 0) {
      EXPECT_EQ(std::strlen(buffer.data()), std::min(size - 1, out.Length()));
    }
  }
}

}  // namespace
