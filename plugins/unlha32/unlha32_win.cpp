// unlha32.dll: the exported functions. Every export catches whatever the C++ library may
// throw (only allocation failures can), since nothing may unwind into the caller.
#include <windows.h>

#include <new>
#include <string>
#include <vector>

#include "plugins/archive_common/output_text.h"
#include "plugins/unlha32/entry_record.h"
#include "plugins/unlha32/lha_archive.h"
#include "plugins/unlha32/lha_commands.h"
#include "plugins/unlha32/unlha32_texts.h"
#include "plugins/unlha32/wildcard.h"
#include "plugins/unlha32/win32_lha_platform_win.h"

namespace {

const DWORD kArchiveMagic = 0x4C484131;  // "LHA1"

// What UnlhaOpenArchive hands out: the table of contents, read once.
struct OpenArchiveState {
  DWORD magic = kArchiveMagic;
  std::vector<LhaEntry> entries;
  std::vector<uint32_t> dos_times;
  std::string wildcard;
  size_t next = 0;
  long last = -1;
};

OpenArchiveState* StateOf(HANDLE handle) {
  OpenArchiveState* state = static_cast<OpenArchiveState*>(handle);
  return state && state->magic == kArchiveMagic ? state : nullptr;
}

int FindFrom(OpenArchiveState* state, void* record) {
  while (state->next < state->entries.size()) {
    size_t i = state->next++;
    const LhaEntry& e = state->entries[i];
    if (!state->wildcard.empty() && !MatchWildcard(state->wildcard, e.name)) continue;
    state->last = static_cast<long>(i);
    if (record) FillEntryRecord(e, state->dos_times[i], static_cast<uint8_t*>(record));
    return 0;
  }
  return -1;
}

}  // namespace

extern "C" {

int WINAPI Unlha(HWND owner, LPCSTR line, LPSTR output, DWORD size) {
  try {
    OutputText out(output, size);
    if (!line) {
      out.Line("no command");
      return kLhaFailed;
    }
    Win32LhaPlatform platform(owner);
    return RunLhaCommand(platform, line, out);
  } catch (...) {
    if (output && size > 0) output[0] = '\0';
    return kLhaFailed;
  }
}

HANDLE WINAPI UnlhaOpenArchive(HWND owner, LPCSTR path, DWORD mode) {
  try {
    if (!path) return nullptr;
    Win32LhaPlatform platform(owner);
    std::unique_ptr<ByteSource> source = platform.OpenRead(path);
    if (!source) return nullptr;
    std::unique_ptr<OpenArchiveState> state(new OpenArchiveState);
    std::string error;
    // A damaged archive lists the members before the damage; one that starts damaged is none.
    if (!ReadLhaDirectory(*source, state->entries, error) && state->entries.empty())
      return nullptr;
    for (const LhaEntry& e : state->entries)
      state->dos_times.push_back(e.has_unix_time ? platform.UnixToLocalDos(e.unix_time) : e.dos_time);
    return state.release();
  } catch (...) {
    return nullptr;
  }
}

int WINAPI UnlhaCloseArchive(HANDLE archive) {
  OpenArchiveState* state = StateOf(archive);
  if (!state) return -1;
  state->magic = 0;
  delete state;
  return 0;
}

int WINAPI UnlhaFindFirst(HANDLE archive, LPCSTR wildcard, void* record) {
  try {
    OpenArchiveState* state = StateOf(archive);
    if (!state) return -1;
    state->wildcard = wildcard ? wildcard : "";
    if (state->wildcard == "*.*" || state->wildcard == "*") state->wildcard.clear();
    state->next = 0;
    state->last = -1;
    return FindFrom(state, record);
  } catch (...) {
    return -1;
  }
}

int WINAPI UnlhaFindNext(HANDLE archive, void* record) {
  OpenArchiveState* state = StateOf(archive);
  if (!state) return -1;
  return FindFrom(state, record);
}

int WINAPI UnlhaGetAttribute(HANDLE archive) {
  OpenArchiveState* state = StateOf(archive);
  if (!state || state->last < 0) return -1;
  return EntryAttributes(state->entries[static_cast<size_t>(state->last)]);
}

BOOL WINAPI UnlhaConfigDialog(HWND owner, LPSTR options, int mode) {
  try {
    MessageBoxW(owner, LibraryText(IDS_LHA_ABOUT).c_str(), LibraryText(IDS_LHA_ABOUT_CAPTION).c_str(),
                MB_OK | MB_ICONINFORMATION);
  } catch (...) {
  }
  return TRUE;
}

}  // extern "C"
