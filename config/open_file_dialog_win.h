// The explorer-style Open dialog the favorite and import commands show.
#pragma once
#include <string>

// Shows the dialog over the main window with the title, the filter text ("name|pattern|"),
// the folder it starts in (empty: the dialog's own choice) and the name preset in its name
// field. The program's current folder stays as it was. On Open, path is the chosen file
// and the answer is true.
bool ChooseFileToOpen(const std::string& title, const std::string& filterText, const std::string& startFolder,
                      const std::string& presetName, std::string& path);
