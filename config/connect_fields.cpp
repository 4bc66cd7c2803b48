#include "config/connect_fields.h"

#include "config/dialog_text.h"
#include "config/host_profile.h"
#include "resources/resource_ids.h"

// The fields have the capacities of their keys in the settings file.
static std::string Fit(const std::string& text, const char* key) {
  const SettingKey* setting = FindSettingKey(key);
  return FitFieldText(text, setting ? setting->capacity : 0);
}

int ApplyConnectFields(const ConnectFields& typed, OptionsRecord& options) {
  std::string addr = Fit(typed.hostAddr, "HostAddr");
  if (addr.empty()) return IDS_TYPE_HOST_ADDRESS;
  options.HostAddr = addr;
  std::string user = Fit(typed.userId, "UserID");
  if (user.empty()) return IDS_TYPE_LOGIN_NAME;
  options.UserID = user;
  std::string pass = Fit(typed.userPass, "UserPass");
  if (pass.empty()) return IDS_TYPE_LOGIN_PASSWORD;
  options.UserPass = pass;
  options.HostName = Fit(typed.hostName, "HostName");
  options.SavePass = typed.savePass ? 1 : 0;
  const int security = ValidSecurity(typed.security);
  if (security != ValidSecurity(options.Security)) options.Port = PortForSecurity(security, options.Port);
  options.Security = security;
  return 0;
}
