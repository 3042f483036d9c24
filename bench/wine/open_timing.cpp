// Times request 15 from call to return (the viewer shown, the open dialog answered at
// once by a timer) for a 1920 x 1080 JPEG, PNG and BMP, beside the codec's own decode of
// the same file in the same run. Run under Wine: make bench-wine.
#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "codecs/bmp.h"
#include "codecs/jpeg_codec.h"
#include "codecs/png_codec.h"
#include "host_library.h"
#include "open_test_support.h"
#include "win_test_support.h"

namespace {

double Now() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  return samples[samples.size() / 2];
}

}  // namespace

int main() {
  wintest::LoadedLibrary lib;
  if (!lib.module) return 1;
  wintest::InitCommonControlsForHost();
  wintest::HostWindow host;
  wintest::ModalAnswerer answerer;
  const int rounds = 15;
  // dialog: GetOpenFileNameW alone, answered by the same timer; the last ratio leaves it out.
  std::printf("%-8s %10s %10s %10s %8s %8s\n", "file", "request", "dialog", "decode", "ratio", "w/o dlg");
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
    const double requestMs = Median(request), decodeMs = Median(decode), dialogMs = Median(dialog);
    std::printf("%-8s %10.1f %10.1f %10.1f %8.2f %8.2f\n", wintest::Utf8(name).c_str(), requestMs, dialogMs, decodeMs,
                requestMs / decodeMs, (requestMs - dialogMs) / decodeMs);
  }
  return 0;
}
