#include "config/host_list_import_win.h"

#include <windows.h>

#include <cstdio>

#include "app/app_state_win.h"
#include "app/message_boxes_win.h"
#include "app/string_table_win.h"
#include "app/system_text_case_win.h"
#include "config/favorite_host_file_win.h"
#include "config/favorites_win.h"
#include "config/host_list_import.h"
#include "config/open_file_dialog_win.h"
#include "resources/resource_ids.h"
#include "text/path_text.h"

// Host lists are small; a file beyond this is not one.
static const DWORD kLargestHostList = 16u << 20;

static bool ReadHostListFile(const std::string& path, std::string& text) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD high = 0;
  const DWORD size = GetFileSize(file, &high);
  bool ok = size != INVALID_FILE_SIZE && high == 0 && size <= kLargestHostList;
  if (ok) {
    text.assign(size, '\0');
    DWORD got = 0;
    ok = size == 0 || (ReadFile(file, &text[0], size, &got, nullptr) && got == size);
  }
  CloseHandle(file);
  return ok;
}

// Says what the import did: how many hosts became favorites, whether the favorites were
// full before the list ended, and which lines were too long to read.
static void ReportImport(int imported, int skippedLines, bool stoppedAtLimit) {
  std::string text = LoadResourceText(IDS_HOSTS_IMPORTED);
  char formatted[512];
  if (stoppedAtLimit) {
    std::snprintf(formatted, sizeof formatted, LoadResourceText(IDS_HOSTS_IMPORTED_TO_LIMIT).c_str(), imported);
    text = formatted;
  } else if (imported == 0) {
    text = LoadResourceText(IDS_NO_HOSTS_IMPORTED);
  } else if (skippedLines > 0) {
    std::snprintf(formatted, sizeof formatted, LoadResourceText(IDS_HOSTS_IMPORTED_LINES_SKIPPED).c_str(), imported,
                  skippedLines);
    text = formatted;
  }
  ShowProgramMessageBox(text, VAKO_CAPTION, MB_OK);
}

static bool FileExistsInProgramFolder(const std::string& name) {
  return GetFileAttributesA(JoinLocalPath(ProgramFolder, name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

static void ImportHostList(HostListKind kind, int filterText) {
  std::string path;
  if (!ChooseFileToOpen(LoadResourceText(IDS_IMPORT_TITLE), LoadResourceText(filterText), "",
                        FormatOfHostList(kind).defaultFileName, path)) {
    return;
  }
  std::string text;
  if (!ReadHostListFile(path, text)) {
    ShowMessage(IDS_FAILED_READ_FILE);
    return;
  }
  const HostListSections sections = ReadHostListSections(text);
  const HostListImport plan = PlanHostListImport(kind, sections.names, HostListValues(text), FavoriteNames.size(),
                                                 FileExistsInProgramFolder, SystemTextCase());
  int imported = 0;
  for (const ImportedHost& host : plan.hosts) {
    if (!WriteImportedFavorite(JoinLocalPath(ProgramFolder, host.fileName), host)) continue;
    FavoriteNames.push_back(host.fileName);
    ++imported;
  }
  BuildFavoritesMenu();
  ReportImport(imported, sections.skippedLines, plan.stoppedAtLimit);
}

void ImportWS_FTP() { ImportHostList(HostListKind::WsFtp, IDS_FILTER_WSFTP); }
void ImportMatuFTP() { ImportHostList(HostListKind::MatuFtp, IDS_FILTER_MATU); }
void ImportFFFTP() { ImportHostList(HostListKind::Ffftp, IDS_FILTER_FFFTP); }
