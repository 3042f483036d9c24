#include <gtest/gtest.h>

#include "bmp_file.h"
#include "codecs/bmp.h"
#include "pixels/image_buffer.h"

namespace pictornx {
namespace {

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (uint32_t{b[at + 3]} << 24);
}

TEST(EncodeBmp24, ThreeByTwoIsSeventyEightBytes) {
  ImageBuffer image(3, 2);
  const auto file = EncodeBmp24(image.View());
  ASSERT_EQ(file.size(), 78u);
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  EXPECT_EQ(Le32(file, 2), 78u);   // bfSize
  EXPECT_EQ(Le32(file, 10), 54u);  // bfOffBits
  EXPECT_EQ(Le32(file, 14), 40u);  // biSize
  EXPECT_EQ(Le32(file, 18), 3u);
  EXPECT_EQ(Le32(file, 22), 2u);
  EXPECT_EQ(file[26] | (file[27] << 8), 1);   // planes
  EXPECT_EQ(file[28] | (file[29] << 8), 24);  // bits
  EXPECT_EQ(Le32(file, 34), 24u);             // biSizeImage
}

TEST(EncodeBmp24, WritesRowsBottomFirstWithZeroPadding) {
  ImageBuffer image(1, 2);
  auto& bytes = image.Bytes();
  bytes.assign(bytes.size(), 0xEE);  // padding garbage must not reach the file
  ImageView v = image.View();
  v.Row(0)[0] = 1;  // bottom row
  v.Row(1)[0] = 2;  // top row
  const auto file = EncodeBmp24(image.View());
  ASSERT_EQ(file.size(), 54u + 8u);
  EXPECT_EQ(file[54], 1);
  EXPECT_EQ(file[58], 2);
  EXPECT_EQ(file[57], 0);  // padding byte
  EXPECT_EQ(file[61], 0);
}

TEST(EncodeBmp24, EmptyImageGivesNothing) {
  EXPECT_TRUE(EncodeBmp24(ConstImageView{}).empty());
}

}  // namespace
}  // namespace pictornx
