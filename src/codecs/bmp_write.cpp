#include <cstring>

#include "codecs/bmp.h"

namespace pictornx {
namespace {

void Put16(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

void Put32(uint8_t* p, uint32_t v) {
  Put16(p, v & 0xFFFF);
  Put16(p + 2, v >> 16);
}

}  // namespace

std::array<uint8_t, kBmpHeaderBytes> BmpHeader24(int width, int height) {
  const auto pixelBytes = static_cast<uint32_t>(ImageBytes(width, height));
  std::array<uint8_t, kBmpHeaderBytes> h{};
  h[0] = 'B';
  h[1] = 'M';
  Put32(&h[2], kBmpHeaderBytes + pixelBytes);  // bfSize
  Put32(&h[10], kBmpHeaderBytes);              // bfOffBits
  Put32(&h[14], 40);                           // biSize
  Put32(&h[18], static_cast<uint32_t>(width));
  Put32(&h[22], static_cast<uint32_t>(height));  // positive: bottom-up rows
  Put16(&h[26], 1);                              // biPlanes
  Put16(&h[28], 24);                             // biBitCount
  Put32(&h[34], pixelBytes);                     // biSizeImage
  return h;
}

std::vector<uint8_t> EncodeBmp24(ConstImageView image) {
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
