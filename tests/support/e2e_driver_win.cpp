#include "support/e2e_driver_win.h"

#include <shlobj.h>

#include <algorithm>
#include <cstring>

#include "resources/resource_ids.h"
#include "support/temp_folder_win.h"
#include "support/test_env.h"

std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of("\\/") + 1); }

VakoProcess::VakoProcess(const std::string& programPath, const std::string& folder, const std::string& arguments) {
  std::string from = FolderOf(programPath);
  std::string target = folder + "vako.exe";
  if (!CopyFileA(programPath.c_str(), target.c_str(), FALSE)) return;
  for (const char* dll : {"nkf32.dll", "unlha32.dll", "unzip32.dll"})
    CopyFileA((from + dll).c_str(), (folder + dll).c_str(), FALSE);
  std::string commandLine = "\"" + target + "\" " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessA(target.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                      &process_))
    process_ = PROCESS_INFORMATION{};
}

VakoProcess::~VakoProcess() {
  if (!process_.hProcess) return;
  if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
    // Boxes left open would keep the window from closing.
    for (HWND box : WindowsOfProcess(process_.dwProcessId, "#32770")) PostMessageA(box, WM_CLOSE, 0, 0);
    if (Close(10000) < 0) TerminateProcess(process_.hProcess, 1);
  }
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

namespace {
struct Search {
  DWORD processId;
  const char* className;
  std::vector<HWND> found;
};
BOOL CALLBACK Collect(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  char name[256] = "";
  GetClassNameA(window, name, sizeof name);
  if (pid == search->processId && lstrcmpA(name, search->className) == 0 && IsWindowVisible(window))
    search->found.push_back(window);
  return TRUE;
}

// A block of the program's memory for the list and tree messages whose structures
// hold pointers: Wine does not carry those across processes.
class TargetMemory {
 public:
  TargetMemory(HANDLE process, size_t size) : process_(process) {
    address_ = static_cast<char*>(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  }
  ~TargetMemory() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  }
  TargetMemory(const TargetMemory&) = delete;
  TargetMemory& operator=(const TargetMemory&) = delete;
  char* at(size_t offset) const { return address_ + offset; }
  LPARAM param(size_t offset = 0) const { return reinterpret_cast<LPARAM>(address_ + offset); }
  bool Write(const void* data, size_t size, size_t offset = 0) const {
    return address_ && WriteProcessMemory(process_, address_ + offset, data, size, nullptr);
  }
  bool Read(void* data, size_t size, size_t offset = 0) const {
    return address_ && ReadProcessMemory(process_, address_ + offset, data, size, nullptr);
  }

 private:
  HANDLE process_;
  char* address_ = nullptr;
};

constexpr size_t kTextRoom = 4096;

LRESULT SendWait(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD milliseconds = 30000) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, milliseconds, &result)) return 0;
  return static_cast<LRESULT>(result);
}

// The node of the item (null: the invisible root above the top items) with its text and
// everything below it.
TreeNodeView ReadTreeNode(HWND tree, const TargetMemory& memory, HTREEITEM item, HTREEITEM caret) {
  TreeNodeView node;
  node.item = item;
  node.selected = item && item == caret;
  TVITEMA tv{};
  tv.mask = TVIF_TEXT;
  tv.hItem = item;
  tv.pszText = memory.at(sizeof tv);
  tv.cchTextMax = kTextRoom;
  memory.Write(&tv, sizeof tv);
  char text[kTextRoom] = "";
  if (item && SendWait(tree, TVM_GETITEMA, 0, memory.param())) memory.Read(text, sizeof text - 1, sizeof tv);
  node.text = text;
  auto next = [&](WPARAM relation, HTREEITEM from) {
    return reinterpret_cast<HTREEITEM>(SendWait(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(from)));
  };
  for (HTREEITEM child = next(item ? TVGN_CHILD : TVGN_ROOT, item); child; child = next(TVGN_NEXT, child))
    node.children.push_back(ReadTreeNode(tree, memory, child, caret));
  return node;
}

