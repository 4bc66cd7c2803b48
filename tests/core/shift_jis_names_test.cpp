// Names holding a Shift-JIS character whose second byte looks like '\' or '|' (all 120 of
// them), at the end of a name and after every kind of text that may stand before it, through
// the character scan and every routine that looks for separators in names and paths.
#include <gtest/gtest.h>

#include "app/command_line.h"
#include "app/local_tree_paths.h"
#include "app/menu_state_table.h"
#include "app/remote_tree_model.h"
#include "app/tree_cache.h"
#include "config/dialog_text.h"
#include "ftp/listing_parser.h"
#include "jobs/transfer_rules.h"
#include "support/case_table.h"
#include "support/shift_jis_samples.h"
#include "text/path_text.h"
#include "text/sjis.h"

namespace {

using Parts = std::vector<std::string>;

// Calls check(before, character) for every text of data/texts_before.tsv and every such
// character.
template <typename Check>
void ForEveryName(Check check) {
  ASSERT_EQ(sjis_samples::SeparatorLookingCharacters().size(), 120u);
  std::vector<Case> befores = ReadCases("core/data/texts_before.tsv");
  befores.push_back({""});  // at the start of the name
  ASSERT_EQ(befores.size(), 10u);
  for (const Case& before : befores) {
    for (const std::string& ch : sjis_samples::SeparatorLookingCharacters()) {
      SCOPED_TRACE(::testing::PrintToString(before[0] + ch));
      check(before[0], ch);
    }
  }
}

TEST(ShiftJisNames, EveryRoutineKeepsTheCharacterWhole) {
  const TextCase& tc = ShiftJisAsciiCase();
  ForEveryName([&](const std::string& before, const std::string& ch) {
    const std::string name = before + ch, folder = "C:\\" + name, path = folder + "\\" + name + ".bok";
    EXPECT_EQ(CharWidthAt(name, before.size()), 2u);
    EXPECT_EQ(CheckedCharWidthAt(name, before.size()), 2u);
    EXPECT_FALSE(IsSingleByteChar(name.c_str(), name.size() - 1));
    EXPECT_TRUE(IsSingleByteChar((before + "\\" + name).c_str(), before.size()));
    EXPECT_EQ(SplitAtSingleByteChar(path + "|" + ch, '|', true), (Parts{path, ch}));
    EXPECT_TRUE(IsSafeRemoteName(name + name));
    EXPECT_FALSE(IsSafeRemoteName(name + "\\x"));  // a real '\' or '|' after it still refuses
    EXPECT_FALSE(IsSafeRemoteName(name + "|"));
    ListedEntry entry;
    ASSERT_TRUE(ParseListingLine("-rw-r--r--    1 1000     1000            4 Mar 01 12:00 " + name + ".txt",
                                 ListingClock{2024, 3}, entry));
    EXPECT_EQ(entry.entry.name, name + ".txt");
    EXPECT_EQ(ExtensionKey(name + ".txt"), "txt");
    EXPECT_EQ(ExtensionKey("a." + name), name);
    EXPECT_TRUE(MatchExtensionList("txt;" + name + ";doc", name, tc));
    EXPECT_TRUE(MatchExtensionList(name + ";doc", "doc", tc));
    EXPECT_FALSE(EndsInSeparator(folder));
    EXPECT_EQ(JoinLocalPath(folder, ch), folder + "\\" + ch);
    EXPECT_EQ(SplitLocalPath(folder + "\\" + name), (Parts{"C:", name, name}));
    EXPECT_EQ(FolderOfPath(folder + "\\f.txt"), folder + "\\");
    EXPECT_EQ(FolderOfPath(folder), "C:\\");
    EXPECT_EQ(LocalPathOfTexts(SplitLocalPath(folder + "\\" + name)), folder + "\\" + name);
    EXPECT_EQ(TreeCachePathOfHost(folder, "host"), folder + "\\host.tre");
    EXPECT_EQ(TreeCachePathOfHost("C:\\vako\\", name), "C:\\vako\\" + name + ".tre");
    EXPECT_EQ(ComputePaneCaptions(folder, 1, "a.lzh", 0, "", "").local, folder + "\\a.lzh");
    EXPECT_EQ(SplitRemotePath("/" + name + "/" + name + "/"), (Parts{name, name}));
    RemoteTreeNode root = BuildRemoteTreeModel({TreeCacheLineOf("/" + name, name)});
    EXPECT_EQ(FindRemoteTreePath(root, "/" + name + "/" + name), (Parts{name, name}));
    EXPECT_EQ(SplitCommandLine(("\"" + path + " x\"  " + path).c_str()), (Parts{path + " x", path}));
    EXPECT_EQ(FitFieldText(name + "a", name.size() + 2), name + "a");
    EXPECT_EQ(FitFieldText(name, name.size()), before);  // never half a character
  });
}

}  // namespace
