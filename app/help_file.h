// Which help F1 opens: a vako.hlp beside the program wins (a user may have put one there);
// otherwise the HTML contents page of the edition's language from the help folder beside
// the program, the English one when that language's pages are missing.
#pragma once
#include <functional>
#include <string>

struct HelpToOpen {
  std::string file;    // what the shell opens
  std::string folder;  // its working folder
};

// programFolder ends in a separator; language is "ja" for the Japanese edition, anything
// else is English; exists answers whether a full path names a file.
HelpToOpen ChooseHelp(const std::string& programFolder, const std::string& language,
                      const std::function<bool(const std::string&)>& exists);
