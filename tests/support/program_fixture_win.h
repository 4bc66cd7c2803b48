// Shared set-up of the end-to-end tests: the real vako.exe (the test's first argument)
// started in a program folder of its own with a prepared vako.ini and local folder, and the
// steps every such test repeats: connect, wait for rows and captions, answer the boxes.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "support/e2e_driver_win.h"
#include "support/temp_folder_win.h"
#include "support/test_env.h"

// The program's window parts.
struct Panes {
  HWND localList, remoteList, remoteTree, localLabel, remoteLabel;
};

// A string resource of this test program (linked with the program's resources), its "%s"
// replaced by the value when one is given.
inline std::string ResourceText(int id, const std::string& value = "") {
  char text[512] = "";
  LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(id), text, sizeof text);
  std::string s = text;
  const size_t at = s.find("%s");
  return at == std::string::npos || value.empty() ? s : s.replace(at, 2, value);
}

using Lines = std::vector<std::string>;

inline Lines Sorted(Lines texts) {
  std::sort(texts.begin(), texts.end());
  return texts;
}

// What a folder (ending in a backslash) holds, sorted: one line per entry, made by `line` of
// its path below the folder ("a/b/" for a folder) and its bytes (null for a folder); without
// one, the path itself.
using EntryLine = std::string (*)(const std::string& path, const std::string* data);
inline Lines FolderEntries(const std::string& folder, EntryLine line = nullptr, const std::string& prefix = "") {
  Lines lines;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return lines;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      const std::string path = prefix + name + "/";
      lines.push_back(line ? line(path, nullptr) : path);
      for (const std::string& inner : FolderEntries(folder + name + "\\", line, path)) lines.push_back(inner);
    } else {
      const std::string data = line ? ReadWholeFile(folder + name) : "";
      lines.push_back(line ? line(prefix + name, &data) : prefix + name);
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return Sorted(lines);
}

// Bytes of every value, the same for the same size.
inline std::string Noise(size_t size) {
  std::string data(size, '\0');
  uint32_t seed = 7;
  for (char& c : data) c = static_cast<char>((seed = seed * 1103515245u + 12345u) >> 23);
  return data;
}

// A word for /bin/sh made of any bytes (Shift-JIS names included): octal escapes through printf.
inline std::string ShellWord(const std::string& bytes) {
  std::string format;
  char octal[8];
  for (unsigned char b : bytes) {
    snprintf(octal, sizeof octal, "\\%03o", b);
    format += octal;
  }
  return "\"$(printf '" + format + "')\"";
}

class ProgramTest : public ::testing::Test {
 protected:
  // Every test ends with the program closing as the user closes it.
  void TearDown() override {
    if (vako && vako->started()) {
      EXPECT_EQ(vako->Close(), 0) << Boxes();
    }
  }

  // Starts the program with vako.ini made of the given lines, then the defaults of these
  // tests (the first of two equal keys counts): the local folder `local`, no questions.
  void Start(const std::vector<std::string>& settings, const std::string& arguments = "") {
    std::string ini = "[Vako]\r\n";
    for (const std::string& line : settings) ini += line + "\r\n";
    ini += "InitialLocalFolder=" + local.path() + "\r\nHostAddr=127.0.0.1\r\nUserID=" +
           testenv::Get("VAKO_FTP_USER") + "\r\nYesNo=0\r\nOK=0\r\n" + otherSections;
    WriteWholeFile(program.path() + "vako.ini", ini);
    Launch(arguments);
  }
  // Starts the program with the vako.ini its folder holds.
  void Launch(const std::string& arguments = "") {
    vako.reset(new VakoProcess(testenv::WinePath(::testing::internal::GetArgvs().at(1)), program.path(), arguments));
    ASSERT_TRUE(vako->started());
    ASSERT_NE(vako->WaitForMainWindow(), nullptr);
    panes = {vako->Child(2000), vako->Child(2100), vako->Child(2035), vako->Child(5001), vako->Child(5000)};
  }

