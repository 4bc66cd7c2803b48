// The Copy command of the real program: local entries go on the clipboard as a file list
// that this process (another program) reads back; remote entries from vsftpd arrive in the
// work folder with the server's bytes and only then go on the clipboard, and the local
// pane shows the user's folder again afterwards.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "support/e2e_driver_win.h"
#include "support/temp_folder_win.h"
#include "support/test_env.h"

namespace {

using Lines = std::vector<std::string>;

std::string Text(int id) {
  char text[512] = "";
  LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(id), text, sizeof text);
  return text;
}

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
  std::sort(paths.begin(), paths.end());
  return paths;
}

void EmptyTheClipboard() {
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    CloseClipboard();
  }
}

std::string Noise(size_t size) {
  std::string data(size, '\0');
  uint32_t seed = 7;
  for (char& c : data) {
    seed = seed * 1103515245u + 12345u;
    c = static_cast<char>(seed >> 23);
  }
  return data;
}

class ClipboardTest : public ::testing::Test {
 protected:
  void Start() {
    const std::string ini = "[Vako]\r\nInitialLocalFolder=" + local.path() +
                            "\r\nInitialRemoteFolder=shellcopy\r\nYesNo=0\r\nOK=1\r\nPort=" +
                            testenv::Get("VAKO_VSFTPD_PORT") + "\r\n";
    WriteWholeFile(program.path() + "vako.ini", ini);
    vako.reset(new VakoProcess(testenv::WinePath(::testing::internal::GetArgvs().at(1)), program.path()));
    ASSERT_TRUE(vako->started());
    ASSERT_NE(vako->WaitForMainWindow(), nullptr);
    localList = vako->Child(2000);
    remoteList = vako->Child(2100);
  }

  void Connect(const std::string& rowToWaitFor) {
    ASSERT_TRUE(vako->ConnectThroughDialog(testenv::Get("VAKO_FTP_USER"), testenv::Get("VAKO_FTP_PASS")));
    ASSERT_TRUE(WaitUntil([&] { return vako->RowOfName(remoteList, rowToWaitFor) >= 0; }));
  }

  void Select(HWND list, const Lines& names) { ASSERT_TRUE(vako->SelectNames(list, names)); }

  // Download is offered only while the remote pane is the active one.
  void OnPane(int pane) { ASSERT_TRUE(vako->MakePaneActive(pane)); }

  TempFolder program, local;
  std::unique_ptr<VakoProcess> vako;
  HWND localList = nullptr, remoteList = nullptr;
};

TEST_F(ClipboardTest, LocalAndRemoteEntriesReachAnotherProgramAsRealFiles) {
  const std::string root = testenv::Get("VAKO_VSFTPD_ROOT") + "/shellcopy";
  ASSERT_EQ(RunHostCommand("rm -rf '" + root + "' && mkdir -p '" + root + "/docs'"), 0);
  const std::string noise = Noise(300000);
  WriteWholeFile(testenv::WinePath(root + "/noise.bin"), noise);
  WriteWholeFile(testenv::WinePath(root + "/docs/inner.bin"), "inside\r\n");
  WriteWholeFile(testenv::WinePath(root + "/left.bin"), "not copied");
  ASSERT_EQ(RunHostCommand("chown -R " + testenv::Get("VAKO_FTP_USER") + " '" + root + "'"), 0);
  WriteWholeFile(local.path() + "one.txt", "1");
  WriteWholeFile(local.path() + "two.txt", "2");
  CreateDirectoryA((local.path() + "sub").c_str(), nullptr);

  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_NO_FATAL_FAILURE(Connect("noise.bin"));
  const Lines userFolder = vako->Names(localList);

  // Local entries: the list goes on the clipboard at once, with the files' own paths.
  EmptyTheClipboard();
  ASSERT_NO_FATAL_FAILURE(OnPane(0));
  ASSERT_NO_FATAL_FAILURE(Select(localList, {"one.txt", "sub"}));
  ASSERT_TRUE(vako->SendCommand(IDM_COPY));
  EXPECT_EQ(ClipboardFiles(), (Lines{local.path() + "one.txt", local.path() + "sub"}));

  // Remote entries: downloaded into the work folder; the clipboard holds nothing of them
  // until the download has ended, then the real files.
  ASSERT_NO_FATAL_FAILURE(OnPane(1));
  ASSERT_NO_FATAL_FAILURE(Select(remoteList, {"noise.bin", "docs"}));
  vako->PostCommand(IDM_COPY);
  HWND box = vako->WaitForDialog(120000, VAKO_CAPTION);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(VakoProcess::BoxText(box), Text(IDS_COMPLETED_RECEIVE));
  const Lines whileOpen = ClipboardFiles();  // the completion box holds the job's end back
  EXPECT_TRUE(whileOpen.empty()) << whileOpen.front();
  VakoProcess::PressButton(box, IDOK);
  ASSERT_TRUE(WaitUntil([] { return ClipboardFiles().size() == 2; }));
  const Lines files = ClipboardFiles();
  const std::string work = NewestWorkFolder();
  ASSERT_FALSE(work.empty());
  EXPECT_EQ(files, (Lines{work + "docs", work + "noise.bin"}));
  EXPECT_EQ(ReadWholeFile(work + "noise.bin"), noise);
  EXPECT_EQ(ReadWholeFile(work + "docs\\inner.bin"), "inside\r\n");

  // The local pane shows the user's folder again, not the work folder.
  EXPECT_TRUE(WaitUntil([&] { return vako->Names(localList) == userFolder; })) << vako->Names(localList).size();
  EXPECT_EQ(vako->RowOfName(localList, "noise.bin"), -1);
  EXPECT_EQ(vako->Close(), 0);
}

}  // namespace
