// The program-wide values many parts of the program read and write. Each exists once.
// Who writes what is noted beside it; the transfer job shares them with the main thread
// by discipline (commands that touch the connection are refused while JobRunning is 1).
#pragma once
#include <winsock2.h>
#include <windows.h>
#include <atomic>
#include <string>

// Set by the entry.
extern HINSTANCE InstanceHandle;
extern std::string ProgramFolder;   // folder of vako.exe, ends in a backslash
extern std::string WorkFolder;      // this run's vakotmpN folder, ends in a backslash
extern std::string LogPath;         // WorkFolder + "ftplog.txt"
extern bool WorkFolderIsOwn;        // false when every vakotmpN existed and the temp folder is used

// Set by the main window.
extern HWND MainWindow;

// Control connection (the FTP engine).
extern SOCKET ControlSocket;
extern sockaddr_storage ServerAddress;  // of either family
extern std::string ControlHost;     // host name or address literal actually connected (no brackets)
extern int ControlPort;             // initial 21
extern std::string TreeTempPath;    // tree cache working file of the current connection

// Connection and job state.
extern std::atomic<int> Connected;
extern std::atomic<int> JobRunning;
extern std::atomic<int> StopRequested;
extern std::atomic<int> JobStopped;         // Stop was pressed during the running job
extern std::atomic<int> ClosingAfterJob;    // the window closes as soon as the job has ended
extern std::atomic<int> LabelEditing;
extern int ConnectedFromFavorite;
extern int OpenAfterDownload;       // 1 while a download for Open runs; its end opens the file
extern std::string CurrentRemoteFolder;
extern std::string CurrentLocalFolder;
extern std::string StartedInFolder;  // the current folder the program was started with

// Command and reply lines of the control connection.
constexpr size_t kCommandBufferSize = 65536;
constexpr size_t kReplyBufferSize = 65536;  // a reply line keeps at most 65,535 bytes
extern std::string CommandBuffer;
extern std::string ReplyBuffer;

extern std::string StatusTextBuffer;
extern std::string ResourceTextBuffer;  // last string-table text loaded (at most 255 bytes)
extern std::string SharedNameBuffer;

extern int TransferMode;            // 1 ASCII, 2 binary
