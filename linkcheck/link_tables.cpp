#include "linkcheck/link_tables.h"

#include "text/sjis.h"

const char* const kLinkTags[kLinkTagCount] = {"a",  "/a", "img", "embed", "bgsound", "body",  "tr",
                                              "td", "th", "form", "input", "frame",   "table"};

namespace {

const LinkRule kRules[] = {
    {0, "href"},        {2, "src"},         {3, "src"},    {4, "src"},         {5, "background"}, {6, "background"},
    {7, "background"},  {8, "background"},  {9, "action"}, {10, "src"},        {11, "src"},       {12, "background"},
};

const char* const kSchemes[] = {"http://", "ftp://",    "mailto:",   "gopher://",
                                "news://", "telnet://", "palace://", "https://"};

unsigned char Folded(char c) {
  unsigned char b = static_cast<unsigned char>(c);
  return b >= 'A' && b <= 'Z' ? static_cast<unsigned char>(b + ('a' - 'A')) : b;
}

}  // namespace

bool SameTextNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size();) {
    size_t width = CharWidthAt(a, i);
    if (width == 2) {
      if (a.compare(i, 2, b.substr(i, 2)) != 0) return false;
    } else if (Folded(a[i]) != Folded(b[i])) {
      return false;
    }
    i += width;
  }
  return true;
}

const LinkRule* FindLinkRule(std::string_view tagName) {
  for (const LinkRule& rule : kRules)
    if (SameTextNoCase(tagName, kLinkTags[rule.tagIndex])) return &rule;
  return nullptr;
}

bool IsExternalLink(std::string_view link) {
  for (const char* scheme : kSchemes)
    if (link.substr(0, std::string_view(scheme).size()) == scheme) return true;
  return false;
}
