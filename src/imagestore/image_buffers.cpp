#include "imagestore/image_buffers.h"

#include <cstring>

#include "ui/host_link.h"
#include "ui/popup.h"
#include "pixels/screen_palette.h"
#include "win/step_clock.h"

namespace pictornx {

int64_t SharedImage::ContentBytes() const {
  const int64_t bytes = ImageBytes(header.biWidth, header.biHeight);
  return dib && bytes > 0 ? bytes : 0;
}

int64_t SharedImage::CapacityBytes() const {
  return dib ? RowBytes(dib.view.width) * dib.view.height : 0;
}

ImageView SharedImage::View() const {
  if (!dib) return {};
  return {dib.view.bits, header.biWidth, header.biHeight, static_cast<int>(RowBytes(header.biWidth))};
}

bool SharedImage::Create(int width, int height) {
  Free();
  dib = CreateDib24(width, height);
  if (!dib) return false;
  SetImageHeader(header, width, height);
  return true;
}

bool SharedImage::Reserve(int width, int height) {
  const int64_t needed = ImageBytes(width, height);
  if (needed < 0) return false;
  if (dib && needed <= CapacityBytes()) {
    SetImageHeader(header, width, height);
    return true;
  }
  return Create(width, height);
}

void SharedImage::SetSize(int width, int height) { SetImageHeader(header, width, height); }

void SharedImage::Free() {
  dib.Reset();
  header = {};
}

ImageBuffersState& Images() {
  static ImageBuffersState state;
  return state;
}

namespace {

OwnedPalette CreateScreenPalette() {
  struct {
    WORD version;
    WORD count;
    PALETTEENTRY entries[256];
  } logical{0x300, 256, {}};
  const auto& colours = ScreenPaletteColours();
  for (size_t i = 0; i < colours.size(); ++i)
    logical.entries[i] = {colours[i].red, colours[i].green, colours[i].blue, 0};
  return OwnedPalette(CreatePalette(reinterpret_cast<const LOGPALETTE*>(&logical)));
}

// The cursor a user sees: the thread's own, else the one shown on the screen.
HCURSOR CurrentCursor() {
  if (HCURSOR cursor = GetCursor()) return cursor;
  CURSORINFO info{};
  info.cbSize = sizeof(info);
  return GetCursorInfo(&info) && (info.flags & CURSOR_SHOWING) ? info.hCursor : nullptr;
}

// Copies the top-left width x height of the display into `image`; false without a display.
bool CopyScreenInto(const SharedImage& image, int width, int height) {
  OwnedDc display(CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr));
  if (!display) return false;
  OwnedDc memory = OwnedDc::Compatible(display.Get());
  if (!memory) return false;
  {
    SelectionGuard select(memory.Get(), image.Bitmap());
    BitBlt(memory.Get(), 0, 0, width, height, display.Get(), 0, 0, SRCCOPY);
  }
  GdiFlush();
  return true;
}

bool FailCapture(ImageBuffersState& images) {
  ShowMemoryError(LinkedHostWindow());
  images.cursorTile.Free();
  images.screenImage.Free();
  images.workImage.Free();
  images.screenPalette.Reset();
  return false;
}

}  // namespace

bool CaptureScreen() {
  ImageBuffersState& images = Images();
  {
    WindowDc desktop(GetDesktopWindow());
    images.displayDepth = GetDeviceCaps(desktop.Get(), BITSPIXEL);
  }
  // A palette that cannot be created is not reported: painting goes on without it.
  images.screenPalette.Reset();
  if (images.displayDepth == 8) images.screenPalette = CreateScreenPalette();

  images.screenSize = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  images.sourceSize = images.screenSize;
  images.targetRatio = images.screenSize.cx > 0
                           ? static_cast<double>(images.screenSize.cy) / images.screenSize.cx
                           : 0.0;

  images.screenImage.Free();
  images.workImage.Free();
  images.cursorTile.Free();
  if (!images.cursorTile.Create(kCursorTileSize, kCursorTileSize)) return FailCapture(images);
  const int width = images.screenSize.cx;
  const int height = images.screenSize.cy;
  if (!images.screenImage.Create(width, height)) return FailCapture(images);
  if (!images.workImage.Create(width, height)) return FailCapture(images);
  MarkStep("capture: DIB sections made");

  const bool copied = CopyScreenInto(images.screenImage, width, height);
  MarkStep("capture: screen copied (BitBlt)");
  CopyImage(images.workImage, images.screenImage);
  MarkStep("capture: work image copied");
  if (copied) DrawCursorTile(images.cursorTile, CurrentCursor(), false);
  MarkStep("capture: cursor tile drawn");
  return true;
}

bool RecaptureScreen() {
  ImageBuffersState& images = Images();
  const SIZE screen = images.screenSize;
  if (!images.screenImage || !images.workImage) return false;
  // Both buffers were made for ScreenSize by the capture this one repeats.
  if (!images.screenImage.Reserve(screen.cx, screen.cy)) return false;
  if (!CopyScreenInto(images.screenImage, screen.cx, screen.cy)) return false;
  return CopyImage(images.workImage, images.screenImage);
}

void DrawCursorTile(const SharedImage& tile, HICON picture, bool iconSize) {
  if (!tile) return;
  OwnedDc memory = OwnedDc::Compatible(nullptr);
  if (!memory) return;
  SelectionGuard select(memory.Get(), tile.Bitmap());
  OwnedBrush key(CreateSolidBrush(kCursorKeyColour));
  const RECT all{0, 0, kCursorTileSize, kCursorTileSize};
  FillRect(memory.Get(), &all, key.Get());
  SetMapMode(memory.Get(), MM_TEXT);
  // Drawn from its top-left corner, not offset by its hot spot; larger pictures are clipped.
  if (picture)
    DrawIconEx(memory.Get(), 0, 0, picture, 0, 0, 0, nullptr, iconSize ? DI_NORMAL | DI_DEFAULTSIZE : DI_NORMAL);
  GdiFlush();
}

void FreeCaptureImages() {
  ImageBuffersState& images = Images();
  images.cursorTile.Free();
  images.screenImage.Free();
  images.workImage.Free();
  images.screenPalette.Reset();
}

bool CopyImage(SharedImage& destination, const SharedImage& source) {
  const int64_t bytes = source.ContentBytes();
  if (!source || !destination || bytes > destination.CapacityBytes()) return false;
  destination.SetSize(source.Width(), source.Height());
  std::memcpy(destination.Bits(), source.Bits(), static_cast<size_t>(bytes));
  return true;
}

ScreenPaletteScope::ScreenPaletteScope(HDC dc)
    : guard_(dc, Images().displayDepth == 8 ? Images().screenPalette.Get() : nullptr) {}

}  // namespace pictornx
