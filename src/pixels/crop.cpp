#include "pixels/crop.h"

#include <cstring>

namespace pictornx {

bool CopyRectangle(ConstImageView source, int left, int top, int width, int height, ImageView destination) {
  if (source.Empty() || destination.Empty() || width <= 0 || height <= 0) return false;
  if (left < 0 || top < 0 || left > source.width - width || top > source.height - height) return false;
  if (destination.width != width || destination.height != height) return false;
  // Memory row of the rectangle's bottom picture row in the source.
  const int sourceBottom = source.height - (top + height);
  const size_t bytes = static_cast<size_t>(width) * 3;
  // Destination row y comes from source row sourceBottom + y. With a shared start address
  // the destination row never lies past the source row it is copied from (its stride is
  // not larger), so copying upwards reads every row before it can be overwritten.
  for (int y = 0; y < height; ++y)
    std::memmove(destination.Row(y), source.Row(sourceBottom + y) + static_cast<size_t>(left) * 3, bytes);
  return true;
}

}  // namespace pictornx
