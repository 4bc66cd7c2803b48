// Placeholder until secure connections are built.
#include "ftp/server_certificate_win.h"

int ControlConnectionIsProtected() { return 0; }
