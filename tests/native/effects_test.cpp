#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "pixels/effects.h"
#include "pixels/image_buffer.h"

namespace pictornx {
namespace {

// The levels as plain double arithmetic, the way they are defined (x86-64 doubles are IEEE).
int GreyByDoubles(int b, int g, int r) {
  return static_cast<int>(0.587 * g + 0.288 * r + 0.114 * b);
}
int SepiaByDoubles(int b, int g, int r) {
  return static_cast<int>(0.3 * r + 0.6 * g + 0.1 * b);
}

TEST(ColourLevels, ExamplesOfTheEffects) {
  EXPECT_EQ(GreyLevel(255, 255, 255), 252);
  EXPECT_EQ(GreyLevel(0, 0, 255), 73);  // red
  EXPECT_EQ(GreyLevel(255, 0, 0), 29);  // blue
  EXPECT_EQ(SepiaLevel(0, 0, 0), 0);
  EXPECT_EQ(SepiaLevel(255, 255, 255), 255);
  // Decimal sums of exactly 45 and 2 that double rounding puts a hair below.
  EXPECT_EQ(GreyLevel(24, 72, 0), 44);
  EXPECT_EQ(SepiaLevel(2, 3, 0), 1);
}

// Double rounding can only make a difference where the decimal sum is a whole number: every
// such colour is compared, and a grid of all others.
TEST(ColourLevels, MatchDoubleArithmeticWhereverRoundingCanMatter) {
  for (int g = 0; g < 256; ++g) {
    for (int r = 0; r < 256; ++r) {
      for (int b = 0; b < 256; ++b) {
        if ((587 * g + 288 * r + 114 * b) % 1000 == 0) {
          ASSERT_EQ(GreyLevel(b, g, r), GreyByDoubles(b, g, r)) << b << " " << g << " " << r;
        }
      }
      // 3r + 6g + b is a multiple of 10 for every tenth blue from the first that makes it so.
      for (int b = (10 - (3 * r + 6 * g) % 10) % 10; b < 256; b += 10) {
        ASSERT_EQ(SepiaLevel(b, g, r), SepiaByDoubles(b, g, r)) << b << " " << g << " " << r;
      }
    }
  }
  for (int g = 0; g < 256; g += 3) {
    for (int r = 1; r < 256; r += 3) {
      for (int b = 2; b < 256; b += 3) {
        ASSERT_EQ(GreyLevel(b, g, r), GreyByDoubles(b, g, r)) << b << " " << g << " " << r;
        ASSERT_EQ(SepiaLevel(b, g, r), SepiaByDoubles(b, g, r)) << b << " " << g << " " << r;
      }
    }
  }
}

constexpr uint8_t kPadding = 0xEE;

// Random pixels, padding bytes kPadding; 7 pixels wide, so each row has 3 padding bytes.
ImageBuffer Noise(int width, int height) {
  ImageBuffer image(width, height);
  std::memset(image.Bytes().data(), kPadding, image.Bytes().size());
  std::mt19937 random(7);
  for (int y = 0; y < height; ++y) {
    for (int i = 0; i < width * 3; ++i) image.View().Row(y)[i] = static_cast<uint8_t>(random());
  }
  return image;
}

bool PaddingIntact(const ImageBuffer& image) {
  for (int y = 0; y < image.Height(); ++y) {
    for (int i = image.Width() * 3; i < image.Stride(); ++i) {
      if (image.View().Row(y)[i] != kPadding) return false;
    }
  }
  return true;
}

TEST(ColourEffects, ChangeEveryPixelAndNoPadding) {
  const ImageBuffer source = Noise(7, 5);
  ImageBuffer grey = source, sepia = source;
  GreyImage(grey.View());
  SepiaImage(sepia.View());
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 7; ++x) {
      const uint8_t* p = source.View().Row(y) + x * 3;
      const int v = GreyLevel(p[0], p[1], p[2]);
      const uint8_t* q = grey.View().Row(y) + x * 3;
      EXPECT_EQ(q[0], v);
      EXPECT_EQ(q[1], v);
      EXPECT_EQ(q[2], v);
      const int s = SepiaLevel(p[0], p[1], p[2]);
      const uint8_t* t = sepia.View().Row(y) + x * 3;
      EXPECT_EQ(t[0], s >= 20 ? s - 20 : 0);
      EXPECT_EQ(t[1], s);
      EXPECT_EQ(t[2], s + 40 > 255 ? 255 : s + 40);
    }
  }
  EXPECT_TRUE(PaddingIntact(grey));
  EXPECT_TRUE(PaddingIntact(sepia));
}

// Every colour once, in rows of 4093 pixels: vectors of 16 pixels and a tail in each row.
TEST(ColourEffects, WholeImagesGiveTheLevelOfEveryColour) {
  constexpr int kWidth = 4093, kColours = 1 << 24, kHeight = (kColours + kWidth - 1) / kWidth;
  ImageBuffer source(kWidth, kHeight);
  std::memset(source.Bytes().data(), kPadding, source.Bytes().size());
  for (int i = 0; i < kWidth * kHeight; ++i) {
    uint8_t* p = source.View().Row(i / kWidth) + 3 * (i % kWidth);
    const int colour = i % kColours;
    p[0] = static_cast<uint8_t>(colour);
    p[1] = static_cast<uint8_t>(colour >> 8);
    p[2] = static_cast<uint8_t>(colour >> 16);
  }
  ImageBuffer grey = source, sepia = source;
  GreyImage(grey.View());
  SepiaImage(sepia.View());
  for (int y = 0; y < kHeight; ++y) {
    const uint8_t* p = source.View().Row(y);
    const uint8_t* q = grey.View().Row(y);
    const uint8_t* t = sepia.View().Row(y);
    for (int x = 0; x < kWidth; ++x, p += 3, q += 3, t += 3) {
      const int v = GreyLevel(p[0], p[1], p[2]), s = SepiaLevel(p[0], p[1], p[2]);
      const bool greyRight = q[0] == v && q[1] == v && q[2] == v;
      const bool sepiaRight = t[0] == (s >= 20 ? s - 20 : 0) && t[1] == s &&
                              t[2] == (s + 40 > 255 ? 255 : s + 40);
      ASSERT_TRUE(greyRight && sepiaRight) << int{p[0]} << " " << int{p[1]} << " " << int{p[2]};
    }
  }
  EXPECT_TRUE(PaddingIntact(grey));
  EXPECT_TRUE(PaddingIntact(sepia));
}

TEST(ColourEffects, SepiaOfBlackAndWhite) {
  ImageBuffer image(2, 1);
  std::memset(image.View().Row(0) + 3, 255, 3);
  SepiaImage(image.View());
  const std::vector<uint8_t> expected = {0, 0, 40, 235, 255, 255, 0, 0};  // B G R, B G R
  EXPECT_EQ(image.Bytes(), expected);
}

TEST(ColourEffects, InvertComplementsEveryByteAndTwiceRestores) {
  // 70 pixels: rows of 210 bytes cover the whole-block path and a tail.
  const ImageBuffer source = Noise(70, 3);
  ImageBuffer image = source;
  InvertImage(image.View());
  for (int y = 0; y < 3; ++y) {
    for (int i = 0; i < 210; ++i) {
      ASSERT_EQ(image.View().Row(y)[i], 255 - source.View().Row(y)[i]);
    }
  }
  EXPECT_TRUE(PaddingIntact(image));
  InvertImage(image.View());
  EXPECT_EQ(image.Bytes(), source.Bytes());
}

}  // namespace
}  // namespace pictornx
