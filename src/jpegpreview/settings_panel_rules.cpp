#include "jpegpreview/settings_panel_rules.h"

#include <algorithm>

namespace pictornx {

namespace {
// 100 / 74 as the slider has always used it: the band's 74 columns map onto 0 to 99.99...,
// so its right end gives 99 and only the up arrow reaches 100.
constexpr double kQualityPerColumn = 1.3513513513513513;
constexpr int kBandLeft = 25;
}  // namespace

// The knob is 7 columns wide, so its centre runs from left + 4 to right - 4.
int KnobCentre(int left, int right, int percent) { return left + (right - left - 8) * percent / 100 + 4; }

int QualityFromSliderX(int x, int maxQuality) {
  const int quality = static_cast<int>((x - kBandLeft) * kQualityPerColumn);
  return std::clamp(quality, 1, std::max(1, maxQuality));
}

}  // namespace pictornx
