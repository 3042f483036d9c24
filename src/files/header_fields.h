// Little-endian fields of a file's headers and the size cap that the checks before the
// picture loader share (files/open_rules.cpp, files/metafile_rules.cpp). Portable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "codecs/codec_status.h"
#include "pixels/image.h"

namespace pictornx::header_fields {

// Bitmap compressions (biCompression).
inline constexpr uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3, kBiJpeg = 4, kBiPng = 5;

inline uint32_t Le16(std::span<const uint8_t> bytes, size_t at) { return bytes[at] | bytes[at + 1] << 8; }
inline uint32_t Le32(std::span<const uint8_t> bytes, size_t at) {
  return Le16(bytes, at) | Le16(bytes, at + 2) << 16;
}

// A picture no image of this library can hold: a side above kMaxCodecSide or pixel bytes
// above the image cap, whatever the signs of the sides.
inline bool Oversized(int64_t width, int64_t height) {
  if (width < 0) width = -width;
  if (height < 0) height = -height;
  if (width == 0 || height == 0) return false;  // nothing to allocate; the reader refuses it
  return width > kMaxCodecSide || height > kMaxCodecSide || ImageBytes(width, height) < 0;
}

}  // namespace pictornx::header_fields
