// SharpenView: an unsharp mask over a 3 x 3 box blur, computed in place row by row.
//
// The blur of pixel (i, j) sums the n positions of its 3 x 3 neighbourhood that lie inside
// the image, adds once more the last of them in the order rows i-1, i, i+1 and columns
// j-1, j, j+1 (the upper-right one, or the nearest inside position towards it), and divides
// by n + 1. Writing row i in place needs the original rows i-1 and i, so those two are kept
// as copies; row i+1 is still untouched when row i is written.
#include <algorithm>
#include <cstring>
#include <utility>

#include "pixels/resample.h"
#include "pixels/resample_internal.h"

namespace pictornx {
namespace {

using namespace resample_detail;

inline uint8_t Sharpened(int value, int blur) {
  return static_cast<uint8_t>(std::clamp(2 * value - blur, 0, 255));
}

// One pixel anywhere in the row, counting exactly the positions inside the image. `below`
// and `above` are null where the row has no neighbour.
void SharpenPixel(const uint8_t* below, const uint8_t* row, const uint8_t* above, int width, int j,
                  uint8_t* out) {
  const uint8_t* rows[3] = {below, row, above};
  const int left = std::max(j - 1, 0);
  const int right = std::min(j + 1, width - 1);
  const uint8_t* lastRow = above ? above : row;
  for (int c = 0; c < 3; ++c) {
    int sum = 0, n = 0;
    for (const uint8_t* r : rows) {
      if (!r) continue;
      for (int k = left; k <= right; ++k, ++n) sum += r[3 * k + c];
    }
    sum += lastRow[3 * right + c];
    out[3 * j + c] = Sharpened(row[3 * j + c], sum / (n + 1));
  }
}

// floor(x / kDivisor) for the blur sums (at most 10 * 255) as a 16-bit multiply-high, which
// vectorises where a division does not.
template <unsigned kDivisor>
constexpr uint32_t kDivideMagic = 65536 / kDivisor + 1;

template <unsigned kDivisor>
constexpr bool DivisionIsExact() {
  for (uint32_t x = 0; x <= 2550; ++x)
    if (((x * kDivideMagic<kDivisor>) >> 16) != x / kDivisor) return false;
  return true;
}
static_assert(DivisionIsExact<10>() && DivisionIsExact<7>() && DivisionIsExact<4>());

// The columns 1 .. width-2 of a row, whose neighbourhoods are three columns wide. Missing
// neighbour rows are passed as a row of zeros; kDivisor is then 3 * rows inside + 1, and
// the position counted twice lies in the row above, or in the row itself at the top.
// 16-bit arithmetic and fixed-size blocks let the compiler vectorise without a
// remainder-loop cost model; kept out of line so its restrict promises survive.
template <unsigned kDivisor, bool kHasAbove>
[[gnu::noinline]] void SharpenInterior(const uint8_t* __restrict below,
                                       const uint8_t* __restrict row,
                                       const uint8_t* __restrict above, size_t begin, size_t end,
                                       uint8_t* __restrict out) {
  const auto one = [&](size_t i) {
    const auto column = static_cast<uint16_t>(below[i] + row[i] + above[i]);
    const auto left = static_cast<uint16_t>(below[i - 3] + row[i - 3] + above[i - 3]);
    const auto right = static_cast<uint16_t>(below[i + 3] + row[i + 3] + above[i + 3]);
    const uint8_t twice = kHasAbove ? above[i + 3] : row[i + 3];
    const auto sum = static_cast<uint16_t>(left + column + right + twice);
    const auto blur = static_cast<uint16_t>((uint32_t{sum} * kDivideMagic<kDivisor>) >> 16);
    const auto value = static_cast<int16_t>(2 * row[i] - blur);
    out[i] = static_cast<uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value);
  };
  constexpr size_t kBlock = 16;
  size_t i = begin;
  for (; i + kBlock <= end; i += kBlock)
    for (size_t k = 0; k < kBlock; ++k) one(i + k);
  for (; i < end; ++i) one(i);
}

void SharpenRow(const uint8_t* below, const uint8_t* row, const uint8_t* above,
                const uint8_t* zeros, int width, uint8_t* out) {
  SharpenPixel(below, row, above, width, 0, out);
  if (width == 1) return;
  if (width > 2) {
    const size_t begin = 3, end = static_cast<size_t>(width - 1) * 3;
    const uint8_t* down = below ? below : zeros;
    const uint8_t* up = above ? above : zeros;
    if (below && above)
      SharpenInterior<10, true>(down, row, up, begin, end, out);
    else if (above)
      SharpenInterior<7, true>(down, row, up, begin, end, out);
    else if (below)
      SharpenInterior<7, false>(down, row, up, begin, end, out);
    else
      SharpenInterior<4, false>(down, row, up, begin, end, out);
  }
  SharpenPixel(below, row, above, width, width - 1, out);
}

}  // namespace

bool SharpenView(ImageView image) {
  if (image.Empty() || image.stride < image.width * 3) return false;
  const size_t rowBytes = static_cast<size_t>(image.width) * 3;
  Scratch<uint8_t> belowCopy, rowCopy, zeros;
  if (!belowCopy.Allocate(rowBytes) || !rowCopy.Allocate(rowBytes) || !zeros.Allocate(rowBytes))
    return false;
  std::memset(zeros.get(), 0, rowBytes);
  uint8_t* below = belowCopy.get();
  uint8_t* row = rowCopy.get();
  std::memcpy(row, image.Row(0), rowBytes);
  for (int i = 0; i < image.height; ++i) {
    const bool hasAbove = i + 1 < image.height;
    SharpenRow(i > 0 ? below : nullptr, row, hasAbove ? image.Row(i + 1) : nullptr, zeros.get(),
               image.width, image.Row(i));
    std::swap(below, row);
    if (hasAbove) std::memcpy(row, image.Row(i + 1), rowBytes);
  }
  return true;
}

}  // namespace pictornx