  // Connects through the Connect dialog to the server whose port was in the settings.
  void Connect(const std::string& password = testenv::Get("VAKO_FTP_PASS")) {
    ASSERT_TRUE(vako->ConnectThroughDialog(testenv::Get("VAKO_FTP_USER"), password));
  }
  static std::string PortSetting(const char* server) { return "Port=" + testenv::Get(server); }

  // The texts of the open message boxes, for failure messages.
  std::string Boxes() {
    std::string texts;
    for (HWND box : WindowsOfProcess(vako->processId(), "#32770")) texts += " [" + VakoProcess::BoxText(box) + "]";
    return texts;
  }

  ::testing::AssertionResult WaitForCaption(HWND label, const std::string& text) {
    if (WaitUntil([&] { return WindowText(label) == text; })) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "caption \"" << WindowText(label) << "\", wanted \"" << text << "\";"
                                         << Boxes();
  }

  // Waits for the list to hold a row of that name (or, with present false, to lose it).
  bool WaitForRow(HWND list, const std::string& name, bool present = true) {
    return WaitUntil([&] { return (vako->RowOfName(list, name) >= 0) == present; });
  }

  // Renames the row in place.
  ::testing::AssertionResult RenameRow(HWND list, const std::string& from, const std::string& to) {
    if (!vako->BeginEdit(list, vako->RowOfName(list, from))) return ::testing::AssertionFailure() << "no edit of " << from;
    return TypeName(list, to);
  }
  // Ends the open in-place edit with the name; done once the list has a row of that name or a
  // message box (about a refused name) is open.
  ::testing::AssertionResult TypeName(HWND list, const std::string& name) {
    if (vako->FinishEdit(list, name) &&
        WaitUntil([&] { return vako->RowOfName(list, name) >= 0 || !Boxes().empty(); }))
      return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "no row " << name;
  }

  static int Host(const std::string& command) { return RunHostCommand(command); }

  void Refresh(int pane) {
    ASSERT_TRUE(vako->MakePaneActive(pane));
    ASSERT_TRUE(vako->SendCommand(IDM_REFRESH));
  }

  void DoubleClickRow(HWND list, const std::string& name) {
    int row = vako->RowOfName(list, name);
    ASSERT_GE(row, 0) << name;
    RECT r = vako->RowRect(list, row, LVIR_LABEL);
    vako->Click(list, POINT{r.left + 4, (r.top + r.bottom) / 2}, true);
  }

  // Makes the pane (0 local, 1 remote) active and selects the names in its list.
  void Select(int pane, const std::vector<std::string>& names) {
    ASSERT_TRUE(vako->MakePaneActive(pane));
    ASSERT_TRUE(vako->SelectNames(pane ? panes.remoteList : panes.localList, names));
  }

  // The message box the program shows next: its text, answered with OK.
  std::string AnswerBox(DWORD milliseconds = 20000) {
    HWND box = vako->WaitForDialog(milliseconds, VAKO_CAPTION);
    if (!box) return "<no box>";
    const std::string text = VakoProcess::BoxText(box);
    VakoProcess::PressButton(box, IDOK);
    WaitUntil([&] { return !IsWindow(box); });
    return text;
  }

  // Carries out the command (none for 0) and answers every message up to the completion
  // message; then waits until the job has ended. The texts in order.
  std::vector<std::string> Run(int command) {
    if (command) vako->PostCommand(command);
    std::vector<std::string> texts;
    const std::vector<std::string> ends = {ResourceText(IDS_COMPLETED_SEND), ResourceText(IDS_COMPLETED_RECEIVE),
                                           ResourceText(IDS_COMPLETED_DELETE), ResourceText(IDS_JOB_STOPPED),
                                           "<no box>"};
    do texts.push_back(AnswerBox(120000));
    while (std::find(ends.begin(), ends.end(), texts.back()) == ends.end());
    EXPECT_TRUE(WaitUntil([&] { return vako->ButtonState(IDM_PREVIOUS_FOLDER) != TBSTATE_INDETERMINATE; }, 60000));
    return texts;
  }

  TempFolder program, local;
  std::string otherSections;  // of vako.ini, after [Vako] ("[Certificates]\r\n...")
  std::unique_ptr<VakoProcess> vako;
  Panes panes{};
};
