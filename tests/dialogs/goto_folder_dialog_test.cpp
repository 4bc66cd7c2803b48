// Go to Folder and the folder browser behind its "&Browse..." button.
#include <gtest/gtest.h>
#include <objbase.h>
#include <commctrl.h>
#include <shlobj.h>

#include <cstring>

#include "app/app_state_win.h"
#include "config/dialog_helpers_win.h"
#include "config/goto_folder_dialog_win.h"
#include "dialog_driver_win.h"
#include "resources/resource_ids.h"
#include "support/message_box_recorder_win.h"
#include "support/temp_folder_win.h"

namespace {

class GoToFolder : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { CoInitialize(nullptr); }  // the folder browser needs COM
  void SetUp() override {
    CurrentLocalFolder = temp_.path() + "local";
    CurrentRemoteFolder = "/pub/incoming";
    SharedNameBuffer = "untouched";
  }
  TempFolder temp_;
  StandInMainWindow main_{60, 40, 700, 500};
  MessageBoxRecorder boxes_;
};

// A drop of the given paths as the shell hands it to a window.
HDROP MakeDrop(const std::vector<std::string>& paths) {
  std::string list;
  for (const std::string& p : paths) list += p + '\0';
  list += '\0';
  HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size());
  auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = FALSE;
  std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(), list.size());
  GlobalUnlock(block);
  return static_cast<HDROP>(block);
}

TEST_F(GoToFolder, LocalSideOffersTheBrowserAndOkHandsTheTypedFolderOn) {
  DialogDriver driver({[&](HWND d) {
    EXPECT_EQ(Text(d), "Go to Folder");
    EXPECT_EQ(ItemText(d, IDC_FOLDER_FIELD), CurrentLocalFolder);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(d, IDC_BROWSE_FOLDER)));
    RECT m, r;
    GetWindowRect(main_.handle(), &m);
    GetWindowRect(d, &r);
    EXPECT_EQ(r.left, m.left + (m.right - m.left) / 2 - (r.right - r.left) / 2);
    EXPECT_EQ(r.top, m.top + (m.bottom - m.top) / 2 - (r.bottom - r.top) / 2);
    SaveScreenshot(d, "dialog-goto-folder-en");
    SetItemText(d, IDC_FOLDER_FIELD, "C:\\Windows");
    Click(d, IDOK);
  }});
  EXPECT_EQ(ShowGoToFolderDialog(0), IDOK);
  EXPECT_EQ(SharedNameBuffer, "C:\\Windows");
}

TEST_F(GoToFolder, RemoteSideShowsTheRemoteFolderWithoutBrowserAndCancelLeavesTheBufferAlone) {
  DialogDriver driver({[&](HWND d) {
    EXPECT_EQ(ItemText(d, IDC_FOLDER_FIELD), "/pub/incoming");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, IDC_BROWSE_FOLDER)));
    SetItemText(d, IDC_FOLDER_FIELD, "/tmp");
    Click(d, IDCANCEL);
  }});
  EXPECT_EQ(ShowGoToFolderDialog(1), IDCANCEL);
  EXPECT_EQ(SharedNameBuffer, "untouched");
}

TEST_F(GoToFolder, OkKeepsAtMost511Bytes) {
  DialogDriver driver({[&](HWND d) {
    SetItemText(d, IDC_FOLDER_FIELD, "/" + std::string(600, 'x'));
    Click(d, IDOK);
  }});
  EXPECT_EQ(ShowGoToFolderDialog(1), IDOK);
  EXPECT_EQ(SharedNameBuffer, "/" + std::string(510, 'x'));
}

TEST_F(GoToFolder, ADroppedFolderFillsTheFieldWhateverItsAttributesButADroppedFileDoesNot) {
  std::string plain = temp_.path() + "plain", marked = temp_.path() + "marked", file = temp_.path() + "a.txt";
  CreateDirectoryA(plain.c_str(), nullptr);
  CreateDirectoryA(marked.c_str(), nullptr);
  SetFileAttributesA(marked.c_str(), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
  WriteWholeFile(file, "x");
  DialogDriver driver({[&](HWND d) {
    SendMessageA(d, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({plain})), 0);
    EXPECT_EQ(ItemText(d, IDC_FOLDER_FIELD), plain);
    SendMessageA(d, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({marked})), 0);
    EXPECT_EQ(ItemText(d, IDC_FOLDER_FIELD), marked);
    SendMessageA(d, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({file})), 0);
    EXPECT_EQ(ItemText(d, IDC_FOLDER_FIELD), marked);
    // only the first item counts
    SendMessageA(d, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({file, plain})), 0);
    EXPECT_EQ(ItemText(d, IDC_FOLDER_FIELD), marked);
    SendMessageA(d, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({temp_.path() + "gone"})), 0);
    EXPECT_EQ(ItemText(d, IDC_FOLDER_FIELD), marked);
    Click(d, IDOK);
  }});
  EXPECT_EQ(ShowGoToFolderDialog(0), IDOK);
  EXPECT_EQ(SharedNameBuffer, marked);
  SetFileAttributesA(marked.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(GoToFolder, BrowseReplacesTheFieldWithTheChosenFolder) {
  std::string start = temp_.path() + "start", chosen = temp_.path() + "chosen";
  CreateDirectoryA(start.c_str(), nullptr);
  CreateDirectoryA(chosen.c_str(), nullptr);
  CurrentLocalFolder = start;
  bool chose = false;
  int answer;
  {
    DialogDriver driver({[&](HWND d) {
                           Click(d, IDC_BROWSE_FOLDER);  // runs the browser's script below
                           if (!chose) return Click(d, IDCANCEL);
                           EXPECT_EQ(ItemText(d, IDC_FOLDER_FIELD), chosen);
                           Click(d, IDOK);
                         },
                         ChooseInBrowser("Select folder that you want to move to", chosen, chose)});
    answer = ShowGoToFolderDialog(0);
  }
  if (!chose) GTEST_SKIP() << "Wine's folder browser took no selection this time";
  EXPECT_EQ(answer, IDOK);
  EXPECT_EQ(SharedNameBuffer, chosen);
}

TEST_F(GoToFolder, BrowserStartsOnTheGivenFolderAndCancelChangesNothing) {
  std::string start = temp_.path() + "start";
  CreateDirectoryA(start.c_str(), nullptr);
  std::string path = start;
  {
    // OK without touching the tree answers the folder it started on
    DialogDriver driver({[&](HWND b) {
      EXPECT_NE(FindChildWithText(b, "Pick one"), nullptr);
      Click(b, IDOK);
    }});
    EXPECT_EQ(BrowseForFolder(main_.handle(), "Pick one", path), 1);
  }
  EXPECT_EQ(_stricmp(path.c_str(), start.c_str()), 0) << path;
  path = "keep me";
  {
    DialogDriver driver({[&](HWND b) { Click(b, IDCANCEL); }});
    EXPECT_EQ(BrowseForFolder(main_.handle(), "Pick one", path), 0);
  }
  EXPECT_EQ(path, "keep me");
}

}  // namespace
