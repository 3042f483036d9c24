// Request 11: the range capture. A topmost window covers the screen with the frozen
// screen; a white XOR crosshair follows the pointer until the left button goes down, then
// a dotted green rectangle and its size follow the drag; the release crops the rectangle.
#include "capture/capture_modes.h"
#include "capture/capture_rules.h"
#include "capture/capture_window.h"
#include "capture/range_capture_state.h"
#include "inspector/pixel_inspector.h"
#include "ui/draw.h"
#include "ui/tool_windows.h"
#include "win/handles.h"

namespace pictornx {
namespace {

const CaptureMode& Mode();

constexpr COLORREF kRangePen = RGB(0, 255, 0);
constexpr COLORREF kCrosshairPen = RGB(255, 255, 255);

SIZE ScreenSize() { return Images().screenSize; }

// Each call inverts the crosshair lines at (x, y): drawn once it shows, drawn again it is gone.
void XorCrosshair(HDC dc, IntPoint at) {
  const SIZE screen = ScreenSize();
  OwnedPen pen(CreatePen(PS_SOLID, 1, kCrosshairPen));
  SavedDcState saved(dc);
  SetROP2(dc, R2_XORPEN);
  SelectObject(dc, pen.Get());
  MoveToEx(dc, 0, at.y, nullptr);
  LineTo(dc, screen.cx, at.y);
  MoveToEx(dc, at.x, 0, nullptr);
  LineTo(dc, at.x, screen.cy);
}

void MoveCrosshair(HWND window, IntPoint to) {
  RangeCaptureState& s = RangeCapture();
  WindowDc dc(window);
  if (s.crosshairDrawn) XorCrosshair(dc.Get(), s.lastCrosshair);
  XorCrosshair(dc.Get(), to);
  s.lastCrosshair = to;
  s.crosshairDrawn = true;
}

// The inverse of the frozen screen's pixel at `at`, so the size text stands out on it.
COLORREF InverseScreenColour(IntPoint at) {
  const SharedImage& screen = Images().screenImage;
  const ImageView view = screen.View();
  if (view.Empty()) return kCrosshairPen;
  const IntPoint p = ClampToScreen(at, view.width, view.height);
  const uint8_t* pixel = view.TopRow(p.y) + static_cast<ptrdiff_t>(p.x) * 3;
  return RGB(pixel[2], pixel[1], pixel[0]) ^ 0x00FFFFFF;
}

// The frozen screen, the dotted rectangle from the press point to the pointer and the size
// text centred between them.
void DrawDragFrame(HWND window, HDC dc) {
  RangeCaptureState& s = RangeCapture();
  DrawFrozenScreen(dc, Images().screenImage);
  OwnedPen pen(CreatePen(PS_DOT, 1, kRangePen));
  SavedDcState saved(dc);
  SelectObject(dc, pen.Get());
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  const PixelRect corners = CornersToRect(s.press.x, s.press.y, s.current.x, s.current.y);
  Rectangle(dc, corners.left, corners.top, corners.right + 1, corners.bottom + 1);

  s.sizeText.Clear();
  CaptureSizeText(s.press, s.current, s.sizeText);
  const IntPoint anchor = CaptureTextAnchor(s.press, s.current);
  if (auto font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0))) SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextAlign(dc, TA_CENTER | TA_TOP);
  SetTextColor(dc, InverseScreenColour(anchor));
  TextOutW(dc, anchor.x, anchor.y, s.sizeText.Text(), static_cast<int>(s.sizeText.Length()));
}

void FeedInspector(IntPoint at) {
  if (!PixelInspectorWindow() || InspectorPanelOpen()) return;
  const SharedImage& screen = Images().screenImage;
  if (!screen) return;
  // While the mouse is captured the pointer may leave the screen; the inspector reads the
  // nearest screen pixel.
  const IntPoint p = ClampToScreen(at, screen.Width(), screen.Height());
  UpdatePixelInspector(screen.View(), p.x, p.y);
}

void Paint(HWND window, HDC dc) {
  RangeCaptureState& s = RangeCapture();
  if (s.dragging) {
    DrawDragFrame(window, dc);
  } else {
    DrawFrozenScreen(dc, Images().screenImage);
    // The paint wiped the crosshair in the repainted part: draw it there again, so the
    // next move's inversion removes it rather than drawing it.
    if (s.crosshairDrawn) XorCrosshair(dc, s.lastCrosshair);
  }
}

