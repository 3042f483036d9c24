// Helpers for the Windows tests: message pumping with time limits, the host's notify
// window, finding windows of this process, reading texts.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "host_library.h"

namespace wintest {

// Dispatches messages until `done` holds or `timeoutMs` passes; returns whether it held.
// Waits on the message queue, never sleeps blindly.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);
// Dispatches every message already queued (no waiting).
void PumpPending();

// UTF-8 of a UTF-16 string, for test output (MinGW's %ls drops non-ASCII).
std::string Utf8(const std::wstring& text);
std::wstring WindowText(HWND window);
std::wstring WindowClass(HWND window);

// Top-level windows of this process, visible or not, that match `filter`.
std::vector<HWND> ProcessWindows(const std::function<bool(HWND)>& filter = nullptr);
// The first top-level window of this process with this class (and, if given, owner).
HWND FindProcessWindow(const wchar_t* className, HWND owner = nullptr);
std::vector<HWND> ChildWindows(HWND parent);

// The host's notify window: records every notification (WM_LBUTTONDOWN, wParam 1) and
// calls an optional handler while the library waits in SendMessage.
class NotifyRecorder {
 public:
  NotifyRecorder();
  ~NotifyRecorder();
  NotifyRecorder(const NotifyRecorder&) = delete;
  NotifyRecorder& operator=(const NotifyRecorder&) = delete;

  HWND Window() const { return window_; }
  const std::vector<int>& Codes() const { return codes_; }
  void Clear() { codes_.clear(); }
  std::function<void(int code)> onNotify;

 private:
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  HWND window_ = nullptr;
  std::vector<int> codes_;
};

// A plain visible top-level window standing for the host's main window.
class HostWindow {
 public:
  explicit HostWindow(const wchar_t* title = L"test host");
  ~HostWindow();
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;
  HWND Get() const { return window_; }

 private:
  HWND window_ = nullptr;
};

// The real pictornx.dll, loaded from the test program's folder.
class LoadedLibrary : public HostLibrary {
 public:
  LoadedLibrary();  // fails the current test when the DLL does not load
};

// Registers the common-control classes the library's dialogs use, as a host does.
void InitCommonControlsForHost();

}  // namespace wintest
