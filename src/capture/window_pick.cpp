// Request 12: the window pick. A full-screen window shows the frozen screen; the window
// under the pointer is outlined in green, and a click crops its rectangle.
#include <windowsx.h>

#include "capture/capture_modes.h"
#include "capture/capture_rules.h"
#include "capture/capture_window.h"
#include "ui/host_link.h"
#include "ui/timers.h"
#include "viewer/viewer.h"
#include "win/handles.h"

namespace pictornx {
namespace {

constexpr COLORREF kOutlinePen = RGB(0, 238, 0);
constexpr int kOutlineWidth = 3;

struct WindowPickState {
  HWND window = nullptr;
  bool timerRunning = false;  // timer 110
  bool pointerSeen = false;
  IntPoint lastPointer;
  HWND lastWindow = nullptr;  // the window under the pointer at the last move
  PixelRect outline;          // its rectangle clipped to the screen
  bool keepImages = false;    // the window closes for a crop: the images stay
};

WindowPickState& Pick() {
  static WindowPickState state;
  return state;
}

SIZE ScreenSize() { return Images().screenSize; }

PixelRect ClippedWindowRect(HWND target) {
  RECT r{};
  if (!target || !GetWindowRect(target, &r)) return {};
  const SIZE screen = ScreenSize();
  return ClipToScreen({r.left, r.top, r.right, r.bottom}, screen.cx, screen.cy);
}

void DrawOutline(HDC dc, PixelRect rect) {
  if (rect.Empty()) return;
  OwnedPen pen(CreatePen(PS_SOLID, kOutlineWidth, kOutlinePen));
  SavedDcState saved(dc);
  SelectObject(dc, pen.Get());
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
}

void DrawPickFace(HDC dc) {
  DrawFrozenScreen(dc, Images().workImage);
  if (Pick().lastWindow) DrawOutline(dc, Pick().outline);
}

// The deepest visible window at screen point `point` among the top-level windows below
// `window` in the z-order.
HWND WindowBelow(HWND window, POINT point) {
  for (HWND top = GetWindow(window, GW_HWNDNEXT); top; top = GetWindow(top, GW_HWNDNEXT)) {
    RECT r{};
    if (!IsWindowVisible(top) || !GetWindowRect(top, &r) || !PtInRect(&r, point)) continue;
    HWND deepest = top;
    for (;;) {
      POINT client = point;
      ScreenToClient(deepest, &client);
      HWND child = ChildWindowFromPointEx(deepest, client, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
      if (!child || child == deepest) break;
      deepest = child;
    }
    return deepest;
  }
  return nullptr;
}

// The window under the client point, the capture window itself stepping aside to the
// bottom of the z-order for the look and coming back on top. An owned window cannot go
// below its owner: over the host's own window the look still finds the capture window,
// and the windows below it are searched instead.
HWND WindowUnder(HWND window, IntPoint at) {
  constexpr UINT kRestack = SWP_NOMOVE | SWP_NOSIZE | SWP_NOREDRAW | SWP_NOACTIVATE;
  POINT point{at.x, at.y};
  ClientToScreen(window, &point);
  SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0, kRestack);
  HWND found = WindowFromPoint(point);
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, kRestack);
  return found == window ? WindowBelow(window, point) : found;
}

void OnMouseMove(HWND window, IntPoint at) {
  WindowPickState& s = Pick();
  if (s.pointerSeen && at == s.lastPointer) return;
  s.pointerSeen = true;
  s.lastPointer = at;
  HWND found = WindowUnder(window, at);
  if (found == s.lastWindow) return;
  s.lastWindow = found;
  s.outline = ClippedWindowRect(found);
  WindowDc dc(window);
  DrawPickFace(dc.Get());
}

void ClosePick(HWND window, bool keepImages) {
  Pick().keepImages = keepImages;
  DestroyWindow(window);
}

void OnClick(HWND window, IntPoint at) {
  // The click's own point decides, even when no move reached this window before it.
  OnMouseMove(window, at);
  PixelRect rect = ClippedWindowRect(Pick().lastWindow);
  ClosePick(window, true);
  const SIZE screen = ScreenSize();
  if (rect.Empty()) rect = {0, 0, screen.cx, screen.cy};
  CropAndOpenViewer(rect.left, rect.top, rect.right, rect.bottom);
}

void OnPaint(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  DrawPickFace(dc);
  EndPaint(window, &paint);
}

void OnTimeout(HWND window) {
  KillTimer(window, kCaptureTimeoutTimer);
  Pick().timerRunning = false;
  ClosePick(window, false);
}

// Every way the window goes ends here, as for the range capture.
void OnDestroy(HWND window) {
  WindowPickState& s = Pick();
  if (s.window != window) return;
  if (s.timerRunning) KillTimer(window, kCaptureTimeoutTimer);
  s.timerRunning = false;
  s.window = nullptr;
  s.lastWindow = nullptr;
  const bool keep = s.keepImages;
  s.keepImages = false;
  // A viewer opened meanwhile (a whole-screen request while this window showed) owns
  // the images now.
  if (!keep && !ViewerWindow()) FreeCaptureImages();
  RestoreHostWindow();
}

INT_PTR CALLBACK PickProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_PAINT:
      OnPaint(window);
      return TRUE;
    case WM_SETCURSOR:
      return SetCaptureCursor(window, lParam, IDC_ARROW);
    case WM_GETDLGCODE:
      return DialogResult(window, DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS);
    case WM_MOUSEMOVE:
      OnMouseMove(window, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return TRUE;
    case WM_LBUTTONDOWN:
      OnClick(window, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return TRUE;
    case WM_KEYDOWN:
    case WM_CHAR:
    case WM_SYSCHAR:
    case WM_RBUTTONDOWN:
    case WM_CLOSE:
      ClosePick(window, false);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL) ClosePick(window, false);
      return TRUE;
    case WM_TIMER:
      if (wParam == kCaptureTimeoutTimer) OnTimeout(window);
      return TRUE;
    case WM_DESTROY:
      OnDestroy(window);
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

HWND WindowPickWindow() {
  WindowPickState& s = Pick();
  if (s.window && !IsWindow(s.window)) s.window = nullptr;
  return s.window;
}

int StartWindowPick(HWND hostWindow) {
  if (WindowPickWindow()) return kCaptureWindowExists;
  HWND window = CreateCaptureWindow(hostWindow, PickProc);
  if (!window) {
    FreeCaptureImages();
    return kCaptureFailed;
  }
  WindowPickState& s = Pick();
  s.window = window;
  s.pointerSeen = false;
  s.lastWindow = nullptr;
  s.outline = {};
  s.keepImages = false;
  const SIZE screen = ScreenSize();
  SetWindowPos(window, nullptr, 0, 0, screen.cx, screen.cy, SWP_NOZORDER | SWP_SHOWWINDOW | SWP_NOREDRAW);
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
  SetForegroundWindow(window);
  SetActiveWindow(window);
  SetFocus(window);
  InvalidateRect(window, nullptr, FALSE);
  s.timerRunning = StartCaptureTimeout(window);
  return kCaptureStarted;
}

}  // namespace pictornx
