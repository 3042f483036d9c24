// Zoom and resampling kernels on photo-like screens, each beside memcpy of its source and
// view bytes measured in the same run; BoxAverage also beside the pixel-by-pixel
// reference of the tests. Ends with a table of the ratios and the targets they answer to.
//
// Modes are measured as kernels: above 3,600,000 view pixels RenderZoomed renders every
// mode as mode 0, and the table says where that applies.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "../tests/native/resample_reference.h"
#include "pixels/image_buffer.h"
#include "pixels/resample.h"

namespace pictornx {
namespace {

// 1366 x 768 is there for its 25 % and 75 % views, whose weights are not short binary
// fractions: they take BoxAverage's general path of double sums.
const PixelSize kSources[] = {{1920, 1080}, {3840, 2160}, {1366, 768}};
const struct {
  double factor;
  const char* label;
} kFactors[] = {{0.25001, "25%"}, {0.50001, "50%"}, {0.75, "75%"}, {1.5, "150%"}, {2.0, "200%"}};

std::string SizeName(PixelSize size) {
  return std::to_string(size.width) + "x" + std::to_string(size.height);
}

const ImageBuffer& Source(PixelSize size) {
  static std::map<std::pair<int, int>, std::unique_ptr<ImageBuffer>> images;
  auto& image = images[{size.width, size.height}];
  if (!image)
    image = std::make_unique<ImageBuffer>(testing::PhotoLikeImage(size.width, size.height, 2024));
  return *image;
}

void Memcpy(benchmark::State& state, size_t bytes) {
  std::vector<uint8_t> from(bytes, 1), to(bytes);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

// One kernel rendering `source` into a view of `size`.
template <typename Kernel>
void Render(benchmark::State& state, PixelSize source, PixelSize size, Kernel kernel) {
  const ImageBuffer& image = Source(source);
  ImageBuffer view(size.width, size.height);
  for (auto _ : state) {
    if (!kernel(image.View(), view.View())) state.SkipWithError("kernel failed");
    benchmark::DoNotOptimize(view.Bytes().data());
    benchmark::ClobberMemory();
  }
}

void Sharpen(benchmark::State& state, PixelSize source, PixelSize size) {
  ImageBuffer view(size.width, size.height);
  BoxAverage(Source(source).View(), view.View());
  // Sharpening its own output again each time: the kernel has no data-dependent branches.
  for (auto _ : state) {
    if (!SharpenView(view.View())) state.SkipWithError("kernel failed");
    benchmark::DoNotOptimize(view.Bytes().data());
    benchmark::ClobberMemory();
  }
}

bool Mode(int mode, ConstImageView source, ImageView view) {
  switch (mode) {
    case 0:
      return StretchNearest(source, view);
    case 1:
      return CorrectionBlend(source, view);
    case 2:
      return CorrectionBlend(source, view) && SharpenView(view);
    case 3:
      return BoxAverage(source, view);
    default:
      return BoxAverage(source, view) && SharpenView(view);
  }
}

// Names: "<what>/<source>" or "<what>/<source>@<factor>".
void RegisterAll() {
  for (PixelSize source : kSources) {
    const std::string sourceName = SizeName(source);
    const auto sourceBytes = static_cast<size_t>(ImageBytes(source.width, source.height));
    benchmark::RegisterBenchmark(("memcpy_source/" + sourceName).c_str(), Memcpy, sourceBytes);
    for (const auto& f : kFactors) {
      if (f.factor > 1 && !EnlargementFits(source, f.factor)) continue;
      const PixelSize size = ZoomedSize(source, f.factor, f.factor);
      const std::string name = sourceName + "@" + f.label;
      const auto viewBytes = static_cast<size_t>(ImageBytes(size.width, size.height));
      benchmark::RegisterBenchmark(("memcpy_view/" + name).c_str(), Memcpy, viewBytes);
      for (int mode = 0; mode <= 4; ++mode) {
        benchmark::RegisterBenchmark(
            ("mode" + std::to_string(mode) + "/" + name).c_str(), [=](benchmark::State& state) {
              Render(state, source, size,
                     [mode](ConstImageView s, ImageView v) { return Mode(mode, s, v); });
            });
      }
      benchmark::RegisterBenchmark(("SharpenView/" + name).c_str(), Sharpen, source, size);
      benchmark::RegisterBenchmark(("BoxAverageReference/" + name).c_str(),
                                   [=](benchmark::State& state) {
                                     Render(state, source, size, [](ConstImageView s, ImageView v) {
                                       testing::ReferenceBoxAverage(s, v);
                                       return true;
                                     });
                                   })
          ->Iterations(1);
    }
  }
}

// The console output, plus the real time of every run kept for the ratio table.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    // With --benchmark_repetitions the median stands for the case (this machine is shared).
    for (const Run& run : runs) {
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if ((run.run_type == Run::RT_Iteration || median) && !run.error_occurred)
        seconds_[run.run_name.function_name] =
            run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void PrintRatios() const {
    std::printf("\nRatios (time / baseline; reference: reference time / BoxAverage time)\n");
    std::printf("%-22s %-9s %10s %10s %10s %10s %10s %10s %9s\n", "case", "view", "mode0/dst",
                "mode1/src", "mode3/src", "sharp/dst", "mode2/src", "mode4/src", "ref/mode3");
    for (PixelSize source : kSources) {
      for (const auto& f : kFactors) {
        if (f.factor > 1 && !EnlargementFits(source, f.factor)) continue;
        const PixelSize size = ZoomedSize(source, f.factor, f.factor);
        const std::string name = SizeName(source) + "@" + f.label;
        const std::string src = "memcpy_source/" + SizeName(source), dst = "memcpy_view/" + name;
        const bool fallsBack =
            EffectiveResampleMode(ResampleMode::kAverage, size) == ResampleMode::kNearest;
        std::printf("%-22s %-9s %10s %10s %10s %10s %10s %10s %9s%s\n", name.c_str(),
                    SizeName(size).c_str(), Ratio("mode0/" + name, dst).c_str(),
                    Ratio("mode1/" + name, src).c_str(), Ratio("mode3/" + name, src).c_str(),
                    Ratio("SharpenView/" + name, dst).c_str(), Ratio("mode2/" + name, src).c_str(),
                    Ratio("mode4/" + name, src).c_str(),
                    Ratio("BoxAverageReference/" + name, "mode3/" + name).c_str(),
                    fallsBack ? "  (modes 1-4 render as 0)" : "");
      }
    }
    std::printf(
        "Targets: mode0/dst <= 2, mode1/src and mode3/src <= 8, sharp/dst <= 4, ref/mode3 >= 20\n");
  }

 private:
  // time(name) / time(baseline), or "-" when either was not run.
  std::string Ratio(const std::string& name, const std::string& baseline) const {
    const auto a = seconds_.find(name), b = seconds_.find(baseline);
    if (a == seconds_.end() || b == seconds_.end() || b->second <= 0) return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", a->second / b->second);
    return text;
  }
  std::map<std::string, double> seconds_;
};

}  // namespace
}  // namespace pictornx

int main(int argc, char** argv) {
  pictornx::RegisterAll();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  pictornx::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}
