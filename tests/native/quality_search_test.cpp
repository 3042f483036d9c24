// The suggested JPEG quality against a scan of all 100 qualities, the two thresholds, the
// time budget with a clock the test drives, and the hint's line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include "codecs/image_sink.h"
#include "codecs/jpeg_codec.h"
#include "jpegpreview/quality_search_rules.h"
#include "jpegpreview/suggestion_line_rules.h"
#include "pixels/image_buffer.h"

namespace pictornx {
namespace {

void Put(ImageBuffer& image, int x, int y, int r, int g, int b) {
  uint8_t* p = image.View().TopRow(y) + 3 * x;
  p[0] = static_cast<uint8_t>(std::clamp(b, 0, 255));
  p[1] = static_cast<uint8_t>(std::clamp(g, 0, 255));
  p[2] = static_cast<uint8_t>(std::clamp(r, 0, 255));
}

// Dark strokes one pixel wide on a light ground, as in a screenshot of a dialog; every
// third word in `accent`.
ImageBuffer TextLike(int width, int height, Rgb accent) {
  ImageBuffer image(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const bool stroke = (y % 12 >= 3 && y % 12 <= 9) && ((x % 7 == 1) || (y % 12 == 6 && x % 7 < 5));
      const bool accented = (x / 21 + y / 12) % 3 == 0;
      if (!stroke) Put(image, x, y, 240, 240, 236);
      else if (accented) Put(image, x, y, accent.red, accent.green, accent.blue);
      else Put(image, x, y, 20, 20, 20);
    }
  return image;
}

ImageBuffer PhotoLike(int width, int height) {
  ImageBuffer image(width, height);
  std::mt19937 random(7);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const int grain = static_cast<int>(random() % 5) - 2;
      const int wave = static_cast<int>(40 * std::sin(x * 0.21) * std::cos(y * 0.17));
      Put(image, x, y, 120 + wave + grain, 90 + x + grain, 60 + y * 2 - wave / 2 + grain);
    }
  return image;
}

ImageBuffer Gradient(int width, int height) {
  ImageBuffer image(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) Put(image, x, y, 30 + x * 180 / width, 60 + y * 150 / height, 200 - x);
  return image;
}

// Every quality's round trip, judged as the search judges it.
struct Scan {
  bool passes[101] = {};
  uint32_t bytes[101] = {};
  int lowest = 0;  // 0: none passes
};

bool Judge(ConstImageView image, ConstImageView decoded, const PixelRect* range) {
  QualityMeasures m;
  EXPECT_TRUE(MeasureQuality(image, decoded, {0, 0, image.width, image.height}, m));
  if (!LooksTheSame(m)) return false;
  if (!range) return true;
  EXPECT_TRUE(MeasureQuality(image, decoded, *range, m));
  return LooksTheSame(m);
}

Scan ScanAll(ConstImageView image, JpegOptions options, const PixelRect* range) {
  Scan scan;
  for (int q = 1; q <= 100; ++q) {
    options.quality = q;
    ByteBlock file;
    EXPECT_TRUE(EncodeJpeg(image, options, &file).Ok());
    BufferSink sink;
    EXPECT_TRUE(ReadJpeg(file.Span(), sink).Ok());
    scan.passes[q] = Judge(image, sink.Image().View(), range);
    scan.bytes[q] = static_cast<uint32_t>(file.size());
    if (scan.passes[q] && scan.lowest == 0) scan.lowest = q;
  }
  return scan;
}

// The result keeps the documented rule: it passes, the two qualities under it fail, and it
// is the scan's lowest pass unless that lies below such a gap.
void ExpectNeighbourRule(const QualitySuggestion& got, const Scan& scan) {
  if (scan.lowest == 0 || !scan.passes[100]) {
    EXPECT_EQ(got.kind, SuggestionKind::kNone);
    return;
  }
  ASSERT_EQ(got.kind, SuggestionKind::kFound);
  ASSERT_GE(got.quality, 1);
  EXPECT_TRUE(scan.passes[got.quality]) << got.quality;
  EXPECT_EQ(got.bytes, scan.bytes[got.quality]);
  for (int q = std::max(1, got.quality - 2); q < got.quality; ++q) EXPECT_FALSE(scan.passes[q]) << q;
  if (got.quality != scan.lowest) {
    EXPECT_LT(scan.lowest, got.quality - 2);
  }
  EXPECT_LE(got.roundTrips, 12) << "a search, not a scan";
}

TEST(QualitySearch, AgreesWithAScanOfEveryQuality) {
  const ImageBuffer text = TextLike(64, 48, {60, 60, 60}), photo = PhotoLike(64, 48), gradient = Gradient(64, 48);
  // Chroma is stored at half resolution: red strokes one pixel wide lose too much red at
  // any quality.
  const ImageBuffer redText = TextLike(64, 48, {200, 20, 30});
  const PixelRect corner{0, 0, 24, 16};
  const struct {
    const char* name;
    const ImageBuffer* image;
    bool progressive, colour;
    const PixelRect* range;
  } cases[] = {
      {"text", &text, false, true, nullptr},        {"photo", &photo, false, true, nullptr},
      {"gradient", &gradient, false, true, nullptr}, {"text progressive", &text, true, true, nullptr},
      {"photo range", &photo, false, true, &corner}, {"photo grey", &photo, false, false, nullptr},
      {"gradient grey", &gradient, true, false, &corner}, {"red text", &redText, false, true, nullptr},
      {"text grey", &text, false, false, &corner},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    JpegOptions options;
    options.progressive = c.progressive;
    options.colour = c.colour;
    const Scan scan = ScanAll(c.image->View(), options, c.range);
    QualitySearch search;
    search.image = c.image->View();
    search.options = options;
    search.range = c.range;
    ExpectNeighbourRule(SuggestQuality(search), scan);

    // Seeded with a round trip the caller has, above and below the answer: the same rule,
    // one encoding fewer.
    for (int known : {90, 20}) {
      SCOPED_TRACE(known);
      options.quality = known;
      ByteBlock file;
      ASSERT_TRUE(EncodeJpeg(search.image, options, &file).Ok());
      BufferSink sink;
      ASSERT_TRUE(ReadJpeg(file.Span(), sink).Ok());
      search.knownQuality = known;
      search.knownImage = sink.Image().View();
      search.knownBytes = static_cast<uint32_t>(file.size());
      const QualitySuggestion seeded = SuggestQuality(search);
      ExpectNeighbourRule(seeded, scan);
    }
  }
}

TEST(QualitySearch, ThresholdsAreInclusiveAndEveryChannelCounts) {
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    double ssim, r, g, b;
    bool same;
  } cases[] = {
      {0.98, 35.0, 35.0, 35.0, true},  {0.9799, 50, 50, 50, false}, {1.0, 34.99, 50, 50, false},
      {1.0, 50, 50, 34.99, false},     {1.0, inf, inf, inf, true},   {1.0, std::nan(""), 50, 50, false},
  };
  for (const auto& c : cases) {
    QualityMeasures m;
    m.ssim = c.ssim;
    m.psnr[0] = c.r, m.psnr[1] = c.g, m.psnr[2] = c.b;
    EXPECT_EQ(LooksTheSame(m), c.same) << c.ssim << " " << c.r << " " << c.g << " " << c.b;
  }
}