// A rectangle the control fills in (its first bytes may carry the request), in the
// program's memory.
RECT ReadRect(HANDLE process, HWND control, UINT message, WPARAM wParam, RECT request = RECT{}) {
  TargetMemory memory(process, sizeof(RECT));
  memory.Write(&request, sizeof request);
  if (!SendWait(control, message, wParam, memory.param())) return RECT{};  // no such item (any more)
  memory.Read(&request, sizeof request);
  return request;
}
}  // namespace

const TreeNodeView* TreeNodeView::Child(const std::string& name) const {
  for (const TreeNodeView& c : children)
    if (c.text == name) return &c;
  return nullptr;
}

const TreeNodeView* TreeNodeView::Find(const std::string& path) const {
  const TreeNodeView* node = this;
  size_t start = 0;
  while (node && start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    if (end > start) node = node->Child(path.substr(start, end - start));
    start = end + 1;
  }
  return node;
}

std::vector<HWND> WindowsOfProcess(DWORD processId, const char* className) {
  Search search{processId, className, {}};
  EnumWindows(Collect, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string WindowText(HWND window) {
  char text[1024] = "";
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                      nullptr);
  return text;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD milliseconds) {
  DWORD start = GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (GetTickCount() - start > milliseconds) return condition();
    Sleep(50);
  }
}

int RunHostCommand(const std::string& shellCommand, DWORD milliseconds) {
  // The command goes through a script file: no quoting survives the way to the host.
  static int counter = 0;
  std::string stem = "/tmp/vako-e2e-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
  WriteWholeFile(testenv::WinePath(stem + ".sh"), "( " + shellCommand + " ); echo $? > " + stem + ".rc\n");
  std::string line = "start.exe /wait /unix /bin/sh " + stem + ".sh";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                      &pi))
    return -1;
  WaitForSingleObject(pi.hProcess, milliseconds);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  // start /wait does not hand back the exit code of a host program: the script leaves it.
  const std::string rcPath = testenv::WinePath(stem + ".rc");
  const bool ended = WaitUntil([&] { return FileExists(rcPath); }, milliseconds);
  const int rc = ended ? atoi(ReadWholeFile(rcPath).c_str()) : -1;
  DeleteFileA(rcPath.c_str());
  DeleteFileA(testenv::WinePath(stem + ".sh").c_str());
  return rc;
}

HWND VakoProcess::WaitForMainWindow(DWORD milliseconds) {
  for (DWORD waited = 0; waited < milliseconds; waited += 50) {
    for (HWND w : WindowsOfProcess(process_.dwProcessId, VAKO_CLASS_NAME)) {
      // The window exists before its creation ends: wait for the status bar, made last,
      // and for the start-up to reach the message loop (the panes are laid out then).
      if (GetDlgItem(w, 2020)) {
        WaitForInputIdle(process_.hProcess, milliseconds);
        return window_ = w;
      }
    }
    if (WaitForSingleObject(process_.hProcess, 50) != WAIT_TIMEOUT) return nullptr;
  }
  return nullptr;
}

int VakoProcess::WaitForExit(DWORD milliseconds) {
  if (WaitForSingleObject(process_.hProcess, milliseconds) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(process_.hProcess, &code);
  return static_cast<int>(code);
}

int VakoProcess::Close(DWORD milliseconds) {
  if (window_) PostMessageA(window_, WM_CLOSE, 0, 0);
  return WaitForExit(milliseconds);
}

bool VakoProcess::SendCommand(int id, DWORD milliseconds) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(window_, WM_COMMAND, id, 0, SMTO_NORMAL, milliseconds, &result) != 0;
}

void VakoProcess::PostCommand(int id) { PostMessageA(window_, WM_COMMAND, id, 0); }

void VakoProcess::PressKey(HWND target, int virtualKey) {
  UINT scan = MapVirtualKeyA(virtualKey, 0);
  PostMessageA(target, WM_KEYDOWN, virtualKey, 1 | (scan << 16));
  PostMessageA(target, WM_KEYUP, virtualKey, 1 | (scan << 16) | (3u << 30));
}

