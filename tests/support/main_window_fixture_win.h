// The main window made in this process (the code and resources of vako.exe), on private
// program, work and local folders, with the program state reset and message boxes recorded.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <string>

#include "app/app_state_win.h"
#include "app/local_listing_win.h"
#include "app/main_window_win.h"
#include "ftp/control_connection_win.h"
#include "support/message_box_recorder_win.h"
#include "support/temp_folder_win.h"

class MainWindowFixture : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    InstanceHandle = GetModuleHandleA(nullptr);
    OleInitialize(nullptr);
    ASSERT_EQ(StartSockets(), 1);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    RegisterMainWindowClass(InstanceHandle);
  }

  void SetUp() override {
    ProgramFolder = program.path();
    WorkFolder = work.path();
    LogPath = WorkFolder + "ftplog.txt";
    Connected = JobRunning = ArchiveMode = 0;
    ToolbarHeight = 32;
    TransferMode = 2;
  }

  // Opens the window on a vako.ini that starts in the local folder, SETTINGS added.
  void Open(const std::string& settings = "") {
    WriteWholeFile(program.path() + "vako.ini", "[Vako]\r\nInitialLocalFolder=" + local.path() + "\r\n" + settings);
    window = CreateMainWindow(InstanceHandle);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
  }

  void TearDown() override {
    if (window) DestroyWindow(window);
    if (Connected) CloseControlConnection();
    Connected = JobRunning = ArchiveMode = 0;
    for (MSG m; PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE);) {
    }
  }

  TempFolder program, work, local;
  MessageBoxRecorder boxes;
  HWND window = nullptr;
};
