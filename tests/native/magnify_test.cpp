#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "pixels/image_buffer.h"
#include "pixels/magnify.h"

namespace pictornx {
namespace {

ImageBuffer NoiseImage(int width, int height, unsigned seed) {
  ImageBuffer image(width, height);
  std::mt19937 random(seed);
  for (uint8_t& byte : image.Bytes()) byte = static_cast<uint8_t>(random());
  return image;
}

// The view filled pixel by pixel from the formula, the straightforward way.
void ReferenceMagnify(ConstImageView source, ImageView target, const MagnifierView& view, int64_t px, int64_t py,
                      int n) {
  const double step = static_cast<double>(n) / view.width;
  for (int k = 0; k < view.rows; ++k) {
    const int y = view.bottom - k;
    if (y < 0 || y >= target.height) continue;
    const int64_t imageY = py + n / 2 - static_cast<int64_t>(std::floor(k * step + 0.0002));
    for (int c = view.margin; c < view.width; ++c) {
      const int x = view.left + c;
      const int64_t imageX = px - n / 2 + static_cast<int64_t>(std::floor((c - view.margin) * step + 0.0002));
      if (x < 0 || x >= target.width || imageX < 0 || imageX >= source.width || imageY < 0 ||
          imageY >= source.height)
        continue;
      std::memcpy(target.TopRow(y) + x * 3, source.TopRow(static_cast<int>(imageY)) + imageX * 3, 3);
    }
  }
}

TEST(Magnify, GivesTheReferenceBytesAndKeepsTheHatchOutsideTheImage) {
  const ImageBuffer source = NoiseImage(37, 23, 7);
  struct Case {
    int targetWidth, targetHeight;
    MagnifierView view;
    int64_t px, py;
    int n;
  };
  const Case cases[] = {
      {250, 267, {3, 263, 243, 245, 0}, 10, 10, 20},           // defaults, inside
      {250, 267, {3, 263, 243, 240, 5}, 0, 0, 20},             // corner, ruler margin
      {250, 267, {3, 263, 243, 245, 0}, 36, 22, 5},            // odd count at the far corner
      {700, 717, {3, 713, 693, 688, 5}, 18, 11, 200},          // largest settings
      {250, 142, {126, 138, 121, 120, 0}, -3, 25, 20},         // compare's right view, beyond
      {250, 267, {3, 263, 243, 245, 0}, -1000000, 5, 20},      // far left: all hatch
      {250, 267, {3, 263, 243, 245, 0}, INT64_C(1) << 40, -(INT64_C(1) << 40), 7},
      {60, 50, {3, 60, 100, 80, 0}, 5, 5, 9},                  // view larger than the target
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "point " << c.px << "," << c.py << " n " << c.n);
    ImageBuffer expected(c.targetWidth, c.targetHeight);
    std::memset(expected.Bytes().data(), 0x5A, expected.Bytes().size());
    ImageBuffer actual(c.targetWidth, c.targetHeight);
    std::memset(actual.Bytes().data(), 0x5A, actual.Bytes().size());
    ReferenceMagnify(source.View(), expected.View(), c.view, c.px, c.py, c.n);
    MagnifyRegion(source.View(), actual.View(), c.view, c.px, c.py, c.n);
    EXPECT_EQ(std::memcmp(actual.Bytes().data(), expected.Bytes().data(), actual.Bytes().size()), 0);
  }
}

TEST(Magnify, BlocksSpanTheViewEvenlyWithThePointedPixelInTheMiddle) {
  struct Case {
    int n, viewWidth, smallest, largest;
  };
  // 243 view columns: 20 pixels give blocks of 12 or 13, 200 pixels blocks of 1 or 2.
  for (const Case c : {Case{20, 243, 12, 13}, Case{200, 243, 1, 2}, Case{5, 243, 48, 49}}) {
    std::vector<int> blockWidths(c.n, 0);
    for (int column = 0; column < c.viewWidth; ++column) ++blockWidths.at(BlockOffset(column, c.n, c.viewWidth));
    for (int width : blockWidths) {
      EXPECT_GE(width, c.smallest) << c.n;
      EXPECT_LE(width, c.largest) << c.n;
    }
  }
  // Odd counts: with 5 pixels the pointed one is the third across and down.
  ImageBuffer source(5, 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 5; ++x) source.View().TopRow(y)[x * 3] = static_cast<uint8_t>(10 * y + x);
  ImageBuffer target(50, 50);
  const MagnifierView view{0, 49, 50, 50, 0};
  MagnifyRegion(source.View(), target.View(), view, 2, 2, 5);
  EXPECT_EQ(target.View().TopRow(25)[25 * 3], 22);
  EXPECT_EQ(target.View().TopRow(0)[0], 0);
  EXPECT_EQ(target.View().TopRow(49)[49 * 3], 44);
}

uint8_t Byte(const ImageBuffer& image, int x, int y, int channel) { return image.View().TopRow(y)[x * 3 + channel]; }

TEST(Magnify, CentreMarksInvertTheirOwnChannelsOnce) {
  const CentreBlock block = CentreBlockOf(20, 243, 245, 0);
  EXPECT_EQ(block.column1, 121);  // floor(10 * 243 / 20)
  EXPECT_EQ(block.column2, 133);
  EXPECT_EQ(CentreBlockOf(20, 243, 245, 5).column1, 126);
  // Blocks narrower than a pixel: both bounds on one column, still inverted only once.
  const CentreBlock thin = CentreBlockOf(200, 75, 75, 0);
  EXPECT_EQ(thin.column1, thin.column2);

  const MagnifierView view{3, 99, 90, 90, 0};
  ImageBuffer cross(100, 100);
  std::memset(cross.Bytes().data(), 0x10, cross.Bytes().size());
  PaintCentreMark(cross.View(), view, CentreBlock{thin.column1, thin.column2, 30, 30}, CentreMark::kCrosshair);
  const int markX = 3 + thin.column1;
  EXPECT_EQ(Byte(cross, markX, 50, 0), 0xEF);  // blue and green inverted once, red kept
  EXPECT_EQ(Byte(cross, markX, 50, 1), 0xEF);
  EXPECT_EQ(Byte(cross, markX, 50, 2), 0x10);
  EXPECT_EQ(Byte(cross, markX, 99 - 30, 0), 0xEF);  // where the lines cross: still once
  EXPECT_EQ(Byte(cross, 80, 99 - 30, 1), 0xEF);
  EXPECT_EQ(Byte(cross, 80, 50, 1), 0x10);

  ImageBuffer box(100, 100);
  PaintCentreMark(box.View(), view, CentreBlock{30, 40, 30, 40}, CentreMark::kBox);
  EXPECT_EQ(Byte(box, 3 + 30, 99 - 35, 2), 0xFF);  // left side: red and green
  EXPECT_EQ(Byte(box, 3 + 30, 99 - 35, 1), 0xFF);
  EXPECT_EQ(Byte(box, 3 + 30, 99 - 35, 0), 0x00);
  EXPECT_EQ(Byte(box, 3 + 35, 99 - 40, 2), 0xFF);  // top side
  EXPECT_EQ(Byte(box, 3 + 35, 99 - 35, 2), 0x00);  // inside untouched
  EXPECT_EQ(Byte(box, 3 + 50, 99 - 35, 2), 0x00);  // no full line
}

TEST(Magnify, RulersTickEveryPixelOrEveryFifthOnPink) {
  struct Case {
    int n, viewWidth;
    bool pink;
    double spacing;
  };
  for (const Case c : {Case{20, 243, false, 12.15}, Case{200, 243, true, 6.075}, Case{81, 243, false, 3.0},
                       Case{82, 243, true, 5 * 243.0 / 82}}) {
    const RulerScale scale = RulerScaleOf(c.n, c.viewWidth);
    EXPECT_EQ(scale.pink, c.pink) << c.n;
    EXPECT_DOUBLE_EQ(scale.spacing, c.spacing) << c.n;
  }
  const RulerScale scale = RulerScaleOf(20, 243);
  EXPECT_EQ(TopRulerTick(scale, 5, 1).position, 17);
  EXPECT_EQ(TopRulerTick(scale, 5, 4).thickness, 1);
  EXPECT_EQ(TopRulerTick(scale, 5, 5).thickness, 2);
  EXPECT_EQ(TopRulerTick(scale, 5, 10).thickness, 3);
  EXPECT_EQ(LeftRulerTick(scale, 10).position, 121);

  // Painted: pink ground, a three-wide tenth tick through the top ruler's five rows.
  ImageBuffer image(250, 267);
  const MagnifierView view{3, 263, 243, 240, 5};  // T = 19, H = 245
  PaintRulers(image.View(), view, 200);
  const RulerScale pink = RulerScaleOf(200, 243);
  const int tenth = 3 + TopRulerTick(pink, 5, 10).position;
  for (int y = 19; y < 24; ++y) {
    for (int x = tenth - 2; x <= tenth; ++x) EXPECT_EQ(Byte(image, x, y, 2), 0) << x << "," << y;
    EXPECT_EQ(Byte(image, tenth - 3, y, 2), 255);
    EXPECT_EQ(Byte(image, tenth - 3, y, 1), 180);
  }
  EXPECT_EQ(Byte(image, 3 + 20, 24, 1), 0);  // view rows below the top ruler are not the ruler's
  // Left ruler: an ordinary tick at k blackens row k + 1 only.
  const int k = LeftRulerTick(pink, 1).position;
  EXPECT_EQ(Byte(image, 4, 263 - (k + 1), 2), 0);
  EXPECT_EQ(Byte(image, 4, 263 - k, 2), 255);
  EXPECT_EQ(Byte(image, 4, 263, 2), 0);  // row 0 stays the image's
}

}  // namespace
}  // namespace pictornx
