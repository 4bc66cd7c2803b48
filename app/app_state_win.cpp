#include "app/app_state_win.h"

HINSTANCE InstanceHandle = nullptr;
std::string ProgramFolder;
std::string WorkFolder;
std::string LogPath;
bool WorkFolderIsOwn = false;

HWND MainWindow = nullptr;

SOCKET ControlSocket = INVALID_SOCKET;
sockaddr_storage ServerAddress{};
std::string ControlHost;
int ControlPort = 21;
std::string TreeTempPath;

std::atomic<int> Connected{0};
std::atomic<int> JobRunning{0};
std::atomic<int> StopRequested{0};
std::atomic<int> JobStopped{0};
std::atomic<int> ClosingAfterJob{0};
std::atomic<int> LabelEditing{0};
int ConnectedFromFavorite = 0;
int OpenAfterDownload = 0;
std::string CurrentRemoteFolder;
std::string CurrentLocalFolder;
std::string StartedInFolder;

std::string CommandBuffer;
std::string ReplyBuffer;

std::string StatusTextBuffer;
std::string ResourceTextBuffer;
std::string SharedNameBuffer;

int TransferMode = 2;
