#include "imageops/cursor_stamp.h"

#include <array>

#include "win/handles.h"
#include "imagestore/image_buffers.h"
#include "win/module.h"
#include "ui/popup.h"
#include "resources/resource_ids.h"
#include "pixels/stamp.h"
#include "ui/painted_button_rules.h"
#include "ui/surface.h"
#include "ui/tool_windows.h"
#include "viewer/viewer.h"

namespace pictornx {
namespace {

constexpr int kPickerBitmapWidth = 110;
constexpr int kPickerBitmapHeight = 216;
constexpr int kPictureCount = 18;
constexpr int kFirstIcon = 12;

struct StampState {
  int shape = 0;
  bool placing = false;
  bool previewShown = false;
  POINT last{};    // last outline position, client coordinates
  Surface picker;  // the cells, drawn once when the picker opens
};

StampState& Stamp() {
  static StampState state;
  return state;
}

// The picture of a shape: a system cursor, a system icon or one of the library's icons.
HICON ShapePicture(int shape, bool* isCursor) {
  static const LPCWSTR kCursors[kFirstIcon] = {IDC_APPSTARTING, IDC_ARROW,   IDC_CROSS,    IDC_IBEAM,
                                               IDC_NO,          IDC_SIZEALL, IDC_SIZENESW, IDC_SIZENS,
                                               IDC_SIZENWSE,    IDC_SIZEWE,  IDC_UPARROW,  IDC_WAIT};
  *isCursor = shape < kFirstIcon;
  if (*isCursor) return LoadCursorW(nullptr, kCursors[shape]);
  switch (shape) {
    case 12: return LoadIconW(ModuleInstance(), MAKEINTRESOURCEW(IDI_STAMP_ARROW));
    case 13: return LoadIconW(nullptr, IDI_ASTERISK);
    case 14: return LoadIconW(nullptr, IDI_EXCLAMATION);
    case 15: return LoadIconW(nullptr, IDI_HAND);
    case 16: return LoadIconW(nullptr, IDI_QUESTION);
    default: return LoadIconW(ModuleInstance(), MAKEINTRESOURCEW(IDI_STAMP_CHECK));
  }
}

void DrawPicture(HDC dc, int shape, int x, int y) {
  bool isCursor = false;
  HICON picture = ShapePicture(shape, &isCursor);
  if (!picture) return;
  if (isCursor)
    DrawIconEx(dc, x, y, picture, 0, 0, 0, nullptr, DI_NORMAL);
  else
    DrawIcon(dc, x, y, picture);
}

// The cells' face sits at (5, 3) of the picker's client area, 37 x 36 pixels apart.
constexpr int kCellsX = 5;
constexpr int kCellsY = 3;

// The picture under the pointer: cell (column, row) of 3 x 6 by (x - 5) / 37 and
// (y - 4) / 36, inside x 6..114 and y 6..220 (the outer cells reach the edges).
const std::array<PaintedButton, kPictureCount>& PickerCells() {
  static const auto cells = [] {
    std::array<PaintedButton, kPictureCount> all{};
    for (int shape = 0; shape < kPictureCount; ++shape) {
      const int column = shape % 3, row = shape / 3;
      all[shape].hit = {column == 0 ? 6 : 5 + 37 * column, row == 0 ? 6 : 4 + 36 * row,
                        column == 2 ? 115 : 5 + 37 * (column + 1), row == 5 ? 221 : 4 + 36 * (row + 1)};
    }
    return all;
  }();
  return cells;
}

bool DrawPickerCells(HWND viewer) {
  StampState& state = Stamp();
  const ImageBuffersState& images = Images();
  HPALETTE palette = images.displayDepth == 8 ? images.screenPalette.Get() : nullptr;
  if (!state.picker.Create(viewer, kPickerBitmapWidth, kPickerBitmapHeight, palette)) return false;
  HDC dc = state.picker.Dc();
  const RECT all{0, 0, kPickerBitmapWidth, kPickerBitmapHeight};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  for (int shape = 0; shape < kPictureCount; ++shape) {
    const int x = 2 + 37 * (shape % 3);
    const int y = 2 + 36 * (shape / 3);
    DrawPicture(dc, shape, x, y);
    RECT edge{x - 2, y - 2, x + 34, y + 34};
    DrawEdge(dc, &edge, EDGE_BUMP, BF_RECT);
  }
  return true;
}

void OnPickerMouseMove(HWND picker, int x, int y) {
  const int shape = HitButton(PickerCells(), x, y);
  if (shape < 0) return;
  Stamp().shape = shape;
  WindowDc dc(picker);
  Stamp().picker.CopyTo(dc.Get(), kCellsX, kCellsY);
  const int column = shape % 3, row = shape / 3;
  RECT sunken{37 * column + kCellsX, 36 * row + kCellsY, 37 * column + kCellsX + 36, 36 * row + kCellsY + 36};
  DrawEdge(dc.Get(), &sunken, EDGE_SUNKEN, BF_RECT);
}

INT_PTR CALLBACK PickerProc(HWND picker, UINT message, WPARAM, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_PAINT:
      Stamp().picker.Paint(picker, kCellsX, kCellsY);
      return TRUE;
    case WM_MOUSEMOVE:
      OnPickerMouseMove(picker, static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
      return TRUE;
    case WM_LBUTTONDOWN:
      Stamp().placing = true;
      SendMessageW(picker, WM_CLOSE, 0, 0);
      return TRUE;
    case WM_CLOSE:
      DestroyWindow(picker);
      return TRUE;
    case WM_DESTROY:
      Stamp().picker.Reset();
      return FALSE;
    default:
      return FALSE;
  }
}

void OpenCursorPicker(HWND viewer) {
  if (ToolWindowHandle(ToolWindow::kCursorPicker)) return;
  StampState& state = Stamp();
  state.placing = false;
  state.previewShown = false;
  HWND picker = CreateDialogParamW(ModuleInstance(), MAKEINTRESOURCEW(IDD_CURSOR_PICKER), viewer, PickerProc, 0);
  if (!picker) {
    ShowMemoryError(viewer);
    return;
  }
  SetToolWindowHandle(ToolWindow::kCursorPicker, picker);
  if (!DrawPickerCells(viewer)) {
    DestroyWindow(picker);
    ShowMemoryError(viewer);
    return;
  }
  // Beside the viewer: 220 pixels right of its client origin, at the same top.
  POINT origin{0, 0};
  ClientToScreen(viewer, &origin);
  SetWindowPos(picker, nullptr, origin.x + 220, origin.y, 127, 229, SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(picker, SW_SHOWNA);
}

// The 32 x 32 rounded outline, drawn and erased by exclusive or.
void DrawOutline(HDC dc, POINT at) { RoundRect(dc, at.x, at.y, at.x + 32, at.y + 32, 5, 5); }

}  // namespace

void AddCursorCommand(HWND viewer) {
  if (Viewer().zoomPreset != 3) {
    ShowPopupStrings(viewer, IDS_ZOOM_CHANGED, IDS_SET_ZOOM_100, 2);
    return;
  }
  OpenCursorPicker(viewer);
}

bool CursorPlacing() { return Stamp().placing; }

void EndCursorPlacing() { Stamp().placing = false; }

int CursorShape() { return Stamp().shape; }

void MoveCursorOutline(HWND viewer, int x, int y) {
  StampState& state = Stamp();
  if (state.last.x != 0 || state.last.y != 0) {
    WindowDc dc(viewer);
    const int oldRop = SetROP2(dc.Get(), R2_XORPEN);
    SelectionGuard pen(dc.Get(), GetStockObject(WHITE_PEN));
    SelectionGuard brush(dc.Get(), GetStockObject(WHITE_BRUSH));
    DrawOutline(dc.Get(), {x, y});
    if (state.previewShown) DrawOutline(dc.Get(), state.last);
    state.previewShown = true;
    SetROP2(dc.Get(), oldRop);
  }
  state.last = {x, y};
}

void PlaceCursor(HWND viewer) {
  Stamp().placing = false;
  Stamp().previewShown = false;
  StampCursor();
  RedrawWindow(viewer, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE);
}

void StampCursor() {
  ImageBuffersState& images = Images();
  const SharedImage& tile = images.cursorTile;
  if (!tile) return;
  bool isCursor = false;
  HICON picture = ShapePicture(Stamp().shape, &isCursor);
  DrawCursorTile(tile, picture, !isCursor);
  const ViewerState& viewer = Viewer();
  const int left = Stamp().last.x + viewer.offsetX;
  const int top = Stamp().last.y + viewer.offsetY;
  StampTile(tile.View(), images.workImage.View(), left, top);
  StampTile(tile.View(), images.screenImage.View(), left, top);
}

}  // namespace pictornx
