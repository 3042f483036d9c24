#include "ui/surface.h"

#include <utility>

#include "win/module.h"
#include "win/paint.h"

namespace pictornx {

Surface& Surface::operator=(Surface&& other) noexcept {
  if (this == &other) return *this;
  Reset();
  dib_ = std::move(other.dib_);
  dc_ = std::move(other.dc_);
  previousBitmap_ = std::exchange(other.previousBitmap_, nullptr);
  previousPalette_ = std::exchange(other.previousPalette_, nullptr);
  palette_ = std::exchange(other.palette_, nullptr);
  paletteDisplay_ = std::exchange(other.paletteDisplay_, false);
  window_ = std::exchange(other.window_, nullptr);
  return *this;
}

bool Surface::Create(HWND window, int width, int height, HPALETTE palette) {
  Reset();
  window_ = window;
  palette_ = palette;
  {
    WindowDc windowDc(window);
    if (!windowDc) return false;
    paletteDisplay_ = (GetDeviceCaps(windowDc.Get(), RASTERCAPS) & RC_PALETTE) != 0;
    dc_ = OwnedDc::Compatible(windowDc.Get());
  }
  dib_ = CreateDib24(width, height);
  if (!dc_ || !dib_) {
    Reset();
    return false;
  }
  previousBitmap_ = SelectObject(dc_.Get(), dib_.bitmap.Get());
  if (paletteDisplay_ && palette_) {
    previousPalette_ = SelectPalette(dc_.Get(), palette_, FALSE);
    RealizePalette(dc_.Get());
  }
  return true;
}

void Surface::Reset() {
  if (dc_) {
    if (previousPalette_) SelectPalette(dc_.Get(), previousPalette_, TRUE);
    if (previousBitmap_) SelectObject(dc_.Get(), previousBitmap_);
  }
  previousPalette_ = nullptr;
  previousBitmap_ = nullptr;
  dc_.Reset();
  dib_.Reset();
}

ImageView Surface::Pixels() const {
  GdiFlush();
  return dib_.view;
}

void Surface::CopyTo(HDC dc, int x, int y) const {
  if (!dc_) return;
  PaletteGuard palette(dc, paletteDisplay_ ? palette_ : nullptr);
  BitBlt(dc, x, y, Width(), Height(), dc_.Get(), 0, 0, SRCCOPY);
}

void Surface::Paint(HWND window, int x, int y) const {
  PaintScope paint(window);
  if (paint.Dc()) CopyTo(paint.Dc(), x, y);
}

DibSection LoadSpriteSheet(uint16_t id) {
  OwnedBitmap loaded(static_cast<HBITMAP>(
      LoadImageW(ModuleInstance(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  BITMAP shape{};
  if (!loaded || !GetObjectW(loaded.Get(), sizeof(shape), &shape)) return {};
  DibSection sheet = CreateDib24(shape.bmWidth, shape.bmHeight);
  if (!sheet) return sheet;
  BITMAPINFO info{};
  SetImageHeader(info.bmiHeader, shape.bmWidth, shape.bmHeight);
  WindowDc screen(nullptr);
  if (!screen || GetDIBits(screen.Get(), loaded.Get(), 0, static_cast<UINT>(shape.bmHeight), sheet.view.bits, &info,
                           DIB_RGB_COLORS) != shape.bmHeight)
    sheet.Reset();
  return sheet;
}

}  // namespace pictornx
