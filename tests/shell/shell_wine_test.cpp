// The shell integration in the main window made in this process (the code and resources of
// vako.exe): each right-click menu as a real right click opens it, with its entries and
// states, in the edition of the system's language; the drop sources' answers for chosen
// key states and cursor places (Wine carries out no drag between programs, so the sources
// are asked directly, as the system would ask them); remote entries refused while a job runs.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "app/app_state_win.h"
#include "app/list_rows_win.h"
#include "app/local_listing_win.h"
#include "app/main_window_win.h"
#include "app/string_table_win.h"
#include "config/options.h"
#include "ftp/control_connection_win.h"
#include "resources/resource_ids.h"
#include "shell/clipboard_copy_win.h"
#include "shell/context_menus_win.h"
#include "shell/drag_out_win.h"
#include "shell/drop_sources_win.h"
#include "support/message_box_recorder_win.h"
#include "support/temp_folder_win.h"
#include "support/test_env.h"

namespace {

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

bool Japanese() { return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE; }

std::string Utf8(const wchar_t* text) {
  char out[1024] = "";
  WideCharToMultiByte(CP_UTF8, 0, text, -1, out, sizeof out, nullptr, nullptr);
  return out;
}

// One entry of a shown menu: "label" for a command (with "#id"), "label>" for a submenu,
// "-" for a separator, and "(grayed)" or "(checked)" after it.
std::vector<std::string> Entries(HMENU menu) {
  std::vector<std::string> entries;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW info{};
    wchar_t label[256] = L"";
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_STATE | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = label;
    info.cch = 255;
    GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
    if (info.fType & MFT_SEPARATOR) {
      entries.push_back("-");
      continue;
    }
    std::string entry = Utf8(label) + (info.hSubMenu ? ">" : " #" + std::to_string(info.wID));
    if (info.fState & MFS_GRAYED) entry += " (grayed)";
    if (info.fState & MFS_CHECKED) entry += " (checked)";
    entries.push_back(entry);
  }
  return entries;
}

std::vector<std::string> Shown;  // the entries of the menus opened, in order
std::vector<std::vector<std::string>> ShownSubmenus;
WNDPROC MainProcedure = nullptr;

LRESULT CALLBACK RecordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if ((message == WM_INITMENUPOPUP && !HIWORD(lParam) && LOWORD(lParam) == 0 && Shown.empty())) {
    HMENU menu = reinterpret_cast<HMENU>(wParam);
    Shown = Entries(menu);
    ShownSubmenus.clear();
    for (int i = 0; i < GetMenuItemCount(menu); ++i)
      if (HMENU sub = GetSubMenu(menu, i)) ShownSubmenus.push_back(Entries(sub));
    EndMenu();
  }
  return CallWindowProcA(MainProcedure, window, message, wParam, lParam);
}

void Pump(const std::function<bool()>& done) {
  const DWORD start = GetTickCount();
  while (!done() && GetTickCount() - start < 20000) {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

class ShellTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    InstanceHandle = GetModuleHandleA(nullptr);
    OleInitialize(nullptr);
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
    ToolbarHeight = 32;
    TransferMode = 2;
    for (const char* name : {"page.SHTML", "page.txt", "data.zip"}) {
      HANDLE f = CreateFileA((local.path() + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
      CloseHandle(f);
    }
    const std::string ini = "[Vako]\r\nInitialLocalFolder=" + local.path() + "\r\nLocalListType=40004\r\nRemoteListType=40004\r\n";
    HANDLE f = CreateFileA((program.path() + "vako.ini").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written;
    WriteFile(f, ini.data(), static_cast<DWORD>(ini.size()), &written, nullptr);
    CloseHandle(f);
    window = CreateMainWindow(InstanceHandle);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    MoveWindow(window, 0, 0, 1000, 700, TRUE);  // room for every row in both editions
    SetForegroundWindow(window);
    UpdateWindow(window);
    EnterLocalFolder(local.path());
    RefreshLocalList(LocalList);
    MainProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingProcedure)));
    // Remote rows as a listing would give them: the parent, a folder and a file.
    ListRow parent, folder, file;
    parent.texts.column[0] = "..";
    parent.texts.column[1] = "   ";
    parent.key = 3000;
    folder.texts.column[0] = "pub";
    folder.texts.column[1] = "   ";
    folder.key = 3001;
    file.texts.column[0] = "a.txt";
    file.texts.column[1] = "5";
    file.key = 3002;
    FillListRows(RemoteList, {parent, folder, file}, nullptr);
  }

  void TearDown() override {
    if (window) DestroyWindow(window);
    Connected = 0;
    JobRunning = 0;
    ArchiveMode = 0;
  }

  // A right click at a point of the list (client coordinates); the entries of the menu it
  // opened, or none.
  // Posts the button's messages as the mouse would bring them, the cursor put there first
  // (the list reads the place of the click from it).
  static void PostRightClick(HWND list, POINT at) {
    POINT screen = at;
    ClientToScreen(list, &screen);
    PlaceCursor(screen);
    PostMessageA(list, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(at.x, at.y));
    PostMessageA(list, WM_RBUTTONUP, 0, MAKELPARAM(at.x, at.y));
  }

  // A right click at a point of the list (client coordinates); the entries of the menu it
  // opened.
  std::vector<std::string> RightClick(HWND list, POINT at) {
    Shown.clear();
    PostRightClick(list, at);
    Pump([] { return !Shown.empty(); });
    return Shown;
  }

  POINT RowPoint(HWND list, const std::string& name) {
    for (int row = 0; row < ListRowCount(list); ++row) {
      if (ListRowText(list, row, 0) != name) continue;
      RECT r{};
      r.left = LVIR_LABEL;
      SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&r));
      return POINT{r.left + 5, (r.top + r.bottom) / 2};
    }
    ADD_FAILURE() << "no row " << name;
    return POINT{0, 0};
  }

  static POINT EmptyArea(HWND list) {
    RECT r;
    GetClientRect(list, &r);
    return POINT{r.right - 20, r.bottom - 20};
  }

  const char* T(const char* english, const char* japanese) { return Japanese() ? japanese : english; }

  TempFolder program, work, local;
  MessageBoxRecorder boxes;
  HWND window = nullptr;
};

