#include "app/help_file.h"

#include "text/path_text.h"

static std::string ContentsPage(const std::string& programFolder, const std::string& language) {
  return JoinLocalPath(programFolder, "help\\" + language + "\\index.html");
}

HelpToOpen ChooseHelp(const std::string& programFolder, const std::string& language,
                      const std::function<bool(const std::string&)>& exists) {
  if (exists(JoinLocalPath(programFolder, "vako.hlp"))) return {"vako.hlp", programFolder};
  std::string page = ContentsPage(programFolder, language == "ja" ? "ja" : "en");
  if (!exists(page)) page = ContentsPage(programFolder, "en");
  return {page, programFolder};
}
