// The main window: its class, its child windows and their layout, and its procedure.
#pragma once
#include <windows.h>

#include <string>

// Private messages other parts and job threads send to MainWindow.
constexpr UINT MsgRefreshLocal = WM_USER + 1;
constexpr UINT MsgRefreshRemote = WM_USER + 2;
constexpr UINT MsgUpdateMenus = WM_USER + 3;

// Child windows, owned by the main window.
extern HWND LocalLabel, RemoteLabel, LocalList, RemoteList, LocalTree, RemoteTree;
extern HWND StatusBar, ProgressBar, Toolbar;
extern int ToolbarHeight;  // 32 while the toolbar is shown, 0 while hidden
extern int ActivePane;     // 0 local, 1 remote
extern HMENU MainMenu;
extern std::string LocalStartFolder, RemoteStartFolder;  // start folders of the next connection

ATOM RegisterMainWindowClass(HINSTANCE instance);
HWND CreateMainWindow(HINSTANCE instance);
LRESULT CALLBACK MainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void LayoutPanes(int width, int height);
