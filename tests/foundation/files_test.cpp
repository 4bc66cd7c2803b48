// The work folder under the temporary folder (never an earlier run's, removed whole), and the
// text files the program writes (logs, lists) and reads line by line.
#include <gtest/gtest.h>

#include "app/app_state_win.h"
#include "app/work_folder_win.h"
#include "ftp/text_file_win.h"
#include "support/message_box_recorder_win.h"
#include "support/temp_folder_win.h"

TEST(WriteTextFile, ModesSharingAndFailure) {
  TempFolder dir;
  MessageBoxRecorder boxes;
  std::string path = dir.path() + "t.txt";
  WriteWholeFile(path, "old contents");
  EXPECT_NE(WriteTextFile(path, "first", 0), 0);   // new file
  // Others may read while it writes.
  HANDLE reader = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(WriteTextFile(path, "second", 1), 0);  // appended with CR LF
  CloseHandle(reader);
  EXPECT_NE(WriteTextFile(path, "third", 2), 0);   // appended as is
  EXPECT_EQ(ReadWholeFile(path), "first\r\nsecond\r\nthird");
  EXPECT_TRUE(boxes.boxes().empty());
  EXPECT_EQ(WriteTextFile(dir.path() + "missing\\folder\\x.txt", "x", 1), 0);
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0].text, "Failed to write file");
}

TEST(ReadTextLine, LineEnds) {
  TempFolder dir;
  auto readAll = [&](const std::string& contents, size_t maximum) {
    WriteWholeFile(dir.path() + "lines.txt", contents);
    HANDLE f = CreateFileA((dir.path() + "lines.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    std::vector<std::string> lines;
    for (std::string line; ReadTextLine(line, maximum, f);) lines.push_back(line);
    CloseHandle(f);
    return lines;
  };
  using Lines = std::vector<std::string>;
  EXPECT_EQ(readAll("/pub\r\n\r\n/pub/x\r\n", 260), (Lines{"/pub", "", "/pub/x"}));
  // An LF alone keeps the last character; a last line without line end is not lost.
  EXPECT_EQ(readAll("/pub\n/home\n/a\r\n/b", 260), (Lines{"/pub", "/home", "/a", "/b"}));
  // A line reaching the maximum stops the reading.
  EXPECT_EQ(readAll("12345\r\nnext\r\n", 5), Lines{});
  EXPECT_EQ(readAll("1234\r\nnext\r\n", 6), (Lines{"1234", "next"}));
}

TEST(WorkFolder, LeftoversAreNeverReusedAndDeleteRemovesEverything) {
  TempFolder base;
  CreateDirectoryA((base.path() + "vakotmp0").c_str(), nullptr);
  bool own = false;
  std::string work = CreateWorkFolderIn(base.path(), own);
  EXPECT_TRUE(own);
  EXPECT_EQ(work, base.path() + "vakotmp1\\");
  EXPECT_EQ(CreateWorkFolderIn(base.path(), own), base.path() + "vakotmp2\\");  // a second run
  CreateDirectoryA((work + "sub").c_str(), nullptr);
  WriteWholeFile(work + "sub\\temp.dat", "data");
  DeleteWorkFolder(work);
  EXPECT_FALSE(FileExists(work));
  EXPECT_TRUE(FileExists(base.path()));
}

TEST(WorkFolder, AllNamesTakenFallsBackToTheBaseItself) {
  TempFolder base;
  for (int n = 0; n <= 999; ++n) CreateDirectoryA((base.path() + "vakotmp" + std::to_string(n)).c_str(), nullptr);
  bool own = true;
  EXPECT_EQ(CreateWorkFolderIn(base.path(), own), base.path());
  EXPECT_FALSE(own);
}

// Each operation's own sub-folder; with the temp folder itself standing in for the work
// folder, only those go at exit, never the entries beside them.
TEST(WorkFolder, SubFoldersOfOperationsAreRemovedAloneAndOnlyThey) {
  TempFolder base;
  WorkFolder = base.path();
  const std::string first = NewWorkSubFolder(), second = NewWorkSubFolder();
  ASSERT_FALSE(first.empty());
  EXPECT_NE(first, second);
  EXPECT_TRUE(PathLiesInside(WorkFolder, first + "a.txt"));
  EXPECT_FALSE(PathLiesInside(first, first + "x\\..\\..\\a.txt"));
  EXPECT_FALSE(PathLiesInside(first, first + ".."));
  WriteWholeFile(first + "a.txt", "a");
  WriteWholeFile(base.path() + "beside.txt", "beside");
  EXPECT_EQ(WorkSubFolderOf(first + "a.txt"), first);
  RemoveWorkSubFolder(base.path());  // not one of them
  RemoveWorkSubFolder(first + "..\\");
  EXPECT_TRUE(FileExists(first + "a.txt"));
  RemoveAllWorkSubFolders();
  EXPECT_FALSE(FileExists(first));
  EXPECT_FALSE(FileExists(second));
  EXPECT_EQ(ReadWholeFile(base.path() + "beside.txt"), "beside");
}
