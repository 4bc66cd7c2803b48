// The Tool > Archive File commands and the viewers: Test Extract of an LHA or ZIP archive
// into a folder of its own under the test folder, Compress Files and Compress Folder into
// the archive shown, and Open by Browser / Open by Editor.
#pragma once
#include <string>

#include "archive/archive_library_win.h"

// Unpacks the archive at ArchivePath (in CurrentLocalFolder) into TestFolder\<its name>.
void TestExtract(const std::string& commandWord, ArchiveKind kind);
// The Test Extract of a local item's context menu: the focused row's archive, by its kind.
void TestExtractFocusedItem();
void CompressFiles();
void CompressFolder();
// The selected local files (or members, extracted first) handed to the browser or editor.
void OpenWithViewer(const std::string& viewerPath, bool browser);
