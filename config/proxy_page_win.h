// The Proxy page (dialog 147), the same in both sheets: the Options sheet's page edits the
// proxy options, the host-settings sheet's page the current host's proxy block and the
// favorite file.
#pragma once
#include "config/property_sheet_win.h"

SheetPage OptionsProxyPage();
SheetPage HostProxyPage();
