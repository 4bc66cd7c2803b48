// The work folder under the temporary folder: never an earlier run's, removed whole.
#include <gtest/gtest.h>

#include "app/work_folder_win.h"
#include "support/temp_folder_win.h"

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
