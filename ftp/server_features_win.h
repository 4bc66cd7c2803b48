// What the connected server said it can do in its FEAT reply, asked once per connection.
#pragma once
#include <string>

// The reply to the FEAT just sent (an empty text when it was refused).
void RememberServerFeatures(const std::string& featReply);

// A new control connection has not been asked yet.
void ForgetServerFeatures();

// True when FEAT lists "REST STREAM": the server takes REST before STOR as well as before
// RETR. Sends FEAT when this connection has not been asked yet.
bool ServerRestartsStreams();
