// The shared image buffers of a capture cycle and the screen capture that fills them.
// One instance, on the host's GUI thread.
#pragma once

#include <windows.h>

#include "win/dib.h"
#include "win/handles.h"
#include "pixels/image.h"

namespace pictornx {

// Key colour of CursorTile: red 0x87, green 0x01, blue 0x55.
inline constexpr COLORREF kCursorKeyColour = 0x00550187;
inline constexpr int kCursorTileSize = 64;

// A DIB section whose header describes its current content. The section may be larger
// than the header says: a crop packs a smaller image into the same memory.
struct SharedImage {
  DibSection dib;
  BITMAPINFOHEADER header{};

  explicit operator bool() const { return static_cast<bool>(dib); }
  int Width() const { return header.biWidth; }
  int Height() const { return header.biHeight; }
  // Bytes the header's image needs (0 without an image).
  int64_t ContentBytes() const;
  // Bytes the section holds.
  int64_t CapacityBytes() const;
  // The content as the header describes it; empty without a section.
  ImageView View() const;
  uint8_t* Bits() const { return dib.view.bits; }
  HBITMAP Bitmap() const { return dib.bitmap.Get(); }

  // Deletes the section and creates one of width x height; false when that failed (the
  // image is then empty).
  bool Create(int width, int height);
  // Keeps the section when it holds enough bytes for width x height, else creates it
  // anew; the header then describes width x height. False when creation failed.
  bool Reserve(int width, int height);
  // Sets the header only; the caller guarantees the section is large enough.
  void SetSize(int width, int height);
  void Free();
};

struct ImageBuffersState {
  SharedImage screenImage;   // the source at 100 %
  SharedImage workImage;     // the image on display
  SharedImage cursorTile;    // 64 x 64, the cursor on the key colour
  SharedImage initialImage;  // the copy taken when the viewer opened, for reset
  SIZE screenSize{};
  SIZE sourceSize{};
  SIZE viewSize{};
  double targetRatio = 0.0;  // screen height / width at the last capture
  int displayDepth = 0;
  OwnedPalette screenPalette;  // only on 8-bit displays
};

ImageBuffersState& Images();

// Captures the whole screen into ScreenImage and WorkImage and the current cursor into
// CursorTile, replacing the buffers of an earlier capture. On failure to create a buffer
// shows the memory box (owned by HostWindow), deletes what this capture created and
// returns false.
bool CaptureScreen();

// Copies the screen again into the ScreenImage and WorkImage of the current capture, at
// ScreenSize; CursorTile stays. False when those buffers are missing or the display
// cannot be read.
bool RecaptureScreen();

// Deletes CursorTile, ScreenImage, WorkImage and the palette. InitialImage stays.
void FreeCaptureImages();

// Fills `tile` with kCursorKeyColour and draws `picture` (if any) from its top-left corner,
// at the picture's own size or, with `iconSize`, at the system icon size as DrawIcon does.
// The capture draws the cursor this way and the cursor stamp the picked picture.
void DrawCursorTile(const SharedImage& tile, HICON picture, bool iconSize);

// Copies the content bytes of `source` into `destination`, whose section must hold them;
// the destination's header becomes the source's size. False when it does not fit.
bool CopyImage(SharedImage& destination, const SharedImage& source);

// Selects and realises ScreenPalette in a DC on 8-bit displays, and puts the previous
// palette back at the end of the scope. Does nothing on other displays.
class ScreenPaletteScope {
 public:
  explicit ScreenPaletteScope(HDC dc);

 private:
  PaletteGuard guard_;
};

}  // namespace pictornx
