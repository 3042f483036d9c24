// The JPEG preview's suggested quality at full HD and 4K: the whole search (no time limit),
// the search as the hint runs it (250 ms budget; counter `found` 1 when it finished, 0 when
// it stopped at a bracket), beside one round trip (encode, decode, measure) in the same run.
// Ratio: search / round trip, about the number of round trips it makes.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "codecs/image_sink.h"
#include "codecs/jpeg_codec.h"
#include "jpegpreview/quality_search_rules.h"
#include "pixels/image_buffer.h"
#include "pixels/quality_measures.h"

namespace pictornx {
namespace {

// What the tool mostly captures: flat panels with dark strokes one pixel wide.
ImageBuffer ScreenLike(int width, int height) {
  ImageBuffer image(width, height);
  for (int y = 0; y < height; ++y) {
    uint8_t* row = image.View().TopRow(y);
    for (int x = 0; x < width; ++x) {
      const bool panel = (x / 240 + y / 180) % 2 == 0;
      const bool stroke = (y % 14 >= 3 && y % 14 <= 10) && (x % 9 == 2 || (y % 14 == 7 && x % 9 < 6));
      const uint8_t ground = panel ? 236 : 250;
      const uint8_t v = stroke ? 30 : ground;
      row[3 * x] = v;
      row[3 * x + 1] = v;
      row[3 * x + 2] = stroke ? v : static_cast<uint8_t>(ground - (panel ? 6 : 0));
    }
  }
  return image;
}

void Search(benchmark::State& state, int64_t budgetMs) {
  const ImageBuffer image = ScreenLike(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  QualitySuggestion last;
  for (auto _ : state) {
    QualitySearch search;
    search.image = image.View();
    search.clock = SteadyClock();
    search.budgetMs = budgetMs;
    last = SuggestQuality(search);
    benchmark::DoNotOptimize(last.quality);
  }
  state.counters["quality"] = last.quality;
  state.counters["round_trips"] = last.roundTrips;
  state.counters["found"] = last.kind == SuggestionKind::kFound ? 1 : 0;
  state.SetLabel(std::to_string(state.range(0)) + "x" + std::to_string(state.range(1)));
}

void BM_QualitySearch_Whole(benchmark::State& state) { Search(state, int64_t{1} << 40); }
void BM_QualitySearch_Budget250ms(benchmark::State& state) { Search(state, 250); }

void BM_QualitySearchBaseline_OneRoundTrip(benchmark::State& state) {
  const ImageBuffer image = ScreenLike(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  BufferSink sink;
  for (auto _ : state) {
    ByteBlock file;
    if (!EncodeJpeg(image.View(), {}, &file).Ok() || !ReadJpeg(file.Span(), sink).Ok()) state.SkipWithError("codec");
    QualityMeasures measures;
    MeasureQuality(image.View(), sink.Image().View(), {0, 0, image.Width(), image.Height()}, measures);
    benchmark::DoNotOptimize(measures.ssim);
  }
  state.SetLabel(std::to_string(state.range(0)) + "x" + std::to_string(state.range(1)));
}

BENCHMARK(BM_QualitySearch_Whole)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QualitySearch_Budget250ms)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QualitySearchBaseline_OneRoundTrip)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pictornx
