#include "config/options_sheet_win.h"

#include "config/options_pages_win.h"
#include "config/proxy_page_win.h"
#include "resources/resource_ids.h"

INT_PTR ShowOptionsSheet() {
  return RunPropertySheet(IDS_OPTIONS_CAPTION, {OptionsBasicPage(), OptionsTransferPage(), OptionsViewPage(),
                                                OptionsUnlhaPage(), OptionsPermissionPage(), OptionsProxyPage(),
                                                OptionsDetailsPage()});
}
