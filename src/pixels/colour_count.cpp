#include "pixels/colour_count.h"

#include <bit>
#include <cstdlib>
#include <cstring>

namespace pictornx {

int64_t MarkColours(ConstImageView image, uint8_t* set) {
  if (image.Empty() || !set) return 0;
  for (int y = 0; y < image.height; ++y) {
    const uint8_t* p = image.Row(y);
    // Neighbouring pixels are often alike; a repeat of the last colour needs no store.
    uint32_t last = 0xFFFFFFFFu;
    for (int x = 0; x < image.width; ++x, p += 3) {
      const uint32_t value = (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
      if (value == last) continue;
      last = value;
      set[value >> 3] |= static_cast<uint8_t>(1u << (value & 7));
    }
  }
  // The bits are counted once at the end: one pass over 2 MB instead of a test per pixel.
  int64_t count = 0;
  for (size_t i = 0; i < kColourSetBytes; i += 8) {
    uint64_t word;
    std::memcpy(&word, set + i, 8);
    count += std::popcount(word);
  }
  return count;
}

int64_t CountDistinctColours(ConstImageView image) {
  auto* set = static_cast<uint8_t*>(std::calloc(kColourSetBytes, 1));
  if (!set) return -1;
  const int64_t count = MarkColours(image, set);
  std::free(set);
  return count;
}

}  // namespace pictornx
