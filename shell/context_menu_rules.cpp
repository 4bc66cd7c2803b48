#include "shell/context_menu_rules.h"

#include <cstring>

#include "text/sjis.h"

int ContextMenuOfLocalList(bool onItem, bool archiveMode) {
  if (onItem) return kMenuLocalItem;
  return archiveMode ? kMenuArchiveArea : kMenuLocalArea;
}

int ContextMenuOfRemoteList(bool onItem) { return onItem ? kMenuRemoteItem : kMenuRemoteArea; }

static char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EndsWithSuffixNoCase(const std::string& name, const char* suffix) {
  const size_t length = std::strlen(suffix);
  if (length == 0 || name.size() < length) return false;
  const size_t start = name.size() - length;
  for (size_t i = 0; i < length; ++i)
    if (LowerAscii(name[start + i]) != LowerAscii(suffix[i])) return false;
  return IsSingleByteChar(name.c_str(), start);
}

bool OffersTestExtract(const std::string& name) {
  return EndsWithSuffixNoCase(name, ".lzh") || EndsWithSuffixNoCase(name, ".zip");
}

bool OffersLinkAnalyzer(const std::string& name) {
  return EndsWithSuffixNoCase(name, ".html") || EndsWithSuffixNoCase(name, ".shtml") ||
         EndsWithSuffixNoCase(name, ".htm");
}
