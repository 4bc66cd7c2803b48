// A small web site on the local disk for the link analyzer's tests: two pages whose links
// partly exist, and the rows the analyzer shows for them when about.html and then
// index.html are scanned (the last file's rows first, each file's in document order).
#pragma once
#include <windows.h>

#include <string>
#include <tuple>
#include <vector>

#include "support/temp_folder_win.h"

namespace linkcheck_test {

struct SiteRow {
  std::string link, tag, file, availability;
  auto Tied() const { return std::tie(link, tag, file, availability); }
  bool operator==(const SiteRow& o) const { return Tied() == o.Tied(); }
  bool operator<(const SiteRow& o) const { return Tied() < o.Tied(); }
};

// A Shift-JIS name whose second byte is 0x5C ("hyouji"); only in the Japanese edition.
inline bool JapaneseEdition() { return GetACP() == 932; }
const char kSjisPage[] = "\x95\x5c\x8e\xa6.html";

class SampleSite {
 public:
  SampleSite() {
    const std::string& p = folder_.path();
    CreateDirectoryA((p + "img").c_str(), nullptr);
    CreateDirectoryA((p + "docs").c_str(), nullptr);
    std::string index =
        "<html><head><title>Sample</title></head>\r\n"
        "<body background=\"img/bg.gif\">\r\n"
        "<a href=\"about.html\">About</a> <a href=\"missing.html#top\">Missing</a>\r\n"
        "<img src=\"img/logo.gif\"> <IMG SRC=img/gone.gif>\r\n"
        "<a href=\"docs/\">Docs</a> <a href=\"http://www.example.com/\">Web</a>\r\n"
        "<a href=\"mailto:webmaster@example.com\">Mail</a> <a href=\"run.bat\">Run</a>\r\n";
    if (JapaneseEdition()) index += std::string("<a href=\"") + kSjisPage + "\">\x95\x5c\x8e\xa6</a>\r\n";
    index += "</body></html>\r\n";
    WriteWholeFile(p + "index.html", index);
    WriteWholeFile(p + "about.html",
                   "<HTML><BODY><A HREF=\"index.html\">Home</A>\r\n"
                   "<a href = nowhere/>Nowhere</a><table background=img/table.gif></table></BODY></HTML>\r\n");
    WriteWholeFile(p + "notes.txt", "<a href=\"notes-link.html\">");
    for (const char* file : {"img\\bg.gif", "img\\logo.gif", "docs\\index.html", "run.bat"}) WriteWholeFile(p + file, "x");
    if (JapaneseEdition()) WriteWholeFile(p + kSjisPage, "x");
  }

  // The folder as the local pane has it: without its trailing backslash.
  std::string Folder() const { return folder_.path().substr(0, folder_.path().size() - 1); }

  // What the analyzer lists after about.html and then index.html: the rows of index.html
  // on top. External links are "--", missing local targets "NG".
  std::vector<SiteRow> ExpectedRows(const std::string& ok, const std::string& ng) const {
    std::vector<SiteRow> rows = {
        {"img/bg.gif", "body", "index.html", ok},
        {"about.html", "a", "index.html", ok},
        {"missing.html", "a", "index.html", ng},
        {"img/logo.gif", "img", "index.html", ok},
        {"img/gone.gif", "img", "index.html", ng},
        {"docs/index.html", "a", "index.html", ok},
        {"http://www.example.com/index.html", "a", "index.html", "--"},
        {"mailto:webmaster@example.com", "a", "index.html", "--"},
        {"run.bat", "a", "index.html", ok},
    };
    if (JapaneseEdition()) rows.push_back({kSjisPage, "a", "index.html", ok});
    rows.push_back({"index.html", "a", "about.html", ok});
    rows.push_back({"nowhere/index.html", "a", "about.html", ng});
    rows.push_back({"img/table.gif", "table", "about.html", ng});
    return rows;
  }

 private:
  TempFolder folder_;
};

}  // namespace linkcheck_test
