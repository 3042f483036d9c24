// Flip, rotate and the colour effects on full-HD and 4K pictures, each beside a memcpy of
// the same image bytes measured in the same run.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>

#include "pixels/effects.h"
#include "pixels/image_buffer.h"
#include "pixels/transform.h"

namespace pictornx {
namespace {

// Random bytes: no run of equal pixels or branch pattern helps the kernels.
ImageBuffer NoiseImage(int width, int height) {
  ImageBuffer image(width, height);
  std::mt19937 random(12345);
  for (uint8_t& byte : image.Bytes()) byte = static_cast<uint8_t>(random());
  return image;
}

void SetSize(benchmark::State& state, const ImageBuffer& image) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(image.Bytes().size()));
  state.SetLabel(std::to_string(image.Width()) + "x" + std::to_string(image.Height()));
}

void BM_Memcpy(benchmark::State& state) {
  const ImageBuffer source = NoiseImage(state.range(0), state.range(1));
  ImageBuffer copy(source.Width(), source.Height());
  for (auto _ : state) {
    std::memcpy(copy.Bytes().data(), source.Bytes().data(), source.Bytes().size());
    benchmark::ClobberMemory();
  }
  SetSize(state, source);
}

void BM_Transform(benchmark::State& state, Transform transform) {
  const ImageBuffer source = NoiseImage(state.range(0), state.range(1));
  ImageBuffer target = SwapsAxes(transform) ? ImageBuffer(source.Height(), source.Width())
                                            : ImageBuffer(source.Width(), source.Height());
  for (auto _ : state) {
    if (!TransformImage(transform, source.View(), target.View())) state.SkipWithError("refused");
    benchmark::ClobberMemory();
  }
  SetSize(state, source);
}

// The effects work in place; each run starts again from the noise so that grey and sepia
// never meet their own already-grey output.
void BM_Effect(benchmark::State& state, void (*effect)(ImageView)) {
  const ImageBuffer source = NoiseImage(state.range(0), state.range(1));
  ImageBuffer image = source;
  for (auto _ : state) {
    state.PauseTiming();
    image.Bytes() = source.Bytes();
    state.ResumeTiming();
    effect(image.View());
    benchmark::ClobberMemory();
  }
  SetSize(state, source);
}

void Sizes(benchmark::internal::Benchmark* b) {
  b->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_Memcpy)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Transform, MirrorLeftRight, Transform::kMirrorLeftRight)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Transform, MirrorTopBottom, Transform::kMirrorTopBottom)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Transform, RotateClockwise, Transform::kRotateClockwise)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Transform, RotateCounterClockwise, Transform::kRotateCounterClockwise)
    ->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Effect, Invert, InvertImage)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Effect, Grey, GreyImage)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Effect, Sepia, SepiaImage)->Apply(Sizes);

}  // namespace
}  // namespace pictornx
