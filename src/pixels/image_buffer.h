// A heap-owned image in the shared layout, for portable code and tests that need pixels
// without a DIB section.
#pragma once

#include <cstdint>
#include <vector>

#include "pixels/image.h"

namespace pictornx {

class ImageBuffer {
 public:
  ImageBuffer() = default;
  // An image of the given size, all bytes (padding included) zero. A size refused by
  // ImageBytes gives an empty buffer.
  ImageBuffer(int width, int height);

  ImageView View() { return {bytes_.data(), width_, height_, stride_}; }
  ConstImageView View() const { return {bytes_.data(), width_, height_, stride_}; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  int Stride() const { return stride_; }
  bool Empty() const { return bytes_.empty(); }
  std::vector<uint8_t>& Bytes() { return bytes_; }
  const std::vector<uint8_t>& Bytes() const { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
  int width_ = 0;
  int height_ = 0;
  int stride_ = 0;
};

}  // namespace pictornx
