// InspectorReadout: the inspector's child window with the pointed pixel's red, green and
// blue values and, while the viewer measures a drag, the rectangle's width, height and angle.
#include <algorithm>
#include <cwchar>

#include "imagestore/image_buffers.h"
#include "pixels/stamp.h"
#include "resources/resource_ids.h"
#include "inspector/inspector_state.h"
#include "ui/draw.h"
#include "ui/painted_window.h"
#include "win/dialog_result.h"
#include "win/module.h"

namespace pictornx {
namespace {

constexpr int kReadoutWidth = 114;
constexpr int kShortHeight = 16;
constexpr int kLongHeight = 30;
constexpr COLORREF kWhite = 0x00FFFFFF;
constexpr COLORREF kRedInk = 0x00DCDCFF;
constexpr COLORREF kGreenInk = 0x00DCFFDC;
constexpr COLORREF kBlueInk = 0x00FFDCDC;

// The plate: the art's left end, then its uniform middle stretched by overlapping strips.
void ComposePlate(ImageView face, ConstImageView plate, int top) {
  CopySprite(plate, {0, 0, 36, 16}, face, 0, top, nullptr);
  if (top == 0) {
    for (int x = 14; x <= 39; ++x) CopySprite(plate, {11, 0, 23, 16}, face, x, 0, nullptr);
    for (int x = 51; x <= 76; ++x) CopySprite(plate, {21, 0, 31, 16}, face, x, 0, nullptr);
    for (int x = 86; x <= 109; ++x) CopySprite(plate, {31, 0, 36, 16}, face, x, 0, nullptr);
  } else {
    for (int x = 5; x <= 107; ++x) CopySprite(plate, {29, 0, 36, 16}, face, x, top, nullptr);
  }
}

POINT ReadoutTopLeft(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  POINT at{r.left, r.top};
  ScreenToClient(GetParent(window), &at);
  return at;
}

void Resize(HWND window, int height) {
  SetWindowPos(window, nullptr, 0, 0, kReadoutWidth, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void OnMoved(HWND window) {
  const InspectorState& s = Inspector();
  const POINT at = ReadoutTopLeft(window);
  RECT r{};
  GetWindowRect(window, &r);
  const ScreenPoint confined =
      ConfineReadout({static_cast<int>(at.x), static_cast<int>(at.y)}, r.right - r.left, r.bottom - r.top, s.layout);
  if (confined.x != at.x || confined.y != at.y)
    SetWindowPos(window, nullptr, confined.x, confined.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void OnDestroy(HWND window) {
  ReadoutState& r = Inspector().readout;
  if (r.window != window) return;
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  if (GetWindowPlacement(window, &placement)) {
    const RECT& p = placement.rcNormalPosition;
    r.remembered = {static_cast<int>(p.left), static_cast<int>(p.top), static_cast<int>(p.right),
                    static_cast<int>(p.bottom)};
  }
  r.face.Reset();
  r.window = nullptr;
  r.longForm = false;
}

INT_PTR CALLBACK ReadoutProc(HWND window, UINT message, WPARAM, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_ERASEBKGND:
      return DialogResult(window, 1);
    case WM_PAINT:
      Inspector().readout.face.Paint(window);
      return TRUE;
    case WM_MOVE:
      OnMoved(window);
      return TRUE;
    case WM_MOUSEMOVE:
      SetCursor(LoadCursorW(nullptr, IDC_ARROW));
      return TRUE;
    case WM_LBUTTONDOWN:
      DragByBody(window);
      return TRUE;
    case WM_DESTROY:
      OnDestroy(window);
      return TRUE;
    default:
      return FALSE;
  }
}

void DrawValue(HDC dc, int value, int base, int hexCentre, COLORREF colour, bool hexadecimal) {
  if (hexadecimal) {
    wchar_t text[8];
    std::swprintf(text, 8, L"%2X", static_cast<unsigned>(value));
    DrawLabel(dc, hexCentre, 2, colour, text, 12, 0);
  } else {
    DrawDigits(dc, value, ReadoutValueX(value, base), 3, 7, colour, DigitSize::kSmall);
  }
}

}  // namespace

int CreateInspectorReadout() {
  InspectorState& s = Inspector();
  ReadoutState& r = s.readout;
  if (r.window) return kReadoutCreated;
  HWND window =
      CreateDialogParamW(ModuleInstance(), MAKEINTRESOURCEW(IDD_INSPECTOR_READOUT), s.window, ReadoutProc, 0);
  if (!window) return kReadoutNotCreated;
  r.window = window;
  r.longForm = false;
  const DibSection plate = LoadSpriteSheet(IDB_READOUT_PLATE);
  if (!plate || !r.face.Create(window, kReadoutWidth, 32, Images().screenPalette.Get())) {
    DestroyWindow(window);
    return kReadoutNoImage;
  }
  ComposePlate(r.face.Pixels(), plate.view, 0);
  const ScreenPoint at = ReadoutOpenPosition(r.remembered, s.layout);
  SetWindowPos(window, nullptr, at.x, at.y, kReadoutWidth, kShortHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(window, SW_SHOWNA);
  return kReadoutCreated;
}

void DestroyInspectorReadout() {
  if (HWND window = Inspector().readout.window) DestroyWindow(window);
}

RECT ReadoutClientRect() {
  HWND window = Inspector().readout.window;
  if (!window) return {};
  const POINT at = ReadoutTopLeft(window);
  RECT r{};
  GetWindowRect(window, &r);
  return {at.x, at.y, at.x + (r.right - r.left), at.y + (r.bottom - r.top)};
}

void ResetReadoutPlacement() {
  ReadoutState& r = Inspector().readout;
  if (!r.window) return;
  r.longForm = false;
  Resize(r.window, kShortHeight);
  OnMoved(r.window);
  ShowWindow(r.window, SW_SHOWNA);
}

int UpdateReadoutRgb(ConstImageView source, int x, int y) {
  InspectorState& s = Inspector();
  ReadoutState& r = s.readout;
  if (!r.window || !r.face) return 0;
  Rgb rgb;
  switch (ReadPointedPixel(source, x, y, rgb)) {
    case ReadoutRead::kBelowImage: return 1;
    case ReadoutRead::kColumnTooFar: return 2;
    case ReadoutRead::kRowTooFar: return 3;
    case ReadoutRead::kRead: break;
  }
  HDC dc = r.face.Dc();
  FillSolid(dc, 13, 3, 13 + 26, 3 + 10, 0);
  FillSolid(dc, 50, 3, 50 + 26, 3 + 10, 0);
  FillSolid(dc, 85, 3, 85 + 25, 3 + 10, 0);
  const bool hex = s.settings.hexadecimal;
  DrawValue(dc, rgb.red, 30, 25, kRedInk, hex);
  DrawValue(dc, rgb.green, 68, 62, kGreenInk, hex);
  DrawValue(dc, rgb.blue, 103, 96, kBlueInk, hex);
  RedrawWindow(r.window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  return 0;
}

void BeginMeasureReadout(int begin, int x0, int y0) {
  InspectorState& s = Inspector();
  ReadoutState& r = s.readout;
  if (!r.window || !r.face) return;
  HDC dc = r.face.Dc();
  if (begin != 0) {
    r.anchorX = x0;
    r.anchorY = y0;
    r.longForm = true;
    if (const DibSection plate = LoadSpriteSheet(IDB_READOUT_PLATE)) ComposePlate(r.face.Pixels(), plate.view, 14);
    wchar_t mark[16];
    LoadResString(IDS_READOUT_WIDTH_MARK, mark, 16);
    DrawLabel(dc, 10, 16, 0x00C8C8FF, mark, 10, 0);
    LoadResString(IDS_READOUT_HEIGHT_MARK, mark, 16);
    DrawLabel(dc, 50, 16, 0x00C8FFC8, mark, 10, 0);
    FillSolid(dc, 83, 15, 84, 28, kWhite);
    FillRoundRect(dc, {105, 17, 109, 21}, kWhite, 2);
    FrameBox(dc, 106, 18, 1, 1, 0x003F7591);
    // Grown downwards, and moved up when it would leave the inspector.
    POINT at = ReadoutTopLeft(r.window);
    RECT client{};
    GetClientRect(s.window, &client);
    at.y = std::min<LONG>(at.y, client.bottom - 33);
    SetWindowPos(r.window, nullptr, at.x, at.y, kReadoutWidth, kLongHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(r.window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  } else if (r.longForm) {
    r.longForm = false;
    for (int x : {0, 1, 111, 112}) SetPixelV(dc, x, 15, 0);
    Resize(r.window, kShortHeight);
    RedrawWindow(s.window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  }
}

void UpdateMeasureReadout(int x, int y) {
  ReadoutState& r = Inspector().readout;
  if (!r.window || !r.face) return;
  HDC dc = r.face.Dc();
  FillSolid(dc, 15, 17, 15 + 26, 17 + 10, 0);
  FillSolid(dc, 55, 17, 55 + 26, 17 + 10, 0);
  FillSolid(dc, 87, 17, 87 + 18, 17 + 10, 0);
  const Measurement m = MeasureFrom(r.anchorX, r.anchorY, x, y);
  DrawDigits(dc, m.width, MeasureValueX(m.width, 35), 17, 6, kRedInk, DigitSize::kSmall);
  DrawDigits(dc, m.height, MeasureValueX(m.height, 75), 17, 6, 0x00C8FFC8, DigitSize::kSmall);
  DrawDigits(dc, m.angle, AngleValueX(m.angle), 17, 6, m.above ? 0x00FFAAFF : kWhite, DigitSize::kSmall);
  RedrawWindow(r.window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

}  // namespace pictornx
