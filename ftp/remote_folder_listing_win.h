// One remote folder listed: the server's current folder fetched, parsed and made into the
// rows the remote list shows. The window's refills and the jobs' walks both list so.
#pragma once
#include <string>
#include <vector>

#include "jobs/job_events.h"

// Lists the server's current folder, known as `folder`, into view: the rows in listing
// order after the parent row, the names of its sub-folders. A listing cut at its size
// limit keeps what came; one that failed otherwise leaves the parent row alone. hidden
// gets the names left out because they cannot be used here. False when the listing was
// neither whole nor cut.
bool ListRemoteFolder(const std::string& folder, RemoteFolderView& view, std::vector<std::string>* hidden = nullptr);
