// The jobs' own rules: which names a job may join to a folder, where a drop lands, which
// remote entries mirroring takes for gone, and the small texts the jobs build.
#include <gtest/gtest.h>

#include "jobs/job_rules.h"

TEST(JobRules, NamesThatStayInTheirFolder) {
  struct Case {
    const char* name;
    bool plain;
  } cases[] = {
      {"index.html", true},
      {"with space.txt", true},
      {"\x95\x5C\x8E\xA6.txt", true},  // "hyouji": its 0x5C is a second byte
      {"\x83\x5C\x83\x74\x83\x67", true},  // "sofuto"
      {"..x", true},
      {"x..", true},
      {"", false},
      {".", false},
      {"..", false},
      {"../x", false},
      {"..\\x", false},
      {"a/b", false},
      {"a\\b", false},
      {"C:\\x", false},
      {"C:x", false},
      {"x:stream", false},
      {"\\\\server\\share", false},
      {"\x81/x", false},   // '/' is no second byte: the code page reads it on its own
      {"\x81:x", false},
      {"\x97\x97\\x", false},  // "ran" then a real separator
  };
  for (const Case& c : cases) EXPECT_EQ(IsPlainEntryName(c.name), c.plain) << c.name;
}

TEST(JobRules, RemoteChildPaths) {
  EXPECT_EQ(RemoteChildPath("/", "pub"), "/pub");
  EXPECT_EQ(RemoteChildPath("/pub", "linux"), "/pub/linux");
  EXPECT_EQ(RemoteChildPath("/pub/", "linux"), "/pub/linux");
  EXPECT_EQ(RemoteChildPath("", "x"), "/x");
}

TEST(JobRules, DropPointDecidesThePane) {
  // Side by side: left of the split is local.
  EXPECT_TRUE(DropIsOnLocalPane(299, 500, 0, 300, 200, 32));
  EXPECT_FALSE(DropIsOnLocalPane(300, 10, 0, 300, 200, 32));
  // Stacked: above toolbar height plus the split is local.
  EXPECT_TRUE(DropIsOnLocalPane(900, 231, 1, 300, 200, 32));
  EXPECT_FALSE(DropIsOnLocalPane(0, 232, 1, 300, 200, 32));
  EXPECT_TRUE(DropIsOnLocalPane(0, 199, 1, 300, 200, 0));
}

TEST(JobRules, ConversionOptionOfUploads) {
  EXPECT_STREQ(UploadConversionOption(1, false), "-e");
  EXPECT_STREQ(UploadConversionOption(2, false), "-j");
  EXPECT_EQ(UploadConversionOption(0, false), nullptr);
  EXPECT_STREQ(UploadConversionOption(0, true), "-s");
  EXPECT_STREQ(UploadConversionOption(7, true), "-s");
}

TEST(JobRules, MirroringTakesForGoneOnlyWhatNoLocalNameMatches) {
  const std::vector<std::string> remote = {"..", "index.html", "Index.html", "old.html", "docs", ".", "keep"};
  const std::vector<std::string> local = {"index.html", "docs", "keep", "new.txt"};
  EXPECT_EQ(RemoteNamesWithoutCounterpart(remote, local), (std::vector<size_t>{2, 3}));
  // An empty local folder leaves nothing on the server but the parent row.
  EXPECT_EQ(RemoteNamesWithoutCounterpart(remote, {}), (std::vector<size_t>{1, 2, 3, 4, 6}));
  EXPECT_TRUE(RemoteNamesWithoutCounterpart({"..", "a"}, {"a"}).empty());
}

TEST(JobRules, ProvisionalNames) {
  EXPECT_EQ(FormatWithNumber("folder%d", 5), "folder5");
  EXPECT_EQ(FormatWithNumber("%d%d", 1), "1%d");
  EXPECT_EQ(FormatWithNumber("100%%_%d", 3), "100%_3");
  EXPECT_EQ(FormatWithNumber("%s%n", 3), "%s%n");
  EXPECT_EQ(FormatWithNumber("x%", 3), "x%");
}
