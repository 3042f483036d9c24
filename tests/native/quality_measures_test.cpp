// PSNR and SSIM against closed forms (equal images, constant offsets, a known noise level)
// and SSIM against a direct window-by-window computation; the hint's text.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <utility>
#include <vector>

#include "pixels/image_buffer.h"
#include "pixels/quality_measures.h"

namespace pictornx {
namespace {

// Smooth shading with some grain, like a photograph.
ImageBuffer Photo(int width, int height, unsigned seed) {
  ImageBuffer image(width, height);
  std::mt19937 random(seed);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint8_t* p = image.View().Row(y) + 3 * x;
      for (int c = 0; c < 3; ++c)
        p[c] = static_cast<uint8_t>(std::clamp(40 + (x * (c + 1) + y * 2) % 160 + static_cast<int>(random() % 9), 0, 255));
    }
  return image;
}

// Every byte moved by +-sigma with a random sign; the photo stays within 40..208, so no
// byte clamps and the mean squared error is exactly sigma^2.
ImageBuffer WithNoise(const ImageBuffer& image, int sigma, unsigned seed) {
  ImageBuffer noisy = image;
  std::mt19937 random(seed);
  for (int y = 0; y < image.Height(); ++y)
    for (int i = 0; i < image.Width() * 3; ++i) {
      uint8_t& b = noisy.View().Row(y)[i];
      b = static_cast<uint8_t>(b + (random() % 2 ? sigma : -sigma));
    }
  return noisy;
}

int LumaAt(ConstImageView v, int x, int y) {
  const uint8_t* p = v.TopRow(y) + 3 * x;
  return (77 * p[2] + 150 * p[1] + 29 * p[0] + 128) >> 8;
}

double WindowSsim(ConstImageView a, ConstImageView b, int left, int top, int w, int h) {
  const double n = static_cast<double>(w) * h;
  double ma = 0, mb = 0;
  for (int y = top; y < top + h; ++y)
    for (int x = left; x < left + w; ++x) ma += LumaAt(a, x, y), mb += LumaAt(b, x, y);
  ma /= n, mb /= n;
  double va = 0, vb = 0, cov = 0;
  for (int y = top; y < top + h; ++y)
    for (int x = left; x < left + w; ++x) {
      const double da = LumaAt(a, x, y) - ma, db = LumaAt(b, x, y) - mb;
      va += da * da, vb += db * db, cov += da * db;
    }
  va /= n, vb /= n, cov /= n;
  const double c1 = 6.5025, c2 = 58.5225;
  return (2 * ma * mb + c1) * (2 * cov + c2) / ((ma * ma + mb * mb + c1) * (va + vb + c2));
}

// Mean over 8 x 8 windows every 4 pixels, or one window for a region under 8 in a side.
double ReferenceSsim(ConstImageView a, ConstImageView b, PixelRect r) {
  if (r.Width() < 8 || r.Height() < 8) return WindowSsim(a, b, r.left, r.top, r.Width(), r.Height());
  double sum = 0;
  int count = 0;
  for (int y = 0; y + 8 <= r.Height(); y += 4)
    for (int x = 0; x + 8 <= r.Width(); x += 4) sum += WindowSsim(a, b, r.left + x, r.top + y, 8, 8), ++count;
  return sum / count;
}

TEST(QualityMeasures, EqualImages) {
  const ImageBuffer image = Photo(50, 30, 1);
  QualityMeasures m;
  ASSERT_TRUE(MeasureQuality(image.View(), image.View(), {0, 0, 50, 30}, m));
  EXPECT_TRUE(m.identical);
  for (const double p : m.psnr) EXPECT_TRUE(std::isinf(p) && p > 0);
  EXPECT_TRUE(std::isinf(m.psnrAll));
  EXPECT_EQ(m.ssim, 1.0);
}

TEST(QualityMeasures, ConstantOffsetsPerChannel) {
  struct Case {
    int blue, green, red;
  } const cases[] = {{1, 1, 1}, {5, -3, 20}, {-40, 0, 2}};
  const ImageBuffer image = Photo(64, 40, 2);
  for (const Case& c : cases) {
    ImageBuffer shifted = image;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 64; ++x) {
        uint8_t* p = shifted.View().Row(y) + 3 * x;
        p[0] = static_cast<uint8_t>(p[0] + c.blue), p[1] = static_cast<uint8_t>(p[1] + c.green);
        p[2] = static_cast<uint8_t>(p[2] + c.red);
      }
    QualityMeasures m;
    ASSERT_TRUE(MeasureQuality(image.View(), shifted.View(), {0, 0, 64, 40}, m));
    const int offsets[3] = {c.red, c.green, c.blue};
    for (int ch = 0; ch < 3; ++ch) {
      if (offsets[ch] == 0)
        EXPECT_TRUE(std::isinf(m.psnr[ch]));
      else
        EXPECT_NEAR(m.psnr[ch], 20 * std::log10(255.0 / std::abs(offsets[ch])), 1e-9);
    }
    const double mse = (c.red * c.red + c.green * c.green + c.blue * c.blue) / 3.0;
    EXPECT_NEAR(m.psnrAll, 10 * std::log10(255.0 * 255.0 / mse), 1e-9);
    EXPECT_FALSE(m.identical);
  }
}

