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

// Where a local link found in `fileName` points: the link under the folder of that file, as
// the browser reads it (the link itself for a file of the current folder).
std::string LinkPathFromFile(const std::string& link, const std::string& fileName);

// The row of a link found in `fileName`. An external link is marked "--" and not looked
// up; any other is looked up by `exists` under the folder of that file (relative to the
// current folder) and marked `presentText` or `missingText`.
LinkRowTexts MakeLinkRow(const FoundLink& found, const std::string& fileName,
                         const std::function<bool(const std::string&)>& exists, const std::string& presentText,
                         const std::string& missingText);

// What the shell opens for a link found in `fileName`: an external link itself, any other as
// a file under the folder of that file in the local folder.
std::string OpenTargetOfLink(const std::string& link, const std::string& localFolder, const std::string& fileName);

// True when opening the local link would run a program (by its extension, as the shell
// decides it) rather than show a document.
bool LinkRunsProgram(const std::string& link);
