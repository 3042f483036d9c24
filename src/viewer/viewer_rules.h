// Pure rules of the viewer window: scrolling steps, pointer moves by arrow keys, keeping
// a saved placement on the desktop, zoom presets. Portable: no windows.h.
#pragma once

#include <optional>

namespace pictornx {

struct IntRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const IntRect&) const = default;
};

struct IntPoint {
  int x = 0;
  int y = 0;
  bool operator==(const IntPoint&) const = default;
};

// Scroll bars of the viewer: page 20, maximum = image size minus client size (not below 0).
inline constexpr int kViewerScrollPage = 20;
int ScrollMaximum(int imageSize, int clientSize);

enum class ScrollRequest { kLineBack, kLineForward, kPageBack, kPageForward, kThumb, kOther };

// How far one scroll-bar message moves the offset. A thumb within a page of the maximum
// scrolls one page further, so dragging it to its end reaches the image's end (the bar's
// own thumb stops a page short of the maximum). The result keeps the position within
// 0 and `maximum`.
int ScrollStep(ScrollRequest request, int thumbPosition, int position, int maximum, int page = kViewerScrollPage);

enum class ArrowKey { kLeft, kRight, kUp, kDown };

// Where an arrow key moves the pointer inside the visible image `visible` (pointer moves
// of `distance` pixels), or nothing when the pointer is outside it (edges count as
// inside) or the move would leave it (reach its right or bottom edge, pass its left or
// top edge).
std::optional<IntPoint> ArrowKeyPointerMove(IntRect visible, IntPoint pointer, ArrowKey key, int distance);

// Moves a saved window rectangle back inside the desktop: a negative left or top edge
// moves to 0, a bottom or right edge past the desktop moves in to end there; the size
// is kept.
IntRect KeepOnDesktop(IntRect window, IntRect desktop);

// Zoom factor of presets 0 to 5 (25 % to 200 %); the quarter and half are a hair above,
// so truncating the scaled size keeps the pixel a user expects. Other presets: 0.
double ZoomPresetFactor(int preset);

}  // namespace pictornx
