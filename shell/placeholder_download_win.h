// The download behind a drag or a clipboard copy of remote entries: the entries selected
// in the remote list, into their own sub-folder of the work folder over their placeholders,
// on the one job thread.
#pragma once
#include <string>

// Starts the job into folder, with JobRunning set before it exists. At its end the local
// pane shows userFolder again (the download moves the process through folder). False when
// the thread could not be made.
bool StartPlaceholderDownload(const std::string& folder, const std::string& userFolder);

// Serves the main window's messages (the job's synchronous requests among them) until the
// job has ended.
void WaitForJobEnd();
