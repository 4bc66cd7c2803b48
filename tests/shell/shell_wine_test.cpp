// The shell integration in the main window made in this process (the code and resources of
// vako.exe): each right-click menu as a real right click opens it (data/right_clicks.tsv),
// with its entries and states in the edition of the system's language (data/menus.tsv); the
// drop sources' answers for chosen key states and cursor places (Wine carries out no drag
// between programs, so the sources are asked directly, as the system would ask them); remote
// entries refused while a job runs.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "support/case_table.h"
#include "app/list_rows_win.h"
#include "app/local_listing_win.h"
#include "app/string_table_win.h"
#include "resources/resource_ids.h"
#include "shell/context_menus_win.h"
#include "shell/drag_out_win.h"
#include "shell/drop_sources_win.h"
#include "support/main_window_fixture_win.h"

namespace {

using Entries = std::vector<std::string>;

// Puts the cursor on a screen point. Wine's virtual desktop now and then drops a move that
// follows another closely, so the move is made again until the cursor is there.
void PlaceCursor(POINT screen) {
  for (int i = 0; i < 100; ++i) {
    SetCursorPos(screen.x, screen.y);
    Sleep(i == 0 ? 0 : 20);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    POINT now{};
    GetCursorPos(&now);
    if (now.x == screen.x && now.y == screen.y) return;
  }
  ADD_FAILURE() << "the cursor did not move to " << screen.x << "," << screen.y;
}

// One entry of a shown menu: "label #id" for a command, "label>" for a submenu, "-" for a
// separator, and " (grayed)" or " (checked)" after it. Read with the W functions: the
// Explorer submenu's title is Japanese in both editions.
Entries Read(HMENU menu) {
  Entries entries;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    MENUITEMINFOW info{};
    wchar_t label[256] = L"";
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_STATE | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = label;
    info.cch = 255;
    GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
    char text[1024] = "";
    WideCharToMultiByte(CP_UTF8, 0, label, -1, text, sizeof text, nullptr, nullptr);
    std::string entry = text + (info.hSubMenu ? ">" : " #" + std::to_string(info.wID));
    if (info.fType & MFT_SEPARATOR) entry = "-";
    else if (info.fState & MFS_GRAYED) entry += " (grayed)";
    if (info.fState & MFS_CHECKED) entry += " (checked)";
    entries.push_back(entry);
  }
  return entries;
}

std::vector<Entries> Shown;  // the menu opened and then each of its submenus
WNDPROC MainProcedure = nullptr;

LRESULT CALLBACK RecordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITMENUPOPUP && !HIWORD(lParam) && LOWORD(lParam) == 0 && Shown.empty()) {
    HMENU menu = reinterpret_cast<HMENU>(wParam);
    Shown.push_back(Read(menu));
    for (int i = 0; i < GetMenuItemCount(menu); ++i)
      if (HMENU sub = GetSubMenu(menu, i)) Shown.push_back(Read(sub));
    EndMenu();
  }
  return CallWindowProcA(MainProcedure, window, message, wParam, lParam);
}

void PumpUntilAMenuWasShown() {
  for (const DWORD start = GetTickCount(); Shown.empty() && GetTickCount() - start < 20000;) {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

class ShellTest : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    for (const char* name : {"page.SHTML", "page.txt", "data.zip"}) WriteWholeFile(local.path() + name, "");
    ASSERT_NO_FATAL_FAILURE(Open("LocalListType=40004\r\nRemoteListType=40004\r\n"));
    MoveWindow(window, 0, 0, 1000, 700, TRUE);  // room for every row in both editions
    SetForegroundWindow(window);
    UpdateWindow(window);
    EnterLocalFolder(local.path());
    RefreshLocalList(LocalList);
    MainProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingProcedure)));
    // Remote rows as a listing would give them: the parent, a folder and a file.
    std::vector<ListRow> rows(3);
    const char* const names[] = {"..", "pub", "a.txt"};
    for (int i = 0; i < 3; ++i) {
      rows[i].texts.column[0] = names[i];
      rows[i].texts.column[1] = i == 2 ? "5" : "   ";
      rows[i].key = 3000 + i;
    }
    FillListRows(RemoteList, rows, nullptr);
  }

  // Posts the button's messages as the mouse would bring them, the cursor put there first
  // (the list reads the place of the click from it). An empty name clicks the empty area.
  static void PostRightClick(HWND list, const std::string& name) {
    RECT r{};
    GetClientRect(list, &r);
    POINT at{r.right - 20, r.bottom - 20};
    for (int row = 0; row < ListRowCount(list) && !name.empty(); ++row) {
      if (ListRowText(list, row, 0) != name) continue;
      r.left = LVIR_LABEL;
      SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&r));
      at = POINT{r.left + 5, (r.top + r.bottom) / 2};
    }
    POINT screen = at;
    ClientToScreen(list, &screen);
    PlaceCursor(screen);
    PostMessageA(list, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(at.x, at.y));
    PostMessageA(list, WM_RBUTTONUP, 0, MAKELPARAM(at.x, at.y));
  }

  // On the split bar just right of the local list, in the main window's own area.
  static void PostRightClickBesideTheLocalList(HWND window) {
    RECT r{};
    GetWindowRect(LocalList, &r);
    POINT at{r.right, (r.top + r.bottom) / 2};
    PlaceCursor(at);
    ScreenToClient(window, &at);
    PostMessageA(window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(at.x, at.y));
    PostMessageA(window, WM_RBUTTONUP, 0, MAKELPARAM(at.x, at.y));
  }
};

