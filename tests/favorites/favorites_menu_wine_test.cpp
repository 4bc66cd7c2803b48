// The Favorites menu of the main window made in this process, where the menu can be read:
// the entries at start, rebuilds, the 100-name limit, Add Favorites; and what connecting from
// a favorite file puts into the host profile, also when the settings sheet is cancelled.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <thread>

#include "app/app_state_win.h"
#include "app/main_window_win.h"
#include "config/favorites_win.h"
#include "config/host_profile.h"
#include "config/password.h"
#include "ftp/control_connection_win.h"
#include "resources/resource_ids.h"
#include "support/message_box_recorder_win.h"
#include "support/temp_folder_win.h"

namespace {

struct MenuEntry {
  std::string text;
  int id = 0;  // 0 for a pop-up
  std::vector<MenuEntry> entries;
  bool operator==(const MenuEntry& o) const { return text == o.text && id == o.id && entries == o.entries; }
};

std::vector<MenuEntry> ReadMenu(HMENU menu, int from) {
  std::vector<MenuEntry> out;
  for (int i = from; i < GetMenuItemCount(menu); ++i) {
    char text[256] = "";
    GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
    MenuEntry entry;
    entry.text = text;
    if (HMENU popup = GetSubMenu(menu, i))
      entry.entries = ReadMenu(popup, 0);
    else
      entry.id = static_cast<int>(GetMenuItemID(menu, i));
    out.push_back(entry);
  }
  return out;
}

std::string Text(int id) {
  char text[512] = "";
  LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(id), text, sizeof text);
  return text;
}

// Answers the next dialog this process opens over the main window (the settings sheet or
// Add Favorite) from a thread of its own while the main thread runs the dialog's loop.
class DialogAnswer {
 public:
  DialogAnswer(HWND owner, int button, const std::string& name = "") {
    thread_ = std::thread([=] {
      for (int i = 0; i < 400 && !done_; ++i) {
        HWND dialog = FindOwnedDialog(owner);
        if (dialog) {
          if (!name.empty()) SendMessageA(GetDlgItem(dialog, 1034), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
          PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
          answered_ = true;
          return;
        }
        Sleep(50);
      }
    });
  }
  ~DialogAnswer() {
    done_ = true;
    thread_.join();
  }
  bool answered() const { return answered_; }

 private:
  static HWND FindOwnedDialog(HWND owner) {
    struct Find {
      HWND owner, found;
    } find{owner, nullptr};
    EnumThreadWindows(
        GetWindowThreadProcessId(owner, nullptr),
        [](HWND w, LPARAM data) {
          auto* f = reinterpret_cast<Find*>(data);
          char name[32] = "";
          GetClassNameA(w, name, sizeof name);
          if (lstrcmpA(name, "#32770") == 0 && GetWindow(w, GW_OWNER) == f->owner && IsWindowVisible(w)) {
            f->found = w;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&find));
    return find.found;
  }
  std::thread thread_;
  std::atomic<bool> done_{false}, answered_{false};
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
    Connected = 0;
    JobRunning = 0;
    FavoriteNames.clear();
  }

  void Open() {
    WriteWholeFile(program.path() + "vako.ini", "[Vako]\r\nInitialLocalFolder=" + local.path() + "\r\nYesNo=0\r\n");
    window = CreateMainWindow(InstanceHandle);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
  }

  void TearDown() override {
    if (window) DestroyWindow(window);
    // The local folder is the process's current one: it could not be removed.
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    SetCurrentDirectoryA(temp);
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    }
  }

  std::vector<MenuEntry> Entries() const { return ReadMenu(GetSubMenu(MainMenu, 5), 4); }

  void Favorite(const std::string& name, const std::string& text = "[Vako]\r\nHostAddr=127.0.0.1\r\n") {
    WriteWholeFile(program.path() + name, text);
  }

  TempFolder program, work, local;
  HWND window = nullptr;
};

