#include "pixels/resample.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "pixels/image_buffer.h"
#include "resample_reference.h"

namespace pictornx {
namespace {

using testing::PhotoLikeImage;
using testing::RandomImage;
using testing::UniformImage;

constexpr uint8_t kSentinel = 0xA5;

// A view filled with a sentinel, padding included, so writes outside the pixels show.
ImageBuffer SentinelImage(int width, int height) {
  ImageBuffer image(width, height);
  std::fill(image.Bytes().begin(), image.Bytes().end(), kSentinel);
  return image;
}

// "" when the pixels (not the padding) are equal, else where the first difference is.
std::string Difference(const ImageBuffer& a, const ImageBuffer& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return "sizes differ";
  for (int y = 0; y < a.Height(); ++y) {
    for (int i = 0; i < a.Width() * 3; ++i) {
      const int u = a.View().Row(y)[i], v = b.View().Row(y)[i];
      if (u != v)
        return "memory row " + std::to_string(y) + " byte " + std::to_string(i) + ": " +
               std::to_string(u) + " vs " + std::to_string(v);
    }
  }
  return "";
}

bool PaddingUntouched(const ImageBuffer& image) {
  for (int y = 0; y < image.Height(); ++y)
    for (int i = image.Width() * 3; i < image.Stride(); ++i)
      if (image.View().Row(y)[i] != kSentinel) return false;
  return true;
}

ImageBuffer Render(const ImageBuffer& source, PixelSize size, ResampleMode mode) {
  ImageBuffer view = SentinelImage(size.width, size.height);
  EXPECT_TRUE(RenderZoomed(source.View(), view.View(), mode));
  EXPECT_TRUE(PaddingUntouched(view));
  return view;
}

ImageBuffer Sharpened(ImageBuffer image) {
  EXPECT_TRUE(SharpenView(image.View()));
  return image;
}

const ResampleMode kAllModes[] = {ResampleMode::kNearest, ResampleMode::kCorrection,
                                  ResampleMode::kCorrectionSharpen, ResampleMode::kAverage,
                                  ResampleMode::kAverageSharpen};

// The preset factors and a few that give uneven blocks, both ways.
const double kFactors[] = {0.25001, 0.50001, 0.75, 1.0, 1.5, 2.0, 0.137, 0.6667, 1.31, 3.7};

TEST(ZoomedSize, TruncatesWithTheSmallAddendAndRaisesToOne) {
  EXPECT_EQ(ZoomedSize({1, 1}, 0.25001, 0.25001), (PixelSize{1, 1}));
  EXPECT_EQ(ZoomedLength(101, 0.50001), 50);
  EXPECT_EQ(ZoomedLength(101, 0.75), 75);
  EXPECT_EQ(ZoomedLength(1920, 0.25001), 480);
  EXPECT_EQ(ZoomedLength(1081, 0.50001), 540);
  EXPECT_EQ(ZoomedLength(1366, 1.5), 2049);
  // 0.1 * 30 is 3.0000000000000004 and 0.7 * 10 is 7.000000000000001; 0.29 * 100 is
  // 28.999999999999996, which the addend lifts to 29.
  EXPECT_EQ(ZoomedLength(100, 0.29), 29);
  EXPECT_EQ(ZoomedLength(3, 0.25001), 1);
  EXPECT_EQ(ZoomedSize({640, 480}, 0.5, 2.0), (PixelSize{320, 960}));
}

TEST(ZoomedSize, AbsurdFactorsGiveSizesThatImageBytesRefuses) {
  EXPECT_EQ(ZoomedLength(100000, 1e6), INT_MAX);
  EXPECT_LT(ImageBytes(INT_MAX, 1), 0);
  EXPECT_EQ(ZoomedLength(100, 0.0), 1);
  EXPECT_EQ(ZoomedLength(100, -2.0), 1);
}

TEST(EnlargementFits, RefusesViewsOfThirtySixMillionPixels) {
  EXPECT_FALSE(EnlargementFits({5000, 4000}, 1.5));  // 45,000,000
  EXPECT_FALSE(EnlargementFits({5000, 4000}, 2.0));
  EXPECT_TRUE(EnlargementFits({5000, 4000}, 1.0));
  EXPECT_TRUE(EnlargementFits({5000, 4000}, 0.75));
  EXPECT_FALSE(EnlargementFits({4000, 4000}, 1.5));  // exactly 36,000,000
  EXPECT_TRUE(EnlargementFits({3999, 4000}, 1.5));
  EXPECT_TRUE(EnlargementFits({3840, 2160}, 2.0));   // 33,177,600
  EXPECT_FALSE(EnlargementFits({3000, 3000}, 2.0));  // exactly 36,000,000
}

TEST(EffectiveResampleMode, FallsBackToNearestAboveThreePointSixMillionPixels) {
  EXPECT_EQ(EffectiveResampleMode(ResampleMode::kAverageSharpen, {2000, 2000}),
            ResampleMode::kNearest);
  EXPECT_EQ(EffectiveResampleMode(ResampleMode::kCorrection, {2000, 1800}),
            ResampleMode::kCorrection);
  EXPECT_EQ(EffectiveResampleMode(ResampleMode::kCorrection, {2000, 1801}), ResampleMode::kNearest);
  EXPECT_EQ(EffectiveResampleMode(ResampleMode::kAverage, {1, 1}), ResampleMode::kAverage);
}

TEST(ReportsProgress, OnlyForAveragingAboveTwoHundredThousandPixels) {
  EXPECT_FALSE(ReportsProgress(ResampleMode::kAverage, {500, 400}));  // exactly 200,000
  EXPECT_TRUE(ReportsProgress(ResampleMode::kAverage, {501, 400}));
  EXPECT_TRUE(ReportsProgress(ResampleMode::kAverageSharpen, {501, 400}));
  EXPECT_FALSE(ReportsProgress(ResampleMode::kCorrection, {501, 400}));
  EXPECT_FALSE(ReportsProgress(ResampleMode::kAverage, {2000, 2000}));  // falls back
}

TEST(RenderZoomed, CallsRowDoneOncePerViewRowOnlyWhenReportingProgress) {
  const ImageBuffer source = PhotoLikeImage(1200, 700, 1);
  for (ResampleMode mode : kAllModes) {
    int rows = 0;
    ImageBuffer view(600, 350);
    const RowDone count{[](void* n) { ++*static_cast<int*>(n); }, &rows};
    ASSERT_TRUE(RenderZoomed(source.View(), view.View(), mode, count));
    EXPECT_EQ(rows, ReportsProgress(mode, {600, 350}) ? 350 : 0) << static_cast<int>(mode);
  }
}

TEST(RenderZoomed, LargeViewsUseThePlainStretchWhateverTheMode) {
  // 2000 x 2000 at 100 % with the averaging and sharpening mode: an exact copy.
  const ImageBuffer source = RandomImage(2000, 2000, 2);
  const ImageBuffer view = Render(source, {2000, 2000}, ResampleMode::kAverageSharpen);
  EXPECT_EQ(Difference(view, source), "");
}

TEST(RenderZoomed, RefusesEmptyViews) {
  ImageBuffer source = RandomImage(4, 4, 3), view(2, 2);
  EXPECT_FALSE(RenderZoomed(source.View(), ImageView{}, ResampleMode::kNearest));
  EXPECT_FALSE(RenderZoomed(ConstImageView{}, view.View(), ResampleMode::kAverage));
  EXPECT_FALSE(SharpenView(ImageView{}));
}

TEST(RenderZoomed, AtFullSizeModesWithoutSharpeningReproduceTheSource) {
  // Every byte value 0..255 occurs, so the blend's 1.2 p + 0.8 p = 2 p is checked for all.
  ImageBuffer source(86, 3);
  for (int y = 0; y < 3; ++y)
    for (int i = 0; i < 86 * 3; ++i) source.View().Row(y)[i] = static_cast<uint8_t>(i + 7 * y);
  const ImageBuffer photo = PhotoLikeImage(211, 97, 4);
  for (const ImageBuffer* image : std::initializer_list<const ImageBuffer*>{&source, &photo}) {
    const PixelSize size{image->Width(), image->Height()};
    for (ResampleMode mode :
         {ResampleMode::kNearest, ResampleMode::kCorrection, ResampleMode::kAverage})
      EXPECT_EQ(Difference(Render(*image, size, mode), *image), "") << static_cast<int>(mode);
    EXPECT_EQ(Difference(Render(*image, size, ResampleMode::kCorrectionSharpen), Sharpened(*image)),
              "");
    EXPECT_EQ(Difference(Render(*image, size, ResampleMode::kAverageSharpen), Sharpened(*image)),
              "");
  }
}

TEST(RenderZoomed, WhenEnlargingTheCorrectionBlendIsTheNearestStretch) {
  const ImageBuffer source = PhotoLikeImage(97, 61, 5);
  for (PixelSize size :
       {PixelSize{145, 91}, PixelSize{194, 122}, PixelSize{300, 62}, PixelSize{98, 200}}) {
    const ImageBuffer nearest = Render(source, size, ResampleMode::kNearest);
    EXPECT_EQ(Difference(Render(source, size, ResampleMode::kCorrection), nearest), "");
    EXPECT_EQ(
        Difference(Render(source, size, ResampleMode::kCorrectionSharpen), Sharpened(nearest)), "");
  }
}

TEST(RenderZoomed, UniformImagesStayUniformInEveryModeAndFactor) {
  // White reduced by averaging is where truncated double sums used to lose a level.
  const uint8_t colours[][3] = {{255, 255, 255}, {0, 0, 0}, {1, 128, 254}, {77, 3, 200}};
  for (const auto& c : colours) {
    const ImageBuffer source = UniformImage(163, 101, c[0], c[1], c[2]);
    for (double factor : kFactors) {
      const PixelSize size = ZoomedSize({163, 101}, factor, factor);
      for (ResampleMode mode : kAllModes) {
        const ImageBuffer expected = UniformImage(size.width, size.height, c[0], c[1], c[2]);
        EXPECT_EQ(Difference(Render(source, size, mode), expected), "")
            << "factor " << factor << " mode " << static_cast<int>(mode) << " colour " << int{c[2]};
      }
    }
  }
}

// ---- BoxAverage ----

TEST(BoxAverage, FourPixelsAtThreeQuartersWeighTheFirstColumnFromFloor) {
  // sx = 0.75: view pixel 0 = 0.75 c0 + 0.25 c1; view pixel 1 draws on columns 1 and 2
  // with weights 1.5 and 0.5, i.e. 3/4 c1 + 1/4 c2; view pixel 2 on columns 2 and 3 with
  // weights 1.25 and 0.75.
  ImageBuffer source(4, 1);
  const uint8_t blue[4] = {0, 100, 200, 40};
  for (int x = 0; x < 4; ++x) {
    source.View().Row(0)[3 * x] = blue[x];
    source.View().Row(0)[3 * x + 1] = static_cast<uint8_t>(255 - blue[x]);
    source.View().Row(0)[3 * x + 2] = 9;
  }
  ASSERT_EQ(ZoomedSize({4, 1}, 0.75, 0.75), (PixelSize{3, 1}));
  const ImageBuffer view = Render(source, {3, 1}, ResampleMode::kAverage);
  const uint8_t* row = view.View().Row(0);
  EXPECT_EQ(row[0], 25);
  EXPECT_EQ(row[3], 125);
  EXPECT_EQ(row[6], 140);
  EXPECT_EQ(row[4], 130);  // 3/4 of 155 + 1/4 of 55
  EXPECT_EQ(row[8], 9);
}

// Source sizes and views: every preset of two odd sources, plus sizes that reduce one
// axis while enlarging the other, shrink to one pixel, or start from one pixel.
std::vector<std::pair<PixelSize, PixelSize>> AveragingCases() {
  std::vector<std::pair<PixelSize, PixelSize>> cases;
  for (PixelSize source : {PixelSize{161, 103}, PixelSize{64, 48}})
    for (double factor : kFactors) cases.push_back({source, ZoomedSize(source, factor, factor)});
  cases.push_back({{97, 61}, {41, 23}});
  cases.push_back({{50, 50}, {73, 29}});
  cases.push_back({{33, 7}, {1, 1}});
  cases.push_back({{1, 1}, {5, 3}});
  cases.push_back({{1, 40}, {3, 11}});
  cases.push_back({{301, 2}, {299, 3}});
  return cases;
}

TEST(BoxAverage, GivesTheBytesOfThePixelByPixelFormula) {
  uint64_t seed = 10;
  for (const auto& [sourceSize, viewSize] : AveragingCases()) {
    for (const ImageBuffer& source :
         {RandomImage(sourceSize.width, sourceSize.height, ++seed),
          PhotoLikeImage(sourceSize.width, sourceSize.height, ++seed)}) {
      ImageBuffer fast = SentinelImage(viewSize.width, viewSize.height);
      ImageBuffer reference(viewSize.width, viewSize.height);
      ASSERT_TRUE(BoxAverage(source.View(), fast.View()));
      testing::ReferenceBoxAverage(source.View(), reference.View());
      EXPECT_EQ(Difference(fast, reference), "")
          << sourceSize.width << "x" << sourceSize.height << " -> " << viewSize.width << "x"
          << viewSize.height;
      EXPECT_TRUE(PaddingUntouched(fast));
    }
  }
}

// The whole-number path divides sums by 3, 6, 9, 12 ... (weights in quarters at 75 % and
// 150 %) where the sums are largest and where they are exact multiples: white, stripes of
// white and black one pixel wide in either direction, and a checkerboard.
TEST(BoxAverage, ExtremeImagesGiveTheReferenceBytesAtDyadicFactors) {
  const auto pattern = [](int width, int height, auto isWhite) {
    ImageBuffer image(width, height);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        std::memset(image.View().Row(y) + 3 * x, isWhite(x, y) ? 255 : 0, 3);
    return image;
  };
  for (const PixelSize sourceSize : {PixelSize{64, 48}, PixelSize{61, 37}}) {
    const int w = sourceSize.width, h = sourceSize.height;
    const ImageBuffer images[] = {pattern(w, h, [](int, int) { return true; }),
                                  pattern(w, h, [](int x, int) { return x % 2 == 0; }),
                                  pattern(w, h, [](int, int y) { return y % 2 == 1; }),
                                  pattern(w, h, [](int x, int y) { return (x + y) % 2 == 0; })};
    for (const double factor : {0.25, 0.5, 0.75, 1.5}) {
      const PixelSize size = ZoomedSize(sourceSize, factor, factor);
      for (const ImageBuffer& source : images) {
        ImageBuffer fast = SentinelImage(size.width, size.height);
        ImageBuffer reference(size.width, size.height);
        ASSERT_TRUE(BoxAverage(source.View(), fast.View()));
        testing::ReferenceBoxAverage(source.View(), reference.View());
        EXPECT_EQ(Difference(fast, reference), "") << w << "x" << h << " at " << factor;
        EXPECT_TRUE(PaddingUntouched(fast));
      }
    }
  }
}

TEST(BoxAverage, HalvingAWhiteScreenKeepsItWhite) {
  // Plain truncation of the double quotient made about a third of these pixels 254.
  const ImageBuffer white = UniformImage(1280, 1024, 255, 255, 255);
  const PixelSize size = ZoomedSize({1280, 1024}, 0.50001, 0.50001);
  EXPECT_EQ(Difference(Render(white, size, ResampleMode::kAverage),
                       UniformImage(size.width, size.height, 255, 255, 255)),
            "");
}

// ---- Stretches and the correction blend ----

TEST(Stretches, ReducingMergesWholeBlocksAndEnlargingRepeats) {
  // 4 x 2 onto 2 x 1: each view pixel is a 2 x 2 block.
  ImageBuffer source(4, 2);
  const uint8_t bytes[2][12] = {{0xF0, 1, 2, 0x3C, 4, 5, 0x0F, 6, 7, 0x81, 8, 9},
                                {0xCC, 10, 11, 0x33, 12, 13, 0xFF, 14, 15, 0x18, 16, 17}};
  for (int y = 0; y < 2; ++y) std::copy(bytes[y], bytes[y] + 12, source.View().Row(y));
  ImageBuffer anded(2, 1), ored(2, 1), nearest(2, 1);
  ASSERT_TRUE(StretchCombined(source.View(), anded.View(), StretchCombine::kAnd));
  ASSERT_TRUE(StretchCombined(source.View(), ored.View(), StretchCombine::kOr));
  ASSERT_TRUE(StretchNearest(source.View(), nearest.View()));
  EXPECT_EQ(anded.View().Row(0)[0], 0xF0 & 0x3C & 0xCC & 0x33);
  EXPECT_EQ(ored.View().Row(0)[0], 0xF0 | 0x3C | 0xCC | 0x33);
  EXPECT_EQ(anded.View().Row(0)[3], 0x0F & 0x81 & 0xFF & 0x18);
  EXPECT_EQ(ored.View().Row(0)[5], 7 | 9 | 15 | 17);
  EXPECT_EQ(nearest.View().Row(0)[3], 0x0F);  // the lower middle of each block
  // 2 x 1 onto 5 x 1: pixels repeat, each view pixel copies one source pixel.
  ImageBuffer wide(5, 1);
  ASSERT_TRUE(StretchCombined(anded.View(), wide.View(), StretchCombine::kOr));
  for (int x = 0; x < 5; ++x)
    EXPECT_EQ(wide.View().Row(0)[3 * x], anded.View().Row(0)[x < 3 ? 0 : 3]) << x;
}

TEST(Stretches, EverySourcePixelFallsInExactlyOneBlockWhenReducing) {
  // Light one source pixel at a time: the OR view lights exactly one pixel (its block),
  // and the nearest view lights that same pixel or none.
  for (PixelSize view : {PixelSize{4, 3}, PixelSize{5, 7}, PixelSize{1, 1}, PixelSize{10, 2}}) {
    for (int sy = 0; sy < 7; ++sy) {
      for (int sx = 0; sx < 11; ++sx) {
        ImageBuffer source(11, 7), ored(view.width, view.height), nearest(view.width, view.height);
        source.View().Row(sy)[3 * sx + 1] = 0xFF;
        ASSERT_TRUE(StretchCombined(source.View(), ored.View(), StretchCombine::kOr));
        ASSERT_TRUE(StretchNearest(source.View(), nearest.View()));
        int lit = 0;
        for (size_t i = 0; i < ored.Bytes().size(); ++i) {
          lit += ored.Bytes()[i] != 0;
          if (nearest.Bytes()[i]) {
            EXPECT_TRUE(ored.Bytes()[i]);
          }
        }
        EXPECT_EQ(lit, 1) << "source pixel " << sx << "," << sy << " view " << view.width << "x"
                          << view.height;
      }
    }
  }
}

TEST(CorrectionBlend, GivesTheBytesOfItsThreeStretchesCombined) {
  uint64_t seed = 40;
  for (const auto& [sourceSize, viewSize] : AveragingCases()) {
    for (const ImageBuffer& source :
         {RandomImage(sourceSize.width, sourceSize.height, ++seed),
          PhotoLikeImage(sourceSize.width, sourceSize.height, ++seed)}) {
      ImageBuffer fast = SentinelImage(viewSize.width, viewSize.height);
      ImageBuffer reference(viewSize.width, viewSize.height);
      ASSERT_TRUE(CorrectionBlend(source.View(), fast.View()));
      ASSERT_TRUE(testing::ReferenceCorrectionBlend(source.View(), reference.View()));
      EXPECT_EQ(Difference(fast, reference), "")
          << sourceSize.width << "x" << sourceSize.height << " -> " << viewSize.width << "x"
          << viewSize.height;
      EXPECT_TRUE(PaddingUntouched(fast));
    }
  }
}

TEST(CorrectionBlend, KeepsTheDoubleRoundingOfItsFormula) {
  // Two pixels onto one: C is the left pixel, A and O the AND and OR of both.
  // Blue 2 and 4: O 6, D (2 + 0) >> 1 = 1; 1.2 * 6 + 0.8 * 1 is 7.9999999999999991 in
  // doubles, so the byte is 7 >> 1 = 3 where exact arithmetic would give 4.
  // Green 4 and 8: O 12, D 2; 15.999999999999998 gives 7, not 8.
  // Red 200 and 200: 200.
  ImageBuffer source(2, 1), view(1, 1);
  const uint8_t bytes[6] = {2, 4, 200, 4, 8, 200};
  std::copy(bytes, bytes + 6, source.View().Row(0));
  ASSERT_TRUE(CorrectionBlend(source.View(), view.View()));
  EXPECT_EQ(view.View().Row(0)[0], 3);
  EXPECT_EQ(view.View().Row(0)[1], 7);
  EXPECT_EQ(view.View().Row(0)[2], 200);
}

// ---- SharpenView ----

TEST(SharpenView, GivesTheBytesOfTheNeighbourhoodRule) {
  uint64_t seed = 70;
  for (PixelSize size : {PixelSize{1, 1}, PixelSize{1, 5}, PixelSize{5, 1}, PixelSize{2, 2},
                         PixelSize{3, 3}, PixelSize{17, 9}, PixelSize{4, 2}, PixelSize{37, 29}}) {
    for (ImageBuffer image : {RandomImage(size.width, size.height, ++seed),
                              PhotoLikeImage(size.width, size.height, ++seed)}) {
      ImageBuffer expected = image;
      testing::ReferenceSharpen(expected.View());
      EXPECT_EQ(Difference(Sharpened(image), expected), "") << size.width << "x" << size.height;
    }
  }
}

TEST(SharpenView, CountsTheLastInsideNeighbourTwice) {
  // Three pixels in a row, blue only: 10, 40, 100.
  // Left: positions 10, 40 inside, last is 40: (10 + 40 + 40) / 3 = 30 -> 2*10 - 30 < 0 -> 0.
  // Middle: 10 + 40 + 100 + 100 = 250 / 4 = 62 -> 80 - 62 = 18.
  // Right: 40 + 100 + 100 = 240 / 3 = 80 -> 200 - 80 = 120.
  ImageBuffer image = SentinelImage(3, 1);
  const uint8_t blue[3] = {10, 40, 100};
  for (int x = 0; x < 3; ++x) {
    image.View().Row(0)[3 * x] = blue[x];
    image.View().Row(0)[3 * x + 1] = image.View().Row(0)[3 * x + 2] = 0;
  }
  ASSERT_TRUE(SharpenView(image.View()));
  EXPECT_EQ(image.View().Row(0)[0], 0);
  EXPECT_EQ(image.View().Row(0)[3], 18);
  EXPECT_EQ(image.View().Row(0)[6], 120);
  EXPECT_TRUE(PaddingUntouched(image));
}

}  // namespace
}  // namespace pictornx
