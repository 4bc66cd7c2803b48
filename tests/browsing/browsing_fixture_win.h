// Shared set-up of the end-to-end browsing and jobs tests: the real vako.exe started in a
// program folder of its own with a prepared vako.ini and local folder, and the vsftpd
// folder filled with the tree the browsing tests list.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "support/e2e_driver_win.h"
#include "support/temp_folder_win.h"
#include "support/test_env.h"

namespace browsing {

// The program's window parts.
struct Panes {
  HWND localList, remoteList, remoteTree, localLabel, remoteLabel;
};

class BrowsingTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const std::string script = testenv::Get("VAKO_SOURCE_DIR") + "/tests/browsing/make_server_tree.sh";
    ASSERT_EQ(RunHostCommand("sh '" + script + "' '" + testenv::Get("VAKO_VSFTPD_ROOT") + "' " + testenv::Get("VAKO_FTP_USER")), 0);
  }

  // Starts the program with vako.ini made of the given lines, then the defaults of these
  // tests (the first of two equal keys counts): the local folder `local`, no questions.
  void Start(const std::vector<std::string>& settings) {
    std::string ini = "[Vako]\r\n";
    for (const std::string& line : settings) ini += line + "\r\n";
    ini += "InitialLocalFolder=" + local.path() + "\r\nHostAddr=127.0.0.1\r\nUserID=" +
           testenv::Get("VAKO_FTP_USER") + "\r\nYesNo=0\r\nOK=0\r\n";
    WriteWholeFile(program.path() + "vako.ini", ini);
    vako.reset(new VakoProcess(testenv::WinePath(::testing::internal::GetArgvs().at(1)), program.path()));
    ASSERT_TRUE(vako->started());
    ASSERT_NE(vako->WaitForMainWindow(), nullptr);
    panes = {vako->Child(2000), vako->Child(2100), vako->Child(2035), vako->Child(5001), vako->Child(5000)};
  }

  // Connects through the Connect dialog to the server whose port was in the settings.
  void Connect(const std::string& password) {
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
    return vako->FinishEdit(list, to) ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << "edit of " << from;
  }

  void DoubleClickRow(HWND list, const std::string& name) {
    int row = vako->RowOfName(list, name);
    ASSERT_GE(row, 0) << name;
    RECT r = vako->RowRect(list, row, LVIR_LABEL);
    vako->Click(list, POINT{r.left + 4, (r.top + r.bottom) / 2}, true);
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

  TempFolder program, local;
  std::unique_ptr<VakoProcess> vako;
  Panes panes{};
};

}  // namespace browsing