int VakoProcess::RowCount(HWND list) const { return static_cast<int>(SendWait(list, LVM_GETITEMCOUNT, 0, 0)); }

// One cell's text, through memory of the target big enough for an LVITEMA and the text.
static std::string CellText(HWND list, const TargetMemory& memory, int row, int column) {
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = memory.at(sizeof item);
  item.cchTextMax = kTextRoom;
  memory.Write(&item, sizeof item);
  const int length = static_cast<int>(SendWait(list, LVM_GETITEMTEXTA, row, memory.param()));
  std::string text(static_cast<size_t>(length > 0 ? length : 0), '\0');
  if (!text.empty()) memory.Read(&text[0], text.size(), sizeof item);
  return text;
}

std::vector<ListRowView> VakoProcess::Rows(HWND list) const {
  std::vector<ListRowView> rows;
  TargetMemory memory(process_.hProcess, sizeof(LVITEMA) + kTextRoom);
  const int count = RowCount(list);
  for (int row = 0; row < count; ++row) {
    ListRowView view;
    for (int column = 0; column < 5; ++column) view.column[column] = CellText(list, memory, row, column);
    rows.push_back(view);
  }
  return rows;
}

std::vector<std::string> VakoProcess::Names(HWND list) const {
  std::vector<std::string> names;
  for (const ListRowView& row : Rows(list)) names.push_back(row.name());
  return names;
}

int VakoProcess::RowOfName(HWND list, const std::string& name) const {
  // The list finds a label itself (one message, however long the list), ignoring case; a
  // row it finds is taken when its label is the same to the letter.
  TargetMemory memory(process_.hProcess, sizeof(LVITEMA) + kTextRoom);
  TargetMemory find(process_.hProcess, sizeof(LVFINDINFOA) + name.size() + 1);
  LVFINDINFOA info{};
  info.flags = LVFI_STRING;
  info.psz = find.at(sizeof info);
  find.Write(&info, sizeof info);
  find.Write(name.c_str(), name.size() + 1, sizeof info);
  const int found = static_cast<int>(SendWait(list, LVM_FINDITEMA, static_cast<WPARAM>(-1), find.param()));
  if (found < 0) return -1;
  if (CellText(list, memory, found, 0) == name) return found;
  std::vector<std::string> names = Names(list);
  for (size_t i = 0; i < names.size(); ++i)
    if (names[i] == name) return static_cast<int>(i);
  return -1;
}

RECT VakoProcess::RowRect(HWND list, int row, int part) const {
  SendWait(list, LVM_ENSUREVISIBLE, row, FALSE);
  return ReadRect(process_.hProcess, list, LVM_GETITEMRECT, row, RECT{part, 0, 0, 0});
}

bool VakoProcess::SelectNames(HWND list, const std::vector<std::string>& names) {
  std::vector<int> rows;
  for (const std::string& name : names) {
    rows.push_back(RowOfName(list, name));
    if (rows.back() < 0) return false;
  }
  SelectRows(list, rows);
  return true;
}

bool VakoProcess::MakePaneActive(int pane) {
  // Download is offered only while the remote pane is the active one.
  auto remoteActive = [&] { return ButtonState(IDM_DOWNLOAD) == TBSTATE_ENABLED; };
  if (remoteActive() != (pane == 1)) SendCommand(IDM_SWITCH_PANE);
  return remoteActive() == (pane == 1);
}

bool VakoProcess::ConnectThroughDialog(const std::string& user, const std::string& password) {
  PostCommand(IDM_CONNECT);
  HWND dialog = WaitForDialog();
  if (!dialog) return false;
  SetItemText(dialog, IDC_HOST_ADDRESS, "127.0.0.1");
  SetItemText(dialog, IDC_LOGIN_NAME, user);
  SetItemText(dialog, IDC_PASSWORD, password);
  PressButton(dialog, IDOK);
  return true;
}

