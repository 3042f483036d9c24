#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "pixels/crop.h"
#include "pixels/image_buffer.h"
#include "pixels/screen_palette.h"

namespace pictornx {
namespace {

// Fills every pixel with bytes that encode its picture position (x, y from the top).
void FillWithPositions(ImageView v) {
  for (int y = 0; y < v.height; ++y)
    for (int x = 0; x < v.width; ++x) {
      uint8_t* p = v.TopRow(y) + x * 3;
      p[0] = static_cast<uint8_t>(x);
      p[1] = static_cast<uint8_t>(y);
      p[2] = 0xAB;
    }
}

TEST(CopyRectangle, CopiesPictureRectangleBottomRowFirst) {
  ImageBuffer screen(10, 8);
  FillWithPositions(screen.View());
  ImageBuffer out(3, 2);
  ASSERT_TRUE(CopyRectangle(screen.View(), 4, 5, 3, 2, out.View()));
  // Picture row 0 of the crop is screen row 5; memory row 0 is the crop's bottom row (6).
  EXPECT_EQ(out.View().TopRow(0)[0], 4);
  EXPECT_EQ(out.View().TopRow(0)[1], 5);
  EXPECT_EQ(out.View().Row(0)[1], 6);
  EXPECT_EQ(out.View().Row(0)[2 * 3], 6);  // x = 6
}

TEST(CopyRectangle, RefusesRectanglesOutsideTheSource) {
  ImageBuffer screen(10, 8);
  ImageBuffer out(3, 2);
  EXPECT_FALSE(CopyRectangle(screen.View(), 8, 0, 3, 2, out.View()));   // past the right edge
  EXPECT_FALSE(CopyRectangle(screen.View(), 0, 7, 3, 2, out.View()));   // past the bottom
  EXPECT_FALSE(CopyRectangle(screen.View(), -1, 0, 3, 2, out.View()));
  EXPECT_FALSE(CopyRectangle(screen.View(), 0, 0, 0, 2, out.View()));
  EXPECT_FALSE(CopyRectangle(screen.View(), 0, 0, 2, 2, out.View()));   // destination mismatch
  EXPECT_TRUE(CopyRectangle(screen.View(), 7, 6, 3, 2, out.View()));    // touching both far edges
}

TEST(CopyRectangle, CropsInPlaceIntoTheSameMemory) {
  ImageBuffer screen(7, 5);  // row size 24
  FillWithPositions(screen.View());
  ImageBuffer expected(5, 3);  // row size 16
  ASSERT_TRUE(CopyRectangle(screen.View(), 1, 1, 5, 3, expected.View()));
  ImageView packed{screen.View().bits, 5, 3, 16};
  ASSERT_TRUE(CopyRectangle(screen.View(), 1, 1, 5, 3, packed));
  for (int y = 0; y < 3; ++y)
    EXPECT_EQ(0, std::memcmp(packed.Row(y), expected.View().Row(y), 15)) << "row " << y;
}

TEST(ScreenPalette, HoldsTheFixedColoursOnceEach) {
  const auto& table = ScreenPaletteColours();
  auto rgb = [&](int i) { return table[i].red << 16 | table[i].green << 8 | table[i].blue; };
  EXPECT_EQ(rgb(0), 0x800000);
  EXPECT_EQ(rgb(8), 0xA6CAF0);
  EXPECT_EQ(rgb(9), 0x040404);
  EXPECT_EQ(rgb(20), 0x555555);
  EXPECT_EQ(rgb(21), 0xFF7C80);
  EXPECT_EQ(rgb(27), 0xADA990);
  EXPECT_EQ(rgb(232), 0xA50021);
  EXPECT_EQ(rgb(233), 0x5F5F5F);
  EXPECT_EQ(rgb(244), 0xF8F8F8);
  EXPECT_EQ(rgb(247), 0x808080);
  EXPECT_EQ(rgb(248), 0xFF0000);
  EXPECT_EQ(rgb(255), 0x000000);
  std::set<int> colours;
  int cube = 0;
  for (int i = 0; i < 256; ++i) {
    colours.insert(rgb(i));
    const bool inCube = table[i].red % 0x33 == 0 && table[i].green % 0x33 == 0 && table[i].blue % 0x33 == 0;
    if ((i >= 28 && i <= 231) || i >= 248) {
      EXPECT_TRUE(inCube) << i;
      ++cube;
    }
  }
  EXPECT_EQ(cube, 212);
  EXPECT_EQ(colours.size(), 256u);
  for (int absent : {0x0033FF, 0x00FF33, 0x3300FF, 0x33FF00}) EXPECT_EQ(colours.count(absent), 0u);
}

}  // namespace
}  // namespace pictornx
