// Connecting without blocking the window: the exchange with the server (ExchangeLogin) runs on
// a thread of its own while the window goes on painting and answering. JobRunning is 1 for the
// attempt, so every command that would use the connection is refused as during a job; Stop,
// Esc and closing the window cancel it. The outcome comes back to the window as
// MsgConnectDone, where the window does its part as it always has (EndConnect).
#pragma once
#include <windows.h>

#include <functional>
#include <string>

// The window's timer that goes on cancelling until the thread has ended.
constexpr UINT_PTR kConnectCancelTimer = 8;

// Starts connecting to CurrentHost. whenConnected runs on the window's thread once logged in,
// after the menus and captions show the connection. False, with nothing done, while a job or
// another attempt runs.
bool StartConnectAttempt(const std::string& initialRemoteFolder, const std::string& initialLocalFolder,
                         std::function<void()> whenConnected);
bool ConnectAttemptRunning();

// Stop, Esc or closing the window: the attempt ends as a failed connect with no message box.
void CancelConnectAttempt();

// The window's side of MsgConnectDone and of the cancel timer.
void EndConnectAttempt();
void KeepCancellingConnectAttempt();
