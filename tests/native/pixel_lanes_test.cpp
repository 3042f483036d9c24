// The SSE2 pixel helpers the colour and quality kernels share: splitting 16 pixels into
// channels, spreading them to one word each and packing words back, on bytes that say
// where they came from. The pixels sit in a heap block of exactly 48 bytes (a read past
// them fails under AddressSanitizer); the packed output has guard bytes either side.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "pixels/pixel_lanes.h"

#if defined(__SSE2__)
namespace pictornx {
namespace {

constexpr int kGuard = 16;

TEST(PixelLanes, ChannelsWordsAndPackingKeepEveryByteInItsPlace) {
  std::vector<uint8_t> block(48);
  for (int i = 0; i < 48; ++i) block[i] = static_cast<uint8_t>(7 * i + 1);
  const uint8_t* pixels = block.data();

  __m128i c[3];
  lanes::Deinterleave(pixels, c[0], c[1], c[2]);
  __m128i w[4];
  lanes::LoadWords(pixels, w[0], w[1], w[2], w[3]);
  for (int pixel = 0; pixel < 16; ++pixel) {
    uint8_t channels[3][16];
    for (int k = 0; k < 3; ++k) std::memcpy(channels[k], &c[k], 16);
    uint32_t words[4];
    std::memcpy(words, &w[pixel / 4], 16);
    const uint32_t word = words[pixel % 4];
    for (int k = 0; k < 3; ++k) {
      EXPECT_EQ(channels[k][pixel], pixels[3 * pixel + k]) << pixel << " " << k;
      EXPECT_EQ((word >> (8 * k)) & 0xFF, pixels[3 * pixel + k]) << pixel << " " << k;
    }
    EXPECT_EQ(word >> 24, 0u) << pixel;
  }

  uint8_t out[kGuard + 48 + kGuard];
  std::memset(out, 0xEE, sizeof out);
  lanes::StoreWords(out + kGuard, w[0], w[1], w[2], w[3]);
  EXPECT_EQ(std::memcmp(out + kGuard, pixels, 48), 0);
  for (int i = 0; i < kGuard; ++i) {
    EXPECT_EQ(out[i], 0xEE);
    EXPECT_EQ(out[kGuard + 48 + i], 0xEE);
  }
}

}  // namespace
}  // namespace pictornx
#endif
