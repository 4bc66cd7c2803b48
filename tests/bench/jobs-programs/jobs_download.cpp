// bench_jobs_download VAKO-EXE PROGRAM-FOLDER LOCAL-FOLDER PORT USER PASS MANIFEST [JOB TARGET]
// Starts the real program in PROGRAM-FOLDER with LOCAL-FOLDER as its local side, connects
// through the Connect dialog and times one job over the top folders named in MANIFEST
// (lines "folder\name size", Windows separators):
//   download (the default): the remote rows selected, Download; the files land in LOCAL-FOLDER;
//   upload: the local rows selected, Upload; the files land in TARGET (the server's root);
//   mirror: Mirroring Upload of LOCAL-FOLDER with "send only updated" (date) on; every file
//     must still be in TARGET afterwards (whether any was sent again is the caller's check).
// The time runs from the command to the end of the job: every file of MANIFEST where it
// belongs with its size, and the toolbar out of its job state (the job's end refills the
// lists and brings the buttons back).
// VAKO_BENCH_BUFFER, when set, goes to "ReceiveBuf" and "SendBuf" (the bytes per receive and
// per send on a data connection); else the program keeps its own (1,024).
// Prints "<files> <seconds> <start> <end> <peak private bytes>" (the two moments in seconds
// since 1970, for lining the run up with a capture of its packets; the bytes as the system
// reports them for the program, 0 when it does not), or "failed: <why>" and exits 1.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "support/e2e_driver_win.h"

namespace {

struct Expected {
  std::string path;
  unsigned long long size = 0;
};

std::vector<Expected> ReadManifest(const std::string& path) {
  std::vector<Expected> files;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    size_t blank = line.rfind(' ');
    if (blank == std::string::npos) continue;
    files.push_back({line.substr(0, blank), std::stoull(line.substr(blank + 1))});
  }
  return files;
}

unsigned long long SizeOf(const std::string& path, bool& exists) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  exists = GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) != 0;
  return exists ? (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow : 0;
}

// Checked from where the last check stopped: the files arrive in order, so a poll mostly
// looks at one file that is not there yet.
class Arrivals {
 public:
  Arrivals(const std::string& folder, const std::vector<Expected>& files) : folder_(folder), files_(files) {}
  bool AllThere() {
    for (; next_ < files_.size(); ++next_) {
      bool exists = false;
      if (SizeOf(folder_ + files_[next_].path, exists) != files_[next_].size || !exists) return false;
    }
    return true;
  }
  size_t count() const { return next_; }

 private:
  std::string folder_;
  const std::vector<Expected>& files_;
  size_t next_ = 0;
};

double SecondsSince1970() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  const unsigned long long ticks = (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  return static_cast<double>(ticks - 116444736000000000ull) / 1e7;
}

std::string BufferSettings() {
  const char* bytes = std::getenv("VAKO_BENCH_BUFFER");
  if (!bytes || !*bytes) return "";
  return std::string("ReceiveBuf=") + bytes + "\r\nSendBuf=" + bytes + "\r\n";
}

int Fail(const std::string& why) {
  std::printf("failed: %s\n", why.c_str());
  return 1;
}

unsigned long long PeakPrivateBytes(const VakoProcess& vako) {
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, vako.processId());
  if (!process) return 0;
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  const bool got = GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
  CloseHandle(process);
  return got ? counters.PeakPagefileUsage : 0;
}

