#include "pixels/magnify.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace pictornx {
namespace {

// Column strips small enough for a table on the stack: no allocation whatever the width.
constexpr int kStripColumns = 1024;

// Target row holding view row k, or -1 when it lies outside the target.
int TargetMemoryRow(const ImageView& target, const MagnifierView& view, int k) {
  const int y = view.bottom - k;
  if (y < 0 || y >= target.height) return -1;
  return target.height - 1 - y;
}

void InvertBytes(uint8_t* pixel, int first, int second) {
  pixel[first] = static_cast<uint8_t>(255 - pixel[first]);
  pixel[second] = static_cast<uint8_t>(255 - pixel[second]);
}

uint8_t* TargetPixel(const ImageView& target, const MagnifierView& view, int c, int k) {
  const int row = TargetMemoryRow(target, view, k);
  const int x = view.left + c;
  if (row < 0 || x < 0 || x >= target.width) return nullptr;
  return target.Row(row) + static_cast<ptrdiff_t>(x) * 3;
}

void SetPixel(const ImageView& target, const MagnifierView& view, int c, int k, const uint8_t bgr[3]) {
  if (uint8_t* pixel = TargetPixel(target, view, c, k)) std::memcpy(pixel, bgr, 3);
}

}  // namespace

int BlockOffset(int index, int pixelCount, int viewSize) {
  if (viewSize <= 0) return 0;
  const double step = static_cast<double>(pixelCount) / viewSize;
  return static_cast<int>(std::floor(index * step + 0.0002));
}

void MagnifyRegion(ConstImageView source, ImageView target, const MagnifierView& view, int64_t pointX,
                   int64_t pointY, int pixelCount) {
  if (source.Empty() || target.Empty() || view.width <= 0 || view.rows <= 0 || pixelCount <= 0) return;
  const int64_t half = pixelCount / 2;

  for (int stripStart = std::max(view.margin, 0); stripStart < view.width; stripStart += kStripColumns) {
    const int stripEnd = std::min(view.width, stripStart + kStripColumns);
    // Byte offset of each column's image pixel within a source row, or -1. Image columns
    // grow with view columns, so the valid ones form one run [first, last).
    int offsets[kStripColumns];
    int first = -1;
    int last = -1;
    for (int c = stripStart; c < stripEnd; ++c) {
      const int x = view.left + c;
      const int64_t imageX = pointX - half + BlockOffset(c - view.margin, pixelCount, view.width);
      const bool inside = x >= 0 && x < target.width && imageX >= 0 && imageX < source.width;
      offsets[c - stripStart] = inside ? static_cast<int>(imageX) * 3 : -1;
      if (inside) {
        if (first < 0) first = c;
        last = c + 1;
      }
    }
    if (first < 0) continue;
    // Runs of columns showing one image pixel: a block is read once and stored many times.
    int runOffset[kStripColumns];
    int runLength[kStripColumns];
    int runs = 0;
    for (int c = first; c < last; ++c) {
      const int offset = offsets[c - stripStart];
      if (runs > 0 && runOffset[runs - 1] == offset) {
        ++runLength[runs - 1];
      } else {
        runOffset[runs] = offset;
        runLength[runs] = 1;
        ++runs;
      }
    }
    int longestRun = 0;
    for (int r = 0; r < runs; ++r) longestRun = std::max(longestRun, runLength[r]);

    int64_t previousImageY = -1;
    uint8_t* previousRow = nullptr;
    for (int k = 0; k < view.rows; ++k) {
      const int memoryRow = TargetMemoryRow(target, view, k);
      if (memoryRow < 0) continue;
      const int64_t imageY = pointY + half - BlockOffset(k, pixelCount, view.width);
      if (imageY < 0 || imageY >= source.height) continue;
      uint8_t* out = target.Row(memoryRow) + static_cast<ptrdiff_t>(view.left + first) * 3;
      if (imageY == previousImageY && previousRow != nullptr) {
        // Every view row of one image row's block is the same bytes.
        std::memcpy(out, previousRow, static_cast<size_t>(last - first) * 3);
      } else {
        const uint8_t* in = source.TopRow(static_cast<int>(imageY));
        uint8_t* pixel = out;
        // A run is stored `longestRun` times with four-byte stores, a fixed count the
        // branch predictor learns; what spills past the run lands on pixels the next runs
        // write again. Runs within that reach of the segment's end are stored exactly.
        int remaining = last - first;
        for (int r = 0; r < runs; ++r) {
          if (remaining > longestRun) {
            // Assembled in a register: three byte stores read back as one word would stall.
            const uint8_t* from = in + runOffset[r];
            const uint32_t value = from[0] | (uint32_t{from[1]} << 8) | (uint32_t{from[2]} << 16);
            for (int i = 0; i < longestRun; ++i) std::memcpy(pixel + i * 3, &value, 4);
          } else {
            for (int i = 0; i < runLength[r]; ++i) std::memcpy(pixel + i * 3, in + runOffset[r], 3);
          }
          pixel += runLength[r] * 3;
          remaining -= runLength[r];
        }
      }
      previousImageY = imageY;
      previousRow = out;
    }
  }
}

