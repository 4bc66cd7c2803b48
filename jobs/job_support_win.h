// What every transfer job and file operation shares: starting a job's thread, the walk
// from folder to folder with absolute paths and the job's own listings, the status line and
// the progress bar, the job's own reports, and the end of a job that lost its way.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "jobs/job_events.h"
#include "jobs/name_index.h"

// The rows of one side of a level looked up by name, through an index made at the first
// look: a search through every row per file costs the square of the folder's size. A copy
// starts without an index, and a refill of the rows (another address or count) or Forget()
// makes it again.
class JobRowLookup {
 public:
  JobRowLookup() = default;
  JobRowLookup(const JobRowLookup&) {}
  JobRowLookup& operator=(const JobRowLookup&) {
    Forget();
    return *this;
  }
  // The first row whose name is the name, letter case not counting; null when none.
  const JobRow* Find(const std::vector<JobRow>& rows, const std::string& name) const;
  void Forget() const { index_.reset(); }

 private:
  mutable std::optional<NameIndex> index_;
  mutable const JobRow* rows_ = nullptr;
  mutable size_t count_ = 0;
};

// The thread alone, with JobRunning set first; false (and JobRunning 0) when it cannot be
// made. The window has taken JobStart before.
bool CreateJobThread(LPTHREAD_START_ROUTINE entry, void* parameter);

// A job's thread from start to end: JobRunning set, the body run with one file helper and
// a clean way, the end command (40200 or 40201) posted to the main window, which shows the
// start folders again and clears JobRunning, then the report (ReportJobEnd; completion 0
// send, 1 receive).
void RunJob(int (*body)(), int completion, int doneCommand);
// What a job says at its very end, after the lists show what it did: that it was stopped,
// or else its completion message (completion < 0: none).
void ReportJobEnd(int completion);

// One folder of a walk, on both sides, by absolute paths. Rows are every entry of each
// side as the job listed them (the parent row left out); `remoteAbove` holds the server
// paths of the folders above, which a link must not lead back to.
struct JobLevel {
  std::string local, remote;
  std::vector<JobRow> localRows, remoteRows;
  JobRowLookup localLookup, remoteLookup;  // of localRows and remoteRows
  bool localWhole = false, remoteWhole = false;
  SharedFolderView remoteView;  // shown again when the job comes back here
  std::vector<std::string> remoteAbove;
  bool panesFollow = true;      // the panes show this folder (jobs; not the window's own deletes)
  int depth = 0;
  int listedAtLogin = 0;        // JobLoginsAgain when remoteRows were listed
};

// The level a job starts with, from JobStart; the server's folder asked for (PWD).
JobLevel StartLevel();
// The first row of the level's local or remote rows whose name is the name, letter case
// not counting; null when none.
const JobRow* FindLocalRow(const JobLevel& level, const std::string& name);
const JobRow* FindRemoteRow(const JobLevel& level, const std::string& name);

// Enters the remote sub-folder `name` of parent into child (its server path learnt with
// PWD). A folder that cannot be entered answers false; so does one whose path is that of
// parent or a folder above it (a link back up the tree: `loop` set, the server back in
// parent's folder).
bool EnterRemoteChild(const JobLevel& parent, const std::string& name, JobLevel& child, bool& loop);
// Lists child's remote folder (the job's own listing), and shows it in the remote pane when
// the panes follow. False, and said, when the listing failed.
bool ListRemoteLevel(JobLevel& level);
// Lists the local folder of level into its localRows, and shows it in the local pane when
// the panes follow; false when it cannot be read.
bool ListLocalLevel(JobLevel& level, bool show = true);
// Back in parent's remote folder (CWD to its absolute path), the panes showing parent
// again. A server that refuses the way back leaves the job lost (and says so).
bool ReturnToLevel(const JobLevel& parent);
// The panes show the level (its local folder and its remote listing).
void ShowLevel(const JobLevel& level);

// Files and bytes of the job so far, and this file's part of them.
void CountFileDone(uint64_t bytes);

// Loads the format (string 68 or 69) into ResourceTextBuffer, where the transfer formats
// its progress line from, and shows it with the name.
void ShowFileStatus(int formatId, const std::string& name);
void ClearStatus();      // the status text becomes a single blank
void ResetProgress();    // the progress bar back to 0

// A report whose string-table text takes the name for its "%s".
void ReportWithName(int formatId, const std::string& name);
// Yes (6), No (7) or Cancel (2) to a question whose text takes the name, owned by list.
int AskYesNoCancel(HWND list, int formatId, const std::string& name);

// A job gives up when the connection is lost (every command would fail), when Stop was
// pressed during it, or when it could not go back to a folder it came from.
bool JobCanGoOn();
void JobLostItsWay();
void ResetJobWay();     // at the start of each job

// MKD of name in the level's remote folder, made again after a login again when the
// connection was lost. The result of MakeRemoteFolder.
int MakeJobRemoteFolder(const JobLevel& level, const std::string& name);

// A unique empty file in the work folder, named with the prefix; empty on failure.
std::string NewWorkTempFile(const char* prefix);

// Stores a local file, converted first through nkf when option is not null (a failed
// conversion sends the file as it is). The result of StoreFile.
int StoreConvertedFile(const std::string& localPath, const std::string& remoteName, int mode, const char* option);

// The name of the last file a job received, for the window once the job has ended.
void SetLastJobName(const std::string& name);
std::string LastJobName();
