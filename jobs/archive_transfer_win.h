// Transfers in and out of the LHA archive that the local pane shows in place of a folder.
#pragma once
#include <cstdint>
#include <string>

// Receives the remote file into the work folder and adds it to the archive. 1 on success.
int ReceiveIntoArchive(const std::string& name, int mode, uint64_t size);

// Extracts the member into the work folder for sending: the copy's path, or empty when it
// could not be extracted (nothing may then be sent).
std::string ExtractForUpload(const std::string& name);