TEST_F(ShellTest, LocalMenusOpenOnTheRightClickWithTheirEntriesAndStates) {
  std::vector<std::string> area = RightClick(LocalList, EmptyArea(LocalList));
  ASSERT_FALSE(area.empty());
  EXPECT_EQ(area, (std::vector<std::string>{T("New>", "新規作成>"), "-",
                                            T("&Previous Folder #40019", "前のフォルダ(&P) #40019"),
                                            T("&Go to Folder... #40011", "フォルダへ移動(&G)... #40011"), "-",
                                            T("View>", "表示>"), "-", T("Select &All #40090", "すべて選択(&A) #40090"),
                                            T("&Refresh #40018", "最新の情報に更新(&R) #40018"), "-",
                                            T("&Options... #40078", "オプション(&O)... #40078")}));
  ASSERT_EQ(ShownSubmenus.size(), 2u);
  EXPECT_EQ(ShownSubmenus[0].back(), T("F&avorite #40092 (grayed)", "お気に入り(&A) #40092 (grayed)"));
  EXPECT_EQ(ShownSubmenus[1][3], T("&Detials #40004 (checked)", "詳細(&D) #40004 (checked)"));

  // A local item: the program's entries, "&Link Analyzer..." for a page, then the shell's menu.
  const std::vector<std::string> page = RightClick(LocalList, RowPoint(LocalList, "page.SHTML"));
  ASSERT_GE(page.size(), 4u);
  EXPECT_EQ(page[0], T("&Upload #40009 (grayed)", "アップロード(&U) #40009 (grayed)"));  // not connected
  EXPECT_EQ(page[page.size() - 3], T("&Link Analyzer... #40094", "リンク解析(&L)... #40094"));
  EXPECT_EQ(page.back(), "エクスプローラ>");
  EXPECT_FALSE(ShownSubmenus.back().empty());  // the shell filled it
  EXPECT_EQ(SharedNameBuffer, "page.SHTML");

  const std::vector<std::string> text = RightClick(LocalList, RowPoint(LocalList, "page.txt"));
  EXPECT_EQ(text.size(), page.size() - 2);  // neither test extract nor link analyzer
  const std::vector<std::string> zip = RightClick(LocalList, RowPoint(LocalList, "data.zip"));
  ASSERT_GE(zip.size(), 3u);
  EXPECT_EQ(zip[zip.size() - 3], T("&Test Extract #40093", "テスト解凍(&T) #40093"));

  // While a job runs.
  JobRunning = 1;
  area = RightClick(LocalList, EmptyArea(LocalList));
  ASSERT_EQ(area.size(), 11u);
  EXPECT_EQ(area[2], T("&Previous Folder #40019 (grayed)", "前のフォルダ(&P) #40019 (grayed)"));
  EXPECT_EQ(area.back(), T("&Options... #40078 (grayed)", "オプション(&O)... #40078 (grayed)"));
  const std::vector<std::string> busy = RightClick(LocalList, RowPoint(LocalList, "page.txt"));
  ASSERT_EQ(busy.size(), text.size());
  EXPECT_EQ(busy[busy.size() - 4], T("&Delete #40013 (grayed)", "削除(&D) #40013 (grayed)"));
  EXPECT_EQ(busy[busy.size() - 3], T("&Rename #40014 (grayed)", "名前の変更(&R) #40014 (grayed)"));
}

