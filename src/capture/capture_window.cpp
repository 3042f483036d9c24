#include "capture/capture_window.h"

#include "capture/capture_modes.h"
#include "resources/resource_ids.h"
#include "ui/host_link.h"
#include "ui/timers.h"
#include "viewer/viewer.h"
#include "win/module.h"

namespace pictornx {

HWND CreateCaptureWindow(HWND owner, DLGPROC proc) {
  return CreateDialogParamW(ModuleInstance(), MAKEINTRESOURCEW(IDD_CAPTURE), owner, proc, 0);
}

bool StartCaptureTimeout(HWND window) {
  return SetTimer(window, kCaptureTimeoutTimer, TimerPeriod(kCaptureTimeoutMs), nullptr) != 0;
}

void DrawFrozenScreen(HDC dc, const SharedImage& image) {
  if (!image) return;
  ScreenPaletteScope palette(dc);
  SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(image.Width()), static_cast<DWORD>(image.Height()), 0, 0, 0,
                    static_cast<UINT>(image.Height()), image.Bits(), reinterpret_cast<const BITMAPINFO*>(&image.header),
                    DIB_RGB_COLORS);
}

INT_PTR DialogResult(HWND window, LONG_PTR result) {
  SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
  return TRUE;
}

INT_PTR SetCaptureCursor(HWND window, LPARAM lParam, LPCWSTR cursor) {
  if (LOWORD(lParam) != HTCLIENT) return FALSE;
  SetCursor(LoadCursorW(nullptr, cursor));
  return DialogResult(window, TRUE);
}

void CropAndOpenViewer(int x1, int y1, int x2, int y2) {
  // A viewer opened meanwhile shows these images: a crop would change them under it.
  if (ViewerWindow()) return;
  if (CropScreenRect(x1, y1, x2, y2) == 0 && OpenViewer(LinkedHostWindow()) == kViewerOpened) return;
  // A viewer that failed to open has freed what it made; the capture's images go too.
  FreeCaptureImages();
}

}  // namespace pictornx
