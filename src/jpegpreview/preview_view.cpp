// MainView: the visible part of the shown image, scrolled by dragging, with the cursors
// that say what a press would do.
#include <algorithm>
#include <cstring>

#include "jpegpreview/preview_state.h"
#include "resources/resource_ids.h"
#include "ui/draw.h"
#include "ui/painted_window.h"
#include "ui/timers.h"
#include "win/module.h"
#include "win/paint.h"

namespace pictornx {
namespace {

constexpr COLORREF kHatchColour = 0x0096C8C8;

void PaintView(HWND view) {
  PreviewState& s = Preview();
  PaintScope paint(view);
  HDC dc = paint.Dc();
  if (!dc) return;
  // Beside and below an image smaller than the view, the hatch says there is nothing more.
  if (s.geometry.limitX == 0 || s.geometry.limitY == 0) {
    OwnedBrush hatch(CreateHatchBrush(HS_DIAGCROSS, kHatchColour));
    if (hatch) FillRect(dc, &paint.Paint().rcPaint, hatch.Get());
  }
  if (s.viewImage) s.viewImage.CopyTo(dc, 0, 0);
}

PreviewPoint ViewPoint(int x, int y) { return {x - kViewClientLeft, y - kViewClientTop}; }

}  // namespace

LRESULT CALLBACK MainViewProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      PaintView(view);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_TIMER:
      if (wParam == kRangeNoticeTimer) {
        DiffViewTimer(Preview());
        return 0;
      }
      break;
    default:
      break;
  }
  return CallOldProc(view, message, wParam, lParam);
}

void CopyToViewImage(PreviewState& s, ConstImageView image) {
  const ViewGeometry& g = s.geometry;
  if (!s.viewImage || image.Empty() || image.width <= 1 || image.height <= 1) return;
  if (image.width < g.visibleWidth || image.height < g.visibleHeight) return;
  const ImageView target = s.viewImage.Pixels();
  const int column = ViewCopyColumn(s.offset.x, image.width, g.visibleWidth);
  const int firstRow = std::min(s.offset.y, image.height - g.visibleHeight);
  for (int r = 0; r < g.visibleHeight && r < target.height; ++r)
    std::memcpy(target.TopRow(r), image.TopRow(firstRow + r) + column * 3, static_cast<size_t>(g.visibleWidth) * 3);
}

void InvalidateView(const PreviewState& s) {
  if (s.view) InvalidateRect(s.view, nullptr, FALSE);
}

bool InViewArea(int x, int y) {
  return x >= kViewClientLeft && x <= kViewPointerRight && y >= kViewClientTop && y <= kViewPointerBottom;
}

void SetPreviewCursor(const PreviewState& s, int id) {
  HCURSOR cursor = id == 0 ? s.openingCursor : LoadCursorW(ModuleInstance(), MAKEINTRESOURCEW(id));
  if (cursor) SetCursor(cursor);
}

void ViewMouseMove(PreviewState& s, int x, int y, bool leftDown) {
  if (!InViewArea(x, y)) {
    SetPreviewCursor(s, 0);
    return;
  }
  const PreviewPoint at = ViewPoint(x, y);
  const bool fixed = s.geometry.limitX == 0 && s.geometry.limitY == 0;
  int cursor = IDCUR_HAND;
  if (SelectingRange()) {
    const bool beyond = at.x >= s.imageWidth || at.y >= s.imageHeight;
    cursor = RubberBandActive() && beyond ? IDCUR_CROSS_OUTSIDE : IDCUR_RANGE_CROSS;
  } else if (leftDown && fixed) {
    cursor = IDCUR_NO_SCROLL;
  } else if (s.dragging && leftDown) {
    if (RangeIsSet()) {
      cursor = IDCUR_NO_SCROLL;
    } else {
      // A step that runs into the edge still shows the edge, so the view, the scroll
      // offset and the loupe's points agree.
      const ScrollStep step = DragScroll(s.offset, s.geometry, s.dragFrom, at);
      s.dragFrom = at;
      if (step.changed) {
        s.offset = step.offset;
        CopyToViewImage(s, ShownImage(s));
        InvalidateView(s);
      }
      cursor = IDCUR_GRAB;
    }
  }
  SetPreviewCursor(s, cursor);
}

void ViewLeftDown(PreviewState& s, int x, int y) {
  s.leftDown = true;
  s.dragFrom = ViewPoint(x, y);
  s.dragging = s.geometry.limitX != 0 || s.geometry.limitY != 0;
  SetCapture(s.window);
  ViewMouseMove(s, x, y, true);
}

void ViewLeftUp(PreviewState& s, int x, int y) {
  const bool wasDown = s.leftDown;
  s.leftDown = false;
  s.dragging = false;
  if (wasDown) ReleaseCapture();
  if (InViewArea(x, y)) SetPreviewCursor(s, IDCUR_HAND_RELEASED);
}

}  // namespace pictornx
