#include "viewer/selection.h"

#include "imagestore/image_buffers.h"
#include "inspector/pixel_inspector.h"
#include "resources/resource_ids.h"
#include "ui/host_link.h"
#include "ui/popup.h"
#include "ui/tool_windows.h"
#include "viewer/viewer.h"
#include "viewer/viewer_hooks.h"
#include "viewer/viewer_inspector.h"
#include "win/handles.h"
#include "win/module.h"

namespace pictornx {
namespace {

constexpr int kPopupSeconds = 2;

// A finished range goes to the clipboard, the image or a file through the layer above.
int UseRange(HWND viewer, RangeUse use, PixelRect range) {
  const auto useRange = RegisteredViewerHooks().useRange;
  return useRange ? useRange(viewer, use, range) : -1;
}

// The add-cursor tool, through the layer above.
bool CursorPlacing() {
  const auto placing = RegisteredViewerHooks().cursorPlacing;
  return placing && placing();
}

void Redraw(HWND viewer) { RedrawWindow(viewer, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE); }

void SetCursorShape(LPCWSTR shape) { SetCursor(LoadCursorW(nullptr, shape)); }

void CloseFloatingPanels(bool inspectorToo) {
  if (inspectorToo) CloseToolWindow(ToolWindow::kPixelInspector);
  for (ToolWindow which : {ToolWindow::kArbitrarySize, ToolWindow::kPosterise, ToolWindow::kProgress})
    CloseToolWindow(which);
  CloseSubWindows();
}

// The outline from the press point to `corner`: top, right side, bottom, left side. LineTo
// leaves out its end point, so every pixel of the outline is drawn exactly once and a
// second drawing with exclusive-or takes it away.
void DrawBand(HDC dc, DragPoint press, DragPoint corner) {
  MoveToEx(dc, press.x, press.y, nullptr);
  LineTo(dc, corner.x, press.y);
  LineTo(dc, corner.x, corner.y);
  LineTo(dc, press.x, corner.y);
  LineTo(dc, press.x, press.y);
}

// Draws the band to `corner` and takes away the one to the last point.
void MoveBand(HWND viewer, DragPoint corner) {
  SelectionState& state = Selection();
  WindowDc dc(viewer);
  if (!dc.Get()) return;
  const int oldRop = SetROP2(dc.Get(), R2_XORPEN);
  {
    SelectionGuard pen(dc.Get(), GetStockObject(WHITE_PEN));
    DrawBand(dc.Get(), state.press, corner);
    DrawBand(dc.Get(), state.press, state.last);
  }
  SetROP2(dc.Get(), oldRop);
}

void ShowRangeTitle(HWND viewer, DragPoint point) {
  SelectionState& state = Selection();
  FixedText<kTitleChars> prefix;
  AddResString(prefix, HostNameStringId());
  FixedText<kTitleChars> title;
  if (DragMakesRange(state.press, point)) {
    MoveBand(viewer, point);
    state.last = point;
    state.rangeValid = true;
    FixedText<kTitleChars> label;
    AddResString(label, state.showRange ? IDS_TITLE_SHOW_RANGE : IDS_TITLE_COPY_RANGE);
    RangeTitle(prefix.View(), label.View(), state.press, state.last, title);
  } else {
    state.rangeValid = false;
    title.Add(prefix.View());
    AddResString(title, state.showRange ? IDS_TITLE_SHOW_RANGE_NEGATIVE : IDS_TITLE_COPY_RANGE_NEGATIVE);
  }
  SetWindowTextW(viewer, title.Text());
}

// The dragged rectangle in WorkImage pixels, never reaching outside it.
PixelRect DraggedRange() {
  const SelectionState& state = Selection();
  const SharedImage& work = Images().workImage;
  return DragImageRange(state.press, state.last, Viewer().offsetX, Viewer().offsetY, work.Width(), work.Height());
}

void LeaveRangeMode(HWND viewer) {
  Selection().rangeMode = false;
  Redraw(viewer);
}

// The drag is over: the range is forgotten, ViewSize comes back in the title.
void FinishDrag(DragPoint position) {
  SelectionState& state = Selection();
  state.rangeValid = false;
  state.press = state.last = position;
  const SIZE view = Images().viewSize;
  SetViewerTitle(view.cx, view.cy);
  ReleaseCapture();
}

// Button-down positions are read unsigned, as the client area never has negative points.
DragPoint UnsignedPoint(LPARAM position) { return {LOWORD(position), HIWORD(position)}; }
DragPoint SignedPoint(LPARAM position) {
  return {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
}

}  // namespace

SelectionState& Selection() {
  static SelectionState state;
  return state;
}

void ArmRangeCommand(HWND viewer, int command) {
  SelectionState& state = Selection();
  state.target = command == IDM_SAVE_RANGE ? RangeTarget::kFile : RangeTarget::kClipboard;
  state.showRange = command == IDM_SHOW_RANGE;
  state.rangeMode = true;
  SetInspectorCompareMode(false);
  SetInspectorCrosshair(true);
  OpenPixelInspector(viewer, 1);
  SetFocus(viewer);
}

void SelectionOnMouseMove(HWND viewer, LPARAM position) {
  SelectionState& state = Selection();
  const DragPoint point = SignedPoint(position);
  const ViewerState& view = Viewer();
  const SIZE viewSize = Images().viewSize;
  if (!MoveOverImage(point, view.offsetX, view.offsetY, viewSize.cx, viewSize.cy)) return;
  if (state.rangeMode) {
    SetCursorShape(IDC_CROSS);
    if (ShowCursor(TRUE) > 0) ShowCursor(FALSE);  // visible, without raising the count on every move
  }
  FeedInspectorOnMove(viewer, point.x, point.y);
  if (CursorPlacing()) {
    state.dragging = false;
    if (const auto move = RegisteredViewerHooks().moveCursorOutline) move(viewer, point.x, point.y);
  }
  if (state.dragging && state.rangeMode) ShowRangeTitle(viewer, point);
  SetFocus(viewer);
}

void SelectionOnLeftDown(HWND viewer, LPARAM position) {
  SelectionState& state = Selection();
  CloseFloatingPanels(false);
  if (state.rangeMode) SetCursorShape(IDC_CROSS);
  const DragPoint point = UnsignedPoint(position);
  if (CursorPlacing()) {
    if (const auto place = RegisteredViewerHooks().placeCursor) place(viewer);
    state.dragging = true;
    state.press = state.last = point;
    SetCapture(viewer);
    return;
  }
  if (!InspectorOnLeftDown(viewer, static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))))
    return;
  state.rangeValid = false;
  state.dragging = true;
  state.press = state.last = point;
  SetCapture(viewer);
}

