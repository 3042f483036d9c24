#include "pixels/jpeg_diff.h"

namespace pictornx {

void BuildDiffImage(ConstImageView, ConstImageView, ImageView, int) {}

void SampleChannelTraces(ConstImageView, ConstImageView, PixelRect, bool, TraceSamples& out) {
  out.rows = 0;
  out.samples = 0;
  out.lastColumn = 0;
}

int TraceValue(int s, int j, bool gain2) {
  if (gain2) {
    const int v = s - j + 127;
    return v < 0 ? 0 : (v > 255 ? 255 : v);
  }
  return (s - j) / 2 + 127;
}

PixelRect RangeRectFrom(int, int, int, int, int, int) { return {}; }

}  // namespace pictornx
