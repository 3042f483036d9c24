#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <vector>

#include "pixels/image_buffer.h"
#include "pixels/transform.h"

namespace pictornx {
namespace {

constexpr uint8_t kPadding = 0xEE;

// Every pixel distinct (for images below 2^24 pixels), every padding byte kPadding.
ImageBuffer Numbered(int width, int height) {
  ImageBuffer image(width, height);
  std::memset(image.Bytes().data(), kPadding, image.Bytes().size());
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const uint32_t n = static_cast<uint32_t>(y * width + x) * 2654435761u;
      uint8_t* p = image.View().TopRow(y) + x * 3;
      p[0] = static_cast<uint8_t>(n >> 8);
      p[1] = static_cast<uint8_t>(n >> 16);
      p[2] = static_cast<uint8_t>(n >> 24);
    }
  }
  return image;
}

ImageBuffer Blank(Transform transform, const ImageBuffer& source) {
  const bool swaps = SwapsAxes(transform);
  ImageBuffer image(swaps ? source.Height() : source.Width(),
                    swaps ? source.Width() : source.Height());
  std::memset(image.Bytes().data(), kPadding, image.Bytes().size());
  return image;
}

ImageBuffer Transformed(Transform transform, const ImageBuffer& source) {
  ImageBuffer result = Blank(transform, source);
  EXPECT_TRUE(TransformImage(transform, source.View(), result.View()));
  return result;
}

// The picture coordinates (x, y from the top-left) a source pixel moves to.
void Target(Transform transform, int width, int height, int x, int y, int* tx, int* ty) {
  switch (transform) {
    case Transform::kMirrorLeftRight: *tx = width - 1 - x, *ty = y; return;
    case Transform::kMirrorTopBottom: *tx = x, *ty = height - 1 - y; return;
    case Transform::kRotateClockwise: *tx = height - 1 - y, *ty = x; return;
    case Transform::kRotateCounterClockwise: *tx = y, *ty = width - 1 - x; return;
  }
}

bool PaddingIntact(const ImageBuffer& image) {
  for (int y = 0; y < image.Height(); ++y) {
    for (int i = image.Width() * 3; i < image.Stride(); ++i) {
      if (image.View().Row(y)[i] != kPadding) return false;
    }
  }
  return true;
}

constexpr Transform kAll[] = {Transform::kMirrorLeftRight, Transform::kMirrorTopBottom,
                              Transform::kRotateClockwise, Transform::kRotateCounterClockwise};

// Small sizes of every padding (widths 1 to 4 give 1, 2, 3 and 0 padding bytes), and sizes
// that cross the turns' 64-pixel blocks with part-blocks at both edges.
TEST(TransformImage, EveryPixelLandsWhereThePictureSaysAndPaddingIsKept) {
  std::vector<std::pair<int, int>> sizes = {{67, 131}, {130, 65}, {128, 64}, {200, 3}};
  for (int w = 1; w <= 6; ++w) {
    for (int h = 1; h <= 6; ++h) sizes.emplace_back(w, h);
  }
  for (const auto& [w, h] : sizes) {
    const ImageBuffer source = Numbered(w, h);
    for (const Transform transform : kAll) {
      SCOPED_TRACE(testing::Message() << w << "x" << h << " kind " << static_cast<int>(transform));
      const ImageBuffer result = Transformed(transform, source);
      for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
          int tx = 0, ty = 0;
          Target(transform, w, h, x, y, &tx, &ty);
          ASSERT_EQ(std::memcmp(result.View().TopRow(ty) + tx * 3,
                                source.View().TopRow(y) + x * 3, 3), 0)
              << "pixel " << x << "," << y;
        }
      }
      EXPECT_TRUE(PaddingIntact(result));
    }
  }
}

TEST(TransformImage, OneColumnTurnsIntoOneRow) {
  const ImageBuffer column = Numbered(1, 5);
  const uint8_t* top = column.View().TopRow(0);
  const uint8_t* bottom = column.View().TopRow(4);

  const ImageBuffer clockwise = Transformed(Transform::kRotateClockwise, column);
  ASSERT_EQ(clockwise.Width(), 5);
  ASSERT_EQ(clockwise.Height(), 1);
  EXPECT_EQ(std::memcmp(clockwise.View().Row(0) + 4 * 3, top, 3), 0);  // right-most
  EXPECT_EQ(std::memcmp(clockwise.View().Row(0), bottom, 3), 0);       // left-most

  const ImageBuffer counter = Transformed(Transform::kRotateCounterClockwise, column);
  EXPECT_EQ(std::memcmp(counter.View().Row(0), top, 3), 0);
  EXPECT_EQ(std::memcmp(counter.View().Row(0) + 4 * 3, bottom, 3), 0);
}

