#include "shell/drop_sources_win.h"

#include "app/main_window_win.h"
#include "app/local_listing_win.h"

HRESULT DropSourceBase::QueryInterface(REFIID id, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDropSource)) {
    *object = static_cast<IDropSource*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG DropSourceBase::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG DropSourceBase::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT DropSourceBase::GiveFeedback(DWORD) { return DRAGDROP_S_USEDEFAULTCURSORS; }

HRESULT DropSourceBase::Answer(DragAnswer answer) {
  switch (answer) {
    case DragAnswer::GoOn: return S_OK;
    case DragAnswer::Cancel: return DRAGDROP_S_CANCEL;
    case DragAnswer::Drop: return DRAGDROP_S_DROP;
    case DragAnswer::DownloadThenDrop:
    case DragAnswer::ExtractThenDrop:
      if (beforeDrop_ && !beforeDrop_()) return DRAGDROP_S_CANCEL;
      return DRAGDROP_S_DROP;
  }
  return DRAGDROP_S_CANCEL;
}

ScreenRect ScreenRectOf(HWND window) {
  RECT r{};
  if (window) GetWindowRect(window, &r);
  ScreenRect s;
  s.left = r.left;
  s.top = r.top;
  s.right = r.right;
  s.bottom = r.bottom;
  return s;
}

static DragAnswer Decide(DragSourceKind kind, BOOL escape, DWORD keys, bool archiveMode) {
  POINT cursor{};
  GetCursorPos(&cursor);
  const bool buttonDown = (keys & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) != 0;
  return DecideDragEnd(kind, escape != FALSE, buttonDown, cursor.x, cursor.y, ScreenRectOf(LocalList),
                       ScreenRectOf(RemoteList), archiveMode);
}

HRESULT RemoteDropSource::QueryContinueDrag(BOOL escape, DWORD keys) {
  return Answer(Decide(DragSourceKind::Remote, escape, keys, false));
}

HRESULT LocalDropSource::QueryContinueDrag(BOOL escape, DWORD keys) {
  return Answer(Decide(DragSourceKind::Local, escape, keys, beforeDrop_ != nullptr));
}
