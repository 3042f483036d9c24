// The magnifier's view fill at the largest window (700 wide, a 693 x 690 view under the
// rulers) for the fewest and the most image pixels, beside a memcpy of the view's bytes in
// the same run: the inspector redraws on every mouse move.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <random>

#include "pixels/image_buffer.h"
#include "pixels/magnify.h"

namespace pictornx {
namespace {

constexpr int kWidth = 700;
constexpr int kHeight = 717;
const MagnifierView kView{3, kHeight - 4, kWidth - 7, kHeight - 3 - 19 - 5, 5};

ImageBuffer NoiseImage(int width, int height) {
  ImageBuffer image(width, height);
  std::mt19937 random(12345);
  for (uint8_t& byte : image.Bytes()) byte = static_cast<uint8_t>(random());
  return image;
}

int64_t ViewBytes() { return int64_t{kView.width - kView.margin} * kView.rows * 3; }

void BM_MemcpyViewBytes(benchmark::State& state) {
  const ImageBuffer source = NoiseImage(kWidth, kHeight);
  ImageBuffer target(kWidth, kHeight);
  const size_t rowBytes = static_cast<size_t>(kView.width - kView.margin) * 3;
  for (auto _ : state) {
    for (int k = 0; k < kView.rows; ++k) {
      std::memcpy(target.View().TopRow(kView.bottom - k) + (kView.left + kView.margin) * 3,
                  source.View().TopRow(k), rowBytes);
    }
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * ViewBytes());
}

void BM_MagnifyRegion(benchmark::State& state) {
  const int pixelCount = static_cast<int>(state.range(0));
  const ImageBuffer source = NoiseImage(1920, 1080);
  ImageBuffer target(kWidth, kHeight);
  for (auto _ : state) {
    MagnifyRegion(source.View(), target.View(), kView, 960, 540, pixelCount);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * ViewBytes());
}

BENCHMARK(BM_MemcpyViewBytes);
BENCHMARK(BM_MagnifyRegion)->Arg(5)->Arg(200);

}  // namespace
}  // namespace pictornx
