// The rectangles of a window shape drawn in a bitmap: portable (no windows.h), so the
// window_shape.h region maker and the native tests share it.
#pragma once

#include <cstddef>
#include <memory>

#include "pixels/image.h"

namespace pictornx {

enum class MaskKeeps { kKeyPixels, kOtherPixels };

// Rectangles in working memory that is had without throwing.
class MaskRectangleList {
 public:
  // False when the working memory could not be had (the list is then empty).
  bool Ok() const { return ok_; }
  const PixelRect* begin() const { return items_.get(); }
  const PixelRect* end() const { return items_.get() + count_; }
  size_t size() const { return count_; }
  bool empty() const { return count_ == 0; }

 private:
  friend MaskRectangleList MaskRectangles(ConstImageView mask, Rgb key, MaskKeeps keeps);
  std::unique_ptr<PixelRect[]> items_;
  size_t count_ = 0;
  bool ok_ = true;
};

// The pixels of `mask` that are (kKeyPixels) or are not (kOtherPixels) the colour `key`, as
// rectangles in picture coordinates: each row's runs, a run extended downward while the
// rows below have a run with the same ends. Rectangles do not overlap.
MaskRectangleList MaskRectangles(ConstImageView mask, Rgb key, MaskKeeps keeps);

}  // namespace pictornx