void SelectionOnLeftUp(HWND viewer, LPARAM position) {
  if (CursorPlacing()) return;
  SelectionState& state = Selection();
  const DragPoint point = UnsignedPoint(position);
  SetCursorShape(IDC_ARROW);
  state.dragging = false;
  InspectorOnLeftUp();
  // A band left on the screen by a drag that ended up-left of its press point goes too.
  const bool bandShown = !(state.last == state.press);

  if (state.target != RangeTarget::kClipboard) {
    if (state.rangeValid && state.rangeMode) {
      const PixelRect range = DraggedRange();
      LeaveRangeMode(viewer);
      FinishDrag(point);
      if (!range.Empty()) UseRange(viewer, RangeUse::kSave, range);
      return;
    }
    LeaveRangeMode(viewer);
  } else if (state.rangeValid && state.rangeMode) {
    const PixelRect range = DraggedRange();
    if (state.showRange) {
      UseRange(viewer, RangeUse::kShowAsImage, range);
    } else if (UseRange(viewer, RangeUse::kCopy, range) == 0) {
      ShowPopupStrings(viewer, IDS_RANGE_COPIED, IDS_COPIED_TO_CLIPBOARD, kPopupSeconds);
    }
    LeaveRangeMode(viewer);
  } else if (bandShown) {
    Redraw(viewer);
  }
  FinishDrag(point);
  SetFocus(viewer);
}

void SelectionOnRightDown(HWND viewer) {
  SelectionState& state = Selection();
  CloseFloatingPanels(true);
  if (CursorPlacing()) {
    if (const auto end = RegisteredViewerHooks().endCursorPlacing) end();
    Redraw(viewer);
  }
  state.rangeValid = false;
  if (!state.rangeMode) return;
  if (state.target != RangeTarget::kClipboard) {
    ShowPopupStrings(viewer, IDS_FILE_RANGE_CANCELLED, IDS_SAVE_CANCELLED, kPopupSeconds);
    state.target = RangeTarget::kClipboard;
  } else {
    ShowPopupStrings(viewer, IDS_COPY_RANGE_CANCELLED_LINE1, IDS_COPY_RANGE_CANCELLED_LINE2, kPopupSeconds);
  }
  state.rangeMode = false;
}

}  // namespace pictornx
