#include "config/settings_file_win.h"

#include <windows.h>
#include <shlobj.h>
#include <shellapi.h>

#include <vector>

#include "app/app_state_win.h"
#include "config/host_profile.h"
#include "config/password.h"
#include "config/profile_value.h"
#include "ftp/text_file_win.h"
#include "resources/resource_ids.h"

static const char kSection[] = "Vako";
bool SaveLocalColumns = false;
bool SaveRemoteColumns = false;

std::string SettingsPath() { return ProgramFolder + "vako.ini"; }

std::string ReadSettingString(const char* key, const char* defaultValue, size_t capacity) {
  // Read with room to spare, then cut to the field's capacity ourselves.
  std::vector<char> buffer(capacity + 2);
  GetPrivateProfileStringA(kSection, key, defaultValue, buffer.data(), static_cast<DWORD>(buffer.size()),
                           SettingsPath().c_str());
  return CutToCapacity(buffer.data(), capacity);
}

int ReadSettingInt(const char* key, int defaultValue) {
  char buffer[64];
  static const char kMissing[] = "\x01missing";
  GetPrivateProfileStringA(kSection, key, kMissing, buffer, sizeof buffer, SettingsPath().c_str());
  if (std::string(buffer) == kMissing) return defaultValue;
  return ParseProfileInt(buffer);
}

int WriteSettingInt(const char* key, int value) {
  return WritePrivateProfileStringA(kSection, key, std::to_string(value).c_str(), SettingsPath().c_str()) ? 1 : 0;
}

int WriteSettingString(const char* key, const std::string& value) {
  return WritePrivateProfileStringA(kSection, key, QuoteForProfile(value).c_str(), SettingsPath().c_str()) ? 1 : 0;
}

static void ReadKey(const SettingKey& k) {
  if (k.kind == SettingKey::Text)
    Options.*k.text = ReadSettingString(k.key, k.textDefault, k.capacity);
  else
    Options.*k.integer = ReadSettingInt(k.key, k.intDefault);
}

static void ReadKeys(std::initializer_list<const char*> keys) {
  for (const char* key : keys) ReadKey(*FindSettingKey(key));
}

static std::string AssociatedProgram(const char* dummyName) {
  std::string path = WorkFolder + dummyName;
  WriteTextFile(path, "DMY", 0);
  char found[MAX_PATH] = "";
  HINSTANCE rc = FindExecutableA(dummyName, WorkFolder.c_str(), found);
  DeleteFileA(path.c_str());
  return reinterpret_cast<INT_PTR>(rc) > 32 ? std::string(found) : std::string();
}

void LoadSettings(Placement& placement) {
  ReadKeys({"HostName", "HostAddr", "UserID", "UserPass"});
  Options.UserPass = UnscramblePassword(Options.UserPass);

  ReadKeys({"InitialLocalFolder"});
  std::string remote = ReadSettingString("InitialRemoteFolder", "$_$", 2048);
  if (remote == "$_$") remote = ReadSettingString("InitialRemortFolder", "./", 2048);
  Options.InitialRemoteFolder = remote;

  ReadKeys({"AsciiType", "BinaryType", "ChmodType1", "ChmodType2", "Chmod1", "Chmod2", "ProxyServer",
            "ProxyUser", "ProxyPass"});
  // A file of an earlier version holds the proxy password as typed, under ProxyPass alone.
  static const char kMissing[] = "\x01missing";
  const std::string scrambledProxyPass = ReadSettingString(kScrambledProxyPassKey, kMissing, 128);
  if (scrambledProxyPass != kMissing) Options.ProxyPass = UnscramblePassword(scrambledProxyPass);
  placement.left = ReadSettingInt("WindowLeft", 32);
  placement.right = ReadSettingInt("WindowRight", 635);
  placement.top = ReadSettingInt("WindowTop", 32);
  placement.bottom = ReadSettingInt("WindowBottom", 384);
  placement.maximized = ReadSettingInt("WindowMaximized", 0) == 1;

  ReadKeys({"TransferType"});
  bool binary = !Options.TransferType.empty() && Options.TransferType[0] == 'B';
  TransferMode = binary ? 2 : 1;
  if (MainWindow) SendMessageA(MainWindow, WM_COMMAND, binary ? IDM_BINARY : IDM_ASCII, 0);

  ReadKeys({"SortTypeLocal", "SortTypeRemote", "CapitalMode", "CompareDate", "CompareDate2", "E-Mail",
            "HPAddres"});
  std::string test = ReadSettingString("TestFolder", "$$", 260);
  if (test == "$$") {
    char desktop[MAX_PATH] = "";
    SHGetSpecialFolderPathA(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE);
    test = desktop;
  }
  Options.TestFolder = test;

  ReadKeys({"DetailIcon", "DetailExt", "LocalListType", "RemoteListType", "Port", "YesNo", "Proxy",
            "ProxyPort", "ProxyType", "WindowDiv", "WindowSplitPos", "WindowSplitPos2", "NKFUp", "NKFDown",
            "NKFKana", "SortSub", "SortSubRemote", "ToolFlat", "TreeView", "Auto", "TL", "TR", "TestOpen",
            "LZHCap", "LZHSys", "Wide", "List", "ReceiveBuf", "SendBuf", "SavePass", "OK", "Sync"});
  Options.LocalListType = ValidListType(Options.LocalListType);
  Options.RemoteListType = ValidListType(Options.RemoteListType);
  for (int i = 0; i < 5; ++i) {
    std::string n = std::to_string(i + 1);
    Options.LocalColumn[i] = ReadSettingInt(("LocalColumn" + n).c_str(), Options.LocalColumn[i]);
  }
  for (int i = 0; i < 5; ++i) {
    std::string n = std::to_string(i + 1);
    Options.RemColumn[i] = ReadSettingInt(("RemColumn" + n).c_str(), Options.RemColumn[i]);
  }
  ReadKeys({"TimeLag", "Pasv", "NameEncoding", "Security", "ReconnectTries"});
  Options.Security = ValidSecurity(Options.Security);
  if (Options.ReconnectTries < 0) Options.ReconnectTries = 0;
  CurrentHost.TimeLag = Options.TimeLag;

  BrowserPath = AssociatedProgram("dmy.html");
  EditorPath = AssociatedProgram("dmy.txt");
}

