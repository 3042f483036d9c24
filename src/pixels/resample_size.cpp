#include <climits>

#include "pixels/resample.h"
#include "pixels/resample_internal.h"

namespace pictornx {

using resample_detail::IeeeDouble;

int ZoomedLength(int sourceLength, double zoom) {
  // The small addend keeps lengths such as 4 * 0.75 from truncating to one less.
  const double length = IeeeDouble(IeeeDouble(static_cast<double>(sourceLength) * zoom) + 0.00001);
  if (!(length < static_cast<double>(INT_MAX))) return INT_MAX;  // NaN lands here too
  if (length < 1.0) return 1;
  return static_cast<int>(length);
}

PixelSize ZoomedSize(PixelSize source, double zoomX, double zoomY) {
  return {ZoomedLength(source.width, zoomX), ZoomedLength(source.height, zoomY)};
}

bool EnlargementFits(PixelSize source, double factor) {
  const double pixels = static_cast<double>(source.width) * source.height * factor * factor;
  // truncate(pixels) >= limit exactly when pixels >= limit; NaN is refused.
  return pixels < static_cast<double>(kMaxEnlargedPixels);
}

ResampleMode EffectiveResampleMode(ResampleMode mode, PixelSize view) {
  const int64_t pixels = int64_t{view.width} * view.height;
  return pixels > kMaxResampledPixels ? ResampleMode::kNearest : mode;
}

bool ReportsProgress(ResampleMode mode, PixelSize view) {
  const ResampleMode effective = EffectiveResampleMode(mode, view);
  const bool averages =
      effective == ResampleMode::kAverage || effective == ResampleMode::kAverageSharpen;
  return averages && int64_t{view.width} * view.height > kProgressPixels;
}

}  // namespace pictornx
