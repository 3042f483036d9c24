#include "pixels/quality_measures.h"

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <limits>
#include <memory>
#include <new>
#include <utility>

#include "pixels/pixel_lanes.h"

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

// `inverse` is 1 / pixels: exact for the 64 of a window, which is measured most often.
inline double Ssim(double a, double b, double squares, double cross, double inverse) {
  const double ma = a * inverse;
  const double mb = b * inverse;
  const double variances = squares * inverse - ma * ma - mb * mb;
  const double covariance = cross * inverse - ma * mb;
  return ((2 * ma * mb + kC1) * (2 * covariance + kC2)) / ((ma * ma + mb * mb + kC1) * (variances + kC2));
}

// The 8 x 8 window made of blocks x and x + 1 of two neighbouring strips. A window's sums
// are at most 64 * 2 * 255^2, so they are added and converted as int32: the i686 build
// converts an int64 to a double through the x87 unit, several times slower.
double WindowSsim(const BlockSums* upper, const BlockSums* lower, int x) {
  const BlockSums* parts[4] = {&upper[x], &upper[x + 1], &lower[x], &lower[x + 1]};
  int32_t a = 0, b = 0, squares = 0, cross = 0;
  for (const BlockSums* p : parts) {
    a += static_cast<int32_t>(p->a);
    b += static_cast<int32_t>(p->b);
    squares += static_cast<int32_t>(p->squares);
    cross += static_cast<int32_t>(p->cross);
  }
  return Ssim(a, b, squares, cross, 1.0 / 64);
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

#if defined(__SSE2__)
// Pixels a vector step takes, and the int32 sums kept per 8 columns of a strip: four
// lanes of column-pair sums for each of a, b, a^2 + b^2 and a * b.
constexpr int kVectorPixels = 16;
constexpr int kPairSums = 16;

// Inlined into the row loop: called out of line, the vectors go through memory.
#define PICTORNX_VECTOR_INLINE [[gnu::always_inline]] inline

// Sum of squared differences of 16 bytes, as four int32 lanes.
PICTORNX_VECTOR_INLINE __m128i SquaredDifferences(__m128i a, __m128i b) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i d = _mm_or_si128(_mm_subs_epu8(a, b), _mm_subs_epu8(b, a));
  const __m128i lo = _mm_unpacklo_epi8(d, zero), hi = _mm_unpackhi_epi8(d, zero);
  return _mm_add_epi32(_mm_madd_epi16(lo, lo), _mm_madd_epi16(hi, hi));
}

// (77 R + 150 G + 29 B + 128) >> 8 in 16-bit lanes: at most 65408, so unsigned 16 bits hold it.
PICTORNX_VECTOR_INLINE __m128i Luma16(__m128i b, __m128i g, __m128i r) {
  const __m128i sum = _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(r, _mm_set1_epi16(77)), _mm_mullo_epi16(g, _mm_set1_epi16(150))),
                                    _mm_add_epi16(_mm_mullo_epi16(b, _mm_set1_epi16(29)), _mm_set1_epi16(128)));
  return _mm_srli_epi16(sum, 8);
}

PICTORNX_VECTOR_INLINE void AddTo(int32_t* sums, __m128i value) {
  __m128i* at = reinterpret_cast<__m128i*>(sums);
  _mm_storeu_si128(at, _mm_add_epi32(_mm_loadu_si128(at), value));
}

PICTORNX_VECTOR_INLINE void AddPairSums(int32_t* sums, __m128i a, __m128i b) {
  const __m128i ones = _mm_set1_epi16(1);
  AddTo(sums, _mm_madd_epi16(a, ones));
  AddTo(sums + 4, _mm_madd_epi16(b, ones));
  AddTo(sums + 8, _mm_add_epi32(_mm_madd_epi16(a, a), _mm_madd_epi16(b, b)));
  AddTo(sums + 12, _mm_madd_epi16(a, b));
}

// The first `pixels` (a multiple of 16) pixels of a row: squared differences into `sse`
// and the luma column-pair sums into `pairs` (kPairSums int32 per 8 columns).
void AccumulateRowVector(const uint8_t* s, const uint8_t* j, int pixels, int32_t* pairs, uint64_t (&sse)[3]) {
  const __m128i zero = _mm_setzero_si128();
  for (int start = 0; start < pixels;) {
    // Each int32 lane gains at most 4 x 255^2 a step: 8192 steps stay below 2^31.
    const int end = std::min(pixels, start + 8192 * kVectorPixels);
    __m128i e0 = zero, e1 = zero, e2 = zero;
    for (int x = start; x < end; x += kVectorPixels) {
      __m128i sb, sg, sr, jb, jg, jr;
      lanes::Deinterleave(s + 3 * x, sb, sg, sr);
      lanes::Deinterleave(j + 3 * x, jb, jg, jr);
      e0 = _mm_add_epi32(e0, SquaredDifferences(sb, jb));
      e1 = _mm_add_epi32(e1, SquaredDifferences(sg, jg));
      e2 = _mm_add_epi32(e2, SquaredDifferences(sr, jr));
      const __m128i la = Luma16(_mm_unpacklo_epi8(sb, zero), _mm_unpacklo_epi8(sg, zero), _mm_unpacklo_epi8(sr, zero));
      const __m128i ha = Luma16(_mm_unpackhi_epi8(sb, zero), _mm_unpackhi_epi8(sg, zero), _mm_unpackhi_epi8(sr, zero));
      const __m128i lb = Luma16(_mm_unpacklo_epi8(jb, zero), _mm_unpacklo_epi8(jg, zero), _mm_unpacklo_epi8(jr, zero));
      const __m128i hb = Luma16(_mm_unpackhi_epi8(jb, zero), _mm_unpackhi_epi8(jg, zero), _mm_unpackhi_epi8(jr, zero));
      int32_t* at = pairs + (x / 8) * kPairSums;
      AddPairSums(at, la, lb);
      AddPairSums(at + kPairSums, ha, hb);
    }
    const __m128i lanes[3] = {e0, e1, e2};
    for (int c = 0; c < 3; ++c) {
      alignas(16) uint32_t v[4];
      _mm_store_si128(reinterpret_cast<__m128i*>(v), lanes[c]);
      sse[c] += uint64_t{v[0]} + v[1] + v[2] + v[3];
    }
    start = end;
  }
}

