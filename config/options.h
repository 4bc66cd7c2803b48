// The options record: every setting of vako.ini, each field named by its INI key.
#pragma once
#include <string>
#include <vector>

struct OptionsRecord {
  std::string HostName, HostAddr, UserID, UserPass;
  std::string InitialLocalFolder, InitialRemoteFolder;
  std::string AsciiType, BinaryType, ChmodType1, ChmodType2, Chmod1, Chmod2;
  std::string ProxyServer, ProxyUser, ProxyPass;
  std::string TransferType;
  int SortTypeLocal, SortTypeRemote, CapitalMode, CompareDate, CompareDate2;
  std::string EMail, HPAddres, TestFolder;
  int DetailIcon, DetailExt, LocalListType, RemoteListType, Port, YesNo, Proxy, ProxyPort, ProxyType;
  int WindowDiv, WindowSplitPos, WindowSplitPos2, NKFUp, NKFDown, NKFKana, SortSub, SortSubRemote;
  int ToolFlat, TreeView, Auto, TL, TR, TestOpen, LZHCap, LZHSys, Wide, List;
  int ReceiveBuf, SendBuf, SavePass, OK, Sync;
  int LocalColumn[5], RemColumn[5];
  int TimeLag;
  int Pasv;  // 1: data connections are opened to the server (EPSV, then PASV)
  int NameEncoding;  // the Connect command's host: 0 automatic, 1 UTF-8, 2 the ANSI code page
  int Security;      // the Connect command's host: 0 none, 1 explicit TLS, 2 implicit TLS
  int ReconnectTries;  // logins again after a lost connection during a job (0: none)

  OptionsRecord();  // every field at its default
};

extern OptionsRecord Options;

// Programs associated with .html and .txt files, found when the settings are loaded.
extern std::string BrowserPath;
extern std::string EditorPath;

// Window placement in screen pixels, as stored in WindowLeft/Top/Right/Bottom: the normal
// (restored) rectangle, and WindowMaximized.
struct Placement {
  int left = 32, top = 32, right = 635, bottom = 384;
  int maximized = 0;
};

// One key of the settings file, in the order the settings are read.
struct SettingKey {
  const char* key;
  enum Kind { Text, Integer } kind;
  size_t capacity;          // text keys: bytes including the terminating zero
  const char* textDefault;
  int intDefault;
  std::string OptionsRecord::*text;
  int OptionsRecord::*integer;
};
const std::vector<SettingKey>& SettingKeys();
const SettingKey* FindSettingKey(const char* key);

// Keeps the first capacity-1 bytes of a stored value, as a fixed field would.
std::string CutToCapacity(const std::string& value, size_t capacity);

// The chunk size a data transfer may ask for, whatever the settings file holds:
// "ReceiveBuf" and "SendBuf" stay within 1..65,536.
int ClampTransferBufferSize(int value);

// A list's view style as the settings file may hold it: the View commands 40001-40004
// stay, anything else becomes details (40004). The value is sent as a command at start.
int ValidListType(int value);
