// The pages of the Options sheet (the Proxy page is shared with the host-settings sheet).
// Applying a page sets option fields only; vako.ini is written when the program ends.
#pragma once
#include "config/property_sheet_win.h"

SheetPage OptionsBasicPage();       // dialog 140
SheetPage OptionsTransferPage();    // dialog 149
SheetPage OptionsViewPage();        // dialog 148
SheetPage OptionsPermissionPage();  // dialog 173
SheetPage OptionsDetailsPage();     // dialog 146
SheetPage OptionsUnlhaPage();       // dialog 168, in unlha_page_win.cpp

// The capacity of a text option, terminating zero included.
size_t OptionCapacity(const char* key);
