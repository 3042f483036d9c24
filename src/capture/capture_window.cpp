#include "capture/capture_window.h"

#include <windowsx.h>

#include "capture/capture_modes.h"
#include "resources/resource_ids.h"
#include "ui/host_link.h"
#include "ui/timers.h"
#include "viewer/viewer.h"
#include "win/dialog_result.h"
#include "win/module.h"
#include "win/paint.h"

namespace pictornx {
namespace {

IntPoint MessagePoint(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

void OnPaint(const CaptureMode& mode, HWND window) {
  PaintScope paint(window);
  if (paint.Dc() && mode.paint) mode.paint(window, paint.Dc());
}

void OnTimeout(const CaptureMode& mode, HWND window) {
  KillTimer(window, kCaptureTimeoutTimer);
  mode.state().timerRunning = false;
  EndCaptureWindow(mode, window, false);
}

// Every way the window goes ends here: what it holds is let go, the cycle's images are
// freed unless a crop follows, and the host comes back.
void OnDestroy(const CaptureMode& mode, HWND window) {
  CaptureWindowState& s = mode.state();
  if (s.window != window) return;
  if (s.timerRunning) KillTimer(window, kCaptureTimeoutTimer);
  s.timerRunning = false;
  if (mode.release) mode.release(window);
  s.window = nullptr;
  const bool keep = s.keepImages;
  s.keepImages = false;
  // A viewer opened meanwhile (a whole-screen request while this window showed) owns
  // the images now.
  if (!keep && !ViewerWindow()) FreeCaptureImages();
  RestoreHostWindow();
}

}  // namespace

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

HWND LiveCaptureWindow(const CaptureMode& mode) {
  CaptureWindowState& s = mode.state();
  if (s.window && !IsWindow(s.window)) s.window = nullptr;
  return s.window;
}

int StartCaptureWindow(const CaptureMode& mode, DLGPROC proc, HWND hostWindow) {
  if (LiveCaptureWindow(mode)) return kCaptureWindowExists;
  HWND window = CreateCaptureWindow(hostWindow, proc);
  if (!window) {
    FreeCaptureImages();
    return kCaptureFailed;
  }
  CaptureWindowState& s = mode.state();
  s.window = window;
  s.keepImages = false;
  if (mode.reset) mode.reset();
  const SIZE screen = Images().screenSize;
  SetWindowPos(window, mode.placeAfter, 0, 0, screen.cx, screen.cy, mode.placeFlags);
  SetCursor(LoadCursorW(nullptr, mode.cursor));
  if (mode.opening) mode.opening(window);
  SetForegroundWindow(window);
  SetActiveWindow(window);
  SetFocus(window);
  if (mode.opened) mode.opened(window);
  s.timerRunning = StartCaptureTimeout(window);
  return kCaptureStarted;
}

INT_PTR CaptureWindowMessage(const CaptureMode& mode, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_PAINT:
      OnPaint(mode, window);
      return TRUE;
    case WM_SETCURSOR:
      return SetCaptureCursor(window, lParam, mode.cursor);
    case WM_GETDLGCODE:
      // Arrow keys and characters come to this window, not to the dialog manager.
      return DialogResult(window, DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS);
    case WM_MOUSEMOVE:
      if (mode.mouseMove) mode.mouseMove(window, MessagePoint(lParam));
      return TRUE;
    case WM_LBUTTONDOWN:
      if (mode.leftDown) mode.leftDown(window, MessagePoint(lParam));
      return TRUE;
    case WM_LBUTTONUP:
      if (!mode.leftUp) return FALSE;
      mode.leftUp(window, MessagePoint(lParam));
      return TRUE;
    case WM_KEYDOWN:
      if (mode.keyDown) {
        mode.keyDown(window, wParam);
      } else {
        EndCaptureWindow(mode, window, false);
      }
      return TRUE;
    case WM_CHAR:
    case WM_SYSCHAR:
    case WM_RBUTTONDOWN:
    case WM_CLOSE:
      EndCaptureWindow(mode, window, false);
      return TRUE;
    case WM_COMMAND:
      // Escape, where the host's loop hands keys to the dialog manager first.
      if (LOWORD(wParam) == IDCANCEL) EndCaptureWindow(mode, window, false);
      return TRUE;
    case WM_TIMER:
      if (wParam == kCaptureTimeoutTimer) OnTimeout(mode, window);
      return TRUE;
    case WM_DESTROY:
      OnDestroy(mode, window);
      return FALSE;
    default:
      return FALSE;
  }
}

void EndCaptureWindow(const CaptureMode& mode, HWND window, bool keepImages) {
  mode.state().keepImages = keepImages;
  if (mode.closing) mode.closing(window);
  DestroyWindow(window);
}

}  // namespace pictornx
