#include "ui/window_shape_rules.h"

#include <algorithm>
#include <new>

namespace pictornx {
namespace {

// Calls run(start, end) for each run of kept pixels in `row`, left to right.
template <typename Run>
void ForEachRun(const uint8_t* row, int width, Rgb key, bool keepKey, Run run) {
  for (int x = 0; x < width;) {
    if (key.Matches(row + x * 3) != keepKey) {
      ++x;
      continue;
    }
    const int start = x;
    while (x < width && key.Matches(row + x * 3) == keepKey) ++x;
    run(start, x);
  }
}

}  // namespace

MaskRectangleList MaskRectangles(ConstImageView mask, Rgb key, MaskKeeps keeps) {
  MaskRectangleList list;
  if (mask.Empty()) return list;
  const bool keepKey = keeps == MaskKeeps::kKeyPixels;
  // Every rectangle starts as a run, so the runs bound the rectangles, and one row's runs
  // bound the rectangles open at a time.
  size_t runs = 0, widestRow = 0;
  for (int y = 0; y < mask.height; ++y) {
    size_t rowRuns = 0;
    ForEachRun(mask.TopRow(y), mask.width, key, keepKey, [&](int, int) { ++rowRuns; });
    runs += rowRuns;
    widestRow = std::max(widestRow, rowRuns);
  }
  if (runs == 0) return list;
  list.items_.reset(new (std::nothrow) PixelRect[runs]);
  std::unique_ptr<size_t[]> open(new (std::nothrow) size_t[widestRow]);
  std::unique_ptr<size_t[]> next(new (std::nothrow) size_t[widestRow]);
  if (!list.items_ || !open || !next) {
    list.items_.reset();
    list.ok_ = false;
    return list;
  }
  PixelRect* rectangles = list.items_.get();
  size_t& count = list.count_;
  // Rectangles that reach the row above, in order of their left edge; runs of one row are
  // found left to right, so matching them is a single merge-like walk.
  size_t openCount = 0;
  for (int y = 0; y < mask.height; ++y) {
    size_t nextCount = 0, o = 0;
    ForEachRun(mask.TopRow(y), mask.width, key, keepKey, [&](int start, int end) {
      while (o < openCount && rectangles[open[o]].left < start) ++o;
      if (o < openCount && rectangles[open[o]].left == start && rectangles[open[o]].right == end) {
        rectangles[open[o]].bottom = y + 1;
        next[nextCount++] = open[o];
      } else {
        rectangles[count] = {start, y, end, y + 1};
        next[nextCount++] = count++;
      }
    });
    open.swap(next);
    openCount = nextCount;
  }
  return list;
}

}  // namespace pictornx
