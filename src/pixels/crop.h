// Copying a rectangle out of an image into another buffer packed at its own row size.
#pragma once

#include "pixels/image.h"

namespace pictornx {

// Copies the rectangle (left, top, width, height) of `source`, in picture coordinates
// (top = 0 is the picture's top row), into `destination`, whose width and height must be
// the rectangle's; the rectangle's bottom row becomes the destination's memory row 0.
// Returns false, copying nothing, when the rectangle is empty or not inside the source,
// or the destination does not match it. Destination padding bytes are left as they are.
// The destination may share memory with the source as long as it starts at the same
// address (a crop in place): rows are copied in an order that never overwrites a source
// row before it is read.
bool CopyRectangle(ConstImageView source, int left, int top, int width, int height, ImageView destination);

}  // namespace pictornx
