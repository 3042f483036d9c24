#include "viewer/selection_rules.h"

#include <algorithm>
#include <cstdint>

namespace pictornx {
namespace {

// Client coordinates are 16-bit, offsets and sizes far below 2^31; 64-bit sums cannot wrap.
int ClampToImage(int64_t value, int size) { return static_cast<int>(std::clamp<int64_t>(value, 0, size)); }

}  // namespace

bool MoveOverImage(DragPoint client, int offsetX, int offsetY, int viewWidth, int viewHeight) {
  return int64_t{client.x} + offsetX < viewWidth && int64_t{client.y} + offsetY < viewHeight;
}

bool DragMakesRange(DragPoint press, DragPoint last) { return last.x > press.x && last.y > press.y; }

PixelRect DragImageRange(DragPoint press, DragPoint last, int offsetX, int offsetY, int imageWidth,
                         int imageHeight) {
  if (!DragMakesRange(press, last) || imageWidth <= 0 || imageHeight <= 0) return {};
  PixelRect range{ClampToImage(int64_t{press.x} + offsetX, imageWidth),
                  ClampToImage(int64_t{press.y} + offsetY, imageHeight),
                  ClampToImage(int64_t{last.x} + offsetX + 1, imageWidth),
                  ClampToImage(int64_t{last.y} + offsetY + 1, imageHeight)};
  if (range.Empty()) return {};
  return range;
}

void RangeTitle(std::wstring_view prefix, std::wstring_view label, DragPoint press, DragPoint last, TextWriter& out) {
  out.Add(prefix).Add(label).AddNumber(int64_t{last.x} - press.x + 1).Add(L"/Y=").AddNumber(int64_t{last.y} - press.y + 1);
}

}  // namespace pictornx
