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

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

void PumpFor(DWORD ms) {
  const DWORD start = GetTickCount();
  for (DWORD passed = 0; passed < ms; passed = GetTickCount() - start) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - passed, QS_ALLINPUT);
    Pump();
  }
}

// The engine's display: a status bar and a progress bar in a window of this thread.
class EngineDisplay : public ::testing::Test {
 protected:
  void SetUp() override { SetEngineDisplay(bar, progress); }
  void TearDown() override {
    SetEngineDisplay(nullptr, nullptr);
    DestroyWindow(parent);
  }
  std::string BarText() const {
    char text[256] = "";
    SendMessageA(bar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    return text;
  }
  int Position() const { return static_cast<int>(SendMessageA(progress, PBM_GETPOS, 0, 0)); }

  HWND parent = CreateWindowA("STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
  HWND bar = CreateWindowA(STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent, nullptr, nullptr, nullptr);
  HWND progress = CreateWindowA(PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 10, parent, nullptr, nullptr, nullptr);
};

TEST_F(EngineDisplay, TextsFromAnotherThreadNeverWaitForTheWindow) {
  HANDLE job = CreateThread(
      nullptr, 0,
      [](LPVOID) -> DWORD {
        for (int i = 0; i <= 1000; ++i) ShowStatusText("piece " + std::to_string(i));
        return 0;
      },
      nullptr, 0, nullptr);
  // This thread does not pump meanwhile: a sent message would never return.
  EXPECT_EQ(WaitForSingleObject(job, 10000), WAIT_OBJECT_0) << "the job's thread waited for the window";
  EXPECT_EQ(BarText(), "");
  while (WaitForSingleObject(job, 10) == WAIT_TIMEOUT) Pump();
  CloseHandle(job);
  Pump();
  EXPECT_EQ(BarText(), "piece 1000");

  std::thread([] { ShowStatusText("from the job"); }).join();
  ShowStatusText("from the window");
  Pump();
  EXPECT_EQ(BarText(), "from the window");
}

// Positions from a job's thread travel with the texts: the bar ends at the last one, even
// when many came in while the window's thread did not run, and the window's own later
// position wins over one still on its way. The thread's display keeps working after a
// pause in which nothing came.
TEST_F(EngineDisplay, PositionsFromAnotherThreadEndAtTheLatest) {
  std::thread([] {
    for (int i = 1; i <= 90; ++i) {
      SetProgressPosition(i);
      ShowStatusText("file " + std::to_string(i));
    }
    SetProgressPosition(0);
  }).join();
  Pump();
  EXPECT_EQ(Position(), 0);
  EXPECT_EQ(BarText(), "file 90");

  std::thread([] { SetProgressPosition(42); }).join();
  SetProgressPosition(7);
  Pump();
  EXPECT_EQ(Position(), 7);

  // Until the timer has seen nothing waiting, later values ride on it; after that, on a
  // message of their own. Either way they arrive.
  for (int round = 0; round < 3; ++round) {
    if (round > 0) PumpFor(500);  // long enough for the timer to find nothing and stop
    std::thread([round] { SetProgressPosition(50 + round); }).join();
    while (Position() != 50 + round &&
           MsgWaitForMultipleObjects(0, nullptr, FALSE, 10000, QS_ALLINPUT) == WAIT_OBJECT_0)
      Pump();
    EXPECT_EQ(Position(), 50 + round);
  }
}

}  // namespace
