#include "config/proxy_page_win.h"

#include "config/favorite_file_win.h"
#include "config/host_profile.h"
#include "config/host_sheet_keys.h"
#include "config/options.h"
#include "resources/resource_ids.h"

namespace {

// The program offers one login style only: it is always the one shown, and the stored
// style is carried through unchanged.
void ShowProxy(HWND page, const ProxySettings& proxy, int pasv) {
  ShowCheck(page, IDC_USE_PROXY, proxy.Proxy == 1);
  ShowText(page, IDC_PROXY_SERVER, proxy.ProxyServer, kProxyServerCapacity);
  ShowNumber(page, IDC_PROXY_PORT, proxy.ProxyPort);
  ShowText(page, IDC_PROXY_USER, proxy.ProxyUser, kProxyUserCapacity);
  ShowText(page, IDC_PROXY_PASS, proxy.ProxyPass, kProxyPassCapacity);
  CheckRadioButton(page, IDC_PROXY_SITE, IDC_PROXY_USER_AT_HOST, IDC_PROXY_USER_AT_HOST);
  ShowCheck(page, IDC_PASV_MODE, pasv == 1);
}

void ReadProxy(HWND page, ProxySettings& proxy) {
  proxy.Proxy = ReadCheck(page, IDC_USE_PROXY) ? 1 : 0;
  proxy.ProxyServer = ReadText(page, IDC_PROXY_SERVER, kProxyServerCapacity);
  proxy.ProxyPort = ReadUnsignedNumber(page, IDC_PROXY_PORT);
  proxy.ProxyUser = ReadText(page, IDC_PROXY_USER, kProxyUserCapacity);
  proxy.ProxyPass = ReadText(page, IDC_PROXY_PASS, kProxyPassCapacity);
}

void FillOptionsProxy(HWND page) { ShowProxy(page, ProxyOfOptions(), Options.Pasv); }

void ApplyOptionsProxy(HWND page) {
  ProxySettings proxy = ProxyOfOptions();
  ReadProxy(page, proxy);
  Options.Proxy = proxy.Proxy;
  Options.ProxyServer = proxy.ProxyServer;
  Options.ProxyPort = proxy.ProxyPort;
  Options.ProxyUser = proxy.ProxyUser;
  Options.ProxyPass = proxy.ProxyPass;
  Options.Pasv = ReadCheck(page, IDC_PASV_MODE) ? 1 : 0;
}

void FillHostProxy(HWND page) { ShowProxy(page, CurrentHost.Proxy, CurrentHost.Pasv); }

void ApplyHostProxy(HWND page) {
  ReadProxy(page, CurrentHost.Proxy);
  CurrentHost.Pasv = ReadCheck(page, IDC_PASV_MODE) ? 1 : 0;
  WriteFavoriteEntries(ProxyPageEntries(CurrentHost.Proxy, CurrentHost.Pasv));
}

}  // namespace

SheetPage OptionsProxyPage() { return {IDD_PROXY, FillOptionsProxy, ApplyOptionsProxy, nullptr}; }
SheetPage HostProxyPage() { return {IDD_PROXY, FillHostProxy, ApplyHostProxy, nullptr}; }