TEST_F(ShellTest, ArchiveModeShowsItsOwnMenuOnTheEmptyAreaAndNoneOnAMember) {
  ArchiveMode = 1;
  // A member is no file of the folder: no menu, so the next one seen is the empty area's.
  Shown.clear();
  PostRightClick(LocalList, RowPoint(LocalList, "page.txt"));
  const std::vector<std::string> area = RightClick(LocalList, EmptyArea(LocalList));
  EXPECT_EQ(area, (std::vector<std::string>{T("New>", "新規作成>"), "-",
                                            T("Compress &Files... #40084", "ファイルを圧縮(&F)... #40084"),
                                            T("Co&mpress Folder... #40085", "フォルダを圧縮(&M)... #40085"),
                                            T("&Extract... #40086", "解凍(&E)... #40086"), "-",
                                            T("&Close Archive File #40019", "圧縮ファイルを閉じる(&C) #40019"), "-",
                                            T("View>", "表示>"), "-", T("&Options... #40078", "オプション(&O)... #40078")}));
  ASSERT_EQ(ShownSubmenus.size(), 2u);
  EXPECT_EQ(ShownSubmenus[0][0], T("&Folder #40012 (grayed)", "フォルダ(&F) #40012 (grayed)"));
  EXPECT_EQ(ShownSubmenus[0][2], T("F&avorite #40099 (grayed)", "お気に入り(&A) #40099 (grayed)"));
}

TEST_F(ShellTest, RemoteMenusFollowTheParentRowTheConnectionAndARunningJob) {
  const std::vector<std::string> parent = RightClick(RemoteList, RowPoint(RemoteList, ".."));
  EXPECT_EQ(parent, (std::vector<std::string>{T("Do&wnload #40010 (grayed)", "ダウンロード(&W) #40010 (grayed)"), "-",
                                              T("&Open #40104", "開く(&O) #40104"), "-", T("&Copy #40095", "コピー(&C) #40095"),
                                              "-", T("&Delete #40013", "削除(&D) #40013"),
                                              T("&Rename #40014", "名前の変更(&R) #40014"), "-",
                                              T("Change &Attributes #40096", "属性の変更(&A) #40096")}));
  const std::vector<std::string> file = RightClick(RemoteList, RowPoint(RemoteList, "a.txt"));
  ASSERT_EQ(file.size(), parent.size());
  EXPECT_EQ(file[0], T("Do&wnload #40010", "ダウンロード(&W) #40010"));

  std::vector<std::string> area = RightClick(RemoteList, EmptyArea(RemoteList));
  EXPECT_EQ(area, (std::vector<std::string>{T("New>", "新規作成>"), "-",
                                            T("&Previous Folder #40019 (grayed)", "前のフォルダ(&P) #40019 (grayed)"),
                                            T("&Go to Folder... #40011 (grayed)", "フォルダへ移動(&G)... #40011 (grayed)"), "-",
                                            T("View>", "表示>"), "-",
                                            T("&Add to Favorites... #40053 (grayed)", "お気に入りに追加(&A)... #40053 (grayed)"), "-",
                                            T("&Select All #40090", "すべて選択(&S) #40090"),
                                            T("&Refresh #40018", "最新の情報に更新(&R) #40018"), "-",
                                            T("&Options... #40078", "オプション(&O)... #40078")}));
  ASSERT_EQ(ShownSubmenus.size(), 2u);
  EXPECT_EQ(ShownSubmenus[0][0], T("&Folder #40012 (grayed)", "フォルダ(&F) #40012 (grayed)"));
  EXPECT_EQ(ShownSubmenus[1][3], T("&Details #40004 (checked)", "詳細(&D) #40004 (checked)"));

  Connected = 1;
  JobRunning = 1;
  area = RightClick(RemoteList, EmptyArea(RemoteList));
  ASSERT_EQ(area.size(), 13u);
  EXPECT_EQ(area[7], T("&Add to Favorites... #40053", "お気に入りに追加(&A)... #40053"));
  EXPECT_EQ(area.back(), T("&Options... #40078 (grayed)", "オプション(&O)... #40078 (grayed)"));
  const std::vector<std::string> busy = RightClick(RemoteList, RowPoint(RemoteList, "a.txt"));
  ASSERT_EQ(busy.size(), parent.size());
  EXPECT_EQ(busy[0], T("Do&wnload #40010 (grayed)", "ダウンロード(&W) #40010 (grayed)"));
  EXPECT_EQ(busy[6], T("&Delete #40013 (grayed)", "削除(&D) #40013 (grayed)"));
  EXPECT_EQ(busy[7], T("&Rename #40014 (grayed)", "名前の変更(&R) #40014 (grayed)"));
}

