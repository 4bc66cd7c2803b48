// The tree cache: its lines, the file operations on real files, the remote tree built
// from the lines, and the local path texts of the folder tree.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "app/local_tree_paths.h"
#include "app/remote_tree_model.h"
#include "app/tree_cache.h"

namespace {

class TempFolder {
 public:
  TempFolder() {
    char pattern[] = "/tmp/vako-tree-XXXXXX";
    path_ = mkdtemp(pattern);
  }
  ~TempFolder() { std::system(("rm -rf '" + path_ + "'").c_str()); }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

std::string Read(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

void Write(const std::string& path, const std::string& text) {
  std::ofstream f(path, std::ios::binary);
  f << text;
}

using V = std::vector<std::string>;

TEST(TreeCacheLines, LineOfAFolder) {
  EXPECT_EQ(TreeCacheLineOf("/", "pub"), "pub/");
  EXPECT_EQ(TreeCacheLineOf("/home/user", "pub"), "home/user/pub/");
  EXPECT_EQ(TreeCacheLineOf("/pub", "new"), "pub/new/");
  // A current folder reported with a trailing slash still gives the folder's own line.
  EXPECT_EQ(TreeCacheLineOf("/pub/", "new"), "pub/new/");
  EXPECT_EQ(TreeCacheLineOf("", "pub"), "pub/");
  EXPECT_EQ(TreeCacheLineOf("home", "pub"), "home/pub/");
  // "./" after a refused start folder: its folders are recorded as below the root.
  EXPECT_EQ(TreeCacheLineOf("./", "pub"), "pub/");
  EXPECT_EQ(TreeCacheLineOf(".", "pub"), "pub/");
}

TEST(TreeCacheLines, SplitText) {
  EXPECT_EQ(SplitTreeCacheText("pub/\r\npub/linux/\r\n"), (V{"pub/", "pub/linux/"}));
  EXPECT_EQ(SplitTreeCacheText("a/\nb/"), (V{"a/", "b/"}));
  EXPECT_EQ(SplitTreeCacheText(""), V{});
  EXPECT_EQ(SplitTreeCacheText("\r\n\r\n"), (V{"", ""}));
  // A long line is read whole and does not end the reading.
  std::string longLine(600, 'x');
  longLine += "/";
  EXPECT_EQ(SplitTreeCacheText(longLine + "\r\nnext/\r\n"), (V{longLine, "next/"}));
}

TEST(TreeCacheFile, AppendOnceRemoveAndCopy) {
  TempFolder dir;
  const std::string work = dir.File("TREE1.tmp");
  Write(work, "");
  TreeCacheLineSet set;
  ASSERT_EQ(set.Load(work), 1);
  EXPECT_EQ(set.AddIfMissing(work, "pub/"), 1);
  EXPECT_EQ(set.AddIfMissing(work, "pub/linux/"), 1);
  EXPECT_EQ(set.AddIfMissing(work, "pub/"), 1);
  EXPECT_EQ(Read(work), "pub/\r\npub/linux/\r\n");
  // A fresh listing knows what an earlier one wrote.
  TreeCacheLineSet again;
  ASSERT_EQ(again.Load(work), 1);
  EXPECT_EQ(again.AddIfMissing(work, "pub/linux/"), 1);
  EXPECT_EQ(Read(work), "pub/\r\npub/linux/\r\n");
  EXPECT_EQ(again.AddIfMissing(work, "a/\r\nb/"), 0);
  EXPECT_EQ(Read(work), "pub/\r\npub/linux/\r\n");

  // Rename of pub/old to pub/new: append the new line, remove the old one (case counts).
  Write(work, "pub/\r\npub/old/\r\nPUB/OLD/\r\npub/old/x/\r\n");
  ASSERT_EQ(AppendTreeCacheLine(work, "pub/new/"), 1);
  ASSERT_EQ(RemoveTreeCacheLine(work, "pub/old/"), 1);
  EXPECT_EQ(Read(work), "pub/\r\nPUB/OLD/\r\npub/old/x/\r\npub/new/\r\n");
  // Lines beyond any old line-length limit survive a removal.
  std::string longLine(300, 'y');
  Write(work, longLine + "/\r\ngone/\r\nkept/\r\n");
  ASSERT_EQ(RemoveTreeCacheLine(work, "gone/"), 1);
  EXPECT_EQ(Read(work), longLine + "/\r\nkept/\r\n");
  EXPECT_EQ(access((work + ".ttp").c_str(), F_OK), -1);

  // A file that cannot be read is reported and nothing is created.
  EXPECT_EQ(RemoveTreeCacheLine(dir.File("missing"), "x/"), 0);
  EXPECT_EQ(access(dir.File("missing").c_str(), F_OK), -1);
  EXPECT_EQ(set.Load(dir.File("missing")), 0);

  // Saving at disconnect and loading at connect copy the whole file.
  const std::string kept = dir.File("host.tre");
  ASSERT_EQ(CopyTreeCacheFile(work, kept), 1);
  EXPECT_EQ(Read(kept), Read(work));
  Write(work, "");
  ASSERT_EQ(CopyTreeCacheFile(kept, work), 1);
  EXPECT_EQ(Read(work), longLine + "/\r\nkept/\r\n");
  EXPECT_EQ(CopyTreeCacheFile(dir.File("none.tre"), work), 0);
  EXPECT_EQ(Read(work), longLine + "/\r\nkept/\r\n");
}

TEST(TreeCacheFile, KeptFileNames) {
  EXPECT_EQ(TreeCachePathOfHost("C:\\Vako\\", "ftp.example.com"), "C:\\Vako\\ftp.example.com.tre");
  EXPECT_EQ(TreeCachePathOfHost("C:\\Vako", "My Server"), "C:\\Vako\\My Server.tre");
  EXPECT_EQ(TreeCachePathOfHost("C:\\Vako\\", ""), "C:\\Vako\\.tre");
  // No host name can reach a file outside the program folder or a stream of another file.
  EXPECT_EQ(TreeCachePathOfHost("C:\\Vako\\", "..\\..\\Windows\\win"), "C:\\Vako\\.._.._Windows_win.tre");
  EXPECT_EQ(TreeCachePathOfHost("C:\\Vako\\", "a/b:c*?\"<>|\r\n"), "C:\\Vako\\a_b_c________.tre");
  // Shift-JIS second bytes 0x5C and 0x7C stay as they are.
  EXPECT_EQ(TreeCachePathOfHost("C:\\Vako\\", "\x95\x5c\x83\x7c"), "C:\\Vako\\\x95\x5c\x83\x7c.tre");
  // A program folder ending in such a character still gets its separator.
  EXPECT_EQ(TreeCachePathOfHost("C:\\\x95\x5c", "h"), "C:\\\x95\x5c\\h.tre");
  EXPECT_EQ(TreeCachePathOfFavorite("C:\\Vako\\sub\\host.BOK"), "C:\\Vako\\sub\\host.tre");
}

TEST(RemoteTreeModel, BuiltFromLines) {
  RemoteTreeNode root = BuildRemoteTreeModel({"pub/", "pub/linux/", "home/user/pub/", "/", "x",
                                              "/y", "Pub/", "a//b/"});
  EXPECT_EQ(root.text, "/");
  ASSERT_EQ(root.children.size(), 4u);  // pub, home, Pub, a: case counts
  const RemoteTreeNode* pub = root.Child("pub");
  ASSERT_NE(pub, nullptr);
  ASSERT_EQ(pub->children.size(), 1u);
  EXPECT_EQ(pub->children[0].text, "linux");
  EXPECT_NE(root.Child("Pub"), nullptr);
  // Folders without a line of their own still get their node.
  ASSERT_NE(root.Child("home"), nullptr);
  EXPECT_NE(root.Child("home")->Child("user"), nullptr);
  // An empty component between two slashes makes no nameless node.
  ASSERT_NE(root.Child("a"), nullptr);
  EXPECT_NE(root.Child("a")->Child("b"), nullptr);
  EXPECT_EQ(root.Child("a")->Child(""), nullptr);
  EXPECT_EQ(root.Child("x"), nullptr);
  EXPECT_EQ(root.Child("y"), nullptr);
  // Only the part before the last slash counts.
  RemoteTreeNode cut = BuildRemoteTreeModel({"pub/linux"});
  ASSERT_EQ(cut.children.size(), 1u);
  EXPECT_TRUE(cut.children[0].children.empty());
}

TEST(RemoteTreeModel, PathsBothWays) {
  RemoteTreeNode root = BuildRemoteTreeModel({"pub/linux/", "home/user/"});
  EXPECT_EQ(FindRemoteTreePath(root, "pub/linux"), (V{"pub", "linux"}));
  EXPECT_EQ(FindRemoteTreePath(root, ""), V{});
  EXPECT_EQ(FindRemoteTreePath(root, "pub/debian/main"), V{"pub"});  // the deepest found
  EXPECT_EQ(FindRemoteTreePath(root, "PUB"), V{});
  EXPECT_EQ(RemotePathOfTexts({"home", "user"}), "/home/user");
  EXPECT_EQ(RemotePathOfTexts({}), "/");
  EXPECT_EQ(SplitRemotePath("/home/user/"), (V{"home", "user"}));
  // Shift-JIS names keep their bytes.
  RemoteTreeNode sj = BuildRemoteTreeModel({"\x95\x5c/\x83\x7c/"});
  EXPECT_EQ(FindRemoteTreePath(sj, "\x95\x5c/\x83\x7c"), (V{"\x95\x5c", "\x83\x7c"}));
}

TEST(LocalTreePaths, SplitJoinAndFolderOfPath) {
  EXPECT_EQ(SplitLocalPath("C:\\Docs\\a"), (V{"C:", "Docs", "a"}));
  EXPECT_EQ(SplitLocalPath("C:\\"), V{"C:"});
  EXPECT_EQ(SplitLocalPath(""), V{});
  // 0x95 0x5C is one character, not a folder separator.
  EXPECT_EQ(SplitLocalPath("C:\\\x95\x5c\\b"), (V{"C:", "\x95\x5c", "b"}));
  EXPECT_TRUE(IsDriveComponent("C:"));
  EXPECT_FALSE(IsDriveComponent("Docs"));
  EXPECT_EQ(LocalPathOfTexts({"C:"}), "C:");
  EXPECT_EQ(LocalPathOfTexts({"C:", "a", "b"}), "C:\\a\\b");
  EXPECT_EQ(FolderOfPath("C:\\a\\b.txt"), "C:\\a\\");
  EXPECT_EQ(FolderOfPath("C:b.txt"), "C:");
  EXPECT_EQ(FolderOfPath("b.txt"), "b.txt");
  EXPECT_EQ(FolderOfPath("C:\\a\\\x95\x5c"), "C:\\a\\");
}

}  // namespace
