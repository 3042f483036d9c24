#include "inspector/pixel_inspector.h"

#include <algorithm>

#include "imagestore/image_buffers.h"
#include "pixels/magnify.h"
#include "pixels/stamp.h"
#include "resources/resource_ids.h"
#include "inspector/inspector_state.h"
#include "ui/draw.h"
#include "ui/hint.h"
#include "ui/painted_window.h"
#include "ui/tool_windows.h"
#include "ui/window_shape.h"
#include "win/dialog_result.h"
#include "win/module.h"
#include "win/paint.h"

namespace pictornx {
namespace {

constexpr COLORREF kHatchColour = 0x0000C8FF;
constexpr COLORREF kFrameGrey = 0x00888888;
constexpr COLORREF kWhite = 0x00FFFFFF;
constexpr COLORREF kOrange = 0x0000AAFF;

void SubtractRect(HRGN region, int left, int top, int right, int bottom) {
  OwnedRegion cut(CreateRectRgn(left, top, right, bottom));
  if (cut) CombineRgn(region, region, cut.Get(), RGN_DIFF);
}

// The window's shape: the face without the corners of the title tab, the area right of
// the tab, the tab end's key pixels and three corner pixels of the body.
void ShapeInspector(HWND window, ConstImageView face, const InspectorLayout& layout) {
  const int w = layout.width;
  const int h = layout.height;
  const int end = layout.titleEnd;
  OwnedRegion shape(CreateRectRgn(0, 0, w, h));
  if (!shape) return;
  SubtractRect(shape.Get(), 1, 0, 2, 1);
  SubtractRect(shape.Get(), 0, 0, 1, 4);
  SubtractRect(shape.Get(), end, 0, w, 17);
  if (!face.Empty() && end >= 11 && layout.titleHeight <= face.height) {
    // The tab end's last 11 columns over the title's rows, as a view of its own.
    const ConstImageView tabEnd(face.TopRow(layout.titleHeight - 1) + (end - 11) * 3, 11, layout.titleHeight,
                                face.stride);
    OwnedRegion key = MaskRegion(tabEnd, kSpriteKey, MaskKeeps::kKeyPixels, end - 11, 0);
    if (key) CombineRgn(shape.Get(), shape.Get(), key.Get(), RGN_DIFF);
  }
  SubtractRect(shape.Get(), w - 1, 17, w, 18);
  SubtractRect(shape.Get(), w - 1, h - 1, w, h);
  SubtractRect(shape.Get(), 0, h - 1, 1, h);
  SetWindowShape(window, std::move(shape));
}

void DrawTitle(ImageView face, ConstImageView title, bool wide) {
  const int t = title.height;
  CopySprite(title, {0, 0, title.width, t}, face, 0, 0, nullptr);
  if (wide) {
    // Overlapping strips stretch the tab: the coordinate fields, then its end.
    for (int x = 69; x <= 96; x += 3) CopySprite(title, {67, 0, 67 + x - 14, t}, face, x, 0, nullptr);
    for (int x = 115; x <= 139; x += 3) CopySprite(title, {82, 0, 82 + 43, t}, face, x, 0, nullptr);
  } else {
    CopySprite(title, {88, 0, 88 + 36, t}, face, 53, 0, nullptr);
  }
}

void OnPaint(HWND window) {
  InspectorState& s = Inspector();
  PaintScope paint(window);
  if (HDC dc = paint.Dc()) {
    // The readout child paints itself; the parent must not paint over it.
    if (s.readout.window && IsWindowVisible(s.readout.window)) {
      const RECT child = ReadoutClientRect();
      ExcludeClipRect(dc, child.left, child.top, child.right, child.bottom);
    }
    s.face.CopyTo(dc, 0, 0);
  }
}

void RememberPlacement(HWND window) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  if (!GetWindowPlacement(window, &placement)) return;
  const RECT& r = placement.rcNormalPosition;
  Inspector().remembered = {static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.right),
                            static_cast<int>(r.bottom)};
}

