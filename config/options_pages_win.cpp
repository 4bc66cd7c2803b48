#include "config/options_pages_win.h"

#include "config/host_profile.h"
#include "config/options.h"
#include "config/sheet_fields.h"
#include "resources/resource_ids.h"

size_t OptionCapacity(const char* key) {
  const SettingKey* setting = FindSettingKey(key);
  return setting && setting->capacity ? setting->capacity : 1;
}

namespace {

void ShowOption(HWND page, int id, const char* key, const std::string& value) {
  ShowText(page, id, value, OptionCapacity(key));
}
void ReadOption(HWND page, int id, const char* key, std::string& value) { value = ReadText(page, id, OptionCapacity(key)); }
int CheckValue(HWND page, int id) { return ReadCheck(page, id) ? 1 : 0; }
// One bit of a bit-set option; the other bits stay as they are.
void ReadBit(HWND page, int id, int bit, int& value) { value = ReadCheck(page, id) ? (value | bit) : (value & ~bit); }

// The radio of a group whose value is `value`; none when the value has no button.
void ShowRadio(HWND page, const int (&ids)[3], const int (&values)[3], int value) {
  for (int i = 0; i < 3; ++i) ShowCheck(page, ids[i], values[i] == value);
}
void ReadRadio(HWND page, const int (&ids)[3], const int (&values)[3], int& value) {
  for (int i = 0; i < 3; ++i)
    if (ReadCheck(page, ids[i])) value = values[i];
}

void FillBasic(HWND page) {
  ShowOption(page, IDC_OPTIONS_LOCAL, "InitialLocalFolder", Options.InitialLocalFolder);
  ShowOption(page, IDC_OPTIONS_REMOTE, "InitialRemoteFolder", Options.InitialRemoteFolder);
  ShowCheck(page, IDC_SYNCHRONIZE, Options.Sync == 1);
  ShowOption(page, IDC_ASCII_TYPES, "AsciiType", Options.AsciiType);
  ShowOption(page, IDC_BINARY_TYPES, "BinaryType", Options.BinaryType);
  ShowOption(page, IDC_EMAIL, "E-Mail", Options.EMail);
  ShowOption(page, IDC_WEB_PAGE, "HPAddres", Options.HPAddres);
}

void ApplyBasic(HWND page) {
  ReadOption(page, IDC_OPTIONS_LOCAL, "InitialLocalFolder", Options.InitialLocalFolder);
  ReadOption(page, IDC_OPTIONS_REMOTE, "InitialRemoteFolder", Options.InitialRemoteFolder);
  Options.Sync = CheckValue(page, IDC_SYNCHRONIZE);
  ReadOption(page, IDC_ASCII_TYPES, "AsciiType", Options.AsciiType);
  ReadOption(page, IDC_BINARY_TYPES, "BinaryType", Options.BinaryType);
  ReadOption(page, IDC_EMAIL, "E-Mail", Options.EMail);
  ReadOption(page, IDC_WEB_PAGE, "HPAddres", Options.HPAddres);
}

bool BasicCommand(HWND page, int control) {
  if (control != IDC_BROWSE_OPTIONS_LOCAL) return false;
  BrowseIntoField(page, IDC_OPTIONS_LOCAL, OptionCapacity("InitialLocalFolder"));
  return true;
}

constexpr int kCaseButtons[3] = {IDC_LOWERCASE, IDC_UPPERCASE, IDC_AS_IT_IS};
constexpr int kCaseValues[3] = {0, 1, 2};
constexpr int kNkfButtons[3] = {IDC_TO_EUC, IDC_TO_JIS, IDC_NO_CONVERT};
constexpr int kNkfValues[3] = {1, 2, 0};

void FillTransfer(HWND page) {
  ShowRadio(page, kCaseButtons, kCaseValues, Options.CapitalMode);
  ShowCheck(page, IDC_SEND_NEWER, Options.CompareDate & 1);
  ShowCheck(page, IDC_SEND_SIZE_DIFFERS, Options.CompareDate & 2);
  ShowNumber(page, IDC_OPTIONS_TIME_LAG, Options.TimeLag);
  ShowCheck(page, IDC_RECEIVE_NEWER, Options.CompareDate2 & 1);
  ShowRadio(page, kNkfButtons, kNkfValues, Options.NKFUp);
  ShowCheck(page, IDC_NKF_DOWN, Options.NKFDown == 1);
  ShowCheck(page, IDC_NKF_KANA, Options.NKFKana == 1);
}

void ApplyTransfer(HWND page) {
  ReadRadio(page, kCaseButtons, kCaseValues, Options.CapitalMode);
  ReadBit(page, IDC_SEND_NEWER, 1, Options.CompareDate);
  ReadBit(page, IDC_SEND_SIZE_DIFFERS, 2, Options.CompareDate);
  // The open connection's listings follow the new time lag too.
  Options.TimeLag = ClampOptionsTimeLag(ReadSignedNumber(page, IDC_OPTIONS_TIME_LAG));
  CurrentHost.TimeLag = Options.TimeLag;
  ReadBit(page, IDC_RECEIVE_NEWER, 1, Options.CompareDate2);
  ReadRadio(page, kNkfButtons, kNkfValues, Options.NKFUp);
  Options.NKFDown = CheckValue(page, IDC_NKF_DOWN);
  Options.NKFKana = CheckValue(page, IDC_NKF_KANA);
}

void FillView(HWND page) {
  ShowCheck(page, IDC_DETAIL_EXT, Options.DetailExt == 1);
  ShowCheck(page, IDC_DETAIL_ICON, Options.DetailIcon == 1);
  ShowCheck(page, IDC_WINDOW_DIV, Options.WindowDiv == 1);
  ShowCheck(page, IDC_TOOL_FLAT, Options.ToolFlat != 0);
  ShowCheck(page, IDC_FULL_ROW, Options.Wide == 1);
  ShowCheck(page, IDC_CONFIRMATIONS, Options.YesNo == 1);
  ShowCheck(page, IDC_COMPLETION_BOX, Options.OK == 1);
}

void ApplyView(HWND page) {
  Options.DetailExt = CheckValue(page, IDC_DETAIL_EXT);
  Options.DetailIcon = CheckValue(page, IDC_DETAIL_ICON);
  Options.WindowDiv = CheckValue(page, IDC_WINDOW_DIV);
  Options.ToolFlat = ReadCheck(page, IDC_TOOL_FLAT) ? 2048 : 0;  // the toolbar's flat-style flag itself
  Options.Wide = CheckValue(page, IDC_FULL_ROW);
  Options.YesNo = CheckValue(page, IDC_CONFIRMATIONS);
  Options.OK = CheckValue(page, IDC_COMPLETION_BOX);
}

void FillPermission(HWND page) {
  ShowOption(page, IDC_CHMOD_TYPE1, "ChmodType1", Options.ChmodType1);
  ShowOption(page, IDC_CHMOD1, "Chmod1", Options.Chmod1);
  ShowOption(page, IDC_CHMOD_TYPE2, "ChmodType2", Options.ChmodType2);
  ShowOption(page, IDC_CHMOD2, "Chmod2", Options.Chmod2);
}

void ApplyPermission(HWND page) {
  ReadOption(page, IDC_CHMOD_TYPE1, "ChmodType1", Options.ChmodType1);
  ReadOption(page, IDC_CHMOD1, "Chmod1", Options.Chmod1);
  ReadOption(page, IDC_CHMOD_TYPE2, "ChmodType2", Options.ChmodType2);
  ReadOption(page, IDC_CHMOD2, "Chmod2", Options.Chmod2);
}

void FillDetails(HWND page) {
  PreparePortSpin(page, IDC_PORT_SPIN);
  ShowNumber(page, IDC_PORT, Options.Port);
  CheckRadioButton(page, IDC_LIST_COMMAND, IDC_NLST_COMMAND, Options.List == 1 ? IDC_NLST_COMMAND : IDC_LIST_COMMAND);
  ShowNumber(page, IDC_RECEIVE_BUF, Options.ReceiveBuf);
  ShowNumber(page, IDC_SEND_BUF, Options.SendBuf);
}

void ApplyDetails(HWND page) {
  Options.Port = ReadUnsignedNumber(page, IDC_PORT);
  Options.List = ReadCheck(page, IDC_NLST_COMMAND) ? 1 : 0;
  // Kept as typed; a transfer keeps its chunks within its buffer whatever is stored.
  Options.ReceiveBuf = ReadUnsignedNumber(page, IDC_RECEIVE_BUF);
  Options.SendBuf = ReadUnsignedNumber(page, IDC_SEND_BUF);
}

}  // namespace

SheetPage OptionsBasicPage() { return {IDD_OPTIONS_BASIC, FillBasic, ApplyBasic, BasicCommand}; }
SheetPage OptionsTransferPage() { return {IDD_TRANSFER, FillTransfer, ApplyTransfer, nullptr}; }
SheetPage OptionsViewPage() { return {IDD_VIEW, FillView, ApplyView, nullptr}; }
SheetPage OptionsPermissionPage() { return {IDD_PERMISSION, FillPermission, ApplyPermission, nullptr}; }
SheetPage OptionsDetailsPage() { return {IDD_OPTIONS_DETAILS, FillDetails, ApplyDetails, nullptr}; }