// Every reading of the clock moves it on by `step` ms.
struct SteppingClock {
  int64_t time = 0;
  int64_t step = 0;
  int64_t last = 0;
  static int64_t Read(void* context) {
    auto* c = static_cast<SteppingClock*>(context);
    c->last = c->time;
    c->time += c->step;
    return c->last;
  }
};

TEST(QualitySearch, StopsWithinTheBudgetAndShowsTheBracketItHas) {
  const ImageBuffer photo = PhotoLike(64, 48);
  const Scan scan = ScanAll(photo.View(), {}, nullptr);
  ASSERT_GT(scan.lowest, 3);
  const struct {
    int64_t step, budget;
    SuggestionKind kind;
  } cases[] = {
      {40, 250, SuggestionKind::kBracket},  // six round trips of 40 ms fit, a seventh would not
      {40, 10'000, SuggestionKind::kFound},
      {40, 0, SuggestionKind::kUnknown},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.budget);
    SteppingClock clock{0, c.step};
    QualitySearch search;
    search.image = photo.View();
    search.clock = {SteppingClock::Read, &clock};
    search.budgetMs = c.budget;
    const QualitySuggestion got = SuggestQuality(search);
    EXPECT_EQ(got.kind, c.kind);
    EXPECT_LE(clock.last, c.budget) << "finished inside the budget";
    if (got.kind != SuggestionKind::kBracket) continue;
    EXPECT_EQ(got.roundTrips, 6);
    EXPECT_TRUE(scan.passes[got.quality]);
    EXPECT_EQ(got.bytes, scan.bytes[got.quality]);
    EXPECT_GE(got.quality, scan.lowest);
    EXPECT_GT(got.below, 0);
    EXPECT_FALSE(scan.passes[got.below]);
  }
}

TEST(SuggestionLine, SaysTheQualityItsSizeAndShareAndWhenTheCurrentQualityIsNotAbove) {
  const SuggestionWords words{L"Q", L"B", L"now", L"low", L"none"};
  const QualitySuggestion found{SuggestionKind::kFound, 72, 0, 6400, 0};
  const QualitySuggestion bracket{SuggestionKind::kBracket, 72, 40, 6400, 0};
  const struct {
    QualitySuggestion s;
    int current;
    uint32_t currentBytes;
    const wchar_t* line;
  } cases[] = {
      {found, 90, 10000, L"Q 72 \u00B7 6400 B (now 64%)"},
      {found, 72, 6400, L"Q 72 \u00B7 6400 B (now 100%) \u00B7 low"},
      {found, 50, 0, L"Q 72 \u00B7 6400 B \u00B7 low"},  // no size to compare with
      {found, 90, 9999, L"Q 72 \u00B7 6400 B (now 64%)"},  // 64.006 % rounds down
      {found, 90, 9846, L"Q 72 \u00B7 6400 B (now 65%)"},  // 65.001 %
      {bracket, 60, 10000, L"Q \u2264 72 \u00B7 6400 B (now 64%)"},  // 60 may still pass
      {bracket, 40, 3000, L"Q \u2264 72 \u00B7 6400 B (now 213%) \u00B7 low"},
      {{SuggestionKind::kNone, 0, 0, 0, 0}, 65, 10000, L"Q: none"},
      {{SuggestionKind::kUnknown, 0, 0, 0, 0}, 65, 10000, L""},
  };
  for (const auto& c : cases) {
    wchar_t out[96];
    const size_t length = FormatSuggestionLine(c.s, c.current, c.currentBytes, words, out, 96);
    EXPECT_EQ(std::wstring(out), c.line);
    EXPECT_EQ(length, std::wstring(c.line).size());
  }
  wchar_t small[8];
  EXPECT_EQ(FormatSuggestionLine(found, 90, 10000, words, small, 8), 0u);
  EXPECT_EQ(small[0], 0) << "a line that does not fit is left out whole";
}

}  // namespace
}  // namespace pictornx
