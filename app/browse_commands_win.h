// Commands that move around both sides: connect and disconnect, open, go to a folder,
// refresh, up one folder, and switching the active pane.
#pragma once

void ConnectWithDialog();            // 40005
void DisconnectFromServer();         // 40006
void OpenSelection(int command);     // 40008 and 40058 (Enter)
void OpenLocalSelection(int command);
void GoToFolder();                   // 40011
void RefreshActivePane();            // 40018
void PreviousFolder();               // 40019
void SwitchPane();                   // 40063