CentreBlock CentreBlockOf(int pixelCount, int viewWidth, int viewHeight, int margin) {
  if (pixelCount <= 0) return {};
  const int half = pixelCount / 2;
  const auto bound = [pixelCount](int index, int size) {
    return static_cast<int>(std::floor(static_cast<double>(index) * size / pixelCount + 0.0001));
  };
  return {bound(half, viewWidth) + margin, bound(half + 1, viewWidth) + margin, bound(half, viewHeight),
          bound(half + 1, viewHeight)};
}

void PaintCentreMark(ImageView target, const MagnifierView& view, const CentreBlock& block, CentreMark mark) {
  if (target.Empty() || mark == CentreMark::kNone) return;
  const auto onColumn = [&](int c) { return c == block.column1 || c == block.column2; };
  const auto onRow = [&](int k) { return k == block.row1 || k == block.row2; };
  for (int k = 0; k < view.rows; ++k) {
    for (int c = std::max(view.margin, 0); c < view.width; ++c) {
      bool marked = false;
      if (mark == CentreMark::kCrosshair) {
        marked = onColumn(c) || onRow(k);
      } else {
        marked = (onColumn(c) && k > block.row1 && k < block.row2) ||
                 (onRow(k) && c > block.column1 && c < block.column2);
      }
      if (!marked) continue;
      if (uint8_t* pixel = TargetPixel(target, view, c, k)) {
        // Bytes are blue, green, red: the crosshair inverts green and blue, the box red and green.
        if (mark == CentreMark::kCrosshair) {
          InvertBytes(pixel, 0, 1);
        } else {
          InvertBytes(pixel, 1, 2);
        }
      }
    }
  }
}

RulerScale RulerScaleOf(int pixelCount, int viewWidth) {
  if (pixelCount <= 0) return {};
  const double blocks = static_cast<double>(viewWidth) / pixelCount;
  if (blocks < 3) return {5.0 * viewWidth / pixelCount, true};
  return {blocks, false};
}

namespace {
int TickThickness(int j) { return j % 10 == 0 ? 3 : (j % 5 == 0 ? 2 : 1); }
}  // namespace

RulerTick TopRulerTick(const RulerScale& scale, int margin, int j) {
  return {static_cast<int>(std::floor(margin + j * scale.spacing + 0.0001)), TickThickness(j)};
}

RulerTick LeftRulerTick(const RulerScale& scale, int j) {
  return {static_cast<int>(std::floor(j * scale.spacing + 0.0001)), TickThickness(j)};
}

void PaintRulers(ImageView target, const MagnifierView& view, int pixelCount) {
  const RulerScale scale = RulerScaleOf(pixelCount, view.width);
  if (target.Empty() || view.margin <= 0 || scale.spacing <= 0) return;
  const uint8_t ground[3] = {static_cast<uint8_t>(scale.pink ? 180 : 255),
                             static_cast<uint8_t>(scale.pink ? 180 : 255), 255};
  const uint8_t black[3] = {0, 0, 0};
  const int topFirstRow = view.rows;
  const int topEndRow = view.rows + view.margin;

  // Top ruler: columns margin to width - 1 of the top margin rows; a tick runs through all of them.
  for (int k = topFirstRow; k < topEndRow; ++k) {
    for (int c = view.margin; c < view.width; ++c) SetPixel(target, view, c, k, ground);
  }
  for (int j = 1;; ++j) {
    const RulerTick tick = TopRulerTick(scale, view.margin, j);
    if (tick.position > view.width - 1) break;
    for (int c = tick.position - tick.thickness + 1; c <= tick.position; ++c) {
      if (c < view.margin) continue;
      for (int k = topFirstRow; k < topEndRow; ++k) SetPixel(target, view, c, k, black);
    }
  }

  // Left ruler: the margin columns of rows 1 to rows - 1; a tick at k blackens row k + 1,
  // and rows k (fifth) or k and k + 2 (tenth) as well.
  for (int k = 1; k < view.rows; ++k) {
    for (int c = 0; c < view.margin; ++c) SetPixel(target, view, c, k, ground);
  }
  for (int j = 1;; ++j) {
    const RulerTick tick = LeftRulerTick(scale, j);
    if (tick.position > view.rows - 1) break;
    const int low = tick.thickness >= 2 ? tick.position : tick.position + 1;
    const int high = tick.thickness == 3 ? tick.position + 2 : tick.position + 1;
    for (int k = std::max(low, 1); k <= std::min(high, view.rows - 1); ++k) {
      for (int c = 0; c < view.margin; ++c) SetPixel(target, view, c, k, black);
    }
  }
}

}  // namespace pictornx
