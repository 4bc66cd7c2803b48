// The port a host is reached on.
#pragma once

// A host without a port of its own (0, or the 21 every new host starts with) is reached on
// FTP's port, and with implicit TLS on FTPS's 990. Any other stored port is used as it is.
int ControlPortFor(int port, int security);
