// Times a whole-screen request from call to return through the DLL's ordinals, beside
// what it is made of: one BitBlt of the screen into a DIB section, the block copies of
// the image (capture to work image, then the viewer's copies to the initial and work
// images) and the bare viewer window (bare_viewer.h) painting that image once. Run under
// Wine: make bench-wine; PICTORNX_SCREEN sets the screen's size.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "bare_viewer.h"
#include "host_library.h"
#include "timing.h"

namespace {

struct Stats {
  double median;
  double best;
};

Stats Summarise(const std::vector<double>& samples) {
  return {timing::Median(samples), *std::min_element(samples.begin(), samples.end())};
}

BOOL CALLBACK FindViewer(HWND window, LPARAM found) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  wchar_t title[8] = L"";
  GetWindowTextW(window, title, 8);
  if (process == GetCurrentProcessId() && wcsncmp(title, L"\u753B\u50CF\u306E\u52A0\u5DE5", 5) == 0) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

int main() {
  HostLibrary lib;
  std::wstring error;
  if (!lib.Load(L"pictornx.dll", &error)) {
    std::fprintf(stderr, "cannot load pictornx.dll\n");
    return 1;
  }
  HWND host = CreateWindowExW(0, L"STATIC", L"timing host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 200,
                              nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  const int rounds = 30;

  std::vector<double> request;
  for (int i = 0; i < rounds; ++i) {
    const double start = timing::Now();
    const int result = lib.runToolRequest(host, 10, 0);
    const double elapsed = timing::Now() - start;
    if (result != 0) {
      std::fprintf(stderr, "request failed: %d\n", result);
      return 1;
    }
    request.push_back(elapsed);
    HWND viewer = nullptr;
    EnumWindows(FindViewer, reinterpret_cast<LPARAM>(&viewer));
    SendMessageW(viewer, WM_COMMAND, 32793, 0);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }

  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP screen = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const size_t bytes = static_cast<size_t>(((width * 24 + 31) >> 3) & ~3) * height;
  std::vector<uint8_t> work(bytes), initial(bytes);
  HDC display = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
  HDC memory = CreateCompatibleDC(display);
  HGDIOBJ old = SelectObject(memory, screen);
  std::vector<double> blit, copies, window;
  const timing::BareImage image{&info, bits, width, height};
  for (int i = 0; i < rounds; ++i) {
    const double t0 = timing::Now();
    BitBlt(memory, 0, 0, width, height, display, 0, 0, SRCCOPY);
    GdiFlush();
    const double t1 = timing::Now();
    std::memcpy(work.data(), bits, bytes);
    std::memcpy(initial.data(), bits, bytes);
    std::memcpy(work.data(), bits, bytes);
    const double t2 = timing::Now();
    blit.push_back(t1 - t0);
    copies.push_back(t2 - t1);
    window.push_back(timing::BareViewerMs(lib.module, host, image));
  }
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteDC(display);
  DeleteObject(screen);
  DestroyWindow(host);

  const Stats r = Summarise(request), b = Summarise(blit), c = Summarise(copies), w = Summarise(window);
  std::printf("screen %d x %d, %d rounds (median / best, ms)\n", width, height, rounds);
  std::printf("request 10, call to return    %7.2f / %7.2f\n", r.median, r.best);
  std::printf("bare BitBlt of the screen     %7.2f / %7.2f\n", b.median, b.best);
  std::printf("three image copies (memcpy)   %7.2f / %7.2f\n", c.median, c.best);
  std::printf("bare viewer window, one paint %7.2f / %7.2f\n", w.median, w.best);
  std::printf("request / (BitBlt + copies)   %7.2f\n", r.median / (b.median + c.median));
  std::printf("request / (window + BitBlt + copies) %7.2f   (goal 1.2)\n",
              r.median / (w.median + b.median + c.median));
  return 0;
}
