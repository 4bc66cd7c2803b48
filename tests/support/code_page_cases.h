// Table cases read in another ANSI code page: "In1252 <routine> <arguments...>" runs the routine
// with text read as code page 1252 reads it (no lead bytes), then goes back.
#pragma once
#include "support/case_table.h"
#include "text/sjis.h"

namespace case_table {

inline std::string InCodePage(unsigned codePage, const std::map<std::string, Routine>& routines, const Args& a) {
  const LeadByteTable before = ActiveLeadBytes();
  UseLeadBytesForTesting(LeadBytesOfCodePage(codePage));
  const std::string answer = routines.at(a[0])(Args(a.begin() + 1, a.end()));
  UseLeadBytesForTesting(before);
  return answer;
}

}  // namespace case_table
