// The Favorites menu of the main window made in this process, where the menu can be read:
// the 100-name limit and Add Favorites then; and what connecting from a favorite file puts
// into the host profile, also when the settings sheet is cancelled.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <thread>

#include "app/app_state_win.h"
#include "app/main_window_win.h"
#include "app/string_table_win.h"
#include "config/favorites_win.h"
#include "config/host_profile.h"
#include "config/password.h"
#include "ftp/control_connection_win.h"
#include "resources/resource_ids.h"
#include "support/message_box_recorder_win.h"
#include "support/temp_folder_win.h"

namespace {

// Presses `button` on the next dialog the main window owns (the settings sheet), from a
// thread of its own while the main thread runs the dialog's loop.
class DialogAnswer {
 public:
  DialogAnswer(HWND owner, int button)
      : thread_([=] {
          for (int i = 0; i < 400 && !done_; ++i, Sleep(50)) {
            HWND dialog = nullptr;
            while ((dialog = FindWindowExA(nullptr, dialog, "#32770", nullptr)))
              if (GetWindow(dialog, GW_OWNER) == owner && IsWindowVisible(dialog)) break;
            if (!dialog) continue;
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
            return;
          }
        }) {}
  ~DialogAnswer() {
    done_ = true;
    thread_.join();
  }

 private:
  std::atomic<bool> done_{false};
  std::thread thread_;
};

class FavoritesMenuTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    InstanceHandle = GetModuleHandleA(nullptr);
    StartSockets();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    RegisterMainWindowClass(InstanceHandle);
  }

  void SetUp() override {
    ProgramFolder = program.path();
    WorkFolder = work.path();
    LogPath = WorkFolder + "ftplog.txt";
    Connected = JobRunning = 0;
    FavoriteNames.clear();
  }

  void Open() {
    WriteWholeFile(program.path() + "vako.ini", "[Vako]\r\nInitialLocalFolder=" + local.path() + "\r\nYesNo=0\r\n");
    window = CreateMainWindow(InstanceHandle);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
  }

  void TearDown() override {
    if (Connected) SendMessageA(window, WM_COMMAND, IDM_DISCONNECT, 0);
    if (window) DestroyWindow(window);
    // The local folder is the process's current one: it could not be removed.
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    SetCurrentDirectoryA(temp);
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    }
  }

  // Connects from a favorite file, the settings sheet closed with `button`.
  int Connect(const std::string& name, int button) {
    DialogAnswer answer(window, button);
    return ConnectFromFavorite((program.path() + name).c_str());
  }

  TempFolder program, work, local;
  HWND window = nullptr;
};

TEST_F(FavoritesMenuTest, AHundredNamesAtMostAndAddFavoritesThenSaysSo) {
  for (int i = 0; i < 150; ++i) WriteWholeFile(program.path() + "host" + std::to_string(1000 + i) + ".BOK", "[Vako]\r\n");
  Open();
  HMENU favorites = GetSubMenu(MainMenu, 5);
  ASSERT_EQ(GetMenuItemCount(favorites), 104);  // three fixed entries and a separator first
  EXPECT_EQ(GetMenuItemID(favorites, 4), 20000u);
  EXPECT_EQ(GetMenuItemID(favorites, 103), 20099u);
  EXPECT_EQ(FavoriteNames.size(), 100u);
  MessageBoxRecorder recorder;
  SendMessageA(window, WM_COMMAND, IDM_ADD_FAVORITE, 0);
  ASSERT_EQ(recorder.boxes().size(), 1u);
  EXPECT_EQ(recorder.boxes()[0].text, LoadResourceText(IDS_FAVORITES_FULL));
  EXPECT_EQ(recorder.boxes()[0].style & MB_ICONINFORMATION, static_cast<unsigned>(MB_ICONINFORMATION));
  BuildFavoritesMenu();  // a rebuild does not pile entries up
  EXPECT_EQ(GetMenuItemCount(favorites), 104);
}

TEST_F(FavoritesMenuTest, CancelOnTheSheetLeavesTheHostProfileAsItWas) {
  Open();
  CurrentHost = HostProfile();
  CurrentHost.HostName = "open host";
  CurrentHost.HostAddr = "10.1.2.3";
  CurrentHost.UserPass = "pw";
  CurrentHost.Port = 2121;
  CurrentHost.Proxy.Proxy = 1;
  CurrentFavoritePath = "C:\\earlier.BOK";
  WriteWholeFile(program.path() + "other.BOK", "[Vako]\r\nHostName=other\r\nHostAddr=127.0.0.9\r\niPort=99\r\n");
  MessageBoxRecorder recorder;
  EXPECT_EQ(Connect("other.BOK", IDCANCEL), 0);
  EXPECT_EQ(CurrentHost.HostName + " " + CurrentHost.HostAddr + " " + CurrentHost.UserPass, "open host 10.1.2.3 pw");
  EXPECT_EQ(CurrentHost.Port, 2121);
  EXPECT_EQ(CurrentHost.Proxy.Proxy, 1);
  EXPECT_EQ(CurrentFavoritePath, "C:\\earlier.BOK");
  EXPECT_TRUE(recorder.boxes().empty());
}

TEST_F(FavoritesMenuTest, AFavoriteFileFillsTheProfileWithItsDefaults) {
  Open();
  // No port (21), only the older remote-folder key, a scrambled password.
  WriteWholeFile(program.path() + "old.BOK", "[Vako]\r\nHostAddr=127.0.0.1\r\nInitialRemortFolder=/pub\r\nUserPass=" +
                                                 ScramblePassword("pass word") + "\r\nTimeLag=-30\r\n");
  WriteWholeFile(program.path() + "none.BOK", "[Vako]\r\nHostAddr=127.0.0.1\r\n");
  MessageBoxRecorder recorder;  // the login to port 21 may fail; its message is not the point
  Connect("old.BOK", IDOK);
  EXPECT_EQ(CurrentHost.Port, 21);
  EXPECT_EQ(CurrentHost.InitialRemoteFolder, "/pub");
  EXPECT_EQ(CurrentHost.UserPass, "pass word");
  EXPECT_EQ(CurrentHost.TimeLag, -30);
  EXPECT_EQ(CurrentHost.HostName, "");
  EXPECT_EQ(CurrentFavoritePath, program.path() + "old.BOK");
  if (Connected) SendMessageA(window, WM_COMMAND, IDM_DISCONNECT, 0);
  Connect("none.BOK", IDCANCEL);
  EXPECT_EQ(CurrentHost.InitialRemoteFolder, "/pub");  // Cancel: as before
  Connect("none.BOK", IDOK);
  EXPECT_EQ(CurrentHost.InitialRemoteFolder, "./");
}

}  // namespace
