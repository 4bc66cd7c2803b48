// The two drop sources of the drags out of the file lists. Each holds its reference count
// and the step that must come before a drop (the download of remote entries, the
// extraction of archive members), which answers whether the drop may go ahead.
#pragma once
#include <windows.h>
#include <ole2.h>

#include <functional>

#include "shell/drag_decisions.h"

class DropSourceBase : public IDropSource {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override;

 protected:
  virtual ~DropSourceBase() = default;
  // The answer for the decision, running the step before a drop when there is one.
  HRESULT Answer(DragAnswer answer);
  std::function<bool()> beforeDrop_;

 private:
  LONG references_ = 1;
};

// Drags out of the remote list: a release anywhere but over that list downloads the
// entries first.
class RemoteDropSource : public DropSourceBase {
 public:
  explicit RemoteDropSource(std::function<bool()> download) { beforeDrop_ = std::move(download); }
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override;
};

// Drags out of the local list, also of an archive's members (extract set).
class LocalDropSource : public DropSourceBase {
 public:
  explicit LocalDropSource(std::function<bool()> extract = nullptr) { beforeDrop_ = std::move(extract); }
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override;
};

// The screen rectangle of a window.
ScreenRect ScreenRectOf(HWND window);
