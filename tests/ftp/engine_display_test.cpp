// A status text set from a job's thread never waits for the window's thread; the bar shows
// the latest text once that thread runs, and a text the window's own thread sets afterwards
// is not overwritten by one still on its way.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <thread>

#include "ftp/engine_display_win.h"

namespace {

std::string BarText(HWND bar) {
  char text[256] = "";
  SendMessageA(bar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
  return text;
}

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

TEST(EngineDisplay, TextsFromAnotherThreadNeverWaitForTheWindow) {
  HWND parent = CreateWindowA("STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
  HWND bar = CreateWindowA(STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent, nullptr, nullptr, nullptr);
  ASSERT_NE(bar, nullptr);
  SetEngineDisplay(bar, nullptr);
  HANDLE job = CreateThread(
      nullptr, 0,
      [](LPVOID) -> DWORD {
        for (int i = 0; i <= 1000; ++i) ShowStatusText("piece " + std::to_string(i));
        return 0;
      },
      nullptr, 0, nullptr);
  // This thread does not pump meanwhile: a sent message would never return.
  EXPECT_EQ(WaitForSingleObject(job, 10000), WAIT_OBJECT_0) << "the job's thread waited for the window";
  EXPECT_EQ(BarText(bar), "");
  while (WaitForSingleObject(job, 10) == WAIT_TIMEOUT) Pump();
  CloseHandle(job);
  Pump();
  EXPECT_EQ(BarText(bar), "piece 1000");

  std::thread([] { ShowStatusText("from the job"); }).join();
  ShowStatusText("from the window");
  Pump();
  EXPECT_EQ(BarText(bar), "from the window");
  SetEngineDisplay(nullptr, nullptr);
  DestroyWindow(parent);
}

}  // namespace
