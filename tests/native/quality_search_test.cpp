// The suggested JPEG quality against a scan of all 100 qualities, the two thresholds, the
// time budget with a clock the test drives, and the hint's line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cwchar>
#include <limits>
#include <string>

#include "codecs/image_sink.h"
#include "jpegpreview/quality_search_rules.h"
#include "jpegpreview/suggestion_line_rules.h"
#include "pixels/image_buffer.h"

namespace pictornx {
namespace {

// 64 x 48 pictures: one-pixel strokes on a light ground (every third word in `accent`), as
// in a screenshot, or a smooth gradient with some grain when `accent` is null.
ImageBuffer Picture(const Rgb* accent) {
  ImageBuffer image(64, 48);
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) {
      uint8_t* p = image.View().TopRow(y) + 3 * x;
      const bool stroke = y % 12 >= 3 && y % 12 <= 9 && (x % 7 == 1 || (y % 12 == 6 && x % 7 < 5));
      const Rgb ink = (x / 21 + y / 12) % 3 == 0 && accent ? *accent : Rgb{20, 20, 20};
      const int grain = (x * 7 + y * 13) % 5;
      const Rgb c = !accent ? Rgb{uint8_t(30 + x * 3 + grain), uint8_t(60 + y * 3), uint8_t(200 - x - grain)}
                    : stroke ? ink
                             : Rgb{240, 240, 236};
      p[0] = c.blue, p[1] = c.green, p[2] = c.red;
    }
  return image;
}

// One round trip at `quality`, into `sink`; the file's size.
uint32_t RoundTrip(ConstImageView image, JpegOptions options, int quality, BufferSink& sink) {
  options.quality = quality;
  ByteBlock file;
  EXPECT_TRUE(EncodeJpeg(image, options, &file).Ok());
  EXPECT_TRUE(ReadJpeg(file.Span(), sink).Ok());
  return static_cast<uint32_t>(file.size());
}

struct Scan {
  bool passes[101] = {};
  uint32_t bytes[101] = {};
  int lowest = 0;  // 0: none passes
};

// Every quality's round trip, judged as the search judges it.
Scan ScanAll(ConstImageView image, JpegOptions options, const PixelRect* range) {
  Scan scan;
  for (int q = 100; q >= 1; --q) {
    BufferSink sink;
    scan.bytes[q] = RoundTrip(image, options, q, sink);
    QualityMeasures whole, ranged;
    EXPECT_TRUE(MeasureQuality(image, sink.Image().View(), {0, 0, image.width, image.height}, whole));
    scan.passes[q] = LooksTheSame(whole) && (!range || (MeasureQuality(image, sink.Image().View(), *range, ranged) &&
                                                         LooksTheSame(ranged)));
    if (scan.passes[q]) scan.lowest = q;
  }
  return scan;
}

// The documented rule: the result passes, the two qualities under it fail, and it is the
// scan's lowest pass unless that lies below such a gap.
void ExpectNeighbourRule(const QualitySuggestion& got, const Scan& scan) {
  if (!scan.passes[100]) {
    EXPECT_EQ(got.kind, SuggestionKind::kNone);
    return;
  }
  ASSERT_EQ(got.kind, SuggestionKind::kFound);
  EXPECT_TRUE(scan.passes[got.quality]) << got.quality;
  EXPECT_EQ(got.bytes, scan.bytes[got.quality]);
  for (int q = std::max(1, got.quality - 2); q < got.quality; ++q) EXPECT_FALSE(scan.passes[q]) << q;
  EXPECT_TRUE(got.quality == scan.lowest || scan.lowest < got.quality - 2) << scan.lowest;
  EXPECT_LE(got.roundTrips, 12) << "a search, not a scan";
}

TEST(QualitySearch, AgreesWithAScanOfEveryQualityAlsoFromAKnownRoundTrip) {
  const Rgb grey{60, 60, 60}, red{200, 20, 30};
  // Chroma is kept at half resolution: red strokes one pixel wide fail at every quality.
  const ImageBuffer text = Picture(&grey), redText = Picture(&red), gradient = Picture(nullptr);
  const PixelRect corner{0, 0, 24, 16};
  const struct { const ImageBuffer* image; bool progressive, colour; const PixelRect* range; } cases[] = {{&text, false, true, nullptr},    {&text, true, true, nullptr},     {&gradient, false, true, nullptr},
               {&gradient, true, true, &corner}, {&text, false, false, &corner},   {&gradient, false, false, nullptr},
               {&redText, false, true, nullptr}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.image == &gradient) << c.progressive << c.colour << (c.range != nullptr));
    QualitySearch search;
    search.image = c.image->View();
    search.options.progressive = c.progressive;
    search.options.colour = c.colour;
    search.range = c.range;
    const Scan scan = ScanAll(search.image, search.options, c.range);
    ExpectNeighbourRule(SuggestQuality(search), scan);
    for (int known : {90, 20}) {  // above and below the answer
      BufferSink sink;
      search.knownBytes = RoundTrip(search.image, search.options, known, sink);
      search.knownQuality = known;
      search.knownImage = sink.Image().View();
      ExpectNeighbourRule(SuggestQuality(search), scan);
    }
  }
}

