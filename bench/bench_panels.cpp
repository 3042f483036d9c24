// Posterisation, the colour count and the level tables on full-HD and 4K pictures, photo-like
// (smooth shading with a little grain) and random, each beside a memcpy of the same image
// bytes measured in the same run.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>

#include "pixels/colour_count.h"
#include "pixels/image_buffer.h"
#include "pixels/level_tables.h"
#include "pixels/posterise.h"

namespace pictornx {
namespace {

enum Content { kPhoto = 0, kRandom = 1 };

ImageBuffer MakeImage(int width, int height, int content) {
  ImageBuffer image(width, height);
  std::mt19937 random(2024);
  if (content == kRandom) {
    for (uint8_t& byte : image.Bytes()) byte = static_cast<uint8_t>(random());
    return image;
  }
  for (int y = 0; y < height; ++y) {
    uint8_t* row = image.View().Row(y);
    for (int x = 0; x < width; ++x) {
      const double u = static_cast<double>(x) / width, v = static_cast<double>(y) / height;
      const int grain = static_cast<int>(random() % 5) - 2;
      const int r = static_cast<int>(128 + 100 * std::sin(6 * u + 2 * v)) + grain;
      const int g = static_cast<int>(110 + 90 * std::cos(4 * v - 3 * u)) + grain;
      const int b = static_cast<int>(90 + 80 * std::sin(5 * (u + v))) + grain;
      row[3 * x] = static_cast<uint8_t>(b), row[3 * x + 1] = static_cast<uint8_t>(g), row[3 * x + 2] = static_cast<uint8_t>(r);
    }
  }
  return image;
}

void Describe(benchmark::State& state, const ImageBuffer& image) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(image.Bytes().size()));
  state.SetLabel(std::to_string(image.Width()) + "x" + std::to_string(image.Height()) +
                 (state.range(2) == kPhoto ? " photo" : " random"));
}

void BM_Memcpy(benchmark::State& state) {
  const ImageBuffer source = MakeImage(state.range(0), state.range(1), state.range(2));
  ImageBuffer copy(source.Width(), source.Height());
  for (auto _ : state) {
    std::memcpy(copy.Bytes().data(), source.Bytes().data(), source.Bytes().size());
    benchmark::ClobberMemory();
  }
  Describe(state, source);
}

// The panel's run: the table for the levels, then every row from the snapshot.
void BM_Posterise(benchmark::State& state) {
  const ImageBuffer source = MakeImage(state.range(0), state.range(1), state.range(2));
  ImageBuffer target(source.Width(), source.Height());
  for (auto _ : state) {
    const PosterTable table = MakePosterTable(5, true);
    PosteriseImage(source.View(), target.View(), table);
    benchmark::ClobberMemory();
  }
  Describe(state, source);
}

void BM_LevelTables(benchmark::State& state) {
  const ImageBuffer source = MakeImage(state.range(0), state.range(1), state.range(2));
  for (auto _ : state) {
    LevelTables tables = CountLevels(source.View());
    benchmark::DoNotOptimize(tables);
  }
  Describe(state, source);
}

// Allocation and release of the 2 MB set included, as in the panel.
void BM_ColourCount(benchmark::State& state) {
  const ImageBuffer source = MakeImage(state.range(0), state.range(1), state.range(2));
  for (auto _ : state) benchmark::DoNotOptimize(CountDistinctColours(source.View()));
  Describe(state, source);
}

void Sizes(benchmark::internal::Benchmark* bench) {
  for (int content : {kPhoto, kRandom}) {
    bench->Args({1920, 1080, content});
    bench->Args({3840, 2160, content});
  }
  bench->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_Memcpy)->Apply(Sizes);
BENCHMARK(BM_Posterise)->Apply(Sizes);
BENCHMARK(BM_LevelTables)->Apply(Sizes);
BENCHMARK(BM_ColourCount)->Apply(Sizes);

}  // namespace
}  // namespace pictornx
