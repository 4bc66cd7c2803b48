// Names and paths holding a Shift-JIS character whose second byte looks like '\' or '|', through
// every routine that looks for separators in them: the remote name check, the extension key,
// the local and remote path texts of the trees, the tree cache file name, the pane caption,
// the command line and the dialog field cut. Each character is tried at the end of a name and
// after every kind of text that may stand before it.
#include <gtest/gtest.h>

#include "app/command_line.h"
#include "app/local_tree_paths.h"
#include "app/menu_state_table.h"
#include "app/remote_tree_model.h"
#include "app/text_case.h"
#include "app/tree_cache.h"
#include "config/dialog_text.h"
#include "ftp/listing_parser.h"
#include "jobs/transfer_rules.h"
#include "support/shift_jis_samples.h"

namespace {

using sjis_samples::SeparatorLookingCharacters;
using sjis_samples::TextsBefore;
using Parts = std::vector<std::string>;

// Calls check(name) for every name made of a text from TextsBefore() and one of the characters.
template <typename Check>
void ForEveryName(Check check) {
  for (const std::string& before : TextsBefore()) {
    for (const std::string& ch : SeparatorLookingCharacters()) {
      const std::string name = before + ch;
      SCOPED_TRACE(::testing::PrintToString(name));
      check(name);
    }
  }
}

TEST(ShiftJisNames, RemoteNamesAreKept) {
  ListingClock clock;
  clock.year = 2024;
  clock.month = 3;
  ForEveryName([&](const std::string& name) {
    EXPECT_TRUE(IsSafeRemoteName(name));
    EXPECT_TRUE(IsSafeRemoteName(name + ".txt"));
    EXPECT_TRUE(IsSafeRemoteName(name + name));
    ListedEntry entry;
    ASSERT_TRUE(ParseListingLine("-rw-r--r--    1 1000     1000            4 Mar 01 12:00 " + name + ".txt",
                                 clock, entry));
    EXPECT_EQ(entry.entry.name, name + ".txt");
    // A real '\' or '|' after the character still refuses the name.
    EXPECT_FALSE(IsSafeRemoteName(name + "\\x"));
    EXPECT_FALSE(IsSafeRemoteName(name + "|"));
  });
  // Bytes that no character ends in are refused wherever they stand, after a lead byte too.
  for (const char* name : {"\x81/..", "\x81:x", "\x95*", "\x95\x01"})
    EXPECT_FALSE(IsSafeRemoteName(name)) << name;
}

TEST(ShiftJisNames, ExtensionKeyAndList) {
  const TextCase& tc = ShiftJisAsciiCase();
  ForEveryName([&](const std::string& name) {
    EXPECT_EQ(ExtensionKey(name + ".txt"), "txt");
    EXPECT_EQ(ExtensionKey("a." + name), name);
    EXPECT_TRUE(MatchExtensionList("txt;" + name + ";doc", name, tc));
    EXPECT_TRUE(MatchExtensionList(name + ";doc", "doc", tc));
  });
}

TEST(ShiftJisNames, LocalTreePaths) {
  ForEveryName([&](const std::string& name) {
    const std::string folder = "C:\\" + name;
    EXPECT_EQ(SplitLocalPath(folder + "\\" + name), (Parts{"C:", name, name}));
    EXPECT_EQ(SplitLocalPath(folder), (Parts{"C:", name}));
    EXPECT_EQ(FolderOfPath(folder + "\\f.txt"), folder + "\\");
    EXPECT_EQ(FolderOfPath(folder), "C:\\");
    EXPECT_EQ(FolderOfPath(name), name);
    EXPECT_FALSE(IsDriveComponent(name));
    EXPECT_EQ(LocalPathOfTexts(SplitLocalPath(folder + "\\" + name)), folder + "\\" + name);
  });
}

TEST(ShiftJisNames, RemoteTreeFromCacheLines) {
  ForEveryName([&](const std::string& name) {
    EXPECT_EQ(SplitRemotePath("/" + name + "/" + name + "/"), (Parts{name, name}));
    RemoteTreeNode root = BuildRemoteTreeModel({TreeCacheLineOf("/" + name, name)});
    ASSERT_EQ(root.children.size(), 1u);
    EXPECT_EQ(root.children[0].text, name);
    ASSERT_EQ(root.children[0].children.size(), 1u);
    EXPECT_EQ(root.children[0].children[0].text, name);
    EXPECT_EQ(FindRemoteTreePath(root, "/" + name + "/" + name), (Parts{name, name}));
    EXPECT_EQ(RemotePathOfTexts({name, name}), "/" + name + "/" + name);
  });
}

TEST(ShiftJisNames, TreeCacheFileAndPaneCaption) {
  ForEveryName([&](const std::string& name) {
    const std::string folder = "C:\\" + name;
    EXPECT_EQ(TreeCachePathOfHost(folder, "host"), folder + "\\host.tre");
    EXPECT_EQ(TreeCachePathOfHost(folder + "\\", "host"), folder + "\\host.tre");
    EXPECT_EQ(TreeCachePathOfHost("C:\\vako\\", name), "C:\\vako\\" + name + ".tre");
    EXPECT_EQ(ComputePaneCaptions(folder, 1, "a.lzh", 0, "", "").local, folder + "\\a.lzh");
  });
  // A drive root already ends in its separator.
  EXPECT_EQ(TreeCachePathOfHost("C:\\", "host"), "C:\\host.tre");
  EXPECT_EQ(ComputePaneCaptions("C:\\", 1, "a.lzh", 0, "", "").local, "C:\\a.lzh");
}

TEST(ShiftJisNames, CommandLineAndFieldCut) {
  ForEveryName([&](const std::string& name) {
    const std::string path = "C:\\" + name + "\\" + name + ".bok";
    EXPECT_EQ(SplitCommandLine(("\"" + path + " x\"  " + path).c_str()), (Parts{path + " x", path}));
    EXPECT_EQ(FitFieldText(name + "a", name.size() + 2), name + "a");
    EXPECT_EQ(FitFieldText(name, name.size()), name.substr(0, name.size() - 2));  // never half a character
  });
}

}  // namespace
