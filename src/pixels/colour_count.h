// Counting the distinct 24-bit colours of an image with a set of 2^24 bits.
#pragma once

#include <cstddef>
#include <cstdint>

#include "pixels/image.h"

namespace pictornx {

// Bytes of the colour set: one bit per colour value R * 65536 + G * 256 + B, the bit of
// value x in byte x >> 3 at bit x & 7 (least significant first).
inline constexpr size_t kColourSetBytes = size_t{1} << 21;

// Marks every pixel's colour in `set` (kColourSetBytes, zero on entry) and returns how
// many distinct colours the image has. Padding bytes after each row are never read as
// pixels.
int64_t MarkColours(ConstImageView image, uint8_t* set);

// The same with a set of its own; -1 when the 2 MB set cannot be allocated (never throws).
int64_t CountDistinctColours(ConstImageView image);

}  // namespace pictornx
