#include <gtest/gtest.h>

#include "app/work_folder_win.h"
#include "support/temp_folder_win.h"

TEST(WorkFolder, LeftoverFoldersAreNeverReused) {
  TempFolder base;
  CreateDirectoryA((base.path() + "vakotmp0").c_str(), nullptr);
  CreateDirectoryA((base.path() + "vakotmp1").c_str(), nullptr);
  bool own = false;
  std::string work = CreateWorkFolderIn(base.path(), own);
  EXPECT_TRUE(own);
  EXPECT_EQ(work, base.path() + "vakotmp2\\");
  EXPECT_TRUE(FileExists(work));
  // A second run at the same time takes the next number.
  EXPECT_EQ(CreateWorkFolderIn(base.path(), own), base.path() + "vakotmp3\\");
}

TEST(WorkFolder, AllNamesTakenFallsBackToTheBaseItself) {
  TempFolder base;
  for (int n = 0; n <= 999; ++n) CreateDirectoryA((base.path() + "vakotmp" + std::to_string(n)).c_str(), nullptr);
  bool own = true;
  EXPECT_EQ(CreateWorkFolderIn(base.path(), own), base.path());
  EXPECT_FALSE(own);
}

TEST(WorkFolder, DeleteRemovesEverythingInside) {
  TempFolder base;
  bool own = false;
  std::string work = CreateWorkFolderIn(base.path(), own);
  WriteWholeFile(work + "ftplog.txt", "USER x\r\n");
  CreateDirectoryA((work + "sub").c_str(), nullptr);
  WriteWholeFile(work + "sub\\temp.dat", "data");
  DeleteWorkFolder(work);
  EXPECT_FALSE(FileExists(work));
  EXPECT_TRUE(FileExists(base.path()));
}
