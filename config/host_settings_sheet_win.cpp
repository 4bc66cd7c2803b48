#include "config/host_settings_sheet_win.h"

#include "config/favorite_file_win.h"
#include "config/host_profile.h"
#include "config/host_sheet_keys.h"
#include "config/options.h"
#include "config/property_sheet_win.h"
#include "config/proxy_page_win.h"
#include "app/tree_cache.h"
#include "resources/resource_ids.h"

namespace {

void FillBasic(HWND page) {
  ShowText(page, IDC_HOST_NAME, CurrentHost.HostName, kHostNameCapacity);
  ShowText(page, IDC_HOST_ADDRESS, CurrentHost.HostAddr, kHostAddrCapacity);
  ShowText(page, IDC_LOGIN_NAME, CurrentHost.UserID, kUserIdCapacity);
  ShowText(page, IDC_PASSWORD, CurrentHost.UserPass, kUserPassCapacity);
  ShowText(page, IDC_HOST_LOCAL, CurrentHost.InitialLocalFolder, kLocalFolderCapacity);
  ShowText(page, IDC_HOST_REMOTE, CurrentHost.InitialRemoteFolder, kRemoteFolderCapacity);
}

void ApplyBasic(HWND page) {
  CurrentHost.HostName = ReadText(page, IDC_HOST_NAME, kHostNameCapacity);
  CurrentHost.HostAddr = ReadText(page, IDC_HOST_ADDRESS, kHostAddrCapacity);
  CurrentHost.UserID = ReadText(page, IDC_LOGIN_NAME, kUserIdCapacity);
  CurrentHost.UserPass = ReadText(page, IDC_PASSWORD, kUserPassCapacity);
  CurrentHost.InitialLocalFolder = ReadText(page, IDC_HOST_LOCAL, kLocalFolderCapacity);
  CurrentHost.InitialRemoteFolder = ReadText(page, IDC_HOST_REMOTE, kRemoteFolderCapacity);
  WriteFavoriteEntries(BasicPageEntries(CurrentHost));
}

bool BasicCommand(HWND page, int control) {
  switch (control) {
    case IDC_ANONYMOUS:
      SetDlgItemTextA(page, IDC_LOGIN_NAME, "anonymous");
      SetDlgItemTextA(page, IDC_PASSWORD, Options.EMail.c_str());
      return true;
    case IDC_BROWSE_HOST_LOCAL:
      BrowseIntoField(page, IDC_HOST_LOCAL, kLocalFolderCapacity);
      return true;
  }
  return false;
}

void FillDetails(HWND page) {
  ShowNumber(page, IDC_HOST_TIME_LAG, CurrentHost.TimeLag);
  PreparePortSpin(page, IDC_PORT_SPIN);
  ShowNumber(page, IDC_PORT, CurrentHost.Port);
  CheckRadioButton(page, IDC_LIST_COMMAND, IDC_NLST_COMMAND, CurrentHost.List == 1 ? IDC_NLST_COMMAND : IDC_LIST_COMMAND);
  // The three buttons are numbered in the order of the values they stand for.
  CheckRadioButton(page, IDC_NAMES_AUTOMATIC, IDC_NAMES_CODE_PAGE,
                   IDC_NAMES_AUTOMATIC + ValidNameEncoding(CurrentHost.NameEncoding));
  CheckRadioButton(page, IDC_SECURITY_NONE, IDC_SECURITY_IMPLICIT, IDC_SECURITY_NONE + ValidSecurity(CurrentHost.Security));
}

void ApplyDetails(HWND page) {
  CurrentHost.TimeLag = ReadSignedNumber(page, IDC_HOST_TIME_LAG);  // stored as typed, unlike the option
  CurrentHost.Port = ReadUnsignedNumber(page, IDC_PORT);
  CurrentHost.List = ReadCheck(page, IDC_NLST_COMMAND) ? 1 : 0;
  CurrentHost.NameEncoding = ReadCheck(page, IDC_NAMES_UTF8)        ? kNamesUtf8
                             : ReadCheck(page, IDC_NAMES_CODE_PAGE) ? kNamesCodePage
                                                                    : kNamesAutomatic;
  CurrentHost.Security = ReadCheck(page, IDC_SECURITY_EXPLICIT)   ? kSecurityExplicitTls
                         : ReadCheck(page, IDC_SECURITY_IMPLICIT) ? kSecurityImplicitTls
                                                                  : kSecurityNone;
  WriteFavoriteEntries(DetailsPageEntries(CurrentHost));
}

// Another Security moves the port between the usual ones (21 and 990); a port of the
// user's own stays.
void ChooseSecurity(HWND page, int control) {
  CheckRadioButton(page, IDC_SECURITY_NONE, IDC_SECURITY_IMPLICIT, control);
  const int port = ReadUnsignedNumber(page, IDC_PORT);
  const int suggested = PortForSecurity(control - IDC_SECURITY_NONE, port);
  if (suggested != port) ShowNumber(page, IDC_PORT, suggested);
}

bool DetailsCommand(HWND page, int control) {
  if (control >= IDC_SECURITY_NONE && control <= IDC_SECURITY_IMPLICIT) {
    ChooseSecurity(page, control);
    return true;
  }
  if (control != IDC_CACHE_CLEAR) return false;
  // Without a favorite file's name there is no cache of its own: ".tre" alone would be
  // another favorite's, in whatever the current folder is.
  if (CurrentFavoritePath.size() > 4) DeleteFileA(TreeCachePathOfFavorite(CurrentFavoritePath).c_str());
  return true;
}

}  // namespace

INT_PTR ShowHostSettingsSheet() {
  return RunPropertySheet(IDS_HOST_SETTINGS_CAPTION, {{IDD_HOST_BASIC, FillBasic, ApplyBasic, BasicCommand},
                                                      {IDD_HOST_DETAILS, FillDetails, ApplyDetails, DetailsCommand},
                                                      HostProxyPage()});
}