TEST_F(ShellTest, EachRightClickOpensItsMenuWithItsEntriesAndStates) {
  // The expected menus: case, edition, then the menu's entries; "case>N" is its N-th
  // submenu, and "*" stands for a submenu the shell fills.
  const std::string edition = PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE ? "ja" : "en";
  std::map<std::string, Entries> expected;
  for (const Case& row : ReadCases("shell/data/menus.tsv"))
    if (row.size() > 2 && row[1] == edition) expected[row[0]].assign(row.begin() + 2, row.end());
  for (const Case& c : ReadCases("shell/data/right_clicks.tsv")) {
    ASSERT_EQ(c.size(), 6u);
    Connected = std::stoi(c[3]);
    JobRunning = std::stoi(c[4]);
    ArchiveMode = std::stoi(c[5]);
    Shown.clear();
    // In an archive a member is no file of the folder: no menu, so the next one seen is the
    // empty area's.
    if (ArchiveMode) PostRightClick(LocalList, "page.txt");
    if (c[1] == "K")
      ShowContextMenu(window, POINT{50, 50}, IDR_LINK_LIST_MENU);
    else if (c[1] == "W")
      PostRightClickBesideTheLocalList(window);
    else
      PostRightClick(c[1] == "L" ? LocalList : RemoteList, c[2]);
    PumpUntilAMenuWasShown();
    ASSERT_FALSE(Shown.empty()) << c[0];
    for (size_t i = 0; i < Shown.size(); ++i) {
      const std::string key = i ? c[0] + ">" + std::to_string(i) : c[0];
      if (expected[key] == Entries{"*"}) {
        EXPECT_FALSE(Shown[i].empty()) << key;
      } else if (!expected[key].empty() || i == 0) {
        EXPECT_EQ(Shown[i], expected[key]) << key;
      }
    }
  }
}

// The system asks a drop source with the Escape and button states (data/drop_asks.tsv); the
// cursor is where the test puts it.
TEST_F(ShellTest, DropSourcesAnswerForKeysAndCursorPlaces) {
  RECT l, r;
  GetWindowRect(LocalList, &l);
  GetWindowRect(RemoteList, &r);
  const std::map<std::string, POINT> places = {
      {"outside", {0, 0}}, {"local", {(l.left + l.right) / 2, (l.top + l.bottom) / 2}},
      {"remote", {(r.left + r.right) / 2, (r.top + r.bottom) / 2}}, {"remote-edge", {r.left, (r.top + r.bottom) / 2}}};
  int calls = 0;
  bool arrived = true;
  auto fetch = [&] {
    ++calls;
    return arrived;
  };
  std::map<std::string, IDropSource*> sources = {
      {"remote", new RemoteDropSource(fetch)}, {"local", new LocalDropSource()}, {"archive", new LocalDropSource(fetch)}};
  const std::map<std::string, DWORD> keys = {{"left", MK_LBUTTON}, {"right", MK_RBUTTON}, {"none", 0}};
  const std::map<std::string, HRESULT> answers = {{"cancel", DRAGDROP_S_CANCEL}, {"go-on", S_OK}, {"drop", DRAGDROP_S_DROP}};
  const std::vector<Case> asks = ReadCases("shell/data/drop_asks.tsv");
  for (const Case& a : asks) {
    arrived = a.at(4) == "1";
    PlaceCursor(places.at(a.at(3)));
    EXPECT_EQ(sources.at(a[0])->QueryContinueDrag(a[1] == "1", keys.at(a[2])), answers.at(a.at(5))) << case_table::Join(a, " ");
    EXPECT_EQ(calls, std::stoi(a.at(6))) << case_table::Join(a, " ");
  }
  EXPECT_GT(asks.size(), 10u);
  for (auto& [name, source] : sources) EXPECT_EQ(source->Release(), 0u) << name;
}

TEST_F(ShellTest, RemoteEntriesAreRefusedWhileAJobRuns) {
  Connected = JobRunning = ActivePane = 1;
  const DWORD before = GetClipboardSequenceNumber();
  LVITEMA selected{};
  selected.stateMask = selected.state = LVIS_SELECTED;
  SendMessageA(RemoteList, LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&selected));
  SendMessageA(window, WM_COMMAND, IDM_COPY, 0);
  BeginDragOut(RemoteList);
  ASSERT_EQ(boxes.boxes().size(), 2u);
  EXPECT_EQ(boxes.boxes()[0].text, LoadResourceText(IDS_SHELL_JOB_RUNNING));
  EXPECT_EQ(GetClipboardSequenceNumber(), before);
  // No placeholder was made for a download that cannot run.
  EXPECT_FALSE(FileExists(WorkFolder + "a.txt"));
}

}  // namespace