void VakoProcess::SelectRows(HWND list, const std::vector<int>& rows) {
  TargetMemory memory(process_.hProcess, sizeof(LVITEMA));
  auto setState = [&](int row, UINT state) {  // row -1: every row
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = state;
    memory.Write(&item, sizeof item);
    SendWait(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), memory.param());
  };
  setState(-1, 0);
  for (size_t i = 0; i < rows.size(); ++i) setState(rows[i], LVIS_SELECTED | (i == 0 ? LVIS_FOCUSED : 0));
}

std::vector<std::string> VakoProcess::StatusTexts() const {
  HWND bar = Child(2020);
  TargetMemory memory(process_.hProcess, kTextRoom);
  std::vector<std::string> texts;
  const int parts = static_cast<int>(SendWait(bar, SB_GETPARTS, 0, 0));
  for (int part = 0; part < parts; ++part) {
    char text[kTextRoom] = "";
    const size_t length = LOWORD(SendWait(bar, SB_GETTEXTLENGTHA, static_cast<WPARAM>(part), 0));
    if (length < sizeof text && memory.Write("", 1)) {  // a part without text writes nothing
      SendWait(bar, SB_GETTEXTA, static_cast<WPARAM>(part), memory.param());
      memory.Read(text, length + 1);
    }
    texts.push_back(text);
  }
  return texts;
}

