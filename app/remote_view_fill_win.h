// The remote file list filled from the server's listing of its current folder, and the
// tree cache working file kept up with every folder a listing shows.
#pragma once
#include <windows.h>

#include "jobs/job_events.h"


// Lists the server's current folder into the list. fromTree is 1 when a click in the
// remote tree asked for it (the tree is then left as it is). Answers the list, or null
// when not connected or when the tree cache working file cannot be read.
HWND RefreshRemoteList(HWND listView, int fromTree);

// True when the last refill showed the folder's whole listing: confirmed by the server,
// not cut at its size limit, every row taken by the list. Only such a list may tell a
// job that an entry is gone from the server.
extern bool RemoteListIsWhole;

// Shows a folder a job listed, in place of a refill: the list, the captions and the tree
// follow the job without a second listing.
void ShowJobRemoteView(RemoteFolderView view);
