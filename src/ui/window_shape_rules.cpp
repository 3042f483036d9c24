#include "ui/window_shape_rules.h"

#include <cstddef>

namespace pictornx {

std::vector<PixelRect> MaskRectangles(ConstImageView mask, Rgb key, MaskKeeps keeps) {
  std::vector<PixelRect> rectangles;
  if (mask.Empty()) return rectangles;
  const bool keepKey = keeps == MaskKeeps::kKeyPixels;
  // Rectangles that reach the row above, in order of their left edge; runs of one row are
  // found left to right, so matching them is a single merge-like walk.
  std::vector<size_t> open, next;
  for (int y = 0; y < mask.height; ++y) {
    const uint8_t* row = mask.TopRow(y);
    next.clear();
    size_t o = 0;
    for (int x = 0; x < mask.width;) {
      if (key.Matches(row + x * 3) != keepKey) {
        ++x;
        continue;
      }
      const int start = x;
      while (x < mask.width && key.Matches(row + x * 3) == keepKey) ++x;
      while (o < open.size() && rectangles[open[o]].left < start) ++o;
      if (o < open.size() && rectangles[open[o]].left == start && rectangles[open[o]].right == x) {
        rectangles[open[o]].bottom = y + 1;
        next.push_back(open[o]);
      } else {
        rectangles.push_back({start, y, x, y + 1});
        next.push_back(rectangles.size() - 1);
      }
    }
    open.swap(next);
  }
  return rectangles;
}

}  // namespace pictornx
