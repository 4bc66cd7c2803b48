// The Copy command: the selection of the active pane on the clipboard as the shell's own
// files. Remote entries go on it only when their download has ended, so that a paste
// never delivers a placeholder.
#pragma once

void CopyToClipboard();

// The end of a download job: a copy of remote entries waiting for it is put on the
// clipboard, with the entries that arrived, unless something else was copied meanwhile.
void OfferDownloadedCopy();
