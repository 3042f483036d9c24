// Pure rules of the capture modes: the rectangle two corners or a drag stand for, clipping
// to the frozen screen, the crop's checks, the size text of the range capture and the
// pointer steps of its arrow keys. Portable: no windows.h.
#pragma once

#include <optional>

#include "pixels/fixed_text.h"
#include "pixels/image.h"
#include "viewer/viewer_rules.h"

namespace pictornx {

// The rectangle between two corners given in any order; the larger coordinate of each
// axis is the excluded edge.
PixelRect CornersToRect(int x1, int y1, int x2, int y2);

// The rectangle of a drag from `press` to `release` with both corner pixels included.
PixelRect DragRect(IntPoint press, IntPoint release);

// `rect` cut to the screen (0, 0)-(width, height); may come out empty.
PixelRect ClipToScreen(PixelRect rect, int screenWidth, int screenHeight);

enum CropResult : int {
  kCropDone = 0,
  kCropEmpty = 1,
  kCropLargerThanScreen = 2,
};

struct CropPlan {
  int result = kCropEmpty;
  PixelRect rect;  // the part of the screen to copy; inside the screen when result is kCropDone
};

// What a crop of the corners (x1, y1), (x2, y2) copies from a frozen screen of
// screenWidth x screenHeight: empty or larger than the screen refuses; anything else is
// clipped to the screen, and refused as empty when nothing of it lies on the screen.
CropPlan PlanScreenCrop(int x1, int y1, int x2, int y2, int screenWidth, int screenHeight);

// Room for the longest size text and its terminating zero.
inline constexpr size_t kCaptureSizeTextChars = 48;
// Appends "X=" width " ,Y=" height of the dragged rectangle, both corners counted.
void CaptureSizeText(IntPoint press, IntPoint current, TextWriter& out);

// Where the size text is centred: on each axis the smaller coordinate plus half the
// distance, rounded down.
IntPoint CaptureTextAnchor(IntPoint press, IntPoint current);

// Where an arrow key moves a pointer lying inside `window` (`distance` pixels, stopping
// at the window's last pixel); nothing when the pointer lies outside or cannot move.
std::optional<IntPoint> CaptureArrowMove(PixelRect window, IntPoint pointer, ArrowKey key, int distance);

// The nearest pixel of a screen of width x height (neither below 1) to `point`.
IntPoint ClampToScreen(IntPoint point, int width, int height);

}  // namespace pictornx