void OnMouseMove(HWND window, IntPoint at) {
  RangeCaptureState& s = RangeCapture();
  FeedInspector(at);
  if (!s.dragging) {
    MoveCrosshair(window, at);
    return;
  }
  s.current = at;
  if (s.held) DrawDragFrame(window, s.held.Get());
}

void OnLeftDown(HWND window, IntPoint at) {
  RangeCaptureState& s = RangeCapture();
  s.held = WindowDc(window);
  s.dragging = true;
  s.press = s.current = at;
  SetCapture(window);
}

void OnLeftUp(HWND window, IntPoint at) {
  RangeCaptureState& s = RangeCapture();
  // A release without a press here (the click that made the request, released over this
  // window) has no rectangle: the press point is not this drag's.
  if (!s.dragging) return;
  const IntPoint press = s.press;
  const bool moved = at.x != press.x || at.y != press.y;
  EndCaptureWindow(Mode(), window, moved);
  if (!moved) return;
  const PixelRect rect = DragRect(press, at);
  CropAndOpenViewer(rect.left, rect.top, rect.right, rect.bottom);
}

void OnKeyDown(HWND window, WPARAM key) {
  ArrowKey arrow{};
  switch (key) {
    case VK_LEFT: arrow = ArrowKey::kLeft; break;
    case VK_RIGHT: arrow = ArrowKey::kRight; break;
    case VK_UP: arrow = ArrowKey::kUp; break;
    case VK_DOWN: arrow = ArrowKey::kDown; break;
    default: return;
  }
  RECT bounds{};
  POINT pointer{};
  if (!GetWindowRect(window, &bounds) || !GetCursorPos(&pointer)) return;
  const int distance = (GetKeyState(VK_NONCONVERT) & 0x8000) ? 10 : 1;
  const auto moved = CaptureArrowMove({bounds.left, bounds.top, bounds.right, bounds.bottom},
                                      {pointer.x, pointer.y}, arrow, distance);
  if (!moved) return;
  SetCursorPos(moved->x, moved->y);
  POINT client{moved->x, moved->y};
  ScreenToClient(window, &client);
  FeedInspector({client.x, client.y});
}

// What the window holds goes with it, and the inspector closes.
void Release(HWND window) {
  RangeCaptureState& s = RangeCapture();
  s.held = WindowDc();
  s.dragging = false;
  if (GetCapture() == window) ReleaseCapture();
  OpenPixelInspector(nullptr, 0);
}

void CloseInspector(HWND) { OpenPixelInspector(nullptr, 0); }

void Reset() {
  RangeCaptureState& s = RangeCapture();
  s.lastCrosshair = {0, 0};
  s.crosshairDrawn = false;
  s.sizeText.Clear();
  s.dragging = false;
}

void OpenInspector(HWND window) {
  LabelFont().lfCharSet = SHIFTJIS_CHARSET;
  SetInspectorCompareMode(false);
  SetInspectorCrosshair(true);
  OpenPixelInspector(window, 1);
}

// Owned by a topmost window, the inspector is made topmost too, after the activation that
// raises its owner, so it stays in sight above it. Already topmost as an owned window, it
// is stepped down first: a z-order that does not change is not applied to the screen
// (docs/wine.md).
void RaiseInspector(HWND) {
  if (HWND inspector = PixelInspectorWindow()) {
    SetWindowPos(inspector, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(inspector, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

CaptureWindowState& State() { return RangeCapture(); }

const CaptureMode& Mode() {
  static const CaptureMode mode{
      .state = State,
      .cursor = IDC_CROSS,
      .placeAfter = HWND_TOPMOST,
      .placeFlags = SWP_SHOWWINDOW,
      .reset = Reset,
      .opening = OpenInspector,
      .opened = RaiseInspector,
      .paint = Paint,
      .mouseMove = OnMouseMove,
      .leftDown = OnLeftDown,
      .leftUp = OnLeftUp,
      .keyDown = OnKeyDown,
      .closing = CloseInspector,
      .release = Release,
  };
  return mode;
}

INT_PTR CALLBACK RangeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return CaptureWindowMessage(Mode(), window, message, wParam, lParam);
}

}  // namespace

RangeCaptureState& RangeCapture() {
  static RangeCaptureState state;
  return state;
}

HWND RangeCaptureWindow() { return LiveCaptureWindow(Mode()); }

int StartRangeCapture(HWND hostWindow) { return StartCaptureWindow(Mode(), RangeProc, hostWindow); }

}  // namespace pictornx
