// bench_remote_tree FOLDERS [RUNS] [PER-FOLDER]: the remote folder tree of a tree cache of
// FOLDERS lines (folders of PER-FOLDER sub-folders each, 100 unless given) in a real tree control: the time of the first build,
// and of a rebuild after a listing found one new folder (what every listing of a new folder
// costs). Prints "<folders> <first build s> <one new folder s>", best of RUNS.
#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/app_state_win.h"
#include "app/folder_trees_win.h"
#include "app/tree_cache.h"
#include "config/options.h"

namespace {

double Seconds(void (*step)()) {
  const auto start = std::chrono::steady_clock::now();
  step();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

HWND Tree;
int Folders;

void FirstBuild() {
  ClearRemoteTree(Tree);
  RebuildRemoteTree(Tree);
}

void OneNewFolder() {
  static int n = 0;
  AppendTreeCacheLine(TreeTempPath, "d0/new" + std::to_string(++n) + "/");
  RebuildRemoteTree(Tree);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_remote_tree FOLDERS [RUNS] [PER-FOLDER]\n");
    return 2;
  }
  Folders = std::atoi(argv[1]);
  const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
  const int perFolder = argc > 3 && std::atoi(argv[3]) > 0 ? std::atoi(argv[3]) : 100;
  InitCommonControls();
  HWND parent = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 400, 600, nullptr, nullptr, nullptr, nullptr);
  Tree = CreateRemoteTree(parent);
  Options.TreeView = 1;
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  TreeTempPath = std::string(temp) + "vako-bench-tree-" + std::to_string(GetCurrentProcessId()) + ".tmp";
  std::string text;
  for (int i = 0; i < Folders; ++i)
    text += "d" + std::to_string(i / perFolder) + "/s" + std::to_string(i % perFolder) + "/\r\n";
  double first = 1e9, fresh = 1e9;
  for (int run = 0; run < runs; ++run) {
    ReplaceTreeCacheFile(TreeTempPath, text);
    const double a = Seconds(FirstBuild), b = Seconds(OneNewFolder);
    if (a < first) first = a;
    if (b < fresh) fresh = b;
  }
  DeleteFileA(TreeTempPath.c_str());
  std::printf("%d %.3f %.3f\n", Folders, first, fresh);
  return 0;
}
