// The JPEG settings panel's slider arithmetic: portable, no windows.h.
#pragma once

namespace pictornx {

// The knob's centre column on a slider groove from `left` to `right` at `percent` (0-100).
int KnobCentre(int left, int right, int percent);
// The quality a press or drag at panel column `x` of the slider band chooses, between 1
// and `maxQuality`.
int QualityFromSliderX(int x, int maxQuality);

}  // namespace pictornx