TEST_F(FavoritesMenuTest, PopupsFirstThenTheSortedNamesAndRebuildsDoNotPileUp) {
  Favorite("b.BOK");
  Favorite("A.BOK");
  Favorite("ftp.example.BOK");
  Favorite("notes.txt");
  ASSERT_TRUE(CreateDirectoryA((program.path() + "work").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA((program.path() + "vacant").c_str(), nullptr));
  Favorite("work\\w.BOK");
  Open();
  const std::vector<MenuEntry> start = Entries();
  ASSERT_EQ(start.size(), 5u);
  const MenuEntry vacant{"vacant", 0, {}};
  const MenuEntry work{"work", 0, {{"w", 20000, {}}}};
  EXPECT_TRUE((start[0] == vacant && start[1] == work) || (start[0] == work && start[1] == vacant));
  EXPECT_EQ(start[2], (MenuEntry{"A", 20001, {}}));
  EXPECT_EQ(start[3], (MenuEntry{"b", 20002, {}}));
  EXPECT_EQ(start[4], (MenuEntry{"ftp.example", 20003, {}}));
  EXPECT_EQ(ReadMenu(GetSubMenu(MainMenu, 5), 0).size(), 9u);  // the three fixed entries and the separator stay

  BuildFavoritesMenu();
  BuildFavoritesMenu();
  EXPECT_EQ(Entries(), start);
}

TEST_F(FavoritesMenuTest, AHundredNamesAtMostAndAddFavoritesThenSaysSo) {
  for (int i = 0; i < 150; ++i) Favorite("host" + std::to_string(1000 + i) + ".BOK");
  Open();
  const std::vector<MenuEntry> entries = Entries();
  ASSERT_EQ(entries.size(), 100u);
  EXPECT_EQ(entries.front().id, 20000);
  EXPECT_EQ(entries.back().id, 20099);
  EXPECT_EQ(FavoriteNames.size(), 100u);

  MessageBoxRecorder recorder;
  SendMessageA(window, WM_COMMAND, IDM_ADD_FAVORITE, 0);
  ASSERT_EQ(recorder.boxes().size(), 1u);
  EXPECT_EQ(recorder.boxes()[0].text, Text(IDS_FAVORITES_FULL));
  EXPECT_EQ(recorder.boxes()[0].style & MB_ICONINFORMATION, static_cast<unsigned>(MB_ICONINFORMATION));
  EXPECT_EQ(Entries().size(), 100u);
}

TEST_F(FavoritesMenuTest, AddFavoritesNamesTheFileAndListsIt) {
  Open();
  CurrentHost = HostProfile();
  CurrentHost.HostAddr = "ftp.example.org";
  CurrentHost.UserID = "me";
  CurrentHost.UserPass = "secret";
  CurrentHost.TimeLag = -60;
  CurrentRemoteFolder = "/home/me";
  for (const char* name : {"a/b:c", "x", "x", "x"}) {
    CurrentHost.HostName = name;
    DialogAnswer answer(window, IDOK, name);
    SendMessageA(window, WM_COMMAND, IDM_ADD_FAVORITE, 0);
  }
  std::vector<std::string> texts;
  for (const MenuEntry& entry : Entries()) texts.push_back(entry.text);
  EXPECT_EQ(texts, (std::vector<std::string>{"a_b_c", "x", "x0", "x1"}));
  const std::string file = program.path() + "x0.BOK";
  char value[256];
  GetPrivateProfileStringA("Vako", "UserPass", "", value, sizeof value, file.c_str());
  EXPECT_EQ(std::string(value), ScramblePassword("secret"));
  GetPrivateProfileStringA("Vako", "TimeLag", "", value, sizeof value, file.c_str());
  EXPECT_EQ(std::string(value), "-60");
  GetPrivateProfileStringA("Vako", "InitialRemoteFolder", "", value, sizeof value, file.c_str());
  EXPECT_EQ(std::string(value), "/home/me");
  GetPrivateProfileStringA("Vako", "HostName", "none", value, sizeof value, file.c_str());
  EXPECT_EQ(std::string(value), "none");

  // Cancel writes nothing.
  CurrentHost.HostName = "never";
  {
    DialogAnswer answer(window, IDCANCEL);
    SendMessageA(window, WM_COMMAND, IDM_ADD_FAVORITE, 0);
  }
  EXPECT_FALSE(FileExists(program.path() + "never.BOK"));
  EXPECT_EQ(Entries().size(), 4u);
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
  const HostProfile before = CurrentHost;
  const std::string path = program.path() + "other.BOK";
  Favorite("other.BOK", "[Vako]\r\nHostName=other\r\nHostAddr=127.0.0.9\r\niPort=99\r\n");
  MessageBoxRecorder recorder;
  {
    DialogAnswer answer(window, IDCANCEL);
    EXPECT_EQ(ConnectFromFavorite(path.c_str()), 0);
    EXPECT_TRUE(answer.answered());
  }
  EXPECT_EQ(CurrentHost.HostName, before.HostName);
  EXPECT_EQ(CurrentHost.HostAddr, before.HostAddr);
  EXPECT_EQ(CurrentHost.UserPass, before.UserPass);
  EXPECT_EQ(CurrentHost.Port, 2121);
  EXPECT_EQ(CurrentHost.Proxy.Proxy, 1);
  EXPECT_EQ(CurrentFavoritePath, "C:\\earlier.BOK");
  EXPECT_TRUE(recorder.boxes().empty());
}

TEST_F(FavoritesMenuTest, AFavoriteFileFillsTheProfileWithItsDefaults) {
  Open();
  // No port (21), only the older remote-folder key, a scrambled password.
  const std::string path = program.path() + "old.BOK";
  Favorite("old.BOK", "[Vako]\r\nHostAddr=127.0.0.1\r\nInitialRemortFolder=/pub\r\nUserPass=" +
                          ScramblePassword("pass word") + "\r\nTimeLag=-30\r\n");
  MessageBoxRecorder recorder;  // the login to port 21 may fail; its message is not the point
  {
    DialogAnswer answer(window, IDOK);
    ConnectFromFavorite(path.c_str());
  }
  EXPECT_EQ(CurrentHost.Port, 21);
  EXPECT_EQ(CurrentHost.InitialRemoteFolder, "/pub");
  EXPECT_EQ(CurrentHost.UserPass, "pass word");
  EXPECT_EQ(CurrentHost.TimeLag, -30);
  EXPECT_EQ(CurrentHost.HostName, "");
  EXPECT_EQ(CurrentFavoritePath, path);
  if (Connected) SendMessageA(window, WM_COMMAND, IDM_DISCONNECT, 0);

  Favorite("none.BOK", "[Vako]\r\nHostAddr=127.0.0.1\r\n");
  {
    DialogAnswer answer(window, IDCANCEL);
    ConnectFromFavorite((program.path() + "none.BOK").c_str());
  }
  EXPECT_EQ(CurrentHost.InitialRemoteFolder, "/pub");  // Cancel: as before
  {
    DialogAnswer answer(window, IDOK);
    ConnectFromFavorite((program.path() + "none.BOK").c_str());
  }
  EXPECT_EQ(CurrentHost.InitialRemoteFolder, "./");
  if (Connected) SendMessageA(window, WM_COMMAND, IDM_DISCONNECT, 0);
}

}  // namespace
