// Hostile, damaged and truncated archives and bad command lines: nothing is written outside
// the destination, no damaged member is left looking good, no file of the user's is lost,
// and every fault ends in an error text.
#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>

#include "lha/plugin_test_support.h"
#include "zip/zip_builder.h"

namespace {

// Makes the central directory list NAME with SIZE bytes while its local header stays true.
void ListWithSize(std::string& zip, const std::string& name, uint32_t size) {
  const size_t entry = zip.rfind(name) - 46;
  for (size_t at : {entry + 20, entry + 24})
    for (int i = 0; i < 4; ++i) zip[at + i] = static_cast<char>(size >> (8 * i));
}

BuiltMember Damaged(const std::string& name, const std::string& how) {
  const bool deflated = how.rfind("deflated", 0) == 0;
  BuiltMember m = Member(name, deflated ? std::string(200000, 'x') : "stored " + name, deflated);
  const std::string damage = how.substr(how.find(' ') + 1);
  if (damage == "crc") m.crc32 ^= 1;
  if (damage == "garbage") m.payload = std::string(6, '\xff');
  if (damage == "cut") m.payload.resize(m.payload.size() / 2);
  if (damage == "larger") m.uncompressed_size = 1000;
  if (damage == "shorter" || damage == "sizes") m.uncompressed_size += 10;
  if (damage == "encrypted") m.flags = 1;
  if (damage == "method") m.method = 12;
  m.compressed_size = static_cast<uint32_t>(m.payload.size());
  return m;
}

struct ZipSafetyTest : ::testing::Test {
  ScratchFolder scratch;
  std::string archive = scratch / "test.zip";
  std::string output = scratch / "box/out";
  void SetUp() override { ASSERT_EQ(RunShell(scratch.path(), "mkdir box"), 0); }
  LibraryRun Extract(const std::string& bytes) {
    WriteFile(archive, bytes);
    return RunUnZip("-x \"" + archive + "\" \"" + output + "/\"");
  }
  void ExpectNothingOutside() {
    for (const auto& item : Tree(scratch / "box"))
      EXPECT_TRUE(item.first == "out" || item.first.rfind("out/", 0) == 0) << item.first;
  }
};

TEST_F(ZipSafetyTest, NamesLeadingOutsideAreRefusedAndTheRestExtracted) {
  std::vector<BuiltMember> members = {Member("first.txt", "1"), Member(scratch / "absolute.txt", "evil")};
  const std::vector<Case> hostile = ReadCases("zip/data/hostile_names.tsv");
  for (const Case& c : hostile) members.push_back(Member(c[0], "evil"));
  members.push_back(Member("\x95\\.txt", "table"));  // genuine Shift-JIS names with 0x5C bytes
  members.push_back(Member("\x83\\\x83t\x83g/readme.txt", "software"));
  members.push_back(Member("docs/last.txt", "last one", true));
  const LibraryRun run = Extract(BuildZip(members));
  EXPECT_EQ(run.result, 1) << run.output;
  for (size_t i = 1; i < hostile.size() + 2; ++i)
    EXPECT_NE(run.output.find("   refused: " + members[i].name + " ("), std::string::npos) << members[i].name;
  EXPECT_NE(run.output.find("(0x5C trail byte)"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("4 files extracted, 14 refused, 0 failed"), std::string::npos) << run.output;
  EXPECT_FALSE(FileExists(scratch / "absolute.txt"));
  ExpectNothingOutside();
  EXPECT_EQ(Tree(output), (std::map<std::string, std::string>{
      {"first.txt", Fingerprint("1")}, {"\x95\\.txt", Fingerprint("table")}, {"\x83\\\x83t\x83g", "<folder>"},
      {"\x83\\\x83t\x83g/readme.txt", Fingerprint("software")}, {"docs", "<folder>"}, {"docs/last.txt", Fingerprint("last one")}}));
}

TEST_F(ZipSafetyTest, DamagedMembersFailAndLeaveTheUsersFilesUntouched) {
  const std::vector<Case> damaged = ReadCases("zip/data/damaged_members.tsv");
  std::vector<BuiltMember> members;
  for (const Case& c : damaged) members.push_back(Damaged(c[0], c[1]));
  const std::string text(200000, 'x');
  for (const BuiltMember& m : {Member("good.txt", "new"), Member("sub/good.txt", text, true), Member("link.txt", "linked")})
    members.push_back(m);
  std::string bytes = BuildZip(members);
  ListWithSize(bytes, "past.txt", 100000);
  WriteFile(scratch / "outside.txt", "outside");
  for (bool existing : {false, true}) {
    SCOPED_TRACE(existing ? "over the user's files" : "into an empty folder");
    RunShell(scratch.path(), "rm -rf box/out");
    std::map<std::string, std::string> expected = {
        {"good.txt", Fingerprint("new")}, {"sub", "<folder>"}, {"sub/good.txt", Fingerprint(text)}, {"link.txt", Fingerprint("linked")}};
    if (existing) {
      for (const Case& c : damaged) {
        WriteFile(output + "/" + c[0], "the user's own " + c[0] + std::string(3000, '!'));
        expected[c[0]] = Fingerprint("the user's own " + c[0] + std::string(3000, '!'));
      }
      WriteFile(output + "/good.txt", "the user's older and longer good.txt");
      ASSERT_EQ(symlink((scratch / "outside.txt").c_str(), (output + "/link.txt").c_str()), 0);
      expected["link.txt"] = Fingerprint("outside");  // a link is neither followed nor replaced
    }
    const LibraryRun run = Extract(bytes);
    EXPECT_EQ(run.result, 1) << run.output;
    for (const Case& c : damaged)
      EXPECT_NE(run.output.find("     error: " + c[0] + " (" + c[2] + ")\r\n"), std::string::npos) << c[0] << "\n" << run.output;
    EXPECT_NE(run.output.find(existing ? "2 files extracted, 0 refused, 12 failed" : "3 files extracted, 0 refused, 11 failed"),
              std::string::npos) << run.output;
    EXPECT_EQ(Tree(output), expected) << run.output;
    EXPECT_EQ(ReadFile(scratch / "outside.txt"), "outside");
    ExpectNothingOutside();
  }
}

// A directory that claims more entries than it holds, offsets beyond the file, a local
// header that points into another member's data.
TEST_F(ZipSafetyTest, LyingDirectoriesEndInAnErrorText) {
  const std::string good = BuildZip({Member("a.txt", "aaaa"), Member("b.txt", "bbbb")});
  const size_t end = good.size() - 22, b_entry = good.rfind("b.txt") - 46;
  const std::vector<std::pair<std::function<void(std::string&)>, std::string>> lies = {
      {[&](std::string& z) { z.replace(end + 8, 4, 4, '\xFF'); }, "error: damaged archive"},
      {[&](std::string& z) { z[end + 19] = '\x7F'; }, "error: damaged archive"},
      {[&](std::string& z) { z[b_entry + 42] = 40; }, "error: b.txt (damaged archive (local header))"},
  };
  for (const auto& [lie, error] : lies) {
    std::string bytes = good;
    lie(bytes);
    const LibraryRun run = Extract(bytes);
    EXPECT_NE(run.result, 0) << error;
    EXPECT_NE(run.output.find(error), std::string::npos) << run.output;
  }
  ExpectNothingOutside();
}

// Every cut of a real archive ends with an error text, never a crash or a hang.
TEST_F(ZipSafetyTest, EveryTruncationOfARealArchiveFailsCleanly) {
  std::string varied;
  for (int i = 0; i < 3000; ++i) varied += std::to_string(i * 7919 % 1000);
  WriteFile(scratch / "src/sub/a.txt", varied);
  WriteFile(scratch / "src/b.txt", "bbbbbbbbbb");
  ASSERT_EQ(RunShell(scratch / "src", "zip -q -r -9 ../made.zip ."), 0);
  const std::string whole = ReadFile(scratch / "made.zip");
  for (size_t length = 0; length < whole.size(); ++length) {
    const LibraryRun run = Extract(whole.substr(0, length));
    ASSERT_NE(run.result, 0) << length;
    ASSERT_NE(run.output.find("error: "), std::string::npos) << length;
  }
}

TEST_F(ZipSafetyTest, CommandLines) {
  WriteFile(scratch / "with blank.zip", BuildZip({Member("a.txt", "a")}));
  WriteFile(scratch / "text.zip", "this is not an archive at all");
  LibraryRun run;
  for (const std::string& line : std::vector<std::string>{"", "   ", "-l a.zip out/", "-x", "-x \"\" \"out/\"", "-x a.zip out/ extra",
                                  "-x " + (scratch / "with blank.zip"), "-x \"" + (scratch / "missing.zip") + "\" out/",
                                  "-x \"" + (scratch / "text.zip") + "\" out/"}) {
    run = RunUnZip(line);
    EXPECT_EQ(run.result, 2) << line;
    EXPECT_NE(run.output.find("error: "), std::string::npos) << line;
  }
  EXPECT_NE(run.output.find("error: not a ZIP archive"), std::string::npos) << run.output;
}

}  // namespace
