// pictorn-demo.exe: a small host program standing in for the two real hosts. It loads
// pictornx.dll, takes its six exports by ordinal, registers a notify window, makes the
// requests a host makes, logs every notification and shows the image it reads back.
//
//   pictorn-demo.exe               the interactive window
//   pictorn-demo.exe --tour DIR    a scripted tour that saves screenshots into DIR and exits
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "demo_tour.h"
#include "host_library.h"

namespace demo {
namespace {

enum ControlId : int {
  kRequestFirst = 1000,  // request buttons: kRequestFirst + request type
  kIdentity0 = 1200,
  kIdentity1,
  kIdentity2,
  kScopeFlag = 1210,
  kHideTools = 1220,
  kShowTools,
  kReadImage,
  kCloseViewer,
  kLog = 1300,
  kImageView,
  kImageSizeLabel,
};

constexpr int kRequestTypes[] = {10, 11, 12, 13, 14, 15, 100};
const wchar_t* const kRequestLabels[] = {
    L"10  Capture the whole screen", L"11  Capture a dragged rectangle", L"12  Capture a picked window",
    L"13  Capture the foreground window", L"14  Capture in 5 seconds", L"15  Open an image file",
    L"100  Is the tool window open?",
};

struct DemoState {
  HostLibrary library;
  HWND main = nullptr;
  HWND notify = nullptr;
  HWND log = nullptr;
  HWND view = nullptr;
  HWND sizeLabel = nullptr;
  HFONT font = nullptr;
  std::vector<uint8_t> image;  // the last image read back, bottom-up 24-bit rows
  int imageWidth = 0;
  int imageHeight = 0;
};

DemoState g_demo;
// The scripted tour numbers its log lines instead of timing them, so that its screenshots
// come out the same from one run to the next and a change to the library shows as a
// difference between them.
bool g_numberLogLines = false;

std::wstring Timestamp() {
  if (g_numberLogLines) {
    static int line = 0;
    wchar_t text[32];
    swprintf(text, 32, L"line %04d   ", ++line);
    return text;
  }
  SYSTEMTIME t;
  GetLocalTime(&t);
  wchar_t text[32];
  swprintf(text, 32, L"%02u:%02u:%02u.%03u", t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
  return text;
}

int SelectedIdentity() {
  for (int i = 0; i < 3; ++i)
    if (IsDlgButtonChecked(g_demo.main, kIdentity0 + i) == BST_CHECKED) return i;
  return 0;
}

void UpdateSizeLabel() {
  wchar_t text[96];
  if (g_demo.imageWidth > 0)
    swprintf(text, 96, L"Image read back: %d x %d", g_demo.imageWidth, g_demo.imageHeight);
  else
    swprintf(text, 96, L"Image read back: none");
  SetWindowTextW(g_demo.sizeLabel, text);
}

}  // namespace

void Log(const std::wstring& line) {
  if (!g_demo.log) return;
  const std::wstring entry = Timestamp() + L"  " + line;
  const LRESULT index = SendMessageW(g_demo.log, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
  SendMessageW(g_demo.log, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
}

void ReadImageBack() {
  const HostLibrary& lib = g_demo.library;
  const uint64_t size = lib.getImageSize();
  const auto* bits = static_cast<const uint8_t*>(lib.getImageBits());
  const int width = static_cast<int>(size & 0xFFFFFFFFu);
  const int height = static_cast<int>(size >> 32);
  if (!bits || width <= 0 || height <= 0) {
    // The library has no image now; keep showing the last one read.
    Log(L"GetImageBits: no image");
    return;
  }
  const size_t row = static_cast<size_t>(((width * 24 + 31) >> 3) & ~3);
  g_demo.image.assign(bits, bits + row * static_cast<size_t>(height));
  g_demo.imageWidth = width;
  g_demo.imageHeight = height;
  UpdateSizeLabel();
  InvalidateRect(g_demo.view, nullptr, FALSE);
}

int MakeRequest(int type) {
  const int identity = SelectedIdentity();
  Log(L"RunToolRequest(host, " + std::to_wstring(type) + L", " + std::to_wstring(identity) + L") ...");
  const int result = g_demo.library.runToolRequest(g_demo.main, type, identity);
  Log(L"  result " + std::to_wstring(result));
  if (type != 100 && result == 0) ReadImageBack();
  return result;
}

void SetScopeFlag(bool on) {
  const int answer = g_demo.library.setHostNotifyWindow(g_demo.notify, on ? 1 : 0);
  Log(L"SetHostNotifyWindow(notify, " + std::to_wstring(on ? 1 : 0) + L") = " + std::to_wstring(answer));
}

void ShowTools(bool show) {
  const int answer = g_demo.library.showToolWindows(show ? 0 : 1);
  Log(std::wstring(L"ShowToolWindows(") + (show ? L"0" : L"1") + L") = " + std::to_wstring(answer));
}

namespace {

// The notify window: the library sends WM_LBUTTONDOWN, wParam 1, lParam = code. It is a
// hidden window of its own, so a user's click on the demo is never taken for one.
LRESULT CALLBACK NotifyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_LBUTTONDOWN && wParam == 1) {
    Log(L"notification " + std::to_wstring(lParam));
    if (lParam == 1 || lParam == 3) ReadImageBack();
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// Draws the image read back, scaled to fit and centred, on a dark grey ground.
void PaintImageView(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT client;
  GetClientRect(window, &client);
  HBRUSH ground = CreateSolidBrush(RGB(48, 48, 52));
  FillRect(dc, &client, ground);
  DeleteObject(ground);
  if (g_demo.imageWidth > 0) {
    const int cw = client.right;
    const int ch = client.bottom;
    double scale = std::min(static_cast<double>(cw) / g_demo.imageWidth, static_cast<double>(ch) / g_demo.imageHeight);
    if (scale > 1.0) scale = 1.0;
    const int w = std::max(1, static_cast<int>(g_demo.imageWidth * scale));
    const int h = std::max(1, static_cast<int>(g_demo.imageHeight * scale));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = g_demo.imageWidth;
    info.bmiHeader.biHeight = g_demo.imageHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    const int oldMode = SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchDIBits(dc, (cw - w) / 2, (ch - h) / 2, w, h, 0, 0, g_demo.imageWidth, g_demo.imageHeight,
                  g_demo.image.data(), &info, DIB_RGB_COLORS, SRCCOPY);
    SetStretchBltMode(dc, oldMode);
  }
  EndPaint(window, &paint);
}

LRESULT CALLBACK ImageViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PaintImageView(window);
    return 0;
  }
  if (message == WM_ERASEBKGND) return 1;
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND AddControl(const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h, int id) {
  HWND control = CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, g_demo.main,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(g_demo.font), FALSE);
  return control;
}

void CreateControls() {
  int y = 12;
  AddControl(L"BUTTON", L"Requests (ordinal 322)", BS_GROUPBOX, 10, y, 250, 250, 0);
  y += 22;
  for (size_t i = 0; i < std::size(kRequestTypes); ++i, y += 30)
    AddControl(L"BUTTON", kRequestLabels[i], BS_PUSHBUTTON | WS_TABSTOP, 20, y, 230, 26, kRequestFirst + kRequestTypes[i]);

  y = 272;
  AddControl(L"BUTTON", L"Host identity", BS_GROUPBOX, 10, y, 250, 100, 0);
  AddControl(L"BUTTON", L"0  Pictorn (no notifications)", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 20, y + 20, 230, 22, kIdentity0);
  AddControl(L"BUTTON", L"1  Murafex (notifications)", BS_AUTORADIOBUTTON, 20, y + 44, 230, 22, kIdentity1);
  AddControl(L"BUTTON", L"2  Murafex (silent)", BS_AUTORADIOBUTTON, 20, y + 68, 230, 22, kIdentity2);
  CheckRadioButton(g_demo.main, kIdentity0, kIdentity2, kIdentity1);

  y = 382;
  AddControl(L"BUTTON", L"External scope flag (ordinal 323)", BS_AUTOCHECKBOX | WS_TABSTOP, 14, y, 246, 22, kScopeFlag);
  AddControl(L"BUTTON", L"Hide tools", BS_PUSHBUTTON | WS_TABSTOP, 10, y + 30, 120, 26, kHideTools);
  AddControl(L"BUTTON", L"Show tools", BS_PUSHBUTTON | WS_TABSTOP, 140, y + 30, 120, 26, kShowTools);
  AddControl(L"BUTTON", L"Read image back", BS_PUSHBUTTON | WS_TABSTOP, 10, y + 62, 120, 26, kReadImage);
  AddControl(L"BUTTON", L"Close tool window", BS_PUSHBUTTON | WS_TABSTOP, 140, y + 62, 120, 26, kCloseViewer);

  g_demo.log = AddControl(L"LISTBOX", L"", WS_BORDER | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOSEL, 274, 12, 500, 180, kLog);
  g_demo.sizeLabel = AddControl(L"STATIC", L"", SS_LEFT, 274, 200, 500, 18, kImageSizeLabel);
  g_demo.view = AddControl(L"PictornDemoImage", L"", WS_BORDER, 274, 220, 500, 260, kImageView);
  UpdateSizeLabel();
}

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      g_demo.main = window;
      CreateControls();
      return 0;
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (id > kRequestFirst && id <= kRequestFirst + 100) {
        MakeRequest(id - kRequestFirst);
      } else if (id == kScopeFlag) {
        SetScopeFlag(IsDlgButtonChecked(window, kScopeFlag) == BST_CHECKED);
      } else if (id == kHideTools || id == kShowTools) {
        ShowTools(id == kShowTools);
      } else if (id == kReadImage) {
        ReadImageBack();
      } else if (id == kCloseViewer) {
        CloseToolWindow();
      }
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

bool RegisterClasses(HINSTANCE instance) {
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof(cls);
  cls.hInstance = instance;
  cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  cls.lpfnWndProc = MainProc;
  cls.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  cls.lpszClassName = L"PictornDemoHost";
  cls.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  if (!RegisterClassExW(&cls)) return false;
  cls.lpfnWndProc = NotifyProc;
  cls.lpszClassName = L"PictornDemoNotify";
  cls.hIcon = nullptr;
  if (!RegisterClassExW(&cls)) return false;
  cls.lpfnWndProc = ImageViewProc;
  cls.lpszClassName = L"PictornDemoImage";
  return RegisterClassExW(&cls) != 0;
}

}  // namespace

HWND MainWindow() { return g_demo.main; }

// Closes the library's tool window the way a user does, through its close command.
void CloseToolWindow() {
  HWND viewer = FindToolWindow();
  if (!viewer) {
    Log(L"no tool window to close");
    return;
  }
  PostMessageW(viewer, WM_CLOSE, 0, 0);
}

namespace {
struct ToolWindowSearch {
  DWORD process;
  HWND found;
};

BOOL CALLBACK MatchToolWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<ToolWindowSearch*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  wchar_t title[64] = L"";
  GetWindowTextW(window, title, 64);
  // The tool window's title starts with "画像の加工".
  if (process == search->process && wcsncmp(title, L"\u753B\u50CF\u306E\u52A0\u5DE5", 5) == 0) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

HWND FindToolWindow() {
  ToolWindowSearch search{GetCurrentProcessId(), nullptr};
  EnumWindows(MatchToolWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace demo

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  using namespace demo;
  // The library's dialogs hold up-down and progress controls; a host registers their classes.
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_UPDOWN_CLASS | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  const wchar_t* tourDir = (argc >= 3 && wcscmp(argv[1], L"--tour") == 0) ? argv[2] : nullptr;

  g_numberLogLines = tourDir != nullptr;

  std::wstring error;
  if (!g_demo.library.Load(L"pictornx.dll", &error)) {
    if (tourDir) {
      std::fprintf(stderr, "pictorn-demo: %ls\n", error.c_str());
    } else {
      MessageBoxW(nullptr, error.c_str(), L"pictorn-demo", MB_ICONERROR);
    }
    return 1;
  }
  if (!RegisterClasses(instance)) return 1;
  g_demo.font = CreateFontW(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, L"Tahoma");
  g_demo.notify = CreateWindowExW(0, L"PictornDemoNotify", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
  HWND main = CreateWindowExW(0, L"PictornDemoHost", L"pictorn-demo: host stand-in for pictornx.dll",
                              WS_OVERLAPPEDWINDOW & ~(WS_MAXIMIZEBOX | WS_THICKFRAME), 40, 40, 800, 530, nullptr,
                              nullptr, instance, nullptr);
  if (!main || !g_demo.notify) return 1;
  ShowWindow(main, tourDir ? SW_SHOWNORMAL : show);
  UpdateWindow(main);

  Log(L"pictornx.dll loaded; GetToolVersion() = " + std::to_wstring(g_demo.library.getToolVersion()));
  SetScopeFlag(false);

  int exitCode = 0;
  if (tourDir) {
    exitCode = RunTour(tourDir);
    DestroyWindow(main);
  }
  MSG msg;
  while (!tourDir && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    // The library's tool windows are modeless dialogs: give them their keyboard handling.
    HWND active = GetActiveWindow();
    if (active && active != main && IsDialogMessageW(active, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  DestroyWindow(g_demo.notify);
  DeleteObject(g_demo.font);
  LocalFree(argv);
  return exitCode;
}
