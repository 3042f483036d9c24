// The arithmetic of a dragged range: which mouse moves count, when a drag makes a
// rectangle, the image rectangle it stands for and the numbers of the live title.
#pragma once

#include <string_view>

#include "pixels/fixed_text.h"
#include <string_view>

#include "pixels/image.h"

namespace pictornx {

struct DragPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const DragPoint&, const DragPoint&) = default;
};

// A move at client (x, y) is handled unless it lies right of or below the image.
bool MoveOverImage(DragPoint client, int offsetX, int offsetY, int viewWidth, int viewHeight);

// A rectangle exists only while `last` lies strictly right of and below `press`.
bool DragMakesRange(DragPoint press, DragPoint last);

// The image rectangle of a drag from `press` to `last` (both corners included) at the scroll
// offsets, clipped to an image of imageWidth x imageHeight; empty when the drag makes no
// rectangle or lies wholly off the image.
PixelRect DragImageRange(DragPoint press, DragPoint last, int offsetX, int offsetY, int imageWidth,
                         int imageHeight);

// Appends the live title: prefix + label (ending in "X=") + width + "/Y=" + height, the size
// counted with both corners included.
void RangeTitle(std::wstring_view prefix, std::wstring_view label, DragPoint press, DragPoint last, TextWriter& out);

}  // namespace pictornx
