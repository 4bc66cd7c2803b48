// The ANSI code page's lead bytes as the system defines them (IsDBCSLeadByte's ranges).
#include <windows.h>

#include "text/sjis.h"

LeadByteTable ReadActiveCodePageLeadBytes() {
  LeadByteTable table{};
  CPINFO info{};
  if (!GetCPInfo(CP_ACP, &info)) return LeadBytesOfCodePage(GetACP());
  // Pairs of first and last byte, ended by a pair of zeros.
  for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i]; i += 2)
    for (int c = info.LeadByte[i]; c <= info.LeadByte[i + 1]; ++c) table.lead[c] = true;
  return table;
}
