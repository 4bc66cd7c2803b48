// Names on servers that keep them in UTF-8 (those that list UTF8 in their FEAT reply):
// commands carry names in UTF-8, and listings and PWD replies come back to the program's
// code page. A name with characters the code page lacks is shown with a replacement mark
// and is never sent back, since the server would not find it under that spelling.
// Servers that do not list UTF8 get every name byte for byte, as before, and so do servers
// that list it but then send a name that is not UTF-8. The host's NameEncoding can force
// either way.
#pragma once
#include <string>

// True while the connected server takes and gives names in UTF-8.
extern bool ServerNamesAreUtf8;

// After login: FEAT, and when the server lists UTF8, OPTS UTF8 ON (its answer does not
// matter: a server that lists UTF8 uses it). A host set to UTF-8 sends OPTS UTF8 ON
// whatever FEAT says and keeps UTF-8; one set to the code page asks nothing more. The same
// FEAT reply decides on machine listings (ChooseMachineListing). Only ever called on a
// fresh connection.
void NegotiateServerNames();

// A new control connection starts with names byte for byte and no marked names.
void ForgetServerNames();

// The server's form of a name or path of the program. 0, with a message, when a part of
// it was shown with a replacement mark (or is not text of the code page).
int ToServerName(const std::string& name, std::string& out);

// The program's form of a name, path or listing line from the server. lossy is set when
// a character had no form in the code page and was replaced. A text that is not UTF-8
// from a server trusted on its word alone ends UTF-8 names for the session.
std::string FromServerText(const std::string& text, bool& lossy);

// A whole listing, line by line; the names of lines that lost characters are remembered
// so that ToServerName refuses them. False, with the listing untouched, when it has just
// ended UTF-8 names (as FromServerText does): the folder is to be listed again.
bool ConvertListingFromServer(std::string& listing);