TEST(QualitySearch, ThresholdsAreInclusiveAndHoldForEveryChannel) {
  const double inf = std::numeric_limits<double>::infinity();
  const struct { double ssim, r, g, b; bool same; } cases[] = {{0.98, 35, 35, 35, true}, {0.9799, 50, 50, 50, false}, {1, 34.99, 50, 50, false},
               {1, 50, 50, 34.99, false}, {1, inf, inf, inf, true},   {1, std::nan(""), 50, 50, false}};
  for (const auto& c : cases) {
    QualityMeasures m;
    m.ssim = c.ssim, m.psnr[0] = c.r, m.psnr[1] = c.g, m.psnr[2] = c.b;
    EXPECT_EQ(LooksTheSame(m), c.same) << c.ssim << " " << c.r << " " << c.b;
  }
}

// Every reading moves the clock on by `step` ms.
struct SteppingClock {
  int64_t time = 0, step = 0, last = 0;
  static int64_t Read(void* context) {
    auto* c = static_cast<SteppingClock*>(context);
    c->last = c->time;
    c->time += c->step;
    return c->last;
  }
};

TEST(QualitySearch, StopsWithinTheBudgetWithTheBracketItHas) {
  const Rgb grey{60, 60, 60};
  const ImageBuffer text = Picture(&grey);
  const Scan scan = ScanAll(text.View(), {}, nullptr);
  const struct { int64_t budget; SuggestionKind kind; } cases[] = {{250, SuggestionKind::kBracket},  // six round trips of 40 ms fit, a seventh would not
               {10'000, SuggestionKind::kFound},
               {0, SuggestionKind::kUnknown}};
  for (const auto& c : cases) {
    SteppingClock clock{0, 40};
    QualitySearch search;
    search.image = text.View();
    search.clock = {SteppingClock::Read, &clock};
    search.budgetMs = c.budget;
    const QualitySuggestion got = SuggestQuality(search);
    EXPECT_EQ(got.kind, c.kind) << c.budget;
    EXPECT_LE(clock.last, c.budget) << "finished inside the budget";
    if (got.kind != SuggestionKind::kBracket) continue;
    EXPECT_EQ(got.roundTrips, 6);
    EXPECT_TRUE(scan.passes[got.quality] && got.quality >= scan.lowest) << got.quality;
    EXPECT_EQ(got.bytes, scan.bytes[got.quality]);
    EXPECT_TRUE(got.below > 0 && !scan.passes[got.below]) << got.below;
  }
}

TEST(SuggestionLine, SaysTheQualityItsSizeAndShareAndWhenTheCurrentQualityIsNotAbove) {
  const SuggestionWords words{L"Q", L"B", L"now", L"low", L"none"};
  const QualitySuggestion found{SuggestionKind::kFound, 72, 0, 6400, 0};
  const QualitySuggestion bracket{SuggestionKind::kBracket, 72, 40, 6400, 0};
  const struct { QualitySuggestion s; int current; uint32_t currentBytes; const wchar_t* line; } cases[] = {
      {found, 90, 9999, L"Q 72 \u00B7 6400 B (now 64%)"},  // to the nearest percent
      {found, 72, 9846, L"Q 72 \u00B7 6400 B (now 65%) \u00B7 low"},
      {bracket, 60, 10000, L"Q \u2264 72 \u00B7 6400 B (now 64%)"},  // 60 may still pass
      {bracket, 40, 3000, L"Q \u2264 72 \u00B7 6400 B (now 213%) \u00B7 low"},
      {{SuggestionKind::kNone, 0, 0, 0, 0}, 65, 10000, L"Q: none"},
      {{SuggestionKind::kUnknown, 0, 0, 0, 0}, 65, 10000, L""},
  };
  for (const auto& c : cases) {
    wchar_t out[96];
    EXPECT_EQ(FormatSuggestionLine(c.s, c.current, c.currentBytes, words, out, 96), std::wcslen(c.line));
    EXPECT_EQ(std::wstring(out), c.line);
  }
  wchar_t small[8];
  EXPECT_TRUE(FormatSuggestionLine(found, 90, 10000, words, small, 8) == 0 && small[0] == 0) << "left out whole";
}

}  // namespace
}  // namespace pictornx
