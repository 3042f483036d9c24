// Requests 13 and 14: the foreground window at once, and the whole screen 5 seconds later.
#include "capture/capture_modes.h"
#include "capture/capture_rules.h"
#include "capture/capture_window.h"
#include "ui/host_link.h"
#include "ui/timers.h"
#include "viewer/viewer.h"

namespace pictornx {
namespace {

constexpr UINT kDelayMs = 5000;

struct DelayedCaptureState {
  HWND timerWindow = nullptr;  // the host's window of request 14, which timer 112 runs on
  bool pending = false;
};

DelayedCaptureState& Delay() {
  static DelayedCaptureState state;
  return state;
}

void ShowViewerInFront() {
  HWND viewer = ViewerWindow();
  if (!viewer) return;
  // The viewer opened while another program may have been in front for 5 seconds: its
  // frame is redrawn and it takes the foreground.
  RECT r{};
  GetWindowRect(viewer, &r);
  SetWindowPos(viewer, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_FRAMECHANGED | SWP_NOZORDER);
  InvalidateRect(viewer, nullptr, FALSE);
  SetFocus(viewer);
  SetActiveWindow(viewer);
  SetForegroundWindow(viewer);
}

void CALLBACK OnDelayElapsed(HWND window, UINT, UINT_PTR id, DWORD) {
  KillTimer(window, id);
  Delay().pending = false;
  Delay().timerWindow = nullptr;
  // CursorTile keeps the cursor of the request's time.
  if (!RecaptureScreen()) {
    FreeCaptureImages();
    return;
  }
  RestoreHostWindow();
  const SIZE screen = Images().screenSize;
  CropAndOpenViewer(0, 0, screen.cx, screen.cy);
  ShowViewerInFront();
}

}  // namespace

int CaptureForegroundWindow(HWND hostWindow) {
  // Hidden for a moment, the host is not taken for the foreground window.
  ShowWindow(hostWindow, SW_HIDE);
  HWND foreground = GetForegroundWindow();
  ShowWindow(hostWindow, SW_SHOWNORMAL);
  if (!foreground) return kCaptureFailed;
  RECT r{};
  GetWindowRect(foreground, &r);
  const SIZE screen = Images().screenSize;
  PixelRect rect = ClipToScreen({r.left, r.top, r.right, r.bottom}, screen.cx, screen.cy);
  if (rect.Empty()) rect = {0, 0, screen.cx, screen.cy};
  if (CropScreenRect(rect.left, rect.top, rect.right, rect.bottom) == kCropDone &&
      OpenViewer(hostWindow) == kViewerOpened) {
    RestoreHostWindow();
    return kCaptureStarted;
  }
  if (!ViewerWindow()) FreeCaptureImages();
  return kCaptureFailed;
}

int StartDelayedCapture() {
  HWND host = LinkedHostWindow();
  if (!SetTimer(host, kDelayedCaptureTimer, TimerPeriod(kDelayMs), OnDelayElapsed)) return kCaptureFailed;
  Delay().timerWindow = host;
  Delay().pending = true;
  return kCaptureStarted;
}

bool DelayedCapturePending() {
  DelayedCaptureState& delay = Delay();
  if (delay.pending && !IsWindow(delay.timerWindow)) {
    delay.pending = false;
    delay.timerWindow = nullptr;
    FreeCaptureImages();
  }
  return delay.pending;
}

void CancelDelayedCapture() {
  DelayedCaptureState& delay = Delay();
  if (!delay.pending) return;
  KillTimer(delay.timerWindow, kDelayedCaptureTimer);
  delay.pending = false;
  delay.timerWindow = nullptr;
}

}  // namespace pictornx
