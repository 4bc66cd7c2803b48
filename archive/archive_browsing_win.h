// Archive mode: the local list shows the members of one LHA archive of CurrentLocalFolder
// (ArchivePath) instead of the folder, and the local commands act on those members.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "app/list_row.h"

// The archive's path: CurrentLocalFolder joined with ArchivePath.
std::string ArchiveFullPath();

// The rows of the archive, in the library's order. Turns archive mode off when the archive
// file is gone; no rows when the library is missing or cannot open it. True when every
// member was listed.
bool ListArchive(std::vector<ListRow>& rows);

void EnterArchive(const std::string& name);  // archive mode on, the list refilled
void LeaveArchive();                          // archive mode off; the caller refills

// Extracts the member, without its folder part, into a fresh sub-folder of the work folder:
// the copy's path, or empty (and no sub-folder left) when no good copy arrived.
std::string ExtractMemberToWorkFolder(const std::string& member);

// Open (Enter, double click, File > Open) of a member: extracted and opened from there.
void OpenArchiveMember(const std::string& member);

// The end of an in-place rename of a member: the archive command, then the list again.
void RenameMemberFromLabel(int row, const std::string& oldName, const std::string& newName);
// Rename (F2) of the focused member: the library asks for the new name.
void RenameFocusedMember();
// Delete of the selected members (folder members are left alone).
void DeleteSelectedMembers();
