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
// Dispatches messages until neither `window` nor any window inside it has a region left to
// paint, so what it shows can be read back; false when one still had after `timeoutMs`.
bool PumpUntilPainted(HWND window, DWORD timeoutMs = 2000);

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

namespace wintest {

// What a message box showed: its caption, its text and its style bits that can be seen.
struct SeenMessageBox {
  bool seen = false;
  std::wstring caption;
  std::wstring text;
  bool topmost = false;
  HWND owner = nullptr;
};

// Watches from a second thread for the next message box of this process (a "#32770"
// window with a static text), records what it shows and dismisses it with its default
// button, so a test can call code that shows a modal box. Gives up after `timeoutMs`.
class MessageBoxWatcher {
 public:
  explicit MessageBoxWatcher(DWORD timeoutMs = 10000);
  ~MessageBoxWatcher();
  MessageBoxWatcher(const MessageBoxWatcher&) = delete;
  MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;
  // Waits for the watcher to finish and returns what it saw.
  SeenMessageBox Result();

 private:
  static DWORD WINAPI Run(void* self);
  HANDLE thread_ = nullptr;
  DWORD timeoutMs_;
  SeenMessageBox seen_;
};

// True under Wine, for the few checks where Wine differs from Windows (docs/wine.md).
bool RunningUnderWine();

// Counts the live GDI objects of this process: GetGuiResources where it is implemented,
// and where it answers 0 (Wine) a scan of the handle table, so a leak check never compares
// two zeros. Make one warm-up create/delete cycle first.
int CountGdiObjects();
// Counts the live top-level and child windows of this process.
int CountWindows();

}  // namespace wintest

namespace wintest {

// A topmost window painted with a pattern whose every pixel encodes its position, for
// checking captured pixels.
class PatternWindow {
 public:
  static constexpr int kWidth = 67;  // odd, so the pattern's rows do not align to 4 bytes
  static constexpr int kHeight = 41;
  static COLORREF Colour(int x, int y) { return RGB(x * 3 + 7, y * 5 + 1, (x * 7 + y * 11) & 0xFF); }

  PatternWindow(int left, int top);
  ~PatternWindow();
  PatternWindow(const PatternWindow&) = delete;
  PatternWindow& operator=(const PatternWindow&) = delete;

  // Pumps messages until the screen shows the pattern's corners at its place; false when
  // it did not within `timeoutMs`.
  bool WaitUntilShown(DWORD timeoutMs = 2000) const;

  // Pixels of a bottom-up 24-bit image of the screen (row size `rowBytes`, `screenHeight`
  // rows) that differ from the pattern at its place.
  int CountMismatches(const uint8_t* bits, int rowBytes, int screenHeight) const;

 private:
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  HWND window_ = nullptr;
  int left_;
  int top_;
};

}  // namespace wintest
