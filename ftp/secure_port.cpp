#include "ftp/secure_port.h"

#include "config/host_profile.h"

int ControlPortFor(int port, int security) {
  const bool unset = port == 0 || port == 21;
  if (unset) return security == kSecurityImplicitTls ? 990 : 21;
  return port;
}
