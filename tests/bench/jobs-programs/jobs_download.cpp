// bench_jobs_download VAKO-EXE PROGRAM-FOLDER LOCAL-FOLDER PORT USER PASS MANIFEST
// Starts the real program in PROGRAM-FOLDER with LOCAL-FOLDER as its local side, connects
// through the Connect dialog, selects the remote rows of the top folders named in MANIFEST
// (lines "folder\name size", Windows separators) and times the Download command: from the
// command to the end of the job, which is when every file of MANIFEST is on disk with its
// size and the toolbar shows no job running any more (the job's end refills the local list
// and brings the buttons back).
// Prints "<files> <seconds> <start> <end>" (the two moments in seconds since 1970, for
// lining the run up with a capture of its packets), or "failed: <why>" and exits 1.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
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

int Fail(const std::string& why) {
  std::printf("failed: %s\n", why.c_str());
  return 1;
}

std::string OpenBoxes(const VakoProcess& vako) {
  std::string texts;
  for (HWND box : WindowsOfProcess(vako.processId(), "#32770")) texts += " [" + VakoProcess::BoxText(box) + "]";
  return texts;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 8) {
    std::fprintf(stderr, "usage: bench_jobs_download VAKO-EXE PROGRAM-FOLDER LOCAL-FOLDER PORT USER PASS MANIFEST\n");
    return 2;
  }
  const std::string program = argv[2], local = argv[3];
  const std::vector<Expected> files = ReadManifest(argv[7]);
  if (files.empty()) return Fail("empty manifest");
  std::vector<std::string> tops;
  for (const Expected& f : files) {
    std::string top = f.path.substr(0, f.path.find('\\'));
    if (std::find(tops.begin(), tops.end(), top) == tops.end()) tops.push_back(top);
  }

  const std::string ini = "[Vako]\r\nInitialLocalFolder=" + local + "\r\nHostAddr=127.0.0.1\r\nUserID=" + argv[5] +
                          "\r\nPort=" + argv[4] + "\r\nYesNo=0\r\nOK=0\r\n";
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
  if (!WaitUntil([&] { return vako.RowOfName(remote, tops.back()) >= 0; }, 60000))
    return Fail("the remote list never showed " + tops.back() + OpenBoxes(vako));

  // Download acts on the remote pane only.
  if (vako.ButtonState(IDM_DOWNLOAD) != TBSTATE_ENABLED) vako.SendCommand(IDM_SWITCH_PANE);
  if (vako.ButtonState(IDM_DOWNLOAD) != TBSTATE_ENABLED) return Fail("Download is not offered");
  std::vector<int> rows;
  for (const std::string& top : tops) rows.push_back(vako.RowOfName(remote, top));
  vako.SelectRows(remote, rows);

  Arrivals arrivals(local, files);
  LARGE_INTEGER frequency, start, now;
  QueryPerformanceFrequency(&frequency);
  const double startedAt = SecondsSince1970();
  QueryPerformanceCounter(&start);
  vako.PostCommand(IDM_DOWNLOAD);
  double seconds = 0;
  for (;;) {
    Sleep(10);
    QueryPerformanceCounter(&now);
    seconds = static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    // The toolbar is asked first: while the job runs it shows the job, and the files need
    // not be looked at.
    if (vako.ButtonState(IDM_PREVIOUS_FOLDER) == TBSTATE_ENABLED && arrivals.AllThere()) break;
    if (seconds > 900) {
      std::ostringstream why;
      why << "after " << seconds << " s " << arrivals.count() << " of " << files.size() << " files had come"
          << OpenBoxes(vako);
      return Fail(why.str());
    }
    if (!WindowsOfProcess(vako.processId(), "#32770").empty()) return Fail("a message:" + OpenBoxes(vako));
  }
  std::printf("%zu %.3f %.6f %.6f\n", files.size(), seconds, startedAt, SecondsSince1970());
  return vako.Close() == 0 ? 0 : 1;
}
