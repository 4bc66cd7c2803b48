#include "app/help_command_win.h"

#include <windows.h>

#include "app/app_state_win.h"
#include "app/help_file.h"
#include "app/shell_open_win.h"
#include "app/string_table_win.h"
#include "resources/resource_ids.h"

void OpenHelpContents() {
  // The string table names the edition's language, so the help follows the menus' language.
  HelpToOpen help = ChooseHelp(ProgramFolder, LoadResourceText(IDS_HELP_LANGUAGE),
                               [](const std::string& path) {
                                 DWORD a = GetFileAttributesA(path.c_str());
                                 return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
                               });
  ShellOpen(help.file, help.folder);
}