TEST(TransformImage, ThreeByTwoTurnsIntoRowsOfEightBytes) {
  // Picture rows from the top: a b c / d e f, one byte value per pixel.
  ImageBuffer source(3, 2);
  ASSERT_EQ(source.Stride(), 12);
  const uint8_t top[] = {'a', 'a', 'a', 'b', 'b', 'b', 'c', 'c', 'c'};
  const uint8_t bottom[] = {'d', 'd', 'd', 'e', 'e', 'e', 'f', 'f', 'f'};
  std::memcpy(source.View().TopRow(0), top, 9);
  std::memcpy(source.View().TopRow(1), bottom, 9);

  // Clockwise: d a / e b / f c; memory starts with the bottom row f c.
  ImageBuffer turned(2, 3);
  std::memset(turned.Bytes().data(), kPadding, turned.Bytes().size());
  ASSERT_TRUE(TransformImage(Transform::kRotateClockwise, source.View(), turned.View()));
  const std::vector<uint8_t> expected = {
      'f', 'f', 'f', 'c', 'c', 'c', kPadding, kPadding,
      'e', 'e', 'e', 'b', 'b', 'b', kPadding, kPadding,
      'd', 'd', 'd', 'a', 'a', 'a', kPadding, kPadding};
  EXPECT_EQ(turned.Bytes(), expected);
}

TEST(TransformImage, RepeatedTransformsRestoreThePicture) {
  for (const auto& [w, h] : {std::pair{5, 3}, std::pair{70, 66}}) {
    const ImageBuffer source = Numbered(w, h);
    for (const Transform turn : {Transform::kRotateClockwise, Transform::kRotateCounterClockwise}) {
      ImageBuffer image = Numbered(w, h);
      for (int i = 0; i < 4; ++i) image = Transformed(turn, image);
      EXPECT_EQ(image.Bytes(), source.Bytes());
    }
    for (const Transform mirror : {Transform::kMirrorLeftRight, Transform::kMirrorTopBottom}) {
      EXPECT_EQ(Transformed(mirror, Transformed(mirror, source)).Bytes(), source.Bytes());
    }
    const ImageBuffer there = Transformed(Transform::kRotateClockwise, source);
    EXPECT_EQ(Transformed(Transform::kRotateCounterClockwise, there).Bytes(), source.Bytes());
  }
}

TEST(TransformImage, RefusesMismatchedViewsAndWritesNothing) {
  ImageBuffer source = Numbered(3, 2);
  ImageBuffer same = Blank(Transform::kMirrorLeftRight, source);  // 3 x 2
  ImageBuffer turned = Blank(Transform::kRotateClockwise, source);  // 2 x 3
  const std::vector<uint8_t> before = same.Bytes();
  EXPECT_FALSE(TransformImage(Transform::kRotateClockwise, source.View(), same.View()));
  EXPECT_FALSE(TransformImage(Transform::kMirrorTopBottom, source.View(), turned.View()));
  EXPECT_FALSE(TransformImage(static_cast<Transform>(0), source.View(), same.View()));
  EXPECT_FALSE(TransformImage(static_cast<Transform>(5), source.View(), same.View()));
  EXPECT_FALSE(TransformImage(Transform::kMirrorLeftRight, source.View(), source.View()));
  EXPECT_FALSE(TransformImage(Transform::kMirrorLeftRight, source.View(), ImageView{}));
  ImageView shortRows = same.View();
  shortRows.stride = 8;
  EXPECT_FALSE(TransformImage(Transform::kMirrorLeftRight, source.View(), shortRows));
  EXPECT_EQ(same.Bytes(), before);
}

TEST(TransformedView, QuarterTurnsTakeTheRowSizeOfTheNewWidth) {
  uint8_t bits[24];
  const ImageView mirrored = TransformedView(Transform::kMirrorLeftRight, bits, 3, 2);
  EXPECT_EQ(mirrored.width, 3);
  EXPECT_EQ(mirrored.height, 2);
  EXPECT_EQ(mirrored.stride, 12);
  const ImageView turned = TransformedView(Transform::kRotateCounterClockwise, bits, 3, 2);
  EXPECT_EQ(turned.bits, bits);
  EXPECT_EQ(turned.width, 2);
  EXPECT_EQ(turned.height, 3);
  EXPECT_EQ(turned.stride, 8);
}

}  // namespace
}  // namespace pictornx