void OnClose(HWND window) {
  InspectorState& s = Inspector();
  RememberPlacement(window);
  SetWindowRgn(window, nullptr, FALSE);
  s.panel = {};
  DestroyWindow(window);
}

void OnDestroy(HWND window) {
  InspectorState& s = Inspector();
  if (s.window == window) {
    CloseHint();
    DestroyInspectorReadout();
    s.face.Reset();
    s.panel = {};
    s.window = nullptr;
  }
  SetToolWindowHandle(ToolWindow::kPixelInspector, nullptr);
}

void OnLeftButtonDown(HWND window, int x, int y) {
  if (HintWindow()) CloseHint();
  if (PanelLeftDown(x, y)) return;
  DragByBody(window);
}

INT_PTR CALLBACK InspectorProc(HWND window, UINT message, WPARAM, LPARAM lParam) {
  const int x = static_cast<short>(LOWORD(lParam));
  const int y = static_cast<short>(HIWORD(lParam));
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_ERASEBKGND:
      return DialogResult(window, 1);
    case WM_PAINT:
      OnPaint(window);
      return TRUE;
    case WM_LBUTTONDOWN:
      OnLeftButtonDown(window, x, y);
      return TRUE;
    case WM_MOUSEMOVE:
      PanelMouseMove(x, y);
      SetCursor(LoadCursorW(nullptr, IDC_ARROW));
      return TRUE;
    case WM_LBUTTONUP:
      PanelLeftUp();
      ReleaseCapture();
      return TRUE;
    case WM_RBUTTONDOWN:
      PostMessageW(window, WM_CLOSE, 0, 0);
      return TRUE;
    case WM_CLOSE:
      OnClose(window);
      return TRUE;
    case WM_DESTROY:
      OnDestroy(window);
      return TRUE;
    default:
      return FALSE;
  }
}

// Fills the view rectangle with the hatch that marks the region beyond the image, always on
// white: a DC left transparent by an earlier label would show stale pixels between the lines.
void Hatch(HDC dc, int left, int top, int right, int bottom) {
  OwnedBrush hatch(CreateHatchBrush(HS_DIAGCROSS, kHatchColour));
  if (!hatch) return;
  const int mode = SetBkMode(dc, OPAQUE);
  const COLORREF background = SetBkColor(dc, kWhite);
  const RECT area{left, top, right, bottom};
  FillRect(dc, &area, hatch.Get());
  SetBkColor(dc, background);
  SetBkMode(dc, mode);
}

void DrawTitleCoordinates(HDC dc, int x, int y) {
  FillSolid(dc, 68, 4, 68 + 29, 4 + 10, 0);
  FillSolid(dc, 112, 4, 112 + 29, 4 + 10, 0);
  const DigitPlace px = TitleDigits(x, 87, 91);
  const DigitPlace py = TitleDigits(y, 130, 135);
  DrawDigits(dc, x, px.unitsX, 4, px.pitch, kWhite, DigitSize::kSmall);
  DrawDigits(dc, y, py.unitsX, 4, py.pitch, kWhite, DigitSize::kSmall);
}

int CheckFace() {
  InspectorState& s = Inspector();
  if (!s.face) return kInspectorNoFace;
  if (s.face.Width() != s.settings.width) return kInspectorWidthPending;
  return kInspectorUpdated;
}

}  // namespace

InspectorState& Inspector() {
  static InspectorState state;
  return state;
}

InspectorSettings& InspectorSettingsValues() { return Inspector().settings; }
void SetInspectorCompareMode(bool compare) { Inspector().compare = compare; }
void SetInspectorCrosshair(bool crosshair) { Inspector().crosshair = crosshair; }
void SetInspectorCompareSource(CompareSourceFn source) { Inspector().compareSource = source; }
ConstImageView UsableView(ConstImageView image) {
  if (image.Empty() || ImageBytes(image.width, image.height) < 0 || image.stride < int64_t{image.width} * 3) return {};
  return image;
}

