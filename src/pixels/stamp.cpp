#include "pixels/stamp.h"

#include <algorithm>
#include <cstdint>

namespace pictornx {

void StampTile(ConstImageView tile, ImageView image, int left, int top) {
  if (tile.Empty() || image.Empty()) return;
  const uint8_t* key = tile.Row(0);
  const uint8_t keyBlue = key[0], keyGreen = key[1], keyRed = key[2];
  // The tile rows and columns whose targets lie inside the image, in 64 bits so that no
  // position near the int limits wraps around.
  const int64_t firstRow = std::max<int64_t>(0, -int64_t{top});
  const int64_t endRow = std::min<int64_t>(tile.height, int64_t{image.height} - top);
  const int64_t firstColumn = std::max<int64_t>(0, -int64_t{left});
  const int64_t endColumn = std::min<int64_t>(tile.width, int64_t{image.width} - left);
  for (int64_t t = firstRow; t < endRow; ++t) {
    const uint8_t* from = tile.TopRow(static_cast<int>(t));
    uint8_t* row = image.TopRow(static_cast<int>(top + t));
    for (int64_t u = firstColumn; u < endColumn; ++u) {
      const uint8_t* pixel = from + u * 3;
      if (pixel[0] == keyBlue && pixel[1] == keyGreen && pixel[2] == keyRed) continue;
      uint8_t* target = row + (left + u) * 3;
      target[0] = pixel[0];
      target[1] = pixel[1];
      target[2] = pixel[2];
    }
  }
}

}  // namespace pictornx
