#include "ui/panel_frame.h"

#include <utility>

#include "ui/window_shape.h"
#include "win/paint.h"

namespace pictornx {

OwnedRegion PanelOutline(int width, int height) {
  if (width < 20 || height < 4) return {};
  OwnedRegion outline(CreateRectRgn(8, 2, width - 9, height - 1));
  OwnedRegion left(CreateEllipticRgn(2, 2, 18, height - 1));
  OwnedRegion right(CreateEllipticRgn(width - 17, 2, width - 1, height - 1));
  if (!outline || !left || !right) return {};
  if (CombineRgn(outline.Get(), outline.Get(), left.Get(), RGN_OR) == ERROR ||
      CombineRgn(outline.Get(), outline.Get(), right.Get(), RGN_OR) == ERROR)
    return {};
  return outline;
}

bool ShapePanel(HWND panel) {
  RECT bounds{};
  if (!GetWindowRect(panel, &bounds)) return false;
  OwnedRegion outline = PanelOutline(bounds.right - bounds.left, bounds.bottom - bounds.top);
  return outline && SetWindowShape(panel, std::move(outline));
}

void PaintPanelFrame(HWND panel, HDC dc) {
  OwnedRegion outline(CreateRectRgn(0, 0, 0, 0));
  if (!outline || GetWindowRgn(panel, outline.Get()) == ERROR) return;
  OwnedBrush brush(CreateSolidBrush(kPanelFrameColour));
  if (brush) FrameRgn(dc, outline.Get(), brush.Get(), 2, 2);
}

bool PanelMessage(HWND panel, UINT message, std::span<const HintSpot> hints) {
  if (message != WM_NCDESTROY && message != WM_DESTROY) TrackHints(panel, hints);
  switch (message) {
    case WM_LBUTTONDOWN:
      DragByBody(panel);
      return true;
    case WM_LBUTTONUP:
      ReleaseCapture();
      return true;
    case WM_PAINT: {
      PaintScope paint(panel);
      if (paint.Dc()) PaintPanelFrame(panel, paint.Dc());
      return true;
    }
    default:
      return false;
  }
}

}  // namespace pictornx
