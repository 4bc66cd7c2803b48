// The Copy command of the real program: local entries go on the clipboard as a file list
// that this process (another program) reads back; remote entries from vsftpd arrive in the
// copy's own sub-folder of the work folder with the server's bytes and only then go on the
// clipboard, and the local pane shows the user's folder again afterwards.
#include "support/program_fixture_win.h"

#include <shellapi.h>

namespace {

// The paths of the file list on the clipboard, as a pasting program reads them.
Lines ClipboardFiles() {
  Lines paths;
  if (!OpenClipboard(nullptr)) return paths;
  if (HANDLE data = GetClipboardData(CF_HDROP)) {
    HDROP drop = static_cast<HDROP>(GlobalLock(data));
    const UINT count = drop ? DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0) : 0;
    for (UINT i = 0; i < count; ++i) {
      char path[MAX_PATH * 2] = "";
      DragQueryFileA(drop, i, path, sizeof path);
      paths.push_back(path);
    }
    if (drop) GlobalUnlock(data);
  }
  CloseClipboard();
  return Sorted(paths);
}

TEST_F(ProgramTest, LocalAndRemoteEntriesReachAnotherProgramAsRealFiles) {
  const std::string root = testenv::Get("VAKO_VSFTPD_ROOT") + "/shellcopy";
  ASSERT_EQ(RunHostCommand("rm -rf '" + root + "' && mkdir -p '" + root + "/docs'"), 0);
  const std::string noise = Noise(300000);
  WriteWholeFile(testenv::WinePath(root + "/noise.bin"), noise);
  WriteWholeFile(testenv::WinePath(root + "/docs/inner.bin"), "inside\r\n");
  WriteWholeFile(testenv::WinePath(root + "/left.bin"), "not copied");
  WriteWholeFile(testenv::WinePath(root + "/ftplog.txt"), "not the log");
  ASSERT_EQ(RunHostCommand("chown -R " + testenv::Get("VAKO_FTP_USER") + " '" + root + "'"), 0);
  ASSERT_EQ(RunHostCommand("touch -d 2000-01-01 '" + root + "/noise.bin'"), 0);
  WriteWholeFile(local.path() + "noise.bin", "newer than the server's");
  WriteWholeFile(local.path() + "one.txt", "1");
  WriteWholeFile(local.path() + "two.txt", "2");
  CreateDirectoryA((local.path() + "sub").c_str(), nullptr);

  ASSERT_NO_FATAL_FAILURE(
      Start({"InitialRemoteFolder=shellcopy", "OK=1", "CompareDate2=1", PortSetting("VAKO_VSFTPD_PORT")}));
  const HWND localList = panes.localList;
  Connect();
  ASSERT_TRUE(WaitForRow(panes.remoteList, "noise.bin"));
  const Lines userFolder = vako->Names(localList);

  // Local entries: the list goes on the clipboard at once, with the files' own paths.
  ASSERT_TRUE(OpenClipboard(nullptr) && EmptyClipboard() && CloseClipboard());
  Select(0, {"one.txt", "sub"});
  ASSERT_TRUE(vako->SendCommand(IDM_COPY));
  EXPECT_EQ(ClipboardFiles(), (Lines{local.path() + "one.txt", local.path() + "sub"}));

  // Remote entries: downloaded into a sub-folder of the work folder; once the download has
  // ended (before the completion message says so) the clipboard holds the real files.
  Select(1, {"noise.bin", "docs", "ftplog.txt"});
  vako->PostCommand(IDM_COPY);
  HWND box = vako->WaitForDialog(120000, VAKO_CAPTION);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(VakoProcess::BoxText(box), ResourceText(IDS_COMPLETED_RECEIVE));
  VakoProcess::PressButton(box, IDOK);
  ASSERT_TRUE(WaitUntil([] { return ClipboardFiles().size() == 3; }));
  const Lines files = ClipboardFiles();
  const std::string copy = FolderOf(files.back());  // the copy's own sub-folder of the work folder
  EXPECT_EQ(FolderOf(copy.substr(0, copy.size() - 1)), NewestWorkFolder());
  EXPECT_EQ(files, (Lines{copy + "docs", copy + "ftplog.txt", copy + "noise.bin"}));
  EXPECT_EQ(ReadWholeFile(copy + "noise.bin"), noise);
  // A server's file of the protocol log's name is no danger to the log.
  EXPECT_EQ(ReadWholeFile(copy + "ftplog.txt"), "not the log");
  EXPECT_NE(ReadWholeFile(NewestWorkFolder() + "ftplog.txt").find("RETR ftplog.txt\r\n"), std::string::npos);
  EXPECT_EQ(ReadWholeFile(copy + "docs\\inner.bin"), "inside\r\n");

  // Open of the same name, changed on the server since, receives it anew (an older file of the
  // name in the local pane does not count) into a folder of its own: the clipboard's stays.
  const std::string changed(noise.size(), 'c');
  WriteWholeFile(testenv::WinePath(root + "/noise.bin"), changed);
  Select(1, {"noise.bin"});
  EXPECT_EQ(Run(IDM_OPEN_REMOTE), Lines{ResourceText(IDS_COMPLETED_RECEIVE)});
  EXPECT_EQ(WorkFolderCopies("noise.bin"), Sorted({changed, noise}));
  EXPECT_EQ(ReadWholeFile(copy + "noise.bin"), noise);

  // The local pane shows the user's folder again, not the work folder.
  EXPECT_TRUE(WaitUntil([&] { return vako->Names(localList) == userFolder; })) << vako->Names(localList).size();
}

}  // namespace
