#include "linkcheck/link_rows.h"

#include "linkcheck/link_tables.h"
#include "text/path_text.h"

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
    row.availability = exists(found.link) ? presentText : missingText;
  return row;
}

std::string OpenTargetOfLink(const std::string& link, const std::string& localFolder) {
  return IsExternalLink(link) ? link : JoinLocalPath(localFolder, link);
}
