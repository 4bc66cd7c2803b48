// The main window: its class, its child windows and their layout, and its procedure.
#pragma once
#include <windows.h>

#include <string>

#include "app/layout.h"
#include "jobs/job_events.h"  // MsgUpdateMenus and the messages of a job

// Private messages other parts and job threads send to MainWindow.
constexpr UINT MsgRefreshLocal = WM_USER + 1;
constexpr UINT MsgRefreshRemote = WM_USER + 2;
// The connect thread has ended: its outcome waits for the window (EndConnectAttempt).
constexpr UINT MsgConnectDone = WM_USER + 4;

// Control ids of the children.
constexpr int kLocalListId = 2000;
constexpr int kRemoteListId = 2100;
constexpr int kLocalTreeId = 2090;
constexpr int kRemoteTreeId = 2035;
constexpr int kLocalLabelId = 5001;
constexpr int kRemoteLabelId = 5000;
constexpr int kStatusBarId = 2020;
constexpr int kProgressBarId = 5002;
constexpr int kToolbarId = 2031;

// Child windows, owned by the main window.
extern HWND LocalLabel, RemoteLabel, LocalList, RemoteList, LocalTree, RemoteTree;
extern HWND StatusBar, ProgressBar, Toolbar;
extern int ToolbarHeight;  // 32 while the toolbar is shown, 0 while hidden
extern int ActivePane;     // 0 local, 1 remote
extern HMENU MainMenu;
extern std::string LocalStartFolder, RemoteStartFolder;  // start folders of the next connection
extern int StartMaximized;  // the window was closed maximized: it opens so again
extern HCURSOR SplitCursorVertical, SplitCursorHorizontal;

ATOM RegisterMainWindowClass(HINSTANCE instance);
HWND CreateMainWindow(HINSTANCE instance);
LRESULT CALLBACK MainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The layout settings with a client size, and the children placed for it.
LayoutInput LayoutInputOf(int width, int height);
void LayoutPanes(int width, int height);
void LayoutPanesNow();  // for the current client size
