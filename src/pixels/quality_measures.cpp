#include "pixels/quality_measures.h"

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <limits>
#include <memory>
#include <new>
#include <utility>

namespace pictornx {
namespace {

constexpr double kC1 = (0.01 * 255) * (0.01 * 255);
constexpr double kC2 = (0.03 * 255) * (0.03 * 255);

// Luma sums of a 4-column block over the rows of one 4-row strip (or of the whole region
// when it is measured as one window). 64 bits: the single window may span millions of pixels.
struct BlockSums {
  int64_t a = 0;
  int64_t b = 0;
  int64_t squares = 0;  // sum of a^2 + b^2
  int64_t cross = 0;    // sum of a * b
};

int Luma(const uint8_t* bgr) { return (77 * bgr[2] + 150 * bgr[1] + 29 * bgr[0] + 128) >> 8; }

double Ssim(int64_t a, int64_t b, int64_t squares, int64_t cross, double pixels) {
  const double ma = static_cast<double>(a) / pixels;
  const double mb = static_cast<double>(b) / pixels;
  const double variances = static_cast<double>(squares) / pixels - ma * ma - mb * mb;
  const double covariance = static_cast<double>(cross) / pixels - ma * mb;
  return ((2 * ma * mb + kC1) * (2 * covariance + kC2)) / ((ma * ma + mb * mb + kC1) * (variances + kC2));
}

// The 8 x 8 window made of blocks x and x + 1 of two neighbouring strips.
double WindowSsim(const BlockSums* upper, const BlockSums* lower, int x) {
  const BlockSums* parts[4] = {&upper[x], &upper[x + 1], &lower[x], &lower[x + 1]};
  BlockSums sum;
  for (const BlockSums* p : parts) {
    sum.a += p->a;
    sum.b += p->b;
    sum.squares += p->squares;
    sum.cross += p->cross;
  }
  return Ssim(sum.a, sum.b, sum.squares, sum.cross, 64.0);
}

// One row of `columns` pixels: every channel's squared differences into `sse` (blue, green,
// red), and the luma sums of the first `lumaColumns` pixels into a block per 4 columns, or
// all into blocks[0] when `oneBlock`. One pass, so every pixel byte is read once.
void AccumulateRow(const uint8_t* s, const uint8_t* j, int columns, int lumaColumns, bool oneBlock,
                   BlockSums* blocks, uint64_t (&sse)[3]) {
  uint64_t e0 = 0, e1 = 0, e2 = 0;
  int x = 0;
  for (; x < lumaColumns; x += 4) {
    const int end = std::min(x + 4, lumaColumns);
    int32_t sa = 0, sb = 0, squares = 0, cross = 0;  // at most 4 pixels: far inside 32 bits
    for (int i = x; i < end; ++i) {
      const uint8_t* p = s + 3 * i;
      const uint8_t* q = j + 3 * i;
      const int d0 = p[0] - q[0], d1 = p[1] - q[1], d2 = p[2] - q[2];
      e0 += static_cast<uint32_t>(d0 * d0);
      e1 += static_cast<uint32_t>(d1 * d1);
      e2 += static_cast<uint32_t>(d2 * d2);
      const int la = Luma(p), lb = Luma(q);
      sa += la;
      sb += lb;
      squares += la * la + lb * lb;
      cross += la * lb;
    }
    BlockSums& block = blocks[oneBlock ? 0 : x / 4];
    block.a += sa;
    block.b += sb;
    block.squares += squares;
    block.cross += cross;
  }
  for (; x < columns; ++x) {
    const uint8_t* p = s + 3 * x;
    const uint8_t* q = j + 3 * x;
    const int d0 = p[0] - q[0], d1 = p[1] - q[1], d2 = p[2] - q[2];
    e0 += static_cast<uint32_t>(d0 * d0);
    e1 += static_cast<uint32_t>(d1 * d1);
    e2 += static_cast<uint32_t>(d2 * d2);
  }
  sse[0] += e0;
  sse[1] += e1;
  sse[2] += e2;
}

double Psnr(uint64_t squaredErrors, double bytes) {
  if (squaredErrors == 0) return std::numeric_limits<double>::infinity();
  return 10.0 * std::log10(255.0 * 255.0 * bytes / static_cast<double>(squaredErrors));
}

}  // namespace

bool MeasureQuality(ConstImageView source, ConstImageView jpeg, PixelRect region, QualityMeasures& out) {
  out = QualityMeasures{};
  if (source.Empty() || jpeg.Empty() || source.width != jpeg.width || source.height != jpeg.height) return false;
  region.left = std::max(region.left, 0);
  region.top = std::max(region.top, 0);
  region.right = std::min(region.right, source.width);
  region.bottom = std::min(region.bottom, source.height);
  if (region.Empty()) return false;

  const int width = region.Width();
  const int height = region.Height();
  const bool windowed = width >= 8 && height >= 8;
  const int blocks = windowed ? width / 4 : 1;
  const int lumaColumns = windowed ? blocks * 4 : width;
  const int lumaRows = windowed ? height / 4 * 4 : height;
  std::unique_ptr<BlockSums[]> strips(new (std::nothrow) BlockSums[2 * static_cast<size_t>(blocks)]);
  if (!strips) return false;
  BlockSums* upper = strips.get();
  BlockSums* lower = upper + blocks;

  uint64_t sse[3] = {};
  double ssimSum = 0;
  int64_t windows = 0;
  for (int r = 0; r < height; ++r) {
    const ptrdiff_t offset = static_cast<ptrdiff_t>(region.left) * 3;
    const bool luma = r < lumaRows;
    AccumulateRow(source.TopRow(region.top + r) + offset, jpeg.TopRow(region.top + r) + offset, width,
                  luma ? lumaColumns : 0, !windowed, lower, sse);
    if (windowed && luma && r % 4 == 3) {
      if (r >= 7) {
        for (int x = 0; x + 1 < blocks; ++x) ssimSum += WindowSsim(upper, lower, x);
        windows += blocks - 1;
      }
      std::swap(upper, lower);
      std::fill(lower, lower + blocks, BlockSums{});
    }
  }

  const double pixels = static_cast<double>(width) * height;
  static constexpr int kChannelOfByte[3] = {2, 1, 0};  // blue, green, red bytes to red-first
  for (int b = 0; b < 3; ++b) out.psnr[kChannelOfByte[b]] = Psnr(sse[b], pixels);
  out.psnrAll = Psnr(sse[0] + sse[1] + sse[2], 3 * pixels);
  out.identical = sse[0] == 0 && sse[1] == 0 && sse[2] == 0;
  if (out.identical) {
    out.ssim = 1;
  } else if (windowed) {
    out.ssim = ssimSum / static_cast<double>(windows);
  } else {
    const BlockSums& all = lower[0];
    out.ssim = Ssim(all.a, all.b, all.squares, all.cross, pixels);
  }
  return true;
}

double BitsPerPixel(uint64_t fileBytes, int64_t pixels) {
  if (pixels <= 0) return 0;
  return static_cast<double>(fileBytes) * 8.0 / static_cast<double>(pixels);
}

std::wstring FormatQualityLines(const QualityMeasures& m, double bitsPerPixel, const wchar_t* infinityWord) {
  const wchar_t* word = infinityWord ? infinityWord : L"\u221E";
  wchar_t channel[3][40];
  for (int c = 0; c < 3; ++c) {
    if (std::isinf(m.psnr[c]))
      std::swprintf(channel[c], 40, L"%.30ls", word);
    else
      std::swprintf(channel[c], 40, L"%.1f", m.psnr[c]);
  }
  wchar_t overall[40];
  if (std::isinf(m.psnrAll))
    std::swprintf(overall, 40, L"%.30ls", word);
  else
    std::swprintf(overall, 40, L"%.1f dB", m.psnrAll);
  wchar_t text[256];
  std::swprintf(text, 256, L"PSNR %ls (R %ls / G %ls / B %ls)\nSSIM %.3f \u00B7 %.2f bit/pixel", overall, channel[0],
                channel[1], channel[2], m.ssim, bitsPerPixel);
  return text;
}

}  // namespace pictornx
