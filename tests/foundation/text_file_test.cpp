#include <gtest/gtest.h>

#include "ftp/text_file_win.h"
#include "support/message_box_recorder_win.h"
#include "support/temp_folder_win.h"

TEST(WriteTextFile, ThreeModes) {
  TempFolder dir;
  std::string path = dir.path() + "t.txt";
  WriteWholeFile(path, "old contents");
  EXPECT_NE(WriteTextFile(path, "first", 0), 0);  // new file
  EXPECT_NE(WriteTextFile(path, "second", 1), 0);  // appended with CR LF
  EXPECT_NE(WriteTextFile(path, "third", 2), 0);   // appended as is
  EXPECT_NE(WriteTextFile(path, "", 2), 0);
  EXPECT_EQ(ReadWholeFile(path), "first\r\nsecond\r\nthird");
}

TEST(WriteTextFile, UnwritablePathShowsTheMessage) {
  MessageBoxRecorder boxes;
  TempFolder dir;
  EXPECT_EQ(WriteTextFile(dir.path() + "missing\\folder\\x.txt", "x", 1), 0);
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0].text, "Failed to write file");
  EXPECT_EQ(boxes.boxes()[0].caption, "Vako FTP");
}

TEST(WriteTextFile, OthersMayReadWhileItWrites) {
  TempFolder dir;
  std::string path = dir.path() + "log.txt";
  WriteTextFile(path, "line", 1);
  HANDLE reader = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  EXPECT_NE(WriteTextFile(path, "more", 1), 0);
  CloseHandle(reader);
}

class ReadTextLineTest : public ::testing::Test {
 protected:
  std::vector<std::string> ReadAll(const std::string& contents, size_t maximum = 260) {
    std::string path = dir.path() + "lines.txt";
    WriteWholeFile(path, contents);
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    std::vector<std::string> lines;
    std::string line;
    while (ReadTextLine(line, maximum, f)) lines.push_back(line);
    CloseHandle(f);
    return lines;
  }
  TempFolder dir;
};

TEST_F(ReadTextLineTest, CrLfLinesAndEmptyLines) {
  EXPECT_EQ(ReadAll("/pub\r\n\r\n/pub/x\r\n"), (std::vector<std::string>{"/pub", "", "/pub/x"}));
  EXPECT_EQ(ReadAll(""), std::vector<std::string>{});
}

TEST_F(ReadTextLineTest, LfOnlyLinesKeepTheirLastCharacter) {
  EXPECT_EQ(ReadAll("/pub\n/home\n"), (std::vector<std::string>{"/pub", "/home"}));
}

TEST_F(ReadTextLineTest, LastLineWithoutLineEndIsNotLost) {
  EXPECT_EQ(ReadAll("/a\r\n/b"), (std::vector<std::string>{"/a", "/b"}));
}

TEST_F(ReadTextLineTest, LineReachingTheMaximumStopsReading) {
  EXPECT_EQ(ReadAll("12345\r\nnext\r\n", 5), std::vector<std::string>{});
  EXPECT_EQ(ReadAll("1234\r\nnext\r\n", 6), (std::vector<std::string>{"1234", "next"}));
}
