#include "app/command_table.h"

namespace {

// Conditions of a row; a row runs when all of its conditions hold.
enum : unsigned {
  Always = 0,
  NoJob = 1,              // "job 0"
  Connected = 2,          // connected, whatever pane
  RemoteNeedsConnection = 4,  // the remote branch needs the connection
  LocalNeedsNoArchive = 8,    // the local branch is refused while an archive is shown
  ArchiveOpen = 16,       // ArchiveMode 1
  RemoteOnly = 32,
  LocalOnly = 64,
};

struct Row {
  int first, last;
  unsigned conditions;
};

// Menu ids (resources): 40001-40004 View styles, 40005 Connect, 40006 Disconnect,
// 40007 About, 40008 Open, 40009 Upload, 40010 Download, 40011 Go to Folder,
// 40012 New Folder, 40013 Delete, 40014 Rename, 40015 Exit, 40018 Refresh,
// 40019 Previous Folder, 40020 Ascii, 40021 Binary, 40023-40028 Arrange Icons,
// 40050 WWW Browser, 40051 Arrange Favorites, 40052 Contents, 40053 Add Favorites,
// 40058 Enter, 40059 Author's page, 40061 NKF receive, 40062 Kana, 40063 Tab,
// 40064-40066 NKF send, 40068/40069/40072 imports, 40070 Update, 40073 Tool Bar,
// 40074 Stop, 40075 Tree View, 40076/40077 order, 40078 Options, 40079 Synchronize,
// 40080 Auto Detect, 40081/40082 open by browser/editor, 40083 Test Extract,
// 40084 Compress Files, 40085 Compress Folder, 40088 Mirroring Upload, 40090 Select All,
// 40091 New Window, 40093 archive test extract, 40094 Link Analyzer, 40095 Copy,
// 40096 Change Attributes, 40097 Invert Items, 40100 Show FTP Log, 40101 New File,
// 40102 Open Favorite, 40104 remote Open, 40200/40201 end of upload/download jobs.
const Row kRows[] = {
    {40001, 40004, Always},
    {40005, 40006, NoJob},
    {40007, 40008, Always},
    {40058, 40058, Always},
    {40009, 40010, NoJob | Connected},
    {40088, 40088, NoJob | Connected},
    {40104, 40104, NoJob | Connected},
    {40011, 40011, NoJob | RemoteNeedsConnection},
    {40012, 40012, NoJob | LocalNeedsNoArchive},
    {40013, 40013, NoJob | RemoteNeedsConnection},
    {40014, 40014, NoJob},
    {40015, 40015, Always},  // Exit during a job asks first (the window's close does)
    {40018, 40018, NoJob | RemoteNeedsConnection},
    {40019, 40019, NoJob | RemoteNeedsConnection},
    {40020, 40021, NoJob},
    {40023, 40028, Always},
    {40050, 40053, Always},
    {40059, 40059, Always},
    {40061, 40062, NoJob},
    {40063, 40063, Always},
    {40064, 40066, NoJob},
    {40068, 40070, Always},  // 40068, 40069 imports; 40070 update page
    {40072, 40075, Always},  // 40072 import; 40073 tool bar; 40074 stop; 40075 tree view
    {40076, 40077, Always},
    {40078, 40078, NoJob},
    {40079, 40080, Always},
    // The viewers and the archive tools work in the folder the local pane shows, which
    // follows a job: refused while one runs, as is the link analyzer.
    {40081, 40082, NoJob},
    {40083, 40085, NoJob | ArchiveOpen},
    {40090, 40091, Always},
    {40093, 40093, Always},
    {40094, 40094, NoJob},
    {40095, 40095, Always},
    {40096, 40096, NoJob | RemoteOnly},
    {40097, 40097, Always},
    {40100, 40100, Always},
    {40101, 40101, LocalOnly},
    {40102, 40102, NoJob},
    {40200, 40201, Always},
};

}  // namespace

CommandGate GateCommand(int id, const CommandState& state) {
  if (id >= kFirstFavoriteCommand && id < kFavoriteCommandEnd) {
    return state.jobRunning ? CommandUnhandled : CommandFavorite;
  }
  for (const Row& row : kRows) {
    if (id < row.first || id > row.last) continue;
    const unsigned c = row.conditions;
    const bool local = state.activePane == 0;
    if ((c & NoJob) && state.jobRunning) return CommandRefused;
    if ((c & Connected) && !state.connected) return CommandRefused;
    if ((c & RemoteNeedsConnection) && !local && !state.connected) return CommandRefused;
    if ((c & LocalNeedsNoArchive) && local && state.archiveMode) return CommandRefused;
    if ((c & ArchiveOpen) && !state.archiveMode) return CommandRefused;
    if ((c & RemoteOnly) && local) return CommandRefused;
    if ((c & LocalOnly) && !local) return CommandRefused;
    return CommandRuns;
  }
  return CommandUnhandled;
}

int ListViewStyleOfCommand(int id) {
  switch (id) {
    case 40001: return 0x0000;  // LVS_ICON
    case 40002: return 0x0002;  // LVS_SMALLICON
    case 40003: return 0x0003;  // LVS_LIST
    default: return 0x0001;     // LVS_REPORT
  }
}

int SortKeyOfCommand(int id) {
  if (id >= 40023 && id <= 40027) return id - 40023;
  return -1;
}
