#include "imageops/cursor_stamp.h"

#include <algorithm>

#include "win/handles.h"
#include "host/image_buffers.h"
#include "win/module.h"
#include "ui/popup.h"
#include "resources/resource_ids.h"
#include "pixels/stamp.h"
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
  POINT last{};             // last outline position, client coordinates
  OwnedBitmap pickerBitmap;  // the cells, drawn once when the picker opens
  HDC pickerDc = nullptr;
  HGDIOBJ pickerDcBitmap = nullptr;
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

void DrawPickerCells(HWND viewer) {
  StampState& state = Stamp();
  WindowDc viewerDc(viewer);
  state.pickerBitmap.Reset(CreateCompatibleBitmap(viewerDc.Get(), kPickerBitmapWidth, kPickerBitmapHeight));
  state.pickerDc = CreateCompatibleDC(viewerDc.Get());
  if (!state.pickerBitmap || !state.pickerDc) return;
  state.pickerDcBitmap = SelectObject(state.pickerDc, state.pickerBitmap.Get());
  const RECT all{0, 0, kPickerBitmapWidth, kPickerBitmapHeight};
  FillRect(state.pickerDc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  for (int shape = 0; shape < kPictureCount; ++shape) {
    const int x = 2 + 37 * (shape % 3);
    const int y = 2 + 36 * (shape / 3);
    DrawPicture(state.pickerDc, shape, x, y);
    RECT edge{x - 2, y - 2, x + 34, y + 34};
    DrawEdge(state.pickerDc, &edge, EDGE_BUMP, BF_RECT);
  }
}

void ReleasePickerCells() {
  StampState& state = Stamp();
  if (state.pickerDc) {
    if (state.pickerDcBitmap) SelectObject(state.pickerDc, state.pickerDcBitmap);
    DeleteDC(state.pickerDc);
  }
  state.pickerDc = nullptr;
  state.pickerDcBitmap = nullptr;
  state.pickerBitmap.Reset();
}

void BlitPickerCells(HDC dc) {
  const StampState& state = Stamp();
  if (!state.pickerDc) return;
  ScreenPaletteScope palette(dc);
  BitBlt(dc, 5, 3, kPickerBitmapWidth, kPickerBitmapHeight, state.pickerDc, 0, 0, SRCCOPY);
}

void OnPickerMouseMove(HWND picker, int x, int y) {
  if (x < 6 || x > 114 || y < 6 || y > 220) return;
  const int column = std::min((x - 5) / 37, 2);
  const int row = std::min((y - 4) / 36, 5);
  Stamp().shape = 3 * row + column;
  WindowDc dc(picker);
  BlitPickerCells(dc.Get());
  RECT sunken{37 * column + 5, 36 * row + 3, 37 * column + 41, 36 * row + 39};
  DrawEdge(dc.Get(), &sunken, EDGE_SUNKEN, BF_RECT);
}

INT_PTR CALLBACK PickerProc(HWND picker, UINT message, WPARAM, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(picker, &paint);
      BlitPickerCells(dc);
      EndPaint(picker, &paint);
      return TRUE;
    }
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
      ReleasePickerCells();
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
  DrawPickerCells(viewer);
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
  SharedImage& tile = images.cursorTile;
  if (!tile) return;
  {
    MemoryDc memory(nullptr);
    SelectionGuard select(memory.Get(), tile.Bitmap());
    OwnedBrush key(CreateSolidBrush(kCursorKeyColour));
    const RECT all{0, 0, kCursorTileSize, kCursorTileSize};
    FillRect(memory.Get(), &all, key.Get());
    SetMapMode(memory.Get(), MM_TEXT);
    DrawPicture(memory.Get(), Stamp().shape, 0, 0);
    GdiFlush();
  }
  const ViewerState& viewer = Viewer();
  const int left = Stamp().last.x + viewer.offsetX;
  const int top = Stamp().last.y + viewer.offsetY;
  StampTile(tile.View(), images.workImage.View(), left, top);
  StampTile(tile.View(), images.screenImage.View(), left, top);
}

}  // namespace pictornx
