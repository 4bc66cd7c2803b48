// What every transfer job and file operation does with the main window: starting a job's
// thread, reading and selecting list rows, asking the main window for refills, the status
// line and the progress bar, the job's own reports, and the end of a job that lost its way.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "jobs/name_index.h"

// One list row as a job takes it up: read when its level starts, so that the refills a
// sub-folder causes never change what the level goes on with.
struct JobRow {
  std::string name, size, date, attributes;
  bool folder = false;  // its Size text is the folder marker
  // A remote link ("l" in its Attributes) that the list shows as a folder: deleting it
  // removes the link, never what it points to.
  bool IsLink() const { return !attributes.empty() && attributes[0] == 'l'; }
};

// The rows of a list read once, for the many lookups by name that one level makes: reading
// them from the list one message at a time for every file would cost the square of their
// number. Forget() after the list was refilled.
class ListRowsSnapshot {
 public:
  explicit ListRowsSnapshot(HWND list) : list_(list) {}
  // The first row whose Name is the name, letter case not counting; null when none.
  const JobRow* Find(const std::string& name);
  void Forget() { loaded_ = false; }

 private:
  HWND list_;
  bool loaded_ = false;
  std::vector<JobRow> rows_;
  std::optional<NameIndex> index_;  // of rows_' names
};

// Starts a job: entry runs on a thread of its own, one step below normal priority, with
// `folder` as the process's current folder. JobRunning is set before the thread exists, so
// a second command that comes first already finds the job.
void StartJobThread(LPTHREAD_START_ROUTINE entry, const std::string& folder, void* parameter = nullptr);
// The thread alone, with JobRunning set first; false (and JobRunning 0) when it cannot be made.
bool CreateJobThread(LPTHREAD_START_ROUTINE entry, void* parameter);

// A job's thread from start to end: JobRunning set, the body run with one file helper and
// a clean way, JobRunning cleared, the end command (40200 or 40201) for the main window,
// then the report (ReportJobEnd; completion 0 send, 1 receive).
void RunJob(int (*body)(), int completion, int doneCommand);
// What a job says at its very end, after the lists show what it did: that it was stopped,
// or else its completion message (completion < 0: none).
void ReportJobEnd(int completion);

// The rows selected now (or every row) of a list, in ascending order. From a job's thread
// they are read on the main window's thread, all in one message (MsgReadJobRows).
std::vector<JobRow> SelectedJobRows(HWND list);
std::vector<JobRow> AllJobRows(HWND list);
// The main window's side of MsgReadJobRows: reads the rows a job's thread waits for.
void ServeJobRowRead();
// The first row whose Name is the name, letter case not counting; -1 when there is none.
int FindRowByName(HWND list, const std::string& name);
void SelectAllListRows(HWND list);
// Selects (and drop-highlights) exactly these rows.
void MarkListRows(HWND list, const std::vector<size_t>& rows);

// The list refills, carried out by the main window whichever thread asks.
void RefillLocalList();
void RefillRemoteList();

// Loads the format (string 68 or 69) into ResourceTextBuffer, where the transfer formats
// its progress line from, and shows it with the name.
void ShowFileStatus(int formatId, const std::string& name);
void ClearStatus();      // the status text becomes a single blank
void ResetProgress();    // the progress bar back to 0

// A report whose string-table text takes the name for its "%s".
void ReportWithName(int formatId, const std::string& name);
// Yes (6), No (7) or Cancel (2) to a question whose text takes the name, owned by list.
int AskYesNoCancel(HWND list, int formatId, const std::string& name);

// A job gives up when the connection is lost (every command would fail) or when it could
// not go back to a folder it came from (its rows would then name entries of another folder).
bool JobCanGoOn();
void JobLostItsWay();
void ResetJobWay();     // at the start of each job

// Back on both sides to the folders a sub-folder was entered from, both lists refilled. A
// server that refuses the way back leaves the job lost (and says so).
void ReturnToFolders(const std::string& local, const std::string& remote);

// A unique empty file in the work folder, named with the prefix; empty on failure.
std::string NewWorkTempFile(const char* prefix);

// Stores a local file, converted first through nkf when option is not null (a failed
// conversion sends the file as it is). The result of StoreFile.
int StoreConvertedFile(const std::string& localPath, const std::string& remoteName, int mode, const char* option);
