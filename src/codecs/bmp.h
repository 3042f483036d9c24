// The 24-bit BMP file layout: a 14-byte file header, a 40-byte BITMAPINFOHEADER and the
// padded pixel rows, bottom row first. Little-endian throughout.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "pixels/image.h"

namespace pictornx {

inline constexpr int kBmpHeaderBytes = 54;

// The 54 header bytes of a 24-bit BMP of the given size. The size must be accepted by
// ImageBytes.
std::array<uint8_t, kBmpHeaderBytes> BmpHeader24(int width, int height);

// A whole 24-bit BMP file of the image: header and rows, padding bytes written as zero.
// Empty when the image is empty.
std::vector<uint8_t> EncodeBmp24(ConstImageView image);

}  // namespace pictornx