static int WriteKeys(std::initializer_list<const char*> keys) {
  int written = 1;
  for (const char* key : keys) {
    const SettingKey& k = *FindSettingKey(key);
    written &= k.kind == SettingKey::Text ? WriteSettingString(k.key, Options.*k.text)
                                          : WriteSettingInt(k.key, Options.*k.integer);
  }
  return written;
}

int SaveSettings(const Placement& placement) {
  // The first write tells whether the file can be written at all; the rest go on regardless.
  int written = WriteKeys({"HostName", "HostAddr", "UserID"});
  WriteSettingString("UserPass", Options.SavePass == 1 ? ScramblePassword(Options.UserPass) : std::string());
  WriteKeys({"InitialLocalFolder", "InitialRemoteFolder", "AsciiType", "BinaryType", "ChmodType1", "ChmodType2",
             "Chmod1", "Chmod2", "ProxyServer", "ProxyUser"});
  WriteSettingString(kScrambledProxyPassKey, ScramblePassword(Options.ProxyPass));
  WriteSettingString("ProxyPass", "");
  WriteSettingString("TransferType", TransferMode == 2 ? "BINARY" : "ASCII");
  WriteSettingInt("WindowLeft", placement.left);
  WriteSettingInt("WindowRight", placement.right);
  WriteSettingInt("WindowTop", placement.top);
  WriteSettingInt("WindowBottom", placement.bottom);
  WriteSettingInt("WindowMaximized", placement.maximized);
  WriteKeys({"SortTypeLocal", "SortTypeRemote", "CapitalMode", "CompareDate", "CompareDate2", "E-Mail",
             "HPAddres", "TestFolder"});
  WriteProfileStringA("R.TessenSoftwares", "VAKOInstalledDir", ProgramFolder.c_str());
  WriteKeys({"DetailIcon", "DetailExt", "LocalListType", "RemoteListType", "Port", "YesNo", "Proxy", "ProxyPort",
             "ProxyType", "WindowDiv", "ToolFlat", "Auto", "TL", "TR", "TestOpen", "LZHCap", "LZHSys", "Wide",
             "List", "ReceiveBuf", "SendBuf", "SavePass", "WindowSplitPos", "WindowSplitPos2", "OK", "Sync"});
  for (int i = 0; i < 5 && SaveLocalColumns; ++i)
    WriteSettingInt(("LocalColumn" + std::to_string(i + 1)).c_str(), Options.LocalColumn[i]);
  for (int i = 0; i < 5 && SaveRemoteColumns; ++i)
    WriteSettingInt(("RemColumn" + std::to_string(i + 1)).c_str(), Options.RemColumn[i]);
  written &= WriteKeys({"NKFUp", "NKFDown", "NKFKana", "SortSub", "SortSubRemote", "TreeView", "TimeLag", "Pasv",
                        "NameEncoding", "Security", "ReconnectTries"});
  return written;
}
