// Scanning one local HTML file into the link analyzer's list.
#pragma once
#include <windows.h>

#include <string>

// True when the system finds a file or folder by exactly that path (no wildcards).
bool FileExists(const std::string& path);

// Scans the file and inserts one row per link, in the order of the document, from the top
// of the list (above the rows of files scanned before). 0 when the file was read, 1 when
// it could not be opened (no rows, no message).
int ScanHtmlFile(const std::string& path, HWND list);

// The link analyzer list's four columns: Link, Tag, File Name, Availability.
void InsertLinkColumns(HWND list);
