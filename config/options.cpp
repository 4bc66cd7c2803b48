#include "config/options.h"

#include <cstring>

OptionsRecord Options;
std::string BrowserPath;
std::string EditorPath;

namespace {
using R = OptionsRecord;
SettingKey T(const char* key, size_t cap, const char* def, std::string R::*field) {
  return SettingKey{key, SettingKey::Text, cap, def, 0, field, nullptr};
}
SettingKey I(const char* key, int def, int R::*field) {
  return SettingKey{key, SettingKey::Integer, 0, nullptr, def, nullptr, field};
}
}  // namespace

const std::vector<SettingKey>& SettingKeys() {
  static const std::vector<SettingKey> keys = {
      T("HostName", 256, "", &R::HostName),
      T("HostAddr", 128, "", &R::HostAddr),
      T("UserID", 128, "", &R::UserID),
      T("UserPass", 128, "", &R::UserPass),
      T("InitialLocalFolder", 260, "", &R::InitialLocalFolder),
      T("InitialRemoteFolder", 2048, "./", &R::InitialRemoteFolder),
      T("AsciiType", 128, "txt;html;shtml;cgi;sh;pl;java;htm;log", &R::AsciiType),
      T("BinaryType", 128, "jpg;gif;lzh;zip;mid", &R::BinaryType),
      T("ChmodType1", 64, "cgi;pl;sh", &R::ChmodType1),
      T("ChmodType2", 64, "dat;log", &R::ChmodType2),
      T("Chmod1", 8, "755", &R::Chmod1),
      T("Chmod2", 8, "646", &R::Chmod2),
      T("ProxyServer", 260, "", &R::ProxyServer),
      T("ProxyUser", 128, "", &R::ProxyUser),
      T("ProxyPass", 128, "", &R::ProxyPass),
      T("TransferType", 128, "BINARY", &R::TransferType),
      I("SortTypeLocal", 40025, &R::SortTypeLocal),
      I("SortTypeRemote", 40025, &R::SortTypeRemote),
      I("CapitalMode", 2, &R::CapitalMode),
      I("CompareDate", 0, &R::CompareDate),
      I("CompareDate2", 0, &R::CompareDate2),
      T("E-Mail", 64, "anonymous@example.com", &R::EMail),
      T("HPAddres", 128, "http://www.vako-ftp.example/", &R::HPAddres),
      T("TestFolder", 260, "", &R::TestFolder),
      I("DetailIcon", 0, &R::DetailIcon),
      I("DetailExt", 0, &R::DetailExt),
      I("LocalListType", 40004, &R::LocalListType),
      I("RemoteListType", 40004, &R::RemoteListType),
      I("Port", 21, &R::Port),
      I("YesNo", 1, &R::YesNo),
      I("Proxy", 0, &R::Proxy),
      I("ProxyPort", 21, &R::ProxyPort),
      I("ProxyType", 0, &R::ProxyType),
      I("WindowDiv", 1, &R::WindowDiv),
      I("WindowSplitPos", 128, &R::WindowSplitPos),
      I("WindowSplitPos2", 128, &R::WindowSplitPos2),
      I("NKFUp", 0, &R::NKFUp),
      I("NKFDown", 0, &R::NKFDown),
      I("NKFKana", 0, &R::NKFKana),
      I("SortSub", 0, &R::SortSub),
      I("SortSubRemote", 0, &R::SortSubRemote),
      I("ToolFlat", 0, &R::ToolFlat),
      I("TreeView", 1, &R::TreeView),
      I("Auto", 1, &R::Auto),
      I("TL", 180, &R::TL),
      I("TR", 180, &R::TR),
      I("TestOpen", 1, &R::TestOpen),
      I("LZHCap", 0, &R::LZHCap),
      I("LZHSys", 0, &R::LZHSys),
      I("Wide", 0, &R::Wide),
      I("List", 0, &R::List),
      I("ReceiveBuf", 1024, &R::ReceiveBuf),
      I("SendBuf", 1024, &R::SendBuf),
      I("SavePass", 1, &R::SavePass),
      I("OK", 1, &R::OK),
      I("Sync", 0, &R::Sync),
      I("TimeLag", 0, &R::TimeLag),
      I("Pasv", 0, &R::Pasv),
      I("NameEncoding", 0, &R::NameEncoding),
      I("Security", 0, &R::Security),
      I("ReconnectTries", 3, &R::ReconnectTries),
  };
  return keys;
}

const SettingKey* FindSettingKey(const char* key) {
  for (const SettingKey& k : SettingKeys())
    if (std::strcmp(k.key, key) == 0) return &k;
  return nullptr;
}

static const int kColumnDefaults[5] = {160, 50, 84, 110, 50};

OptionsRecord::OptionsRecord() {
  for (const SettingKey& k : SettingKeys()) {
    if (k.kind == SettingKey::Text)
      this->*k.text = k.textDefault;
    else
      this->*k.integer = k.intDefault;
  }
  for (int i = 0; i < 5; ++i) LocalColumn[i] = RemColumn[i] = kColumnDefaults[i];
}

std::string CutToCapacity(const std::string& value, size_t capacity) {
  return value.size() < capacity ? value : value.substr(0, capacity - 1);
}

int ValidListType(int value) { return value >= 40001 && value <= 40004 ? value : 40004; }

int ClampTransferBufferSize(int value) {
  if (value < 1) return 1;
  return value > 65536 ? 65536 : value;
}
