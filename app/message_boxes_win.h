// The three message-box helpers every part of the program uses for its user-facing texts.
// All are owned by MainWindow, captioned "Vako FTP", and callable from a job's thread too.
#pragma once
#include <windows.h>
#include <string>

int ShowMessage(int id);                                     // information box, OK
int AskConfirmation(int index, const char* argument);        // 6 yes, 7 no
int ShowCompletion(int index);                               // information box, OK
int ShowJobStopped();                                        // the same for a job Stop ended

// Tests replace the real boxes: the observer gets the final text and the MB_* style and
// returns the answer the user would have given. Null restores the real boxes.
using MessageBoxObserver = int (*)(const std::string& text, const std::string& caption, unsigned style);
void SetMessageBoxObserver(MessageBoxObserver observer);
// Every box goes through here (also those with captions of their own).
int ShowProgramMessageBox(const std::string& text, const std::string& caption, unsigned style);
// The same with another owner (a list whose entries the question is about).
int ShowOwnedMessageBox(HWND owner, const std::string& text, const std::string& caption, unsigned style);
