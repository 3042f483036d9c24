#include "pixels/transform.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <utility>

namespace pictornx {
namespace {

// Side of the square blocks the quarter turns work through: the 64 source rows of 64 pixels
// a block reads and the 64 destination rows it writes (24 KiB together) stay in the
// first-level cache, so neither image is walked down a column across the whole picture.
constexpr int kTurnBlock = 64;

// Pixels move as 4-byte loads and stores, single instructions where three bytes would take
// two. The fourth byte read belongs to the next source pixel, padding or row; the fourth
// byte written is the next destination pixel's first, which is written after it. So a row's
// last pixel is written with exactly three bytes, and the row that reads the source's final
// pixel (where a fourth byte could lie past the buffer) reads exactly three bytes throughout.
inline void MovePixelWide(const uint8_t* from, uint8_t* to) {
  uint32_t pixel;
  std::memcpy(&pixel, from, 4);
  std::memcpy(to, &pixel, 4);
}

inline void MovePixel(const uint8_t* from, uint8_t* to) { std::memcpy(to, from, 3); }

// Writes `count` consecutive pixels from pixels `step` bytes apart. `endsRow`: the last of
// them ends its row; `exact`: no wide moves at all.
inline void GatherPixels(const uint8_t* from, ptrdiff_t step, uint8_t* to, int count,
                         bool endsRow, bool exact) {
  if (exact) {
    for (int i = 0; i < count; ++i, from += step, to += 3) MovePixel(from, to);
    return;
  }
  const int wide = endsRow ? count - 1 : count;
  // Four independent moves per round keep the loads in flight while the stores retire. The
  // loop keeps only pointers and the step live: on i686 a counter and a bound besides would
  // not fit in the seven general registers and would go to the stack every round.
  uint8_t* const wideEnd = to + ptrdiff_t{3} * wide;
  uint8_t* const roundsEnd = to + ptrdiff_t{12} * (wide / 4);
  const ptrdiff_t step2 = 2 * step;
  for (; to != roundsEnd; from += 2 * step2, to += 12) {
    MovePixelWide(from, to);
    MovePixelWide(from + step, to + 3);
    MovePixelWide(from + step2, to + 6);
    MovePixelWide(from + step2 + step, to + 9);
  }
  for (; to != wideEnd; from += step, to += 3) MovePixelWide(from, to);
  if (endsRow) MovePixel(from, to);
}

void MirrorLeftRight(ConstImageView source, ImageView destination) {
  for (int y = 0; y < source.height; ++y) {
    // Each row is read from right to left; the top row (last in memory) reads the
    // source's final pixel.
    GatherPixels(source.Row(y) + ptrdiff_t{3} * (source.width - 1), -3, destination.Row(y),
                 source.width, true, y == source.height - 1);
  }
}

void MirrorTopBottom(ConstImageView source, ImageView destination) {
  const size_t pixelBytes = static_cast<size_t>(source.width) * 3;
  for (int y = 0; y < source.height; ++y) {
    std::memcpy(destination.Row(y), source.Row(source.height - 1 - y), pixelBytes);
  }
}

// destination.Row(j)[i] = the pixel at origin + i * columnStep + j * rowStep, for every
// destination pixel, visited block by block. Destination row `exactRow` reads the source's
// final pixel.
void Turn(const uint8_t* origin, ptrdiff_t columnStep, ptrdiff_t rowStep, int exactRow,
          ImageView destination) {
  for (int j0 = 0; j0 < destination.height; j0 += kTurnBlock) {
    const int j1 = std::min(j0 + kTurnBlock, destination.height);
    for (int i0 = 0; i0 < destination.width; i0 += kTurnBlock) {
      const int count = std::min(kTurnBlock, destination.width - i0);
      const bool endsRow = i0 + count == destination.width;
      for (int j = j0; j < j1; ++j) {
        GatherPixels(origin + i0 * columnStep + j * rowStep, columnStep,
                     destination.Row(j) + ptrdiff_t{3} * i0, count, endsRow, j == exactRow);
      }
    }
  }
}

// Clockwise, the picture's pixel (x, y) goes to (H-1-y, x). In memory rows (row 0 at the
// bottom) that reads: destination row j, column i takes source row i, column W-1-j.
void RotateClockwise(ConstImageView source, ImageView destination) {
  const uint8_t* origin = source.Row(0) + ptrdiff_t{3} * (source.width - 1);
  Turn(origin, source.stride, -3, 0, destination);
}

// Counter-clockwise, (x, y) goes to (y, W-1-x): destination row j, column i takes source
// row H-1-i, column j.
void RotateCounterClockwise(ConstImageView source, ImageView destination) {
  Turn(source.Row(source.height - 1), -ptrdiff_t{source.stride}, 3, source.width - 1,
       destination);
}

bool Overlap(ConstImageView a, ConstImageView b) {
  const auto begin = [](ConstImageView v) { return reinterpret_cast<uintptr_t>(v.bits); };
  const auto end = [&](ConstImageView v) {
    return begin(v) + static_cast<uintptr_t>(v.stride) * (v.height - 1) + uintptr_t{3} * v.width;
  };
  return begin(a) < end(b) && begin(b) < end(a);
}

}  // namespace

ImageView TransformedView(Transform transform, uint8_t* bits, int width, int height) {
  if (SwapsAxes(transform)) std::swap(width, height);
  return {bits, width, height, static_cast<int>(RowBytes(width))};
}

bool TransformImage(Transform transform, ConstImageView source, ImageView destination) {
  if (source.Empty() || destination.Empty()) return false;
  if (source.stride < int64_t{3} * source.width ||
      destination.stride < int64_t{3} * destination.width) {
    return false;
  }
  const bool swaps = SwapsAxes(transform);
  if (destination.width != (swaps ? source.height : source.width) ||
      destination.height != (swaps ? source.width : source.height)) {
    return false;
  }
  if (Overlap(source, destination)) return false;
  switch (transform) {
    case Transform::kMirrorLeftRight:
      MirrorLeftRight(source, destination);
      return true;
    case Transform::kMirrorTopBottom:
      MirrorTopBottom(source, destination);
      return true;
    case Transform::kRotateClockwise:
      RotateClockwise(source, destination);
      return true;
    case Transform::kRotateCounterClockwise:
      RotateCounterClockwise(source, destination);
      return true;
  }
  return false;
}

}  // namespace pictornx
