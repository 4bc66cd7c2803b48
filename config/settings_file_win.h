// vako.ini: the options record read once when the main window is created and written
// once when it is destroyed.
#pragma once
#include <string>

#include "config/options.h"

std::string SettingsPath();  // ProgramFolder + "vako.ini"

void LoadSettings(Placement& placement);
// 1 when the file took the settings; 0 when it could not be written (a read-only folder).
int SaveSettings(const Placement& placement);

std::string ReadSettingString(const char* key, const char* defaultValue, size_t capacity);
int ReadSettingInt(const char* key, int defaultValue);
int WriteSettingInt(const char* key, int value);  // 1 when written
int WriteSettingString(const char* key, const std::string& value);

// The column widths are written only for a list that is in details view at exit; the main
// window sets these before SaveSettings (a list in another view keeps the stored widths).
extern bool SaveLocalColumns;
extern bool SaveRemoteColumns;
