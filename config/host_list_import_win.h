// The File > Import commands: the host lists of three other FTP clients become favorites.
#pragma once

void ImportWS_FTP();   // 40068
void ImportMatuFTP();  // 40069
void ImportFFFTP();    // 40072
