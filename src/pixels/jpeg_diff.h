// The JPEG preview's comparison kernels: the two difference images, the channel traces
// sampled for the three panels, and the range a rubber band selects.
#pragma once

#include <cstdint>

#include "pixels/image.h"

namespace pictornx {

// out byte = clamp(factor * (j - s) + 127, 0, 255) per colour byte; factor 1 = difference A,
// 4 = difference B. All three views have the same width and height; padding is not written.
void BuildDiffImage(ConstImageView source, ConstImageView jpeg, ImageView out, int factor);

// Channel traces of a region (picture coordinates, top-down rows): at most 200 rows x 61 samples.
struct TraceSamples {
  int rows = 0;      // n = min(region height, 200)
  int samples = 0;   // samples taken per row (<= 61; a sample outside the region/image ends the row)
  int lastColumn = 0;  // region column index of the last sample (decides the wide/narrow drawing rule)
  uint8_t value[3][200][61];  // [channel: 0 red, 1 green, 2 blue][plot row][sample]
};
void SampleChannelTraces(ConstImageView source, ConstImageView jpeg, PixelRect region, bool gain2, TraceSamples& out);
int TraceValue(int s, int j, bool gain2);  // (s-j)/2+127 truncating, or clamp(s-j+127,0,255)

// The range from a rubber band, in view coordinates (right and bottom exclusive), with the
// 61-column and 1-row minimums and the edge rules; visible size W = min(image width, 446),
// H = min(image height, 430).
PixelRect RangeRectFrom(int x0, int y0, int x1, int y1, int visibleWidth, int visibleHeight);

}  // namespace pictornx