std::string OpenBoxes(const VakoProcess& vako) {
  std::string texts;
  for (HWND box : WindowsOfProcess(vako.processId(), "#32770")) texts += " [" + VakoProcess::BoxText(box) + "]";
  return texts;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 8 && argc != 10) {
    std::fprintf(stderr, "usage: bench_jobs_download VAKO-EXE PROGRAM-FOLDER LOCAL-FOLDER PORT USER PASS MANIFEST [JOB TARGET]\n");
    return 2;
  }
  const std::string program = argv[2], local = argv[3];
  const std::string job = argc == 10 ? argv[8] : "download";
  const std::string target = argc == 10 && job != "download" ? argv[9] : local;
  if (job != "download" && job != "upload" && job != "mirror") return Fail("no such job: " + job);
  const std::vector<Expected> files = ReadManifest(argv[7]);
  if (files.empty()) return Fail("empty manifest");
  std::vector<std::string> tops;
  for (const Expected& f : files) {
    std::string top = f.path.substr(0, f.path.find('\\'));
    if (std::find(tops.begin(), tops.end(), top) == tops.end()) tops.push_back(top);
  }

  const std::string ini = "[Vako]\r\nInitialLocalFolder=" + local + "\r\nHostAddr=127.0.0.1\r\nUserID=" + argv[5] +
                          "\r\nPort=" + argv[4] + "\r\nYesNo=0\r\nOK=0\r\n" +
                          (job == "mirror" ? "CompareDate=1\r\n" : "") + BufferSettings();
  {
    std::ofstream out(program + "vako.ini", std::ios::binary);
    out << ini;
    if (!out) return Fail("cannot write vako.ini");
  }
  VakoProcess vako(argv[1], program);
  if (!vako.started() || !vako.WaitForMainWindow()) return Fail("the program did not start");
  HWND remote = vako.Child(2100);

  vako.PostCommand(IDM_CONNECT);
  HWND dialog = vako.WaitForDialog(20000, "Connect");
  if (!dialog) return Fail("no Connect dialog");
  VakoProcess::SetItemText(dialog, IDC_HOST_ADDRESS, "127.0.0.1");
  VakoProcess::SetItemText(dialog, IDC_LOGIN_NAME, argv[5]);
  VakoProcess::SetItemText(dialog, IDC_PASSWORD, argv[6]);
  VakoProcess::PressButton(dialog, IDOK);
  // An upload starts from a server without the tree: there the connection alone is waited for.
  const bool connected = job == "upload"
                             ? WaitUntil([&] { return vako.ButtonState(IDM_DISCONNECT) == TBSTATE_ENABLED; }, 60000)
                             : WaitUntil([&] { return vako.RowOfName(remote, tops.back()) >= 0; }, 60000);
  if (!connected) return Fail("the remote list never showed " + tops.back() + OpenBoxes(vako));

  // Download acts on the remote pane, the uploads on the local one.
  HWND localList = vako.Child(2000);
  if (job != "download" && !WaitUntil([&] { return vako.RowOfName(localList, tops.back()) >= 0; }, 60000))
    return Fail("the local list never showed " + tops.back());
  if (!vako.MakePaneActive(job == "download" ? 1 : 0)) return Fail("the pane for " + job + " is not offered");
  if (job != "mirror") {
    HWND list = job == "download" ? remote : localList;
    std::vector<int> rows;
    for (const std::string& top : tops) rows.push_back(vako.RowOfName(list, top));
    vako.SelectRows(list, rows);
  }
  const int command = job == "download" ? IDM_DOWNLOAD : job == "upload" ? IDM_UPLOAD : IDM_MIRROR_UPLOAD;

  Arrivals arrivals(target, files);
  // A mirror of an unchanged tree finds every file there before it starts. They are looked
  // at before and after the job, not during it: a look at 2,000 files is 2,000 questions
  // to the file system through Wine, tens of milliseconds of a processor the job needs.
  const bool mirror = job == "mirror";
  if (mirror && !arrivals.AllThere()) return Fail("the tree is not on the server before the mirror");
  LARGE_INTEGER frequency, start, now;
  QueryPerformanceFrequency(&frequency);
  const double startedAt = SecondsSince1970();
  QueryPerformanceCounter(&start);
  vako.PostCommand(command);
  double seconds = 0;
  bool sawJob = false;  // a mirror of an unchanged tree has no arrivals to wait for
  bool allThere = mirror;
  double nextBoxLook = 0.5;
  for (;;) {
    // Once every file is there only the toolbar is waited for: looked at every 2 ms, since
    // 10 ms between looks would add 5 ms on average to a job of a tenth of a second (the
    // floor takes its own time, with no look in between).
    Sleep(allThere ? 2 : 10);
    QueryPerformanceCounter(&now);
    seconds = static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    // The files are looked at first, and the toolbar asked only once they are all there:
    // asking it is a message to the program's window thread, which a hundred times a
    // second would cost the program time that no user's program spends.
    if (mirror || (allThere = arrivals.AllThere())) {
      const bool idle = vako.ButtonState(IDM_PREVIOUS_FOLDER) == TBSTATE_ENABLED;
      sawJob = sawJob || !idle;
      if (idle && (sawJob || !mirror)) break;
    }
    // Fifteen minutes, and more for a tree of many files (the memory run's 100,000).
    if (seconds > 900 + static_cast<double>(files.size()) / 20) {
      std::ostringstream why;
      why << "after " << seconds << " s " << arrivals.count() << " of " << files.size() << " files had come"
          << OpenBoxes(vako);
      return Fail(why.str());
    }
    // A message box stops the job: looked for twice a second, as the look walks every window.
    if (seconds >= nextBoxLook) {
      nextBoxLook = seconds + 0.5;
      if (!WindowsOfProcess(vako.processId(), "#32770").empty()) return Fail("a message:" + OpenBoxes(vako));
    }
  }
  if (mirror && !Arrivals(target, files).AllThere()) return Fail("files of the tree are gone after the mirror");
  std::printf("%zu %.3f %.6f %.6f %llu\n", files.size(), seconds, startedAt, SecondsSince1970(), PeakPrivateBytes(vako));
  return vako.Close() == 0 ? 0 : 1;
}
