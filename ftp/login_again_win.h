// A session whose control connection was lost logs in again: the same host, user,
// password and TLS, and then the state the lost connection had, so that whatever was
// going on can go on.
#pragma once
#include <string>

// One login again, on the calling thread: the control connection (and its TLS, a
// certificate already accepted in this session taken without asking), USER and PASS, the
// data connections' protection, the name negotiation, the transfer type the session last
// had, and CWD to folder (absolute). 1 when all of it worked: the session is no longer
// lost. 0 otherwise, the session still lost (the window ends it as before).
int LogInAgain(const std::string& folder);

// The status text of a login again: "Reconnecting (attempt of attempts)...".
std::string ReconnectingText(int attempt, int attempts);

// True while LogInAgain runs: its own commands are never repeated.
bool LoggingInAgain();

// Outside jobs, with "ReconnectTries" above 0 and a session logged in: a command may be
// repeated after a login again (SendCommand asks before sending).
bool ConnectionMayComeBack();
// After the command was sent: when it found the session dropped while idle (the server
// closed or reset the connection, or said 421; not when it fell silent), logs in again in
// the folder the server was in. 1 when the command is to be sent once more.
bool RepeatsAfterIdleDrop(const std::string& commandLine);
