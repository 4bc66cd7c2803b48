// What the Connect dialog's "Connect" button does with the typed fields.
#pragma once
#include <string>

#include "config/options.h"

struct ConnectFields {
  std::string hostName, hostAddr, userId, userPass;
  int savePass = 0;
  int security = 0;  // the Security chosen: one of SecurityModes
};

// Checks the address, the login name and the password in this order, storing each into
// the options as soon as it is found present, so a field stored before a failing check
// keeps its new value. Answers 0 when all three are present (then HostName and SavePass
// are stored too, with the Security; a Security other than the stored one moves the port
// between the usual ones, 21 and 990), otherwise the string-table id of the message to show.
// Texts are cut to the capacities of their settings.
int ApplyConnectFields(const ConnectFields& typed, OptionsRecord& options);
