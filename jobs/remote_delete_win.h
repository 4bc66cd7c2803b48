// The remote delete of entries, folders to any depth, walked by the job's own listings: the
// Delete command on the remote pane and pass 2 of the mirroring upload.
#pragma once
#include <vector>

#include "jobs/job_support_win.h"

// The rows are entries of level's remote folder, where the server is. False when the walk
// had to stop altogether: it could not come back to a folder it came from.
bool DeleteRemoteRows(const std::vector<JobRow>& rows, const JobLevel& level);
