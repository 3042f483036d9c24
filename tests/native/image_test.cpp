#include <gtest/gtest.h>

#include "pixels/image.h"
#include "pixels/image_buffer.h"

namespace pictornx {
namespace {

TEST(RowBytes, PadsToFourBytes) {
  EXPECT_EQ(RowBytes(1), 4);
  EXPECT_EQ(RowBytes(3), 12);
  EXPECT_EQ(RowBytes(4), 12);
  EXPECT_EQ(RowBytes(5), 16);
  EXPECT_EQ(RowBytes(1023), 3072);
  EXPECT_EQ(RowBytes(1021), 3064);
}

TEST(RowBytes, NonPositiveAndHugeWidths) {
  EXPECT_EQ(RowBytes(0), 0);
  EXPECT_EQ(RowBytes(-7), 0);
  // 2^31 - 1 pixels would overflow 32-bit arithmetic; the 64-bit result is exact.
  EXPECT_EQ(RowBytes(2147483647), 6442450944);
}

TEST(ImageBytes, RefusesEmptyAndOversizedImages) {
  EXPECT_EQ(ImageBytes(3, 2), 24);
  EXPECT_EQ(ImageBytes(0, 5), -1);
  EXPECT_EQ(ImageBytes(5, -1), -1);
  EXPECT_EQ(ImageBytes(65536, 65536), -1);
  EXPECT_EQ(ImageBytes(2147483647, 2147483647), -1);
  EXPECT_GT(ImageBytes(16384, 16384), 0);
}

TEST(ImageBuffer, RowsAreBottomUp) {
  ImageBuffer image(2, 3);
  ASSERT_EQ(image.Stride(), 8);
  ASSERT_EQ(image.Bytes().size(), 24u);
  ImageView v = image.View();
  v.TopRow(0)[0] = 7;  // top row of the picture is the last memory row
  EXPECT_EQ(image.Bytes()[16], 7);
  EXPECT_TRUE(ImageBuffer(0, 3).Empty());
}

}  // namespace
}  // namespace pictornx
