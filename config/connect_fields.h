// What the Connect dialog's "Connect" button does with the typed fields.
#pragma once
#include <string>

#include "config/options.h"

struct ConnectFields {
  std::string hostName, hostAddr, userId, userPass;
  int savePass = 0;
};

// Checks the address, the login name and the password in this order, storing each into
// the options as soon as it is found present, so a field stored before a failing check
// keeps its new value. Answers 0 when all three are present (then HostName and SavePass
// are stored too), otherwise the string-table id of the message to show.
// Texts are cut to the capacities of their settings.
int ApplyConnectFields(const ConnectFields& typed, OptionsRecord& options);
