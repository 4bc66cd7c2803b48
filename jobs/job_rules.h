// Decisions the transfer jobs and file operations make about names, folders and the drop
// point: plain arithmetic and text rules, kept apart from the windows they drive.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "app/text_case.h"

// Deepest folder level a recursive job goes into. A server that lists a folder inside
// itself (a link to "." or a lying listing) would otherwise lead it down for ever.
constexpr int kMaxFolderDepth = 128;

// True when a list row's name names an entry of its own folder and nothing else: not
// empty, not "." or "..", and without a separator ('\\' or '/') or drive colon of its own
// (a 0x5C second byte of a Shift-JIS character is part of the name, a '/' after a lead
// byte is not). Jobs join only such names to a folder.
bool IsPlainEntryName(const std::string& name);

// The remote path of a folder's child: "/" + name below the root, parent + "/" + name
// elsewhere.
std::string RemoteChildPath(const std::string& parent, const std::string& name);

// Whether a drop at the point (client coordinates of the main window) lands on the local
// pane: above the split in the stacked arrangement (windowDiv 1), left of it side by side.
bool DropIsOnLocalPane(int x, int y, int windowDiv, int splitPos, int splitPos2, int toolbarHeight);

// The nkf option an upload converts an ASCII-mode file with ("-e" for "NKFUp" 1, "-j" for
// 2), or null for none. convertAlways (mirroring and dropped files) gives "-s" for any
// other value, so those convert every ASCII file.
const char* UploadConversionOption(int nkfUp, bool convertAlways);

// Mirroring: the indexes of the remote names that no local name is a counterpart of. A
// counterpart is a local name that, case-converted for upload, equals the remote name byte
// for byte; localConverted holds the local names already converted. "." and ".." never
// count as gone. Nor does a remote name that differs from a local name in letter case
// alone while no remote name equals that local name: a server that folds case stored that
// file over the remote one (keeping its name) and entered that folder by it. keptByCase,
// when given, tells whether some name was kept for that reason alone.
std::vector<size_t> RemoteNamesWithoutCounterpart(const std::vector<std::string>& remoteNames,
                                                  const std::vector<std::string>& localConverted,
                                                  const TextCase& tc, bool* keptByCase = nullptr);

// The format with its first "%d" replaced by the number ("%%" gives "%"); the provisional
// names of new entries ("folder%d").
std::string FormatWithNumber(const std::string& format, long number);

// How long the panes wait before they show the folder a running job has just entered (in
// ms). A view waits at least kJobPanesSettleMs, so a job passing through folders quickly
// costs one refresh. None is shown before the job has run kJobPanesFirstMs (sinceStartMs):
// a job over by then leaves the panes as they were until they show its result, without
// flickering through folders on the way. And the window keeps at least four times what
// its last refresh took (lastCostMs, sinceLastMs ago) to itself: following a fast job
// never takes more than a fifth of its time, wherever refilling and painting are slow.
constexpr unsigned kJobPanesSettleMs = 100;
constexpr unsigned kJobPanesFirstMs = 250;
unsigned JobPanesDelay(unsigned lastCostMs, unsigned sinceLastMs, unsigned sinceStartMs);
