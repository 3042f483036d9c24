// How far a JPEG round trip is from its source, in numbers: PSNR per channel and overall,
// SSIM on luma, and the file's bits per pixel; and the two lines of text that show them.
#pragma once

#include <cstdint>
#include <string>

#include "pixels/image.h"

namespace pictornx {

struct QualityMeasures {
  double psnr[3] = {};   // red, green, blue, dB; +infinity when the channel is identical
  double psnrAll = 0;    // over all three channels
  double ssim = 1;       // luma SSIM (say which form in the header)
  bool identical = false;
};
bool MeasureQuality(ConstImageView source, ConstImageView jpeg, PixelRect region, QualityMeasures& out);
double BitsPerPixel(uint64_t fileBytes, int64_t pixels);
// The hint's two lines, e.g. L"PSNR 41.2 dB (R 40.8 / G 43.0 / B 40.1)" and L"SSIM 0.987 · 2.14 bit/pixel";
// `infinityWord` is what to print for identical images.
std::wstring FormatQualityLines(const QualityMeasures& m, double bitsPerPixel, const wchar_t* infinityWord);

}  // namespace pictornx