bool VakoProcess::DropFiles(POINT client, const std::vector<std::string>& paths) {
  std::string names;
  for (const std::string& p : paths) names += p + '\0';
  names += '\0';
  DROPFILES head{};
  head.pFiles = sizeof head;
  head.pt = client;
  // A fixed global block is a plain pointer to its bytes. The program's DragFinish hands the
  // block to its heap, which refuses it as not its own; the zero bytes in front of it are
  // what the heap then reads as the header of the block. The block stays until the
  // program ends.
  const size_t at = 256;
  char* block = static_cast<char*>(VirtualAllocEx(process_.hProcess, nullptr, at + sizeof head + names.size(),
                                                  MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  if (!block || !WriteProcessMemory(process_.hProcess, block + at, &head, sizeof head, nullptr) ||
      !WriteProcessMemory(process_.hProcess, block + at + sizeof head, names.data(), names.size(), nullptr))
    return false;
  return PostMessageA(window_, WM_DROPFILES, reinterpret_cast<WPARAM>(block + at), 0) != 0;
}

bool VakoProcess::BeginEdit(HWND list, int row) {
  SelectRows(list, {row});
  return SendWait(list, LVM_EDITLABELA, row, 0) != 0;
}

bool VakoProcess::FinishEdit(HWND list, const std::string& text) {
  HWND edit = reinterpret_cast<HWND>(SendWait(list, LVM_GETEDITCONTROL, 0, 0));
  if (!edit) return false;
  SendMessageTimeoutA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL, 5000, nullptr);
  PressKey(edit, VK_RETURN);
  // The edit ends when the rename is done, or stays while a message box about it is open.
  return WaitUntil(
      [&] { return !IsWindow(edit) || !WindowsOfProcess(process_.dwProcessId, "#32770").empty(); }, 20000);
}

HWND VakoProcess::Header(HWND list) const { return reinterpret_cast<HWND>(SendWait(list, LVM_GETHEADER, 0, 0)); }

RECT VakoProcess::HeaderItemRect(HWND list, int column) const {
  return ReadRect(process_.hProcess, Header(list), HDM_GETITEMRECT, column);
}

RECT VakoProcess::ChildRect(HWND child) const {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

TreeNodeView VakoProcess::Tree(HWND tree) const {
  TargetMemory memory(process_.hProcess, sizeof(TVITEMA) + kTextRoom);
  HTREEITEM caret = reinterpret_cast<HTREEITEM>(SendWait(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
  return ReadTreeNode(tree, memory, nullptr, caret);
}

RECT VakoProcess::TreeItemRect(HWND tree, HTREEITEM item) const {
  RECT request{};
  std::memcpy(&request, &item, sizeof item);  // the item goes in, the rectangle comes out
  SendWait(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
  return ReadRect(process_.hProcess, tree, TVM_GETITEMRECT, TRUE, request);
}

int VakoProcess::ButtonState(int command) const {
  DWORD_PTR state = 0;
  if (toolbar_ && SendMessageTimeoutA(toolbar_, TB_GETSTATE, command, 0, SMTO_NORMAL, 30000, &state))
    return static_cast<int>(state);
  toolbar_ = Child(2031);
  if (!toolbar_) return -1;
  return static_cast<int>(SendWait(toolbar_, TB_GETSTATE, command, 0));
}

// Mouse input at a screen point. Absolute positions: relative moves are scaled by the
// pointer speed settings and would land elsewhere.
static INPUT MouseInput(POINT screen, DWORD flags) {
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = ((screen.x << 16) + width - 1) / width;
  input.mi.dy = ((screen.y << 16) + height - 1) / height;
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags;
  return input;
}

void VakoProcess::Click(HWND window, POINT client, bool doubleClick) {
  POINT screen = client;
  ClientToScreen(window, &screen);
  INPUT move = MouseInput(screen, 0);
  SendInput(1, &move, sizeof move);
  Sleep(50);
  // All presses in one call: a busy machine must not stretch a double click apart.
  INPUT clicks[4] = {MouseInput(screen, MOUSEEVENTF_LEFTDOWN), MouseInput(screen, MOUSEEVENTF_LEFTUP),
                     MouseInput(screen, MOUSEEVENTF_LEFTDOWN), MouseInput(screen, MOUSEEVENTF_LEFTUP)};
  SendInput(doubleClick ? 4 : 2, clicks, sizeof clicks[0]);
}

void VakoProcess::Drag(HWND window, POINT from, POINT to) {
  ClientToScreen(window, &from);
  ClientToScreen(window, &to);
  INPUT steps[6] = {MouseInput(from, 0), MouseInput(from, MOUSEEVENTF_LEFTDOWN)};
  for (int i = 1; i <= 3; ++i)
    steps[1 + i] = MouseInput(POINT{from.x + (to.x - from.x) * i / 3, from.y + (to.y - from.y) * i / 3}, 0);
  steps[5] = MouseInput(to, MOUSEEVENTF_LEFTUP);
  // One step at a time: the control must see the button held while the mouse moves.
  for (INPUT& step : steps) {
    SendInput(1, &step, sizeof step);
    Sleep(100);
  }
}

HWND VakoProcess::WaitForDialog(DWORD milliseconds, const std::string& title) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND w : WindowsOfProcess(process_.dwProcessId, "#32770"))
          if (!found && (title.empty() || WindowText(w) == title)) found = w;
        return found != nullptr;
      },
      milliseconds);
  return found;
}

std::string VakoProcess::BoxText(HWND box) { return WindowText(GetDlgItem(box, 0xFFFF)); }

void VakoProcess::PressButton(HWND dialog, int id) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void VakoProcess::SetItemText(HWND dialog, int id, const std::string& text) {
  SendMessageTimeoutA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL,
                      5000, nullptr);
}

std::vector<std::string> WorkFolderCopies(const std::string& name) {
  const std::string work = NewestWorkFolder();
  std::vector<std::string> copies;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((work + "*").c_str(), &found);
  if (work.empty() || search == INVALID_HANDLE_VALUE) return copies;
  do {
    const std::string path = work + found.cFileName + "\\" + name;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && found.cFileName[0] != '.' &&
        GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES)
      copies.push_back(ReadWholeFile(path));
  } while (FindNextFileA(search, &found));
  FindClose(search);
  std::sort(copies.begin(), copies.end());
  return copies;
}

std::string NewestWorkFolder(const std::string& holding) {
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  std::string newest;
  FILETIME newestTime{};
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((std::string(temp) + "vakotmp*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return "";
  do {
    const std::string folder = std::string(temp) + found.cFileName + "\\";
    if (!holding.empty()) {
      WIN32_FIND_DATAA inside;
      HANDLE file = FindFirstFileA((folder + holding).c_str(), &inside);
      if (file == INVALID_HANDLE_VALUE) continue;
      FindClose(file);
    }
    if (CompareFileTime(&found.ftCreationTime, &newestTime) >= 0) {
      newestTime = found.ftCreationTime;
      newest = folder;
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return newest;
}
