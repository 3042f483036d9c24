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

bool PumpUntilPainted(HWND window, DWORD timeoutMs) {
  return PumpUntil(
      [window] {
        if (GetUpdateRect(window, nullptr, FALSE)) return false;
        for (HWND child : ChildWindows(window))
          if (GetUpdateRect(child, nullptr, FALSE)) return false;
        return true;
      },
      timeoutMs);
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

namespace {
// Every Windows test program stands in for a host, and a host registers these classes
// before it calls the library: without them the templates holding up-downs and progress
// bars fail to create.
[[maybe_unused]] const bool g_hostControlsRegistered = (InitCommonControlsForHost(), true);
}  // namespace

}  // namespace wintest

namespace wintest {

MessageBoxWatcher::MessageBoxWatcher(DWORD timeoutMs) : timeoutMs_(timeoutMs) {
  thread_ = CreateThread(nullptr, 0, &MessageBoxWatcher::Run, this, 0, nullptr);
}

MessageBoxWatcher::~MessageBoxWatcher() { Result(); }

SeenMessageBox MessageBoxWatcher::Result() {
  if (thread_) {
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    thread_ = nullptr;
  }
  return seen_;
}

DWORD WINAPI MessageBoxWatcher::Run(void* param) {
  auto* self = static_cast<MessageBoxWatcher*>(param);
  const ULONGLONG end = GetTickCount64() + self->timeoutMs_;
  while (GetTickCount64() < end) {
    const auto boxes = ProcessWindows([](HWND window) {
      if (WindowClass(window) != L"#32770" || !IsWindowVisible(window)) return false;
      for (HWND child : ChildWindows(window))
        if (GetDlgCtrlID(child) == 0xFFFF && WindowClass(child) == L"Static") return true;
      return false;
    });
    if (!boxes.empty()) {
      HWND box = boxes.front();
      self->seen_.seen = true;
      self->seen_.caption = WindowText(box);
      self->seen_.text = WindowText(GetDlgItem(box, 0xFFFF));
      self->seen_.topmost = (GetWindowLongW(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
      self->seen_.owner = GetWindow(box, GW_OWNER);
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
      return 0;
    }
    Sleep(10);  // polling from a side thread; the tested thread sits in the box's modal loop
  }
  return 0;
}

bool RunningUnderWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

int CountGdiObjects() {
  if (const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return static_cast<int>(counted);
  // GDI handles are a 16-bit table index in a 32-bit value on x86_64 too; an index with a
  // zero upper half names the entry whatever its generation.
  int count = 0;
  for (DWORD i = 0x10; i < 0x10000; ++i)
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(static_cast<ULONG_PTR>(i)))) ++count;
  return count;
}

int CountWindows() {
  int count = 0;
  for (HWND window : ProcessWindows()) count += 1 + static_cast<int>(ChildWindows(window).size());
  return count;
}

}  // namespace wintest

namespace wintest {

PatternWindow::PatternWindow(int left, int top) : left_(left), top_(top) {
  static const ATOM atom = [] {
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof(cls);
    cls.lpfnWndProc = Proc;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.lpszClassName = L"PictornxTestPattern";
    return RegisterClassExW(&cls);
  }();
  window_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, MAKEINTATOM(atom), L"", WS_POPUP | WS_VISIBLE, left, top,
                            kWidth, kHeight, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  UpdateWindow(window_);
  PumpPending();
}

PatternWindow::~PatternWindow() { DestroyWindow(window_); }

bool PatternWindow::WaitUntilShown(DWORD timeoutMs) const {
  return PumpUntil(
      [this] {
        HDC screen = GetDC(nullptr);
        const bool shown = GetPixel(screen, left_, top_) == Colour(0, 0) &&
                           GetPixel(screen, left_ + kWidth - 1, top_ + kHeight - 1) == Colour(kWidth - 1, kHeight - 1);
        ReleaseDC(nullptr, screen);
        return shown;
      },
      timeoutMs);
}

LRESULT CALLBACK PatternWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return DefWindowProcW(window, message, wParam, lParam);
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  std::vector<uint8_t> bits(static_cast<size_t>(kWidth) * kHeight * 4);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const COLORREF c = Colour(x, y);
      uint8_t* p = &bits[(static_cast<size_t>(y) * kWidth + x) * 4];
      p[0] = GetBValue(c);
      p[1] = GetGValue(c);
      p[2] = GetRValue(c);
    }
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  SetDIBitsToDevice(dc, 0, 0, kWidth, kHeight, 0, 0, 0, kHeight, bits.data(), &info, DIB_RGB_COLORS);
  EndPaint(window, &paint);
  return 0;
}

int PatternWindow::CountMismatches(const uint8_t* bits, int rowBytes, int screenHeight) const {
  int mismatches = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      // Rows are bottom-up: screen row r is memory row height - 1 - r.
      const uint8_t* p = bits + static_cast<size_t>(screenHeight - 1 - (top_ + y)) * rowBytes + (left_ + x) * 3;
      const COLORREF c = Colour(x, y);
      if (p[0] != GetBValue(c) || p[1] != GetGValue(c) || p[2] != GetRValue(c)) ++mismatches;
    }
  return mismatches;
}

}  // namespace wintest