HWND PixelInspectorWindow() { return ToolWindowHandle(ToolWindow::kPixelInspector); }
bool InspectorPanelOpen() { return PixelInspectorWindow() && Inspector().panel.open; }

void InvalidateFace(int left, int top, int right, int bottom, bool now) {
  HWND window = Inspector().window;
  if (!window) return;
  const RECT area{left, top, right, bottom};
  RedrawWindow(window, &area, nullptr, RDW_INVALIDATE | (now ? RDW_UPDATENOW : 0));
}

void DrawCompareDivider() {
  InspectorState& s = Inspector();
  const InspectorLayout& l = s.layout;
  HDC dc = s.face.Dc();
  FillSolid(dc, l.centre - 1, l.top, l.centre, l.bottom + 1, kOrange);
  FillSolid(dc, l.centre + 1, l.top, l.centre + 2, l.bottom + 1, kOrange);
  FillSolid(dc, l.centre, l.top - 1, l.centre + 1, l.bottom + 2, kWhite);
}

bool DrawInspectorFrame() {
  InspectorState& s = Inspector();
  const DibSection title = LoadSpriteSheet(IDB_INSPECTOR_TITLE);
  if (!title) {
    PostMessageW(s.window, WM_CLOSE, 0, 0);
    return false;
  }
  s.layout = LayoutInspector(s.face.Width(), s.compare, title.view.height);
  const InspectorLayout& l = s.layout;
  HDC dc = s.face.Dc();
  FillSolid(dc, 0, 0, l.width, l.height, 0);
  ImageView face = s.face.Pixels();
  DrawTitle(face, title.view, l.wide);
  ShapeInspector(s.window, face, l);
  const int t = l.titleHeight;
  FrameBox(dc, 0, t, l.width - 2, l.height - t - 2, kFrameGrey);
  FrameBox(dc, 1, t, l.width - 3, l.height - t - 2, kWhite);
  FrameBox(dc, 2, t + 1, l.width - 5, l.height - t - 4, kOrange);
  // The view starts hatched until the first update.
  Hatch(dc, 3, l.top, l.right, l.bottom);
  if (s.compare) DrawCompareDivider();
  DrawSettingsButton(false);
  ShowWindow(s.window, SW_SHOWNOACTIVATE);
  InvalidateRect(s.window, nullptr, FALSE);
  s.panel.page = PanelPage::kPixelCount;
  return true;
}

int OpenPixelInspector(HWND owner, int open) {
  InspectorState& s = Inspector();
  if (open != 1) {
    CloseToolWindow(ToolWindow::kPixelInspector);
    return 0;
  }
  if (PixelInspectorWindow()) return kInspectorAlreadyOpen;
  HWND window = CreateDialogParamW(ModuleInstance(), MAKEINTRESOURCEW(IDD_PIXEL_INSPECTOR), owner, InspectorProc, 0);
  if (!window) return kInspectorNotCreated;
  s.window = window;
  s.panel = {};
  SetToolWindowHandle(ToolWindow::kPixelInspector, window);

  const InspectorLayout layout = LayoutInspector(s.settings.width, s.compare);
  RECT desktop{};
  GetWindowRect(GetDesktopWindow(), &desktop);
  RECT ownerRect{};
  if (owner) GetWindowRect(owner, &ownerRect);
  const ScreenPoint at = InspectorOpenPosition(
      s.remembered, {desktop.left, desktop.top, desktop.right, desktop.bottom},
      {static_cast<int>(ownerRect.left), static_cast<int>(ownerRect.top)}, layout.width, layout.height);
  MoveWindow(window, at.x, at.y, layout.width, layout.height, FALSE);

  if (!s.face.Create(window, layout.width, layout.height, Images().screenPalette.Get())) {
    DestroyWindow(window);
    return kInspectorNoImage;
  }
  if (!DrawInspectorFrame()) {
    DestroyWindow(window);
    return kInspectorNoTitleArt;
  }
  if (s.settings.readout && !s.readout.window) CreateInspectorReadout();
  return kInspectorOpened;
}

