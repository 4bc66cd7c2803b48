// vako-lha: the LHA library's commands on the command line, for tests and by hand.
//   vako-lha l ARCHIVE            list the members
//   vako-lha x ARCHIVE DIR        extract every member with its folders into DIR
//   vako-lha a ARCHIVE FILES...   add files and folders (recursively, keeping paths)
//   vako-lha run 'COMMAND LINE'   run a command line exactly as the DLL would receive it
#include <cstdio>
#include <string>
#include <vector>

#include "plugins/unlha32/lha_commands.h"
#include "plugins/unlha32/posix_lha_platform.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: vako-lha l|x|a ARCHIVE [DIR|FILES...] | vako-lha run 'LINE'\n");
    return 2;
  }
  std::string command = argv[1];
  std::vector<std::string> words;
  std::string line;
  if (command == "run") {
    line = argv[2];
  } else if (command == "l" || command == "x" || command == "a") {
    words.push_back(command);
    if (command == "a") {
      words.push_back("-r2");
      words.push_back("-x1");
    }
    words.push_back(argv[2]);
    for (int i = 3; i < argc; ++i) {
      std::string arg = argv[i];
      if (command == "x" && i == 3 && !arg.empty() && arg.back() != '/') arg += '/';
      words.push_back(arg);
    }
  } else {
    std::fprintf(stderr, "vako-lha: unknown command %s\n", command.c_str());
    return 2;
  }
  std::vector<char> buffer(16 << 20);
  OutputText out(buffer.data(), buffer.size());
  PosixLhaPlatform platform;
  int result = command == "run" ? RunLhaCommand(platform, line, out)
                                : RunLhaWords(platform, words, out);
  std::fputs(buffer.data(), stdout);
  return result;
}
