// Request 12: the window pick. A full-screen window shows the frozen screen; the window
// under the pointer is outlined in green, and a click crops its rectangle.
#include "capture/capture_modes.h"
#include "capture/capture_rules.h"
#include "capture/capture_window.h"
#include "win/handles.h"

namespace pictornx {
namespace {

constexpr COLORREF kOutlinePen = RGB(0, 238, 0);
constexpr int kOutlineWidth = 3;

struct WindowPickState : CaptureWindowState {
  bool pointerSeen = false;
  IntPoint lastPointer;
  HWND lastWindow = nullptr;  // the window under the pointer at the last move
  PixelRect outline;          // its rectangle clipped to the screen
};

WindowPickState& Pick() {
  static WindowPickState state;
  return state;
}

const CaptureMode& Mode();

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

void OnClick(HWND window, IntPoint at) {
  // The click's own point decides, even when no move reached this window before it.
  OnMouseMove(window, at);
  PixelRect rect = ClippedWindowRect(Pick().lastWindow);
  EndCaptureWindow(Mode(), window, true);
  const SIZE screen = ScreenSize();
  if (rect.Empty()) rect = {0, 0, screen.cx, screen.cy};
  CropAndOpenViewer(rect.left, rect.top, rect.right, rect.bottom);
}

// The window last found under the pointer is forgotten with the capture window.
void Release(HWND) { Pick().lastWindow = nullptr; }

void Reset() {
  WindowPickState& s = Pick();
  s.pointerSeen = false;
  s.lastWindow = nullptr;
  s.outline = {};
}

// Shown without a redraw, the window paints the frozen screen once it is active.
void Invalidate(HWND window) { InvalidateRect(window, nullptr, FALSE); }

void Paint(HWND, HDC dc) { DrawPickFace(dc); }

CaptureWindowState& State() { return Pick(); }

const CaptureMode& Mode() {
  static const CaptureMode mode{
      .state = State,
      .cursor = IDC_ARROW,
      .placeAfter = nullptr,
      .placeFlags = SWP_NOZORDER | SWP_SHOWWINDOW | SWP_NOREDRAW,
      .reset = Reset,
      .opening = nullptr,
      .opened = Invalidate,
      .paint = Paint,
      .mouseMove = OnMouseMove,
      .leftDown = OnClick,
      .leftUp = nullptr,
      .keyDown = nullptr,
      .closing = nullptr,
      .release = Release,
  };
  return mode;
}

INT_PTR CALLBACK PickProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return CaptureWindowMessage(Mode(), window, message, wParam, lParam);
}

}  // namespace

HWND WindowPickWindow() { return LiveCaptureWindow(Mode()); }

int StartWindowPick(HWND hostWindow) { return StartCaptureWindow(Mode(), PickProc, hostWindow); }

}  // namespace pictornx