int UpdatePixelInspector(ConstImageView image, int x, int y) {
  if (const int check = CheckFace(); check != kInspectorUpdated) return check;
  InspectorState& s = Inspector();
  const InspectorLayout& l = s.layout;
  const ConstImageView source = UsableView(image);
  HDC dc = s.face.Dc();
  s.lastX = x;
  s.lastY = y;

  Hatch(dc, 3, l.top, s.compare ? l.centre - 1 : l.right, l.bottom);
  if (l.wide) DrawTitleCoordinates(dc, x, y);

  const int n = s.settings.pixelCount;
  const int margin = s.settings.readout ? kRulerMargin : 0;
  const MagnifierView view{3, l.bottom - 1, l.viewWidth, l.viewHeight - margin, margin};
  const ImageView face = s.face.Pixels();
  MagnifyRegion(source, face, view, x, y, n);
  const CentreMark mark = s.crosshair ? CentreMark::kCrosshair
                                      : (s.settings.readout ? CentreMark::kBox : CentreMark::kNone);
  PaintCentreMark(face, view, CentreBlockOf(n, l.viewWidth, l.viewHeight, margin), mark);
  if (s.settings.readout) PaintRulers(face, view, n);

  InvalidateFace(3, l.top, l.right, l.bottom + 1, false);
  InvalidateFace(59, 4, 150, 14, true);
  if (s.settings.readout) UpdateReadoutRgb(source, x, y);
  return kInspectorUpdated;
}

int UpdateCompareView(ConstImageView image, int x, int y) {
  InspectorState& s = Inspector();
  if (!s.compare) return kInspectorUpdated;
  if (const int check = CheckFace(); check != kInspectorUpdated) return check;
  const InspectorLayout& l = s.layout;
  Hatch(s.face.Dc(), l.centre + 2, l.top, l.right + 1, l.bottom);
  const MagnifierView view{l.centre + 2, l.bottom - 1, l.rightViewWidth, l.viewHeight, 0};
  MagnifyRegion(UsableView(image), s.face.Pixels(), view, x, y, s.settings.pixelCount);
  InvalidateFace(3, l.top, l.right + 1, l.bottom + 1, false);
  return kInspectorUpdated;
}

// The apply redraws from WorkImage, whatever the last feeder (a capture window's frozen
// screen, another picture) showed.
static void RedrawFromWorkImage() {
  const InspectorState& s = Inspector();
  UpdatePixelInspector(Images().workImage.View(), s.lastX, s.lastY);
}

void ApplyInspectorSettings() {
  InspectorState& s = Inspector();
  s.panel.open = false;
  s.panel.page = PanelPage::kPixelCount;
  if (s.settings.width != s.face.Width()) {
    const InspectorLayout layout = LayoutInspector(s.settings.width, s.compare);
    if (!s.face.Resize(layout.width, layout.height)) {
      PostMessageW(s.window, WM_CLOSE, 0, 0);
      return;
    }
    SetWindowPos(s.window, nullptr, 0, 0, layout.width, layout.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // The frame is drawn again at any width: the panel covered part of it in narrow windows.
  if (!DrawInspectorFrame()) return;
  InvalidateFace(0, 0, 100, 20, false);
  RedrawFromWorkImage();
  if (s.compare) {
    UpdateCompareView(s.compareSource ? s.compareSource() : ConstImageView{}, s.lastX, s.lastY);
    DrawCompareDivider();
  }
  InvalidateRect(s.window, nullptr, FALSE);
  if (s.settings.readout) {
    if (!s.readout.window) {
      if (CreateInspectorReadout() != kReadoutCreated) return;
      RedrawFromWorkImage();
    } else {
      ResetReadoutPlacement();
    }
  } else {
    DestroyInspectorReadout();
  }
}

}  // namespace pictornx