TEST_F(ShellTest, TheLinkListMenuHasItsOneEntry) {
  Shown.clear();
  ShowContextMenu(window, POINT{50, 50}, IDR_LINK_LIST_MENU);
  EXPECT_EQ(Shown, (std::vector<std::string>{T("&Open URL #40103", "URL を開く(&O) #40103")}));
}

// The system asks a drop source with the Escape and button states; the cursor is where the
// test puts it.
HRESULT Ask(IDropSource* source, BOOL escape, DWORD keys, POINT screen) {
  PlaceCursor(screen);
  return source->QueryContinueDrag(escape, keys);
}

POINT Middle(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

TEST_F(ShellTest, DropSourcesAnswerForKeysAndCursorPlaces) {
  const POINT local = Middle(LocalList), remote = Middle(RemoteList);
  RECT r;
  GetWindowRect(RemoteList, &r);
  const POINT remoteEdge{r.left, (r.top + r.bottom) / 2};
  POINT outside{0, 0};  // the desktop's corner, outside the window
  int downloads = 0;
  bool arrived = true;
  IDropSource* fromRemote = new RemoteDropSource([&] {
    ++downloads;
    return arrived;
  });
  EXPECT_EQ(Ask(fromRemote, TRUE, MK_LBUTTON, outside), DRAGDROP_S_CANCEL);
  EXPECT_EQ(Ask(fromRemote, FALSE, MK_LBUTTON, outside), S_OK);
  EXPECT_EQ(Ask(fromRemote, FALSE, MK_RBUTTON, local), S_OK);
  EXPECT_EQ(Ask(fromRemote, FALSE, 0, remote), DRAGDROP_S_CANCEL);
  EXPECT_EQ(downloads, 0);  // nothing is downloaded for a drop back onto the remote list
  EXPECT_EQ(Ask(fromRemote, FALSE, 0, local), DRAGDROP_S_DROP);
  EXPECT_EQ(Ask(fromRemote, FALSE, 0, remoteEdge), DRAGDROP_S_DROP);
  EXPECT_EQ(downloads, 2);
  arrived = false;  // an entry that did not arrive is never dropped as its placeholder
  EXPECT_EQ(Ask(fromRemote, FALSE, 0, outside), DRAGDROP_S_CANCEL);
  EXPECT_EQ(downloads, 3);

  IDropSource* fromLocal = new LocalDropSource();
  EXPECT_EQ(Ask(fromLocal, TRUE, 0, outside), DRAGDROP_S_CANCEL);
  EXPECT_EQ(Ask(fromLocal, FALSE, MK_LBUTTON, remote), S_OK);
  EXPECT_EQ(Ask(fromLocal, FALSE, 0, local), DRAGDROP_S_CANCEL);
  EXPECT_EQ(Ask(fromLocal, FALSE, 0, remote), DRAGDROP_S_DROP);
  EXPECT_EQ(Ask(fromLocal, FALSE, 0, outside), DRAGDROP_S_DROP);

  int extractions = 0;
  IDropSource* fromArchive = new LocalDropSource([&] {
    ++extractions;
    return arrived;
  });
  EXPECT_EQ(Ask(fromArchive, FALSE, 0, local), DRAGDROP_S_CANCEL);
  EXPECT_EQ(extractions, 0);
  arrived = true;
  EXPECT_EQ(Ask(fromArchive, FALSE, 0, remote), DRAGDROP_S_DROP);  // extracted before the drop job sends
  EXPECT_EQ(Ask(fromArchive, FALSE, 0, outside), DRAGDROP_S_DROP);
  EXPECT_EQ(extractions, 2);
  arrived = false;
  EXPECT_EQ(Ask(fromArchive, FALSE, 0, outside), DRAGDROP_S_CANCEL);

  // The base interface and the drop source's own; nothing else.
  void* same = nullptr;
  EXPECT_EQ(fromLocal->QueryInterface(IID_IUnknown, &same), S_OK);
  EXPECT_EQ(same, static_cast<void*>(fromLocal));
  EXPECT_EQ(fromLocal->Release(), 1u);
  void* other = &same;
  EXPECT_EQ(fromLocal->QueryInterface(IID_IDataObject, &other), E_NOINTERFACE);
  EXPECT_EQ(other, nullptr);
  EXPECT_EQ(fromLocal->GiveFeedback(DROPEFFECT_COPY), DRAGDROP_S_USEDEFAULTCURSORS);
  EXPECT_EQ(fromRemote->Release(), 0u);
  EXPECT_EQ(fromLocal->Release(), 0u);
  EXPECT_EQ(fromArchive->Release(), 0u);
}

TEST_F(ShellTest, RemoteEntriesAreRefusedWhileAJobRuns) {
  Connected = 1;
  JobRunning = 1;
  ActivePane = 1;
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
  EXPECT_EQ(GetFileAttributesA((WorkFolder + "a.txt").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
