#include "jpegpreview/settings_panel_rules.h"

#include <algorithm>
#include <cstdint>

namespace pictornx {

namespace {
// The quality per column is the double 1.3513513513513513, which lies just below 100 / 74:
// exactly 3042972721196281 / 2^51. The product is taken exactly, in integers, so the band's
// right end (74 columns in) gives 99.99... and thus 99, leaving 100 to the up arrow; a
// product rounded to a double would give 100.0 there, and 50.0 instead of 49 at column 37.
constexpr int64_t kFactorNumerator = 3042972721196281;
constexpr int kFactorShift = 51;
constexpr int kBandLeft = 25;
}  // namespace

// The knob is 7 columns wide, so its centre runs from left + 4 to right - 4.
int KnobCentre(int left, int right, int percent) { return left + (right - left - 8) * percent / 100 + 4; }

int QualityFromSliderX(int x, int maxQuality) {
  const int64_t columns = std::clamp(x - kBandLeft, 0, 1000);
  const int quality = static_cast<int>((columns * kFactorNumerator) >> kFactorShift);
  return std::clamp(quality, 1, std::max(1, maxQuality));
}

}  // namespace pictornx
