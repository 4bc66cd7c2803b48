// The selected entries of the remote list as a drag or a clipboard copy offers them:
// placeholders in the work folder, one per entry.
#pragma once
#include <string>
#include <vector>

#include "shell/placeholders_win.h"
#include "shell/shell_items_win.h"

constexpr size_t kMaxOfferedEntries = 1024;

// False, after telling the user, while a job runs: its download would need the one
// control connection. False, silently, while not connected.
bool RemoteEntriesMayBeOffered();

// Makes a placeholder for each selected entry but ".." and names that are no entry of
// their own folder, at most 1024, in the folder, and parses each into items (bound to it).
std::vector<Placeholder> MakeRemotePlaceholders(const std::string& folder, ShellFolderItems& items);
