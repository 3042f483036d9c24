#include "files/clipboard_rules.h"

#include <algorithm>

namespace pictornx {

bool ExceedsClipboardGuard(int64_t width, int64_t height, int screenWidth, int screenHeight) {
  // Compared as unsigned: a negative size counts as huge, never as small.
  const uint64_t area = static_cast<uint64_t>(width) * static_cast<uint64_t>(height);
  const uint64_t limit = static_cast<uint64_t>(int64_t{screenWidth} + 50) * static_cast<uint64_t>(int64_t{screenHeight} + 50);
  return area > limit;
}

PixelRect ClipRangeToImage(PixelRect range, int width, int height) {
  PixelRect clipped{std::max(range.left, 0), std::max(range.top, 0), std::min(range.right, width),
                    std::min(range.bottom, height)};
  if (clipped.Empty()) return {};
  return clipped;
}

int64_t ClipboardBlockBytes(int width, int height) {
  const int64_t pixels = ImageBytes(width, height);
  return pixels < 0 ? -1 : 40 + pixels;
}

}  // namespace pictornx