TEST(QualityMeasures, SsimMatchesWindowByWindow) {
  const ImageBuffer big = Photo(120, 100, 3);
  struct Case {
    int width, height;
    PixelRect region;
  } const cases[] = {{64, 48, {0, 0, 64, 48}},  {37, 29, {0, 0, 37, 29}},   {7, 100, {0, 0, 7, 100}},
                     {100, 5, {0, 0, 100, 5}},  {61, 1, {0, 0, 61, 1}},     {120, 90, {13, 7, 90, 61}},
                     {120, 90, {-5, -5, 30, 30}}};
  for (const Case& c : cases) {
    ImageBuffer source(c.width, c.height);
    for (int y = 0; y < c.height; ++y)
      std::copy_n(big.View().TopRow(y), c.width * 3, source.View().TopRow(y));
    for (const int sigma : {2, 12}) {
      const ImageBuffer noisy = WithNoise(source, sigma, 9);
      QualityMeasures m;
      ASSERT_TRUE(MeasureQuality(source.View(), noisy.View(), c.region, m));
      const PixelRect clipped{std::max(c.region.left, 0), std::max(c.region.top, 0), c.region.right, c.region.bottom};
      EXPECT_NEAR(m.ssim, ReferenceSsim(source.View(), noisy.View(), clipped), 1e-9) << c.width << "x" << c.height;
      EXPECT_LT(m.ssim, 1.0);
      EXPECT_NEAR(m.psnrAll, 20 * std::log10(255.0 / sigma), 1e-9) << c.width << "x" << c.height;
    }
  }
}

// Windows whose sums are as large as sums get: white against black, a checkerboard
// against its inverse, and white against white with one black pixel per window.
TEST(QualityMeasures, SsimOfExtremeWindowsMatchesWindowByWindow) {
  constexpr int kSide = 40;
  const auto image = [](auto byteAt) {
    ImageBuffer out(kSide, kSide);
    for (int y = 0; y < kSide; ++y)
      for (int i = 0; i < kSide * 3; ++i) out.View().TopRow(y)[i] = static_cast<uint8_t>(byteAt(i / 3, y));
    return out;
  };
  const ImageBuffer white = image([](int, int) { return 255; });
  const ImageBuffer black = image([](int, int) { return 0; });
  const ImageBuffer checker = image([](int x, int y) { return (x + y) % 2 ? 255 : 0; });
  const ImageBuffer inverse = image([](int x, int y) { return (x + y) % 2 ? 0 : 255; });
  const ImageBuffer dotted = image([](int x, int y) { return x % 8 == 3 && y % 8 == 5 ? 0 : 255; });
  const std::pair<const ImageBuffer*, const ImageBuffer*> pairs[] = {
      {&white, &black}, {&checker, &inverse}, {&white, &dotted}, {&dotted, &checker}};
  for (const auto& [a, b] : pairs) {
    QualityMeasures m;
    ASSERT_TRUE(MeasureQuality(a->View(), b->View(), {0, 0, kSide, kSide}, m));
    EXPECT_NEAR(m.ssim, ReferenceSsim(a->View(), b->View(), {0, 0, kSide, kSide}), 1e-9);
  }
}

TEST(QualityMeasures, RefusedInputs) {
  const ImageBuffer a = Photo(20, 20, 5), b = Photo(20, 19, 5);
  QualityMeasures m;
  m.psnrAll = 99;
  EXPECT_FALSE(MeasureQuality(a.View(), b.View(), {0, 0, 20, 19}, m));
  EXPECT_EQ(m.psnrAll, 0);
  EXPECT_FALSE(MeasureQuality(a.View(), a.View(), {25, 0, 30, 10}, m));
  EXPECT_FALSE(MeasureQuality(a.View(), a.View(), {5, 5, 5, 10}, m));
}

template <typename Labels>
std::wstring FormatQualityLines(const QualityMeasures& m, double bitsPerPixel, Labels labels) {
  FixedText<256> text;
  pictornx::FormatQualityLines(m, bitsPerPixel, labels, text);
  return std::wstring(text.View());
}

TEST(QualityMeasures, HintText) {
  QualityMeasures m;
  m.psnr[0] = 40.84, m.psnr[1] = 42.96, m.psnr[2] = 40.149;
  m.psnrAll = 41.2, m.ssim = 0.98749;
  EXPECT_EQ(FormatQualityLines(m, 2.1449, L"\u221E"), L"PSNR 41.2 dB (R 40.8 / G 43.0 / B 40.1)\nSSIM 0.987 \u00B7 2.14 bit/pixel");
  const double inf = INFINITY;
  m.psnr[0] = inf, m.psnr[1] = inf, m.psnr[2] = inf, m.psnrAll = inf, m.ssim = 1;
  EXPECT_EQ(FormatQualityLines(m, 0.5, L"identical"),
            L"PSNR identical (R identical / G identical / B identical)\nSSIM 1.000 \u00B7 0.50 bit/pixel");
  QualityLabels labels;
  labels.bitsPerPixel = L"\u30D3\u30C3\u30C8/\u753B\u7D20";
  EXPECT_EQ(FormatQualityLines(m, 0.5, labels), L"PSNR \u221E (R \u221E / G \u221E / B \u221E)\nSSIM 1.000 \u00B7 0.50 \u30D3\u30C3\u30C8/\u753B\u7D20");
}

}  // namespace
}  // namespace pictornx
