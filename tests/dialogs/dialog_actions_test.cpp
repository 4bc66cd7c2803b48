// What the dialog scripts cannot say: files dropped on Go to Folder, a dialog that cannot
// open, and the UNLHA32 library's own dialog over the sheet.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>

#include "app/app_state_win.h"
#include "config/change_permission_dialog_win.h"
#include "config/goto_folder_dialog_win.h"
#include "config/options_sheet_win.h"
#include "dialog_driver_win.h"
#include "resources/resource_ids.h"
#include "support/temp_folder_win.h"
#include "support/test_env.h"

namespace {

class DialogActions : public ::testing::Test {
 protected:
  void SetUp() override { SharedNameBuffer = "untouched"; }
  TempFolder temp_;
  StandInMainWindow main_{60, 40, 700, 500};
};

// A drop of the given paths as the shell hands it to a window.
HDROP MakeDrop(const std::vector<std::string>& paths) {
  std::string list;
  for (const std::string& p : paths) list += p + '\0';
  list += '\0';
  HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size());
  auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
  drop->pFiles = sizeof(DROPFILES);
  std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(), list.size());
  GlobalUnlock(block);
  return static_cast<HDROP>(block);
}

TEST_F(DialogActions, ADroppedFolderFillsGoToFolderWhateverItsAttributesButADroppedFileDoesNot) {
  std::string plain = temp_.path() + "plain", marked = temp_.path() + "marked", file = temp_.path() + "a.txt";
  CreateDirectoryA(plain.c_str(), nullptr);
  CreateDirectoryA(marked.c_str(), nullptr);
  SetFileAttributesA(marked.c_str(), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
  WriteWholeFile(file, "x");
  CurrentLocalFolder = temp_.path();
  DialogDriver driver({[&](HWND d) {
    // Only the first item counts; a file or a name that is gone leaves the field alone.
    const std::vector<std::pair<std::vector<std::string>, std::string>> drops = {
        {{plain}, plain}, {{marked}, marked}, {{file}, marked}, {{file, plain}, marked}, {{temp_.path() + "gone"}, marked}};
    for (const auto& [paths, shown] : drops) {
      SendMessageA(d, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(paths)), 0);
      EXPECT_EQ(ItemText(d, IDC_FOLDER_FIELD), shown) << paths[0];
    }
    Click(d, IDOK);
  }});
  EXPECT_EQ(ShowGoToFolderDialog(0), IDOK);
  EXPECT_EQ(SharedNameBuffer, marked);
  SetFileAttributesA(marked.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(DialogActions, ADialogThatCannotOpenCountsAsCancel) {
  // A resource module without dialog 177 makes the dialog fail to open.
  HINSTANCE saved = InstanceHandle;
  InstanceHandle = GetModuleHandleA("kernel32.dll");
  int answer = ShowChangePermissionDialog(main_.handle());
  InstanceHandle = saved;
  EXPECT_EQ(answer, IDCANCEL);
  EXPECT_EQ(SharedNameBuffer, "untouched");
}

TEST_F(DialogActions, TheLibraryButtonOpensTheLibrarysOwnDialogOverTheSheet) {
  ProgramFolder = temp_.path();
  const std::string library = testenv::WinePath(::testing::internal::GetArgvs().at(1));
  ASSERT_TRUE(CopyFileA(library.c_str(), (temp_.path() + "unlha32.dll").c_str(), FALSE)) << library;
  HWND sheetWindow = nullptr;
  std::string boxTitle;
  {
    DialogDriver driver({[&](HWND sheet) {
                           sheetWindow = sheet;
                           Click(ShowPage(sheet, 3), IDC_UNLHA_SETTINGS);  // returns once the box is answered
                           Click(sheet, IDOK);
                         },
                         [&](HWND box) {
                           boxTitle = Text(box);
                           EXPECT_EQ(GetAncestor(GetWindow(box, GW_OWNER), GA_ROOT), sheetWindow);
                           Click(box, IDOK);
                         }});
    EXPECT_EQ(ShowOptionsSheet(), IDOK);
  }
  ProgramFolder.clear();
  EXPECT_EQ(boxTitle, "UNLHA32.DLL");
}

}  // namespace
