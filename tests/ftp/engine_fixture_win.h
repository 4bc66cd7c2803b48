// Shared set-up of the engine's Wine tests: private work and program folders, the program
// state reset to defaults, message boxes recorded, status and progress watched.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <ostream>
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

// What the engine showed; onStatus lets a test act in the middle of a transfer (the status
// text is shown once per chunk that moved the bar).
struct DisplayLog {
  static inline std::vector<std::string> texts;
  static inline std::vector<int> positions;
  static inline std::function<void(const std::string&)> onStatus;
  static void Text(const std::string& text) {
    texts.push_back(text);
    if (onStatus) onStatus(text);
  }
  static void Position(int position) { positions.push_back(position); }
  static void Clear() {
    texts.clear();
    positions.clear();
    onStatus = nullptr;
  }
};

// Deterministic bytes that are not text: every value occurs, no run repeats soon.
inline std::string BinaryContent(size_t size, unsigned seed) {
  std::string data(size, '\0');
  unsigned x = seed * 2654435761u + 1;
  for (char& c : data) {
    x = x * 1103515245u + 12345u;
    c = static_cast<char>(x >> 23);
  }
  return data;
}

// A real server of the run (tests/support/with-servers), by the variables that tell where.
struct Server {
  const char* name;
  const char* portVariable;
  const char* rootVariable;
  bool chrooted;  // PWD shows "/" rather than the real folder
};
inline void PrintTo(const Server& server, std::ostream* out) { *out << server.name; }

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
    CurrentRemoteFolder.clear();
    ResourceTextBuffer = "Revieveing file %s ...";
    DisplayLog::Clear();
    SetEngineDisplayObservers(&DisplayLog::Text, &DisplayLog::Position);
  }

  void TearDown() override {
    CloseControlConnection();
    SetEngineDisplayObservers(nullptr, nullptr);
    DisplayLog::Clear();
  }

  int Login(int port, const std::string& password, const std::string& remoteFolder = "./",
            const char* address = "127.0.0.1") {
    CurrentHost.HostName = "testhost";
    CurrentHost.HostAddr = address;
    CurrentHost.Port = port;
    CurrentHost.UserID = testenv::Get("VAKO_FTP_USER");
    CurrentHost.UserPass = password;
    return ConnectAndLogin(remoteFolder, "");
  }
  // A scenario of tests/support/scripted_ftpd.py.
  int LoginTo(const char* scenario, int pasv = 0) {
    CurrentHost.Pasv = pasv;
    int port = testenv::ScriptedPort(scenario);
    EXPECT_GT(port, 0) << scenario;
    return Login(port, "secret");
  }
  // Asks for Stop once the bar has reached the percentage.
  void StopAt(int percent) {
    DisplayLog::onStatus = [percent](const std::string&) {
      if (DisplayLog::positions.back() >= percent) StopRequested = 1;
    };
  }

  // Commands after a failure or a stop get their own replies, in the folder where we were.
  void ExpectInStep(const std::string& folder, const std::string& sub = ".") {
    std::string now = "unset";
    EXPECT_EQ(GetRemoteFolder(now, 2048), 1);
    EXPECT_EQ(now, folder);
    EXPECT_EQ(ChangeRemoteFolder(sub), 1);
    EXPECT_EQ(ReplyBuffer.substr(0, 4), "250 ");
  }

  std::string Log() const { return ReadWholeFile(LogPath); }
  std::string Local(const std::string& name) const { return local.path() + name; }
  // A file or folder in the server's root, as this Windows program sees it.
  std::string OnServer(const std::string& name) const { return testenv::WinePath(root + "/" + name); }

  // The names in the local folder: what a transfer left there, temporary files included.
  std::vector<std::string> LocalNames() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((local.path() + "*").c_str(), &found);
    for (bool more = h != INVALID_HANDLE_VALUE; more; more = FindNextFileA(h, &found))
      if (found.cFileName[0] != '.') names.push_back(found.cFileName);
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
  std::string root;  // the server's folder, as a Unix path
};
