#include "jobs/archive_transfer_win.h"

#include <windows.h>

#include "app/app_state_win.h"
#include "app/work_folder_win.h"
#include "archive/archive_browsing_win.h"
#include "archive/archive_command_lines.h"
#include "archive/archive_library_win.h"
#include "archive/archive_names.h"
#include "ftp/data_connection_win.h"

int ReceiveIntoArchive(const std::string& name, int mode, uint64_t size) {
  const WorkSubFolderScope folder;  // the name meets nothing else of the run's there
  const std::string command = AddFileCommand(ArchiveFullPath(), folder.path(), name);
  if (folder.path().empty() || ExtractedCopyName(name) != name || command.empty()) return 0;
  const std::string copy = folder.path() + name;
  DeleteFileA(copy.c_str());  // an earlier file must not go in for this one
  if (!RetrieveFile(name, copy, mode, size)) {
    DeleteFileA(copy.c_str());
    return 0;
  }
  if (LastTransferWasStopped) {  // a part of the file does not go into the archive
    DeleteFileA(copy.c_str());
    return 1;
  }
  // The received file is gone afterwards either way: a missing library or a refused add
  // is a failed receive, not a silent loss.
  std::string output;
  int result = -1;
  const int handed = RunArchiveCommandWithResult(ArchiveKind::Lha, MainWindow, command, &output, 2048, &result);
  DeleteFileA(copy.c_str());
  return handed && result == 0 ? 1 : 0;
}

std::string ExtractForUpload(const std::string& name) { return ExtractMemberToWorkFolder(name); }
