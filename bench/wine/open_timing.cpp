// Times request 15 from call to return (the viewer shown, the open dialog answered at
// once by a timer) for a 1920 x 1080 JPEG, PNG and BMP, beside the codec's own decode of
// the same file and the bare viewer window (bare_viewer.h) painting an image of that size,
// in the same run. Run under Wine: make bench-wine.
#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bare_viewer.h"
#include "codecs/bmp.h"
#include "codecs/jpeg_codec.h"
#include "codecs/png_codec.h"
#include "host_library.h"
#include "open_test_support.h"
#include "timing.h"
#include "win_test_support.h"

using timing::Median;
using timing::Now;

int main() {
  wintest::LoadedLibrary lib;
  if (!lib.module) return 1;
  wintest::InitCommonControlsForHost();
  wintest::HostWindow host;
  wintest::ModalAnswerer answerer;
  const int rounds = 15;
  // dialog: GetOpenFileNameW alone, answered by the same timer; "w/o dlg" leaves it out.
  // window: the bare viewer window painting a 1920 x 1080 image once; the goal is
  // request without its dialog <= 1.2 x (window + decode).
  const int width = 1920, height = 1080;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<unsigned char> pixels(static_cast<size_t>(width) * 3 * height, 0x80);
  const timing::BareImage image{&info, pixels.data(), width, height};
  std::printf("%-8s %9s %9s %9s %9s %8s %8s %10s\n", "file", "request", "dialog", "decode", "window", "ratio",
              "w/o dlg", "vs window");
  for (const wchar_t* name : {L"big.jpg", L"big.png", L"big.bmp"}) {
    const std::wstring path = wintest::ProgramFolder() + L"open_fixtures\\" + name;
    std::vector<double> request, decode;
    for (int i = 0; i < rounds; ++i) {
      answerer.Answer(path);
      const double start = Now();
      const int result = lib.runToolRequest(host.Get(), 15, 0);
      request.push_back(Now() - start);
      if (result != 0) {
        std::fprintf(stderr, "request failed: %d\n", result);
        return 1;
      }
      for (HWND window : wintest::ProcessWindows([](HWND w) { return IsWindowVisible(w) && GetMenu(w); }))
        SendMessageW(window, WM_COMMAND, 32793, 0);
      wintest::PumpPending();

      pictornx::BufferSink sink;
      const double decodeStart = Now();
      const std::wstring ending = path.substr(path.size() - 3);
      const pictornx::CodecResult decoded = ending == L"jpg"   ? pictornx::ReadJpegFile(path.c_str(), sink)
                                            : ending == L"png" ? pictornx::ReadPngFile(path.c_str(), sink)
                                                               : pictornx::ReadBmpFile(path.c_str(), sink);
      decode.push_back(Now() - decodeStart);
      if (!decoded.Ok()) return 1;
    }
    std::vector<double> dialog;
    for (int i = 0; i < rounds; ++i) {
      wchar_t chosen[MAX_PATH] = L"";
      OPENFILENAMEW open{};
      open.lStructSize = sizeof(open);
      open.hwndOwner = host.Get();
      open.lpstrFile = chosen;
      open.nMaxFile = MAX_PATH;
      open.Flags = OFN_HIDEREADONLY;
      answerer.Answer(path);
      const double start = Now();
      GetOpenFileNameW(&open);
      dialog.push_back(Now() - start);
    }
    std::vector<double> window;
    for (int i = 0; i < rounds; ++i) window.push_back(timing::BareViewerMs(lib.module, host.Get(), image));
    const double requestMs = Median(request), decodeMs = Median(decode), dialogMs = Median(dialog);
    const double windowMs = Median(window);
    std::printf("%-8s %9.1f %9.1f %9.1f %9.1f %8.2f %8.2f %10.2f\n", wintest::Utf8(name).c_str(), requestMs, dialogMs,
                decodeMs, windowMs, requestMs / decodeMs, (requestMs - dialogMs) / decodeMs,
                (requestMs - dialogMs) / (windowMs + decodeMs));
  }
  return 0;
}
