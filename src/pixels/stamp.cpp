#include "pixels/stamp.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace pictornx {

void CopySprite(ConstImageView from, PixelRect source, ImageView to, int x, int y, const Rgb* key) {
  if (from.Empty() || to.Empty()) return;
  // Clip the source to its view, then the rows and columns whose targets lie inside `to`;
  // in 64 bits so that no position near the int limits wraps around.
  const int64_t sourceLeft = std::max(0, source.left), sourceTop = std::max(0, source.top);
  const int64_t sourceRight = std::min(from.width, source.right);
  const int64_t sourceBottom = std::min(from.height, source.bottom);
  const int64_t left = int64_t{x} + (sourceLeft - source.left);
  const int64_t top = int64_t{y} + (sourceTop - source.top);
  const int64_t firstRow = std::max<int64_t>(0, -top);
  const int64_t endRow = std::min<int64_t>(sourceBottom - sourceTop, int64_t{to.height} - top);
  const int64_t firstColumn = std::max<int64_t>(0, -left);
  const int64_t endColumn = std::min<int64_t>(sourceRight - sourceLeft, int64_t{to.width} - left);
  if (firstRow >= endRow || firstColumn >= endColumn) return;
  for (int64_t t = firstRow; t < endRow; ++t) {
    const uint8_t* in = from.TopRow(static_cast<int>(sourceTop + t)) + (sourceLeft + firstColumn) * 3;
    uint8_t* out = to.TopRow(static_cast<int>(top + t)) + (left + firstColumn) * 3;
    const int64_t count = endColumn - firstColumn;
    if (!key) {
      std::memmove(out, in, static_cast<size_t>(count * 3));
      continue;
    }
    for (int64_t u = 0; u < count; ++u, in += 3, out += 3) {
      if (key->Matches(in)) continue;
      out[0] = in[0];
      out[1] = in[1];
      out[2] = in[2];
    }
  }
}

void StampTile(ConstImageView tile, ImageView image, int left, int top) {
  if (tile.Empty() || image.Empty()) return;
  const uint8_t* first = tile.Row(0);
  const Rgb key{first[2], first[1], first[0]};
  CopySprite(tile, {0, 0, tile.width, tile.height}, image, left, top, &key);
}

}  // namespace pictornx
