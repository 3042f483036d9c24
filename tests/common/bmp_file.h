// A whole 24-bit BMP file of an image in memory, for the tests, the benchmarks and the demo
// host's screenshots. It allocates with std::vector, so it stays out of the library.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "codecs/bmp.h"
#include "pixels/image.h"

namespace pictornx {

// Empty when the image is empty or too large.
inline std::vector<uint8_t> EncodeBmp24(ConstImageView image) {
  if (image.Empty() || ImageBytes(image.width, image.height) < 0) return {};
  const auto header = BmpHeader24(image.width, image.height);
  const auto row = static_cast<size_t>(RowBytes(image.width));
  std::vector<uint8_t> file(header.size() + row * static_cast<size_t>(image.height), 0);
  std::memcpy(file.data(), header.data(), header.size());
  const size_t pixels = static_cast<size_t>(image.width) * 3;
  for (int y = 0; y < image.height; ++y)
    std::memcpy(file.data() + header.size() + row * static_cast<size_t>(y), image.Row(y), pixels);
  return file;
}

}  // namespace pictornx
