#include "dialog_driver_win.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <prsht.h>

#include <cstring>

#include "app/app_state_win.h"

namespace {

struct DriverState {
  std::vector<DialogScript> scripts;
  size_t next = 0;
  std::vector<HWND> seen;
  UINT_PTR timer = 0;
  HWND closingSheet = nullptr;  // a sheet whose script pressed OK or Cancel
};
DriverState* Active = nullptr;

BOOL CALLBACK FindNew(HWND window, LPARAM found) {
  char name[16] = "";
  GetClassNameA(window, name, sizeof name);
  if (std::string(name) != "#32770" || !IsWindowVisible(window) || !IsWindowEnabled(window)) return TRUE;
  for (HWND old : Active->seen)
    if (old == window) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
  if (!Active) return;
  if (Active->closingSheet) {
    // The sheet's loop ends right after the message that ran its script.
    if (IsOpen(Active->closingSheet)) {
      ADD_FAILURE() << "a script left its property sheet open; cancelling it";
      PostMessageA(Active->closingSheet, WM_COMMAND, IDCANCEL, 0);
    }
    Active->closingSheet = nullptr;
  }
  if (Active->next >= Active->scripts.size()) return;
  HWND dialog = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindNew, reinterpret_cast<LPARAM>(&dialog));
  if (!dialog) return;
  Active->seen.push_back(dialog);
  DialogScript script = Active->scripts[Active->next++];
  script(dialog);
  if (IsPropertySheet(dialog)) {
    Active->closingSheet = dialog;
  } else if (IsOpen(dialog)) {
    ADD_FAILURE() << "a script left its dialog open; cancelling it";
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  }
}

}  // namespace

DialogDriver::DialogDriver(std::vector<DialogScript> scripts) {
  Active = new DriverState;
  Active->scripts = std::move(scripts);
  Active->timer = SetTimer(nullptr, 0, 20, Tick);
}

DialogDriver::~DialogDriver() {
  KillTimer(nullptr, Active->timer);
  EXPECT_EQ(Active->next, Active->scripts.size()) << "not every expected dialog appeared";
  delete Active;
  Active = nullptr;
}

void Click(HWND dialog, int id) {
  HWND button = GetDlgItem(dialog, id);
  ASSERT_NE(button, nullptr) << "no control " << id;
  ASSERT_TRUE(IsWindowEnabled(button)) << "control " << id << " is disabled";
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

std::string Text(HWND window) {
  int length = GetWindowTextLengthA(window);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  GetWindowTextA(window, &text[0], length + 1);
  text.resize(std::strlen(text.c_str()));
  return text;
}

std::string ItemText(HWND dialog, int id) { return Text(GetDlgItem(dialog, id)); }

bool IsOpen(HWND dialog) { return IsWindow(dialog) && IsWindowVisible(dialog); }

bool IsPropertySheet(HWND window) {
  return IsWindow(window) && FindWindowExA(window, nullptr, WC_TABCONTROLA, nullptr) != nullptr;
}

HWND ShowPage(HWND sheet, int index) {
  SendMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
  return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

std::vector<std::string> TabTitles(HWND sheet) {
  HWND tabs = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
  std::vector<std::string> titles;
  const int count = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    char text[128] = "";
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(tabs, TCM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    titles.push_back(text);
  }
  return titles;
}

HWND FindChildWithText(HWND parent, const std::string& text) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (Text(child) == text) return child;
    if (HWND inner = FindChildWithText(child, text)) return inner;
  }
  return nullptr;
}

StandInMainWindow::StandInMainWindow(int left, int top, int width, int height) {
  WNDCLASSA c{};
  c.lpfnWndProc = DefWindowProcA;
  c.hInstance = GetModuleHandleA(nullptr);
  c.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
  c.lpszClassName = "VakoDialogTestMain";
  RegisterClassA(&c);  // fails, harmlessly, once the class exists
  window_ = CreateWindowA("VakoDialogTestMain", "Vako FTP", WS_OVERLAPPEDWINDOW | WS_VISIBLE, left, top, width,
                          height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  MainWindow = window_;
}

StandInMainWindow::~StandInMainWindow() {
  MainWindow = nullptr;
  DestroyWindow(window_);
}

std::string InCodePage(const char* utf8) {
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8, -1, &wide[0], n);
  int m = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<size_t>(m), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, &text[0], m, nullptr, nullptr);
  text.resize(std::strlen(text.c_str()));
  return text;
}
