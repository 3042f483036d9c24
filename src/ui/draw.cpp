#include "ui/draw.h"

#include <iterator>

#include "win/handles.h"
#include "win/module.h"

namespace pictornx {
namespace {

struct DrawState {
  LOGFONTW labelFont{};
};

DrawState g_draw;

}  // namespace

LOGFONTW& LabelFont() { return g_draw.labelFont; }

int DrawLabel(HDC dc, int x, int y, COLORREF colour, const wchar_t* text, int height, int backing) {
  LabelFont().lfHeight = height;
  OwnedFont font(CreateFontIndirectW(&LabelFont()));
  SelectionGuard selected(dc, font.Get());
  SetTextAlign(dc, TA_CENTER | TA_TOP);
  if (backing & 0xFF) {
    // Black on black over an opaque black background: two ideographic spaces and the
    // terminating NUL leave a black box as tall as the font, centred on x.
    static constexpr wchar_t kBacking[] = L"\x3000\x3000";
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, RGB(0, 0, 0));
    SetTextColor(dc, RGB(0, 0, 0));
    TextOutW(dc, x, y, kBacking, static_cast<int>(std::size(kBacking)));
  }
  // Alignment, background mode and colours stay as set: callers draw the next labels with them.
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  if (text) TextOutW(dc, x, y, text, lstrlenW(text));
  return 0;
}

int FillRoundRect(HDC dc, RECT rect, COLORREF colour, int cornerDiameter) {
  OwnedPen pen(CreatePen(PS_SOLID, 1, colour));
  OwnedBrush brush(CreateSolidBrush(colour));
  SelectionGuard penSelected(dc, pen.Get());
  SelectionGuard brushSelected(dc, brush.Get());
  RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, cornerDiameter, cornerDiameter);
  return 0;
}

int FrameBox(HDC dc, int x, int y, int width, int height, COLORREF colour) {
  OwnedPen pen(CreatePen(PS_SOLID, 1, colour));
  SelectionGuard selected(dc, pen.Get());
  MoveToEx(dc, x, y, nullptr);
  if (width == 0 && height == 0) {
    // Every side would have length zero and a line never paints its end point, so the
    // one-pixel frame is painted as a line one pixel long.
    LineTo(dc, x + 1, y);
    return 0;
  }
  // Each side stops short of its end corner, which the next side starts on.
  LineTo(dc, x + width, y);
  LineTo(dc, x + width, y + height);
  LineTo(dc, x, y + height);
  LineTo(dc, x, y);
  return 0;
}

int BlitResourceBitmap(HDC dc, uint16_t id, int destX, int destY, int width, int height, int sourceX, int sourceY) {
  OwnedBitmap bitmap(LoadBitmapW(ModuleInstance(), MAKEINTRESOURCEW(id)));
  if (!bitmap) return -1;
  OwnedDc source = OwnedDc::Compatible(nullptr);
  if (!source) return -1;
  SelectionGuard selected(source.Get(), bitmap.Get());
  BitBlt(dc, destX, destY, width, height, source.Get(), sourceX, sourceY, SRCCOPY);
  return 0;
}

int DrawDigits(HDC dc, int value, int x, int y, int pitch, COLORREF colour, DigitSize size) {
  if (value < 0) return 0;
  const NumberStrokes strokes = NumberStrokesOf(static_cast<uint32_t>(value), x, y, pitch, size);
  OwnedPen pen(CreatePen(PS_SOLID, 1, colour));
  SelectionGuard selected(dc, pen.Get());
  for (const Stroke& stroke : strokes.View()) {
    MoveToEx(dc, stroke.x0, stroke.y0, nullptr);
    LineTo(dc, stroke.x1, stroke.y1);
  }
  return 0;
}

void FillSolid(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
  OwnedBrush brush(CreateSolidBrush(colour));
  if (!brush) return;
  const RECT area{left, top, right, bottom};
  FillRect(dc, &area, brush.Get());
}

}  // namespace pictornx
