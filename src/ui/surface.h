// The off-screen face of a painted window: a 24-bit DIB section selected into a memory DC
// for the window's life, drawn with GDI through Dc() or by the portable kernels through
// Pixels(), and copied to the window on WM_PAINT. Also the sprite sheets: resource bitmaps
// turned into 24-bit pixels, whose cells are copied with CopySprite (pixels/stamp.h).
//
//   Surface face;                                   // in the window's state struct
//   if (!face.Create(window, 200, 40, palette)) ...  // WM_CREATE; out of memory when false
//   CopySprite(sheet.view, StripCell(1, 2, w, h), face.Pixels(), x, y, &kSpriteKey);
//   case WM_PAINT: face.Paint(window); return 0;
#pragma once

#include <windows.h>

#include <cstdint>

#include "pixels/image.h"
#include "win/dib.h"
#include "win/handles.h"

namespace pictornx {

class Surface {
 public:
  Surface() = default;
  Surface(Surface&& other) noexcept { *this = std::move(other); }
  Surface& operator=(Surface&& other) noexcept;
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;
  ~Surface() { Reset(); }

  // Makes the surface width x height, compatible with `window`'s DC, replacing any earlier
  // one (contents are not kept). On palette displays `palette` (not owned; it must outlive
  // the surface) is selected and realised in the memory DC and again on each copy. False,
  // with the surface empty, when the DIB section or the DC could not be made: the caller
  // reports out of memory.
  bool Create(HWND window, int width, int height, HPALETTE palette = nullptr);
  // Create again at a new size with the same window and palette.
  bool Resize(int width, int height) { return Create(window_, width, height, palette_); }
  void Reset();

  explicit operator bool() const { return static_cast<bool>(dc_); }
  HDC Dc() const { return dc_.Get(); }
  int Width() const { return dib_.view.width; }
  int Height() const { return dib_.view.height; }
  // The pixels, after GdiFlush so GDI drawing done so far is in them. Empty when the
  // surface is.
  ImageView Pixels() const;

  // Copies the whole surface with its top-left at (x, y) of `dc`.
  void CopyTo(HDC dc, int x, int y) const;
  // For WM_PAINT: BeginPaint, CopyTo(x, y), EndPaint. Validates the window even when the
  // surface is empty.
  void Paint(HWND window, int x = 0, int y = 0) const;

 private:
  DibSection dib_;
  OwnedDc dc_;
  HGDIOBJ previousBitmap_ = nullptr;
  HPALETTE previousPalette_ = nullptr;
  HPALETTE palette_ = nullptr;  // as given to Create
  bool paletteDisplay_ = false;
  HWND window_ = nullptr;
};

// The module's bitmap resource `id` as a 24-bit DIB section (its view in picture rows as
// everywhere); empty when the resource is missing or memory runs out.
DibSection LoadSpriteSheet(uint16_t id);

}  // namespace pictornx
