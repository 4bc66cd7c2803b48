// The tree-cache file operations on real files.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "app/tree_cache.h"

namespace {

std::string Read(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

void Write(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

TEST(TreeCacheFile, AppendOnceRemoveAndCopy) {
  char pattern[] = "/tmp/vako-tree-XXXXXX";
  const std::string dir = mkdtemp(pattern);
  const std::string work = dir + "/TREE1.tmp", kept = dir + "/host.tre", missing = dir + "/missing";
  Write(work, "");
  TreeCacheLineSet set;
  ASSERT_EQ(set.Load(work), 1);
  EXPECT_EQ(set.AddIfMissing(work, "pub/"), 1);
  EXPECT_EQ(set.AddIfMissing(work, "pub/linux/"), 1);
  EXPECT_EQ(set.AddIfMissing(work, "pub/"), 1);
  // A fresh listing knows what an earlier one wrote; a line holding CR or LF is never added.
  TreeCacheLineSet again;
  ASSERT_EQ(again.Load(work), 1);
  EXPECT_EQ(again.AddIfMissing(work, "pub/linux/"), 1);
  EXPECT_EQ(again.AddIfMissing(work, "a/\r\nb/"), 0);
  EXPECT_EQ(Read(work), "pub/\r\npub/linux/\r\n");

  // A folder renamed: the new line appended, the old one removed (case counts).
  Write(work, "pub/\r\npub/old/\r\nPUB/OLD/\r\npub/old/x/\r\n");
  ASSERT_EQ(AppendTreeCacheLine(work, "pub/new/"), 1);
  ASSERT_EQ(RemoveTreeCacheLine(work, "pub/old/"), 1);
  EXPECT_EQ(Read(work), "pub/\r\nPUB/OLD/\r\npub/old/x/\r\npub/new/\r\n");
  // Long lines and a last line without line end survive a removal, which leaves no temporary file.
  const std::string longLine(300, 'y');
  Write(work, longLine + "/\r\ngone/\r\nkept/");
  ASSERT_EQ(RemoveTreeCacheLine(work, "gone/"), 1);
  EXPECT_EQ(Read(work), longLine + "/\r\nkept/\r\n");
  EXPECT_EQ(access((work + ".ttp").c_str(), F_OK), -1);
  // A file that cannot be read is reported and nothing is created.
  EXPECT_EQ(RemoveTreeCacheLine(missing, "x/"), 0);
  EXPECT_EQ(access(missing.c_str(), F_OK), -1);
  EXPECT_EQ(set.Load(missing), 0);

  // Saving at disconnect and loading at connect copy the whole file; a missing one changes nothing.
  ASSERT_EQ(CopyTreeCacheFile(work, kept), 1);
  Write(work, "");
  ASSERT_EQ(CopyTreeCacheFile(kept, work), 1);
  EXPECT_EQ(Read(work), longLine + "/\r\nkept/\r\n");
  EXPECT_EQ(CopyTreeCacheFile(dir + "/none.tre", work), 0);
  EXPECT_EQ(Read(work), longLine + "/\r\nkept/\r\n");
  std::system(("rm -rf '" + dir + "'").c_str());
}

}  // namespace
