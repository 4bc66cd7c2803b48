// Logging in to the server of CurrentHost, directly or through the proxy, and leaving it.
#pragma once
#include <string>

// Connects, sends USER and PASS (always both; through the proxy the user is "user@host"),
// changes to the initial remote folder ("./" when that fails) and makes the initial local
// folder current. 1 when logged in; 0 after showing why not, with the connection closed.
int ConnectAndLogin(const std::string& initialRemoteFolder, const std::string& initialLocalFolder);

// Keeps the tree cache of a favorite host, drops the working copy, sends QUIT and closes.
// The caller empties the remote list and tree, which belong to the window.
void Disconnect();
