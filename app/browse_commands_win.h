// Commands that move around both sides: connect and disconnect, open, go to a folder,
// refresh, up one folder, and switching the active pane.
#pragma once

void ConnectWithDialog();            // 40005
void DisconnectFromServer();         // 40006
// Ends a session whose control connection broke (the server closed it, said 421, or went
// silent) the way Disconnect does, and tells the user once. Waits while a job runs.
void EndLostConnection();
void OpenSelection(int command);     // 40008 and 40058 (Enter)
void OpenLocalSelection(int command);
void GoToFolder();                   // 40011
void RefreshActivePane();            // 40018
void PreviousFolder();               // 40019
void SwitchPane();                   // 40063
