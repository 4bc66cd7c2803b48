// The real program connects through its Connect dialog to vsftpd on ::1, the address typed
// bare and in brackets.
#include "support/program_fixture_win.h"

namespace {

class Ipv6ConnectTest : public ProgramTest {};

TEST_F(Ipv6ConnectTest, ConnectTakesTheLiteralWithAndWithoutBrackets) {
  const std::string root = testenv::WinePath(testenv::Get("VAKO_VSFTPD6_ROOT")) + "\\";
  WriteWholeFile(root + "bare-marker", "x");
  Start({PortSetting("VAKO_VSFTPD6_PORT")});
  for (const std::string typed : {"::1", "[::1]"}) {
    vako->PostCommand(IDM_CONNECT);
    HWND dialog = vako->WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    VakoProcess::SetItemText(dialog, IDC_HOST_ADDRESS, typed);
    VakoProcess::SetItemText(dialog, IDC_LOGIN_NAME, testenv::Get("VAKO_FTP_USER"));
    VakoProcess::SetItemText(dialog, IDC_PASSWORD, testenv::Get("VAKO_FTP_PASS"));
    VakoProcess::PressButton(dialog, IDOK);
    // Each connection lists the folder anew: the marker's name tells which listing is shown.
    const std::string marker = typed == "::1" ? "bare-marker" : "bracketed-marker";
    ASSERT_TRUE(WaitForRow(panes.remoteList, marker)) << typed << Boxes();
    ASSERT_TRUE(vako->SendCommand(IDM_DISCONNECT));
    ASSERT_TRUE(MoveFileA((root + "bare-marker").c_str(), (root + "bracketed-marker").c_str()) || typed != "::1");
  }
}

}  // namespace
