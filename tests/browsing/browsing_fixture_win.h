// Shared set-up of the end-to-end browsing tests: the real vako.exe started in a program
// folder of its own with a prepared vako.ini, a prepared local folder, and the loopback
// servers' folders filled with the tree the tests browse.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "support/e2e_driver_win.h"
#include "support/temp_folder_win.h"
#include "support/test_env.h"

namespace browsing {

inline std::string ProgramPath() { return testenv::WinePath(::testing::internal::GetArgvs().at(1)); }

// Where the screenshots of a run go (a host path under the build folder).
inline std::string ScreenshotPath(const std::string& name) {
  return testenv::Get("VAKO_BINARY_DIR") + "/screenshots/" + name + ".png";
}

// The program's window parts.
struct Panes {
  HWND localList, remoteList, localTree, remoteTree, localLabel, remoteLabel;
};

class BrowsingTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const std::string script = testenv::Get("VAKO_SOURCE_DIR") + "/tests/browsing/make_server_tree.sh";
    const std::string user = testenv::Get("VAKO_FTP_USER");
    ASSERT_EQ(RunHostCommand("sh '" + script + "' '" + testenv::Get("VAKO_VSFTPD_ROOT") + "' " + user + " sjis"), 0);
    ASSERT_EQ(RunHostCommand("sh '" + script + "' '" + testenv::Get("VAKO_PYFTPD_ROOT") + "' " + user), 0);
  }

  // Starts the program with vako.ini made of the given lines (after [Vako]); the local
  // start folder is `local`.
  void Start(const std::vector<std::string>& settings) {
    std::string ini = "[Vako]\r\nInitialLocalFolder=" + local.path() + "\r\nHostAddr=127.0.0.1\r\nUserID=" +
                      testenv::Get("VAKO_FTP_USER") + "\r\nYesNo=0\r\nOK=0\r\n";
    for (const std::string& line : settings) ini += line + "\r\n";
    WriteWholeFile(program.path() + "vako.ini", ini);
    vako.reset(new VakoProcess(ProgramPath(), program.path()));
    ASSERT_TRUE(vako->started());
    ASSERT_NE(vako->WaitForMainWindow(), nullptr);
    HWND w = vako->window();
    panes = {GetDlgItem(w, 2000), GetDlgItem(w, 2100), GetDlgItem(w, 2090),
             GetDlgItem(w, 2035), GetDlgItem(w, 5001), GetDlgItem(w, 5000)};
  }

  // Connects through the Connect dialog (F3) to the server whose port was in the settings.
  void Connect(const std::string& password) {
    vako->PostCommand(IDM_CONNECT);
    HWND dialog = vako->WaitForDialog(20000, DialogTitle());
    ASSERT_NE(dialog, nullptr);
    vako->SetItemText(dialog, IDC_HOST_ADDRESS, "127.0.0.1");
    vako->SetItemText(dialog, IDC_LOGIN_NAME, testenv::Get("VAKO_FTP_USER"));
    vako->SetItemText(dialog, IDC_PASSWORD, password);
    VakoProcess::PressButton(dialog, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
  }

  static std::string PortSetting(const char* server) { return "Port=" + testenv::Get(server); }

  virtual std::string DialogTitle() const { return "Connect"; }

  ::testing::AssertionResult WaitForCaption(HWND label, const std::string& text) {
    if (WaitUntil([&] { return WindowText(label) == text; })) return ::testing::AssertionSuccess();
    // What the screen showed goes with the failure.
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    VakoProcess::SaveScreenshot(ScreenshotPath(std::string("failed-") + test->name()));
    std::string boxes;
    for (HWND box : WindowsOfProcess(vako->processId(), "#32770"))
      boxes += " [" + WindowText(box) + ": " + VakoProcess::BoxText(box) + "]";
    return ::testing::AssertionFailure() << "caption \"" << WindowText(label) << "\", wanted \"" << text
                                         << "\"; open boxes:" << boxes;
  }

  // Waits for the list to hold a row of that name (or, with present false, to lose it).
  bool WaitForRow(HWND list, const std::string& name, bool present = true) {
    return WaitUntil([&] { return (vako->RowOfName(list, name) >= 0) == present; });
  }

  void DoubleClickRow(HWND list, const std::string& name) {
    int row = vako->RowOfName(list, name);
    ASSERT_GE(row, 0) << name;
    RECT r = vako->RowRect(list, row, LVIR_LABEL);
    vako->Click(list, POINT{r.left + 4, (r.top + r.bottom) / 2}, true);
  }

  void ClickTreeItem(HWND tree, const TreeNodeView* node) {
    ASSERT_NE(node, nullptr);
    RECT r = vako->TreeItemRect(tree, node->item);
    vako->Click(tree, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  }

  // The message box the program shows next: its text, answered with OK.
  std::string AnswerBox() {
    HWND box = vako->WaitForDialog(20000, "Vako FTP");
    if (!box) return "<no box>";
    std::string text = VakoProcess::BoxText(box);
    VakoProcess::PressButton(box, IDOK);
    WaitUntil([&] { return !IsWindow(box); });
    return text;
  }

  TempFolder program;
  TempFolder local;
  std::unique_ptr<VakoProcess> vako;
  Panes panes{};
};

}  // namespace browsing
