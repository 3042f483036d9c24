#include "win_test_support.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>

namespace wintest {

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    PumpPending();
    if (done()) return true;
    const ULONGLONG now = GetTickCount64();
    if (now >= end) return false;
    // Wake on any input or after at most 10 ms, so conditions that change without a
    // message (another process, the clipboard) are seen promptly.
    const DWORD wait = static_cast<DWORD>(std::min<ULONGLONG>(end - now, 10));
    MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_ALLINPUT);
  }
}

void PumpPending() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    HWND active = GetActiveWindow();
    if (active && IsDialogMessageW(active, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), bytes, nullptr, nullptr);
  return out;
}

std::wstring WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<size_t>(copied));
  return text;
}

std::wstring WindowClass(HWND window) {
  wchar_t name[256] = L"";
  GetClassNameW(window, name, 256);
  return name;
}

namespace {
struct WindowSearch {
  const std::function<bool(HWND)>* filter;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectProcessWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == GetCurrentProcessId() && (!*search->filter || (*search->filter)(window)))
    search->found.push_back(window);
  return TRUE;
}

BOOL CALLBACK CollectChild(HWND child, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(child);
  return TRUE;
}
}  // namespace

std::vector<HWND> ProcessWindows(const std::function<bool(HWND)>& filter) {
  WindowSearch search{&filter, {}};
  EnumWindows(CollectProcessWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindProcessWindow(const wchar_t* className, HWND owner) {
  const auto found = ProcessWindows([&](HWND window) {
    return WindowClass(window) == className && (!owner || GetWindow(window, GW_OWNER) == owner);
  });
  return found.empty() ? nullptr : found.front();
}

std::vector<HWND> ChildWindows(HWND parent) {
  std::vector<HWND> children;
  EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&children));
  return children;
}

NotifyRecorder::NotifyRecorder() {
  static const ATOM atom = [] {
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof(cls);
    cls.lpfnWndProc = &NotifyRecorder::Proc;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.lpszClassName = L"PictornxTestNotify";
    return RegisterClassExW(&cls);
  }();
  window_ = CreateWindowExW(0, MAKEINTATOM(atom), L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

NotifyRecorder::~NotifyRecorder() { DestroyWindow(window_); }

LRESULT CALLBACK NotifyRecorder::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<NotifyRecorder*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self && message == WM_LBUTTONDOWN && wParam == 1) {
    self->codes_.push_back(static_cast<int>(lParam));
    if (self->onNotify) self->onNotify(static_cast<int>(lParam));
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

HostWindow::HostWindow(const wchar_t* title) {
  static const ATOM atom = [] {
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof(cls);
    cls.lpfnWndProc = DefWindowProcW;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    cls.lpszClassName = L"PictornxTestHost";
    return RegisterClassExW(&cls);
  }();
  window_ = CreateWindowExW(0, MAKEINTATOM(atom), title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 320, 200,
                            nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

HostWindow::~HostWindow() {
  if (IsWindow(window_)) DestroyWindow(window_);
}

LoadedLibrary::LoadedLibrary() {
  std::wstring error;
  if (!Load(L"pictornx.dll", &error)) ADD_FAILURE() << Utf8(error);
}

void InitCommonControlsForHost() {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_UPDOWN_CLASS | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
}

}  // namespace wintest
