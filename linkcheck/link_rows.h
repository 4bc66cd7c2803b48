// The rows of the link analyzer's list: what each column shows, and what opening a row's
// link hands to the shell.
#pragma once
#include <functional>
#include <string>

#include "linkcheck/link_scanner.h"

// The four columns, in their order.
struct LinkRowTexts {
  std::string link, tag, fileName, availability;
};

constexpr const char* kExternalMark = "--";

// The row of a link found in `fileName`. An external link is marked "--" and not looked
// up; any other is looked up by `exists` as it is (relative to the current folder) and
// marked `presentText` or `missingText`.
LinkRowTexts MakeLinkRow(const FoundLink& found, const std::string& fileName,
                         const std::function<bool(const std::string&)>& exists, const std::string& presentText,
                         const std::string& missingText);

// What the shell opens for a link: an external link itself, any other as a file under the
// local folder.
std::string OpenTargetOfLink(const std::string& link, const std::string& localFolder);
