// Which right-click menu a file list shows, and the entries the menu of a local item
// gains from the item's name.
#pragma once
#include <string>

// Menu resources of the right clicks.
constexpr int kMenuLocalArea = 152;
constexpr int kMenuLocalItem = 153;
constexpr int kMenuRemoteItem = 154;
constexpr int kMenuRemoteArea = 155;
constexpr int kMenuArchiveArea = 178;
constexpr int kMenuLinkList = 179;

// onItem: the click hit a row's icon or label.
int ContextMenuOfLocalList(bool onItem, bool archiveMode);
int ContextMenuOfRemoteList(bool onItem);

// ".lzh" or ".zip" at the end, letter case not counting: "&Test Extract" is offered.
bool OffersTestExtract(const std::string& name);
// ".html", ".shtml" or ".htm" at the end: "&Link Analyzer..." is offered.
bool OffersLinkAnalyzer(const std::string& name);

// True when the name ends in the suffix (ASCII letters compared without case) and the
// suffix begins with a character of its own, not inside a two-byte character.
bool EndsWithSuffixNoCase(const std::string& name, const char* suffix);