// A finished strip's column-pair sums into the blocks of 4 columns they cover.
void PairsToBlocks(const int32_t* pairs, int pixels, BlockSums* blocks) {
  for (int g = 0; g < pixels / 8; ++g) {
    const int32_t* p = pairs + g * kPairSums;
    for (int half = 0; half < 2; ++half) {
      BlockSums& block = blocks[2 * g + half];
      const int l = 2 * half;
      block.a += p[l] + p[l + 1];
      block.b += p[4 + l] + p[4 + l + 1];
      block.squares += p[8 + l] + p[8 + l + 1];
      block.cross += p[12 + l] + p[12 + l + 1];
    }
  }
}
#endif

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
#if defined(__SSE2__)
  const int vectorPixels = windowed ? lumaColumns / kVectorPixels * kVectorPixels : 0;
  const size_t pairCount = static_cast<size_t>(vectorPixels / 8) * kPairSums;
#else
  const int vectorPixels = 0;
  const size_t pairCount = 0;
#endif
  std::unique_ptr<BlockSums[]> strips(new (std::nothrow) BlockSums[2 * static_cast<size_t>(blocks)]);
  std::unique_ptr<int32_t[]> pairs(new (std::nothrow) int32_t[pairCount + 1]());
  if (!strips || !pairs) return false;
  BlockSums* upper = strips.get();
  BlockSums* lower = upper + blocks;

  uint64_t sse[3] = {};
  double ssimSum = 0;
  int64_t windows = 0;
  for (int r = 0; r < height; ++r) {
    const ptrdiff_t offset = static_cast<ptrdiff_t>(region.left) * 3;
    const uint8_t* s = source.TopRow(region.top + r) + offset;
    const uint8_t* j = jpeg.TopRow(region.top + r) + offset;
    if (r >= lumaRows) {
      AccumulateRow(s, j, width, 0, false, lower, sse);
      continue;
    }
    int done = 0;
#if defined(__SSE2__)
    if (vectorPixels > 0) AccumulateRowVector(s, j, vectorPixels, pairs.get(), sse);
    done = vectorPixels;
#endif
    const ptrdiff_t skip = static_cast<ptrdiff_t>(done) * 3;
    AccumulateRow(s + skip, j + skip, width - done, lumaColumns - done, !windowed, lower + done / 4, sse);
    if (windowed && r % 4 == 3) {
#if defined(__SSE2__)
      PairsToBlocks(pairs.get(), vectorPixels, lower);
      std::fill(pairs.get(), pairs.get() + pairCount, 0);
#endif
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
    out.ssim = Ssim(static_cast<double>(all.a), static_cast<double>(all.b), static_cast<double>(all.squares),
                    static_cast<double>(all.cross), 1.0 / pixels);
  }
  return true;
}

double BitsPerPixel(uint64_t fileBytes, int64_t pixels) {
  if (pixels <= 0) return 0;
  return static_cast<double>(fileBytes) * 8.0 / static_cast<double>(pixels);
}

void FormatQualityLines(const QualityMeasures& m, double bitsPerPixel, const wchar_t* infinityWord, TextWriter& out) {
  QualityLabels labels;
  labels.infinity = infinityWord;
  FormatQualityLines(m, bitsPerPixel, labels, out);
}

void FormatQualityLines(const QualityMeasures& m, double bitsPerPixel, const QualityLabels& labels, TextWriter& out) {
  const QualityLabels defaults;
  const wchar_t* word = labels.infinity ? labels.infinity : defaults.infinity;
  const wchar_t* unit = labels.bitsPerPixel ? labels.bitsPerPixel : defaults.bitsPerPixel;
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
  std::swprintf(text, 256, L"PSNR %ls (R %ls / G %ls / B %ls)\nSSIM %.3f \u00B7 %.2f %.40ls", overall, channel[0],
                channel[1], channel[2], m.ssim, bitsPerPixel, unit);
  out.Add(text);
}

}  // namespace pictornx
