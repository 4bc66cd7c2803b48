// Shared set-up of the engine's Wine tests: private work and program folders, the program
// state reset to defaults, message boxes recorded, status and progress watched.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/app_state_win.h"
#include "config/host_profile.h"
#include "config/options.h"
#include "ftp/control_connection_win.h"
#include "ftp/data_connection_win.h"
#include "ftp/engine_display_win.h"
#include "ftp/login_win.h"
#include "ftp/remote_commands_win.h"
#include "support/message_box_recorder_win.h"
#include "support/temp_folder_win.h"
#include "support/test_env.h"

// What the engine showed while a test ran; onStatus lets a test act in the middle of a
// transfer (the status text is shown once per chunk that moved the bar).
struct DisplayLog {
  static std::vector<std::string>& Texts() {
    static std::vector<std::string> texts;
    return texts;
  }
  static std::vector<int>& Positions() {
    static std::vector<int> positions;
    return positions;
  }
  static std::function<void(const std::string&)>& OnStatus() {
    static std::function<void(const std::string&)> hook;
    return hook;
  }
  static void Text(const std::string& text) {
    Texts().push_back(text);
    if (OnStatus()) OnStatus()(text);
  }
  static void Position(int position) { Positions().push_back(position); }
  static void Clear() {
    Texts().clear();
    Positions().clear();
    OnStatus() = nullptr;
  }
};

// The bytes done in a status line "<text> (<done>/<size> Byte)".
inline unsigned long long DoneInStatus(const std::string& text) {
  size_t open = text.rfind(" (");
  return open == std::string::npos ? 0 : std::strtoull(text.c_str() + open + 2, nullptr, 10);
}

class EngineTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_EQ(StartSockets(), 1); }

  void SetUp() override {
    WorkFolder = work.path();
    ProgramFolder = program.path();
    LogPath = WorkFolder + "ftplog.txt";
    Options = OptionsRecord();
    CurrentHost = HostProfile();
    Connected = 0;
    StopRequested = 0;
    ConnectedFromFavorite = 0;
    CurrentRemoteFolder.clear();
    ResourceTextBuffer = "Revieveing file %s ...";
    DisplayLog::Clear();
    SetEngineDisplayObservers(&DisplayLog::Text, &DisplayLog::Position);
  }

  void TearDown() override {
    CloseControlConnection();
    Connected = 0;
    SetEngineDisplayObservers(nullptr, nullptr);
    DisplayLog::Clear();
  }

  int Login(int port, const std::string& password, const std::string& remoteFolder = "./") {
    CurrentHost.HostName = "testhost";
    CurrentHost.HostAddr = "127.0.0.1";
    CurrentHost.Port = port;
    CurrentHost.UserID = testenv::Get("VAKO_FTP_USER");
    CurrentHost.UserPass = password;
    return ConnectAndLogin(remoteFolder, "");
  }

  std::string Log() const { return ReadWholeFile(LogPath); }
  std::string Local(const std::string& name) const { return local.path() + name; }

  // The names in the local folder: what a transfer left there, temporary files included.
  std::vector<std::string> LocalNames() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((local.path() + "*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
      std::string name = found.cFileName;
      if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(h, &found));
    FindClose(h);
    std::sort(names.begin(), names.end());
    return names;
  }

  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> texts;
    for (const RecordedBox& box : boxes.boxes()) texts.push_back(box.text);
    return texts;
  }

  TempFolder work, program, local;
  MessageBoxRecorder boxes;
};

// Deterministic bytes that are not text: every value occurs, no run repeats soon.
inline std::string BinaryContent(size_t size, unsigned seed) {
  std::string data(size, '\0');
  unsigned x = seed * 2654435761u + 1;
  for (size_t i = 0; i < size; ++i) {
    x = x * 1103515245u + 12345u;
    data[i] = static_cast<char>(x >> 23);
  }
  return data;
}

// Text with LF line ends only.
inline std::string TextContent(size_t lines) {
  std::string text;
  for (size_t i = 0; i < lines; ++i) text += "line " + std::to_string(i) + " of some text\n";
  return text;
}
