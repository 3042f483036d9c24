// How far a JPEG round trip is from its source, in numbers: PSNR per channel and overall,
// SSIM on luma, and the file's bits per pixel; and the two lines of text that show them.
#pragma once

#include <cstdint>

#include "pixels/fixed_text.h"
#include "pixels/image.h"

namespace pictornx {

struct QualityMeasures {
  double psnr[3] = {};   // red, green, blue, dB; +infinity when the channel is identical
  double psnrAll = 0;    // over all three channels
  double ssim = 1;       // luma SSIM, the 8 x 8 window form described below
  bool identical = false;
};
// PSNR = 10 log10(255^2 / MSE) per channel over the region's pixels, and over all three
// channels' bytes together for psnrAll.
// SSIM is computed on luma Y = (77 R + 150 G + 29 B + 128) >> 8 of both images: the mean,
// over square 8 x 8 windows with uniform weights placed every 4 pixels across and down
// (from the region's top-left; columns and rows beyond the last whole 4-pixel step are left
// out), of ((2 ma mb + C1)(2 cov + C2)) / ((ma^2 + mb^2 + C1)(va + vb + C2)) with population
// variances, C1 = (0.01 * 255)^2 and C2 = (0.03 * 255)^2. A region less than 8 pixels wide
// or high is measured as one window.
// `region` is in picture coordinates and is clipped to the images. False, with `out` reset,
// when the images differ in size, nothing of the region is left, or the working rows cannot
// be allocated (they take about 8 bytes per column).
bool MeasureQuality(ConstImageView source, ConstImageView jpeg, PixelRect region, QualityMeasures& out);
// File bytes x 8 / pixels; 0 when there are no pixels.
double BitsPerPixel(uint64_t fileBytes, int64_t pixels);
// Appends the hint's two lines, e.g. L"PSNR 41.2 dB (R 40.8 / G 43.0 / B 40.1)" and L"SSIM 0.987 · 2.14 bit/pixel",
// joined by L"\n"; `infinityWord` is what to print in place of a PSNR of an identical
// channel (and of the overall PSNR, without "dB", for identical images).
void FormatQualityLines(const QualityMeasures& m, double bitsPerPixel, const wchar_t* infinityWord, TextWriter& out);
// The same with every word the interface's language may change (from the string table);
// a null word keeps its default.
struct QualityLabels {
  const wchar_t* infinity = L"\u221E";
  const wchar_t* bitsPerPixel = L"bit/pixel";
};
void FormatQualityLines(const QualityMeasures& m, double bitsPerPixel, const QualityLabels& labels, TextWriter& out);

}  // namespace pictornx
