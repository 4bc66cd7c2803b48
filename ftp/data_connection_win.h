// Active-mode data connections: a folder listing, one file from the server, one file to it.
// Each operation listens on a fresh port, announces it with PORT, sends the transfer command
// and, once the server has accepted that command, takes the server's connection.
#pragma once
#include <cstdint>
#include <string>

// Raw text of the last listing (at most 1,280,000 bytes), filled by FetchListing.
extern std::string ListingBuffer;

// Lists the server's current folder ("NLST -alL" when the host's List flag is set, else
// "LIST") into ListingBuffer. 1 when the whole listing arrived and the server confirmed it.
int FetchListing();

// Receives remoteName into localPath in chunks of "ReceiveBuf" bytes; mode 1 is ASCII (TYPE A),
// anything else binary (TYPE I). size is the listed size, used only for the progress display.
// An existing local file is replaced only once the server has accepted RETR. 1 when the file
// arrived whole or the user stopped the transfer (the partial file stays); 0 otherwise.
int RetrieveFile(const std::string& remoteName, const std::string& localPath, int mode, uint64_t size);

// Sends localPath as remoteName in chunks of "SendBuf" bytes, then applies the automatic
// permission rule. 1 when the file arrived whole or the user stopped; 0 otherwise (a local
// file that cannot be opened sends nothing at all).
int StoreFile(const std::string& localPath, const std::string& remoteName, int mode);

// Telnet interrupt (IAC IP IAC as urgent data), DM, then ABOR; clears StopRequested. The
// control connection is brought back in step afterwards, or closed when that fails.
void AbortTransfer();
