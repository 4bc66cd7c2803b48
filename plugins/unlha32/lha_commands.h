// Running one LHA command line: a (add), e and x (extract), d (delete), n (rename),
// l (list) and t (test). See README.md for the switches.
#pragma once
#include <string>
#include <vector>

#include "plugins/archive_common/output_text.h"
#include "plugins/unlha32/lha_platform.h"

enum LhaResult {
  kLhaOk = 0,
  kLhaPartly = 1,   // the command ran, but some members or files failed (see the output)
  kLhaFailed = 2,   // nothing was done: bad command line, unreadable or broken archive
};

// Runs LINE (response files "@file" are read through PLATFORM). Every message, one per line,
// goes to OUT.
int RunLhaCommand(LhaPlatform& platform, const std::string& line, OutputText& out);
int RunLhaWords(LhaPlatform& platform, std::vector<std::string> words, OutputText& out);
