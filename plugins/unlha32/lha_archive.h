// The table of contents of an LHA archive.
#pragma once
#include <string>
#include <vector>

#include "plugins/unlha32/lha_header.h"

// Reads every member header in order. False, with ERROR, when a header is broken or member data
// runs past the end; ENTRIES then holds the members before it.
bool ReadLhaDirectory(ByteSource& source, std::vector<LhaEntry>& entries, std::string& error);

// "YYYY-MM-DD HH:MM:SS" of an MS-DOS date and time.
std::string FormatDosTime(uint32_t dos_time);
