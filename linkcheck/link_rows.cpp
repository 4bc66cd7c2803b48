#include "linkcheck/link_rows.h"

#include "linkcheck/link_tables.h"
#include "text/path_text.h"
#include "text/sjis.h"

std::string LinkPathFromFile(const std::string& link, const std::string& fileName) {
  const size_t separator = FindLastSingleByteChar(fileName, "\\/");
  if (separator == std::string::npos) return link;
  return fileName.substr(0, separator + 1) + link;
}

LinkRowTexts MakeLinkRow(const FoundLink& found, const std::string& fileName,
                         const std::function<bool(const std::string&)>& exists, const std::string& presentText,
                         const std::string& missingText) {
  LinkRowTexts row;
  row.link = found.link;
  row.tag = found.tagIndex >= 0 && found.tagIndex < kLinkTagCount ? kLinkTags[found.tagIndex] : "";
  row.fileName = fileName;
  if (IsExternalLink(found.link))
    row.availability = kExternalMark;
  else
    row.availability = exists(LinkPathFromFile(found.link, fileName)) ? presentText : missingText;
  return row;
}

std::string OpenTargetOfLink(const std::string& link, const std::string& localFolder, const std::string& fileName) {
  return IsExternalLink(link) ? link : JoinLocalPath(localFolder, LinkPathFromFile(link, fileName));
}

bool LinkRunsProgram(const std::string& link) {
  if (IsExternalLink(link)) return false;
  // Windows drops trailing dots and blanks from a file name: "setup.exe. " runs setup.exe.
  std::string name = link.substr(0, link.find_last_not_of(". ") + 1);
  const size_t separator = FindLastSingleByteChar(name, "\\/");
  if (separator != std::string::npos) name.erase(0, separator + 1);
  const size_t dot = FindLastSingleByteChar(name, ".");
  if (dot == std::string::npos) return false;
  const std::string extension = name.substr(dot + 1);
  static const char* const kPrograms[] = {"exe", "com", "bat", "cmd", "pif", "scr", "cpl", "msi", "msp", "lnk",
                                          "vbs", "vbe", "js",  "jse", "wsf", "wsh", "hta", "reg", "ps1", "jar",
                                          "inf", "msc", "url", "application", "gadget", "scf", "chm"};
  for (const char* program : kPrograms) {
    if (SameTextNoCase(extension, program)) return true;
  }
  return false;
}
