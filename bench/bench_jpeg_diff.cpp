// The JPEG preview's kernels on full-HD and 4K photo-like pictures, each beside its baseline
// in the same run: the difference images beside a memcpy of the image bytes, the quality
// measures beside the encode + decode that one preview refresh does, and the channel-trace
// sampling (at most 200 x 61 samples whatever the size).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <utility>

#include "codecs/image_sink.h"
#include "codecs/jpeg_codec.h"
#include "pixels/image_buffer.h"
#include "pixels/jpeg_diff.h"
#include "pixels/quality_measures.h"

namespace pictornx {
namespace {

ImageBuffer MakePhoto(int width, int height) {
  ImageBuffer image(width, height);
  std::mt19937 random(2024);
  for (int y = 0; y < height; ++y) {
    uint8_t* row = image.View().Row(y);
    for (int x = 0; x < width; ++x) {
      const double u = static_cast<double>(x) / width, v = static_cast<double>(y) / height;
      const int grain = static_cast<int>(random() % 5) - 2;
      row[3 * x] = static_cast<uint8_t>(90 + 80 * std::sin(5 * (u + v)) + grain);
      row[3 * x + 1] = static_cast<uint8_t>(110 + 90 * std::cos(4 * v - 3 * u) + grain);
      row[3 * x + 2] = static_cast<uint8_t>(128 + 100 * std::sin(6 * u + 2 * v) + grain);
    }
  }
  return image;
}

// The source and its JPEG round trip at the preview's default quality.
struct Pair {
  ImageBuffer source;
  ImageBuffer jpeg;
};

Pair MakePair(int width, int height) {
  Pair pair{MakePhoto(width, height), {}};
  ByteBlock file;
  BufferSink sink;
  if (EncodeJpeg(pair.source.View(), {}, &file).Ok() && ReadJpeg(file.Span(), sink).Ok()) pair.jpeg = std::move(sink.Image());
  return pair;
}

void Describe(benchmark::State& state, const ImageBuffer& image) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(image.Bytes().size()));
  state.SetLabel(std::to_string(image.Width()) + "x" + std::to_string(image.Height()));
}

void BM_Memcpy(benchmark::State& state) {
  const ImageBuffer source = MakePhoto(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  ImageBuffer copy(source.Width(), source.Height());
  for (auto _ : state) {
    std::memcpy(copy.Bytes().data(), source.Bytes().data(), source.Bytes().size());
    benchmark::ClobberMemory();
  }
  Describe(state, source);
}

void BuildDiff(benchmark::State& state, int factor) {
  const Pair pair = MakePair(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  if (pair.jpeg.Empty()) return state.SkipWithError("round trip failed");
  ImageBuffer out(pair.source.Width(), pair.source.Height());
  for (auto _ : state) {
    BuildDiffImage(pair.source.View(), pair.jpeg.View(), out.View(), factor);
    benchmark::ClobberMemory();
  }
  Describe(state, pair.source);
}
void BM_BuildDiffA(benchmark::State& state) { BuildDiff(state, 1); }
void BM_BuildDiffB(benchmark::State& state) { BuildDiff(state, 4); }

void BM_SampleTraces(benchmark::State& state) {
  const Pair pair = MakePair(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  if (pair.jpeg.Empty()) return state.SkipWithError("round trip failed");
  auto traces = std::make_unique<TraceSamples>();
  const PixelRect whole{0, 0, pair.source.Width(), pair.source.Height()};
  for (auto _ : state) {
    SampleChannelTraces(pair.source.View(), pair.jpeg.View(), whole, true, *traces);
    benchmark::DoNotOptimize(traces->value[0][0][0]);
  }
  state.SetLabel(std::to_string(whole.right) + "x" + std::to_string(whole.bottom));
}

// The refresh's own work on the pixels: write the JPEG, read it back.
void BM_EncodeDecode(benchmark::State& state) {
  const ImageBuffer source = MakePhoto(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  for (auto _ : state) {
    ByteBlock file;
    BufferSink sink;
    if (!EncodeJpeg(source.View(), {}, &file).Ok() || !ReadJpeg(file.Span(), sink).Ok())
      return state.SkipWithError("round trip failed");
    benchmark::DoNotOptimize(sink.Image().Bytes().data());
  }
  Describe(state, source);
}

void BM_QualityMeasures(benchmark::State& state) {
  const Pair pair = MakePair(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  if (pair.jpeg.Empty()) return state.SkipWithError("round trip failed");
  const PixelRect whole{0, 0, pair.source.Width(), pair.source.Height()};
  for (auto _ : state) {
    QualityMeasures m;
    MeasureQuality(pair.source.View(), pair.jpeg.View(), whole, m);
    benchmark::DoNotOptimize(m.ssim);
  }
  Describe(state, pair.source);
}

void Sizes(benchmark::internal::Benchmark* bench) {
  bench->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_Memcpy)->Apply(Sizes);
BENCHMARK(BM_BuildDiffA)->Apply(Sizes);
BENCHMARK(BM_BuildDiffB)->Apply(Sizes);
BENCHMARK(BM_SampleTraces)->Apply(Sizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EncodeDecode)->Args({1920, 1080})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QualityMeasures)->Args({1920, 1080})->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pictornx
