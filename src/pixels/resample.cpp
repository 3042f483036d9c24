// BoxAverage, the area-weighted averaging resampler, and RenderZoomed, which picks the
// kernels for a mode.
//
// Ranges and weights come from one rule per axis, computed once per view column and row:
// with s = D / S, view index d draws on source indices floor(d / s) .. ceil((d + 1) / s) - 1
// (divisions as multiplications by 1 / s); the first has weight (j + 1) * s - floor(j * s),
// the last (d + 1) - j * s, the others s; indices past the image are skipped. The first
// weight is deliberately not the overlap (j + 1) * s - d.
//
// The weight of a source pixel is the product of its column and row weights, so the sum
// separates: each view row first folds its source rows into one row (a vectorised pass),
// then each view pixel folds its columns of that row. With general weights the folds sum
// doubles and differ from the pixel-by-pixel sum only in the order of the additions, far
// below the tolerance; with weights that are short binary fractions the sums are exact and
// run on integers (see below).
#include "pixels/resample.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "pixels/resample_internal.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace pictornx {
namespace {

using namespace resample_detail;

// What one view index draws on along an axis; one record so a pixel's loop touches one
// cache line of it.
struct AverageSpan {
  int first = 0;              // first source index
  int count = 0;              // source indices from `first`
  uint32_t offset = 0;        // of its weights in the axis's weight arrays
  uint32_t integerTotal = 0;  // sum of its integer weights, when the axis has them
  int totalShift = 0;         // log2 of integerTotal when that is a power of two
  double inverseTotal = 0;    // 1 / sum of its weights
};

// The source indices and weights of every view index along one axis.
class AverageAxis {
 public:
  bool Build(int sourceLength, int viewLength) {
    const auto views = static_cast<size_t>(viewLength);
    // Each view index spans at most ceil(S / D) + 1 source indices, and the spans overlap
    // by at most one index each: S + 2 * D bounds the total.
    const size_t taps = static_cast<size_t>(sourceLength) + 2 * views;
    if (!spans_.Allocate(views) || !weights_.Allocate(taps) || !integerWeights_.Allocate(taps))
      return false;
    const double s = IeeeDouble(static_cast<double>(viewLength) / sourceLength);
    const double inverse = IeeeDouble(1.0 / s);
    uint32_t offset = 0;
    for (int d = 0; d < viewLength; ++d) {
      auto first = static_cast<int>(std::floor(IeeeDouble(d * inverse)));
      const int last = static_cast<int>(std::ceil(IeeeDouble((d + 1) * inverse))) - 1;
      // Rounding cannot push the first index past the image for any size a view can
      // have; the clamp keeps every view index with at least one weighted pixel anyway.
      if (first > sourceLength - 1) first = sourceLength - 1;
      int end = last < sourceLength ? last + 1 : sourceLength;
      if (end <= first) end = first + 1;
      double total = 0;
      for (int j = first; j < end; ++j) {
        double w;
        if (j == first)
          w = IeeeDouble(IeeeDouble((j + 1) * s) - std::floor(IeeeDouble(j * s)));
        else if (j == last)
          w = IeeeDouble((d + 1) - IeeeDouble(j * s));
        else
          w = s;
        weights_[offset + static_cast<uint32_t>(j - first)] = w;
        total += w;
      }
      spans_[static_cast<size_t>(d)] = {first, end - first, offset, 0, 0, 1.0 / total};
      offset += static_cast<uint32_t>(end - first);
    }
    taps_ = offset;
    views_ = views;
    allSingle_ = taps_ == views_;
    integral_ = FindIntegerWeights();
    return true;
  }

  const AverageSpan& Span(int d) const { return spans_[static_cast<size_t>(d)]; }
  const double* Weights(const AverageSpan& span) const { return weights_.get() + span.offset; }
  bool SameSpan(int d, int e) const {
    const AverageSpan &a = Span(d), &b = Span(e);
    return a.first == b.first && a.count == b.count &&
           std::memcmp(Weights(a), Weights(b), sizeof(double) * static_cast<size_t>(a.count)) == 0;
  }

  // Whether every weight is a small whole number once scaled by a common power of two; the
  // scaled weights, their per-index totals and the largest total.
  bool Integral() const { return integral_; }
  const uint16_t* IntegerWeights(const AverageSpan& span) const {
    return integerWeights_.get() + span.offset;
  }
  uint32_t MaxIntegerTotal() const { return maxIntegerTotal_; }
  bool TotalsArePowersOfTwo() const { return totalsArePowersOfTwo_; }
  // Whether every view index draws on one source index (enlarging by 2 or more, or 100 %).
  bool AllSingle() const { return allSingle_; }

 private:
  bool FindIntegerWeights() {
    for (int shift = 0; shift <= 8; ++shift) {
      const double scale = static_cast<double>(1 << shift);  // scaling by 2^k is exact
      bool whole = true;
      for (size_t i = 0; i < taps_ && whole; ++i) {
        const double w = weights_[i] * scale;
        whole = w >= 0 && w <= 65535 && w == std::floor(w);
      }
      if (!whole) continue;
      maxIntegerTotal_ = 0;
      totalsArePowersOfTwo_ = true;
      for (size_t d = 0; d < views_; ++d) {
        AverageSpan& span = spans_[d];
        uint32_t total = 0;
        for (int t = 0; t < span.count; ++t) {
          const auto w =
              static_cast<uint16_t>(weights_[span.offset + static_cast<uint32_t>(t)] * scale);
          integerWeights_[span.offset + static_cast<uint32_t>(t)] = w;
          total += w;
        }
        span.integerTotal = total;
        span.totalShift = std::countr_zero(total);
        maxIntegerTotal_ = std::max(maxIntegerTotal_, total);
        totalsArePowersOfTwo_ = totalsArePowersOfTwo_ && std::has_single_bit(total);
      }
      return true;
    }
    return false;
  }

  Scratch<AverageSpan> spans_;
  Scratch<double> weights_;
  Scratch<uint16_t> integerWeights_;
  size_t taps_ = 0;
  size_t views_ = 0;
  bool integral_ = false;
  bool allSingle_ = false;
  bool totalsArePowersOfTwo_ = false;
  uint32_t maxIntegerTotal_ = 0;
};

// ---- General weights: sums of doubles ------------------------------------------------

inline uint8_t AverageByte(double sum, double scale) {
  return static_cast<uint8_t>(static_cast<int>(IeeeDouble(sum * scale) + kAverageTolerance));
}

// Writes one view row from a folded source row (bytes or doubles), `rowScale` being the
// inverse of the row's weight total.
template <typename Sample>
void AverageColumns(const Sample* in, const AverageAxis& columns, double rowScale, int viewWidth,
                    uint8_t* out) {
  for (int x = 0; x < viewWidth; ++x) {
    const AverageSpan& span = columns.Span(x);
    const Sample* p = in + static_cast<size_t>(span.first) * 3;
    const double* w = columns.Weights(span);
    double b = 0, g = 0, r = 0;
    for (int t = 0; t < span.count; ++t) {
      b += w[t] * p[3 * t];
      g += w[t] * p[3 * t + 1];
      r += w[t] * p[3 * t + 2];
    }
    const double scale = span.inverseTotal * rowScale;
    out[3 * x] = AverageByte(b, scale);
    out[3 * x + 1] = AverageByte(g, scale);
    out[3 * x + 2] = AverageByte(r, scale);
  }
}

// The row folds below work in fixed-size blocks so the compiler vectorises them without a
// cost model that allows remainder loops.
constexpr size_t kBlock = 16;

// sum[i] = wa * a[i] + wb * b[i]
void WeightTwoRows(const uint8_t* __restrict a, double wa, const uint8_t* __restrict b, double wb,
                   size_t n, double* __restrict sum) {
  size_t i = 0;
  for (; i + kBlock <= n; i += kBlock)
    for (size_t k = 0; k < kBlock; ++k) sum[i + k] = wa * a[i + k] + wb * b[i + k];
  for (; i < n; ++i) sum[i] = wa * a[i] + wb * b[i];
}

// sum[i] += wa * a[i]
void AddWeightedRow(const uint8_t* __restrict a, double wa, size_t n, double* __restrict sum) {
  size_t i = 0;
  for (; i + kBlock <= n; i += kBlock)
    for (size_t k = 0; k < kBlock; ++k) sum[i + k] += wa * a[i + k];
  for (; i < n; ++i) sum[i] += wa * a[i];
}

void AverageRowDoubles(ConstImageView source, const AverageAxis& rows, const AverageAxis& columns,
                       int y, double* folded, uint8_t* out, int viewWidth) {
  const size_t rowBytes = static_cast<size_t>(source.width) * 3;
  const AverageSpan& span = rows.Span(y);
  const int k0 = span.first;
  if (span.count == 1) {
    // One source row: its weight cancels out of the quotient.
    AverageColumns(source.Row(k0), columns, 1.0, viewWidth, out);
    return;
  }
  const double* w = rows.Weights(span);
  WeightTwoRows(source.Row(k0), w[0], source.Row(k0 + 1), w[1], rowBytes, folded);
  for (int t = 2; t < span.count; ++t) AddWeightedRow(source.Row(k0 + t), w[t], rowBytes, folded);
  AverageColumns(folded, columns, span.inverseTotal, viewWidth, out);
}

// ---- Dyadic weights: exact integer sums ------------------------------------------------
//
// When every weight of both axes is a small multiple of a power of two (as at 25 %, 50 %,
// 75 %, 150 % and 200 % of sizes they divide), the double sums are exact: each product
// and partial sum is a short binary fraction. The quotient is then S / D with whole S and
// D <= kMaxIntegerDivisor, and the tolerance cannot lift it past an integer (its fraction
// is 0 or at least 1 / D), so each byte is exactly floor(S / D). These sums run on 16-bit
// integers, three channels to a vector (or, without SSE2, to a 64-bit word).

// D <= 257 keeps every channel sum (at most 255 * D) within 16 bits.
constexpr uint32_t kMaxIntegerDivisor = 257;

#if defined(__SSE2__)
// With SSE2 (both shipped builds) a pixel's three channel sums are 16-bit lanes of a
// vector and the quotients come from float lanes: for s = q * D + r below 2^16,
// (s + 1/2) / D lies at least 1 / (2 * D) >= 1/514 from every whole number, and a float
// product of it carries an error below 2^-14, so truncating gives q exactly. No 64-bit
// arithmetic runs per pixel, which the i686 build would do in pairs of 32-bit steps.
struct DivisionTable {
  float inverse[kMaxIntegerDivisor + 1];
  DivisionTable() {
    inverse[0] = 0;
    for (uint32_t d = 1; d <= kMaxIntegerDivisor; ++d) inverse[d] = 1.0f / static_cast<float>(d);
  }
};
#else
// floor(s / d) = (s * magic[d]) >> 32 for every s < 2^16 and d <= kMaxIntegerDivisor.
struct DivisionTable {
  uint64_t magic[kMaxIntegerDivisor + 1];
  DivisionTable() {
    magic[0] = 0;
    for (uint32_t d = 1; d <= kMaxIntegerDivisor; ++d) magic[d] = (uint64_t{1} << 32) / d + 1;
  }
};
#endif

// acc[i] = the weighted sum of the rows' bytes i.
void FoldRowsIntegral(ConstImageView source, const AverageAxis& rows, int y, size_t n,
                      uint16_t* __restrict acc) {
  const AverageSpan& span = rows.Span(y);
  const int k0 = span.first, count = span.count;
  const uint16_t* w = rows.IntegerWeights(span);
  const uint8_t* __restrict a = source.Row(k0);
  const uint16_t wa = w[0];
  size_t i = 0;
  if (count == 1) {
    for (; i + kBlock <= n; i += kBlock)
      for (size_t k = 0; k < kBlock; ++k) acc[i + k] = static_cast<uint16_t>(wa * a[i + k]);
    for (; i < n; ++i) acc[i] = static_cast<uint16_t>(wa * a[i]);
    return;
  }
  const uint8_t* __restrict b = source.Row(k0 + 1);
  const uint16_t wb = w[1];
  for (; i + kBlock <= n; i += kBlock)
    for (size_t k = 0; k < kBlock; ++k)
      acc[i + k] = static_cast<uint16_t>(wa * a[i + k] + wb * b[i + k]);
  for (; i < n; ++i) acc[i] = static_cast<uint16_t>(wa * a[i] + wb * b[i]);
  for (int t = 2; t < count; ++t) {
    const uint8_t* __restrict c = source.Row(k0 + t);
    const uint16_t wc = w[t];
    for (i = 0; i + kBlock <= n; i += kBlock)
      for (size_t k = 0; k < kBlock; ++k)
        acc[i + k] = static_cast<uint16_t>(acc[i + k] + wc * c[i + k]);
    for (; i < n; ++i) acc[i] = static_cast<uint16_t>(acc[i] + wc * c[i]);
  }
}

#if defined(__SSE2__)
// The channel sums of view pixel x as the low three 16-bit lanes of a vector (the fourth,
// the next pixel's blue, is ignored; lanes cannot carry into each other within the bounds).
inline __m128i ColumnSums(const uint16_t* acc, const AverageAxis& columns,
                          const AverageSpan& span) {
  const uint16_t* p = acc + static_cast<size_t>(span.first) * 3;
  const uint16_t* w = columns.IntegerWeights(span);
  const auto term = [&](int t) {
    const __m128i pixel = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p + 3 * t));
    return _mm_mullo_epi16(pixel, _mm_set1_epi16(static_cast<short>(w[t])));
  };
  // Reducing by up to a half gives two columns, enlarging one or two.
  if (span.count == 2) return _mm_add_epi16(term(0), term(1));
  if (span.count == 1) return term(0);
  __m128i sum = term(0);
  for (int t = 1; t < span.count; ++t) sum = _mm_add_epi16(sum, term(t));
  return sum;
}

// The quotient lanes as a pixel word; the fourth lane saturates into the top byte, which
// WriteRow overwrites or never stores.
inline uint32_t PixelWord(__m128i quotients) {
  const __m128i bytes = _mm_packus_epi16(quotients, quotients);
  return static_cast<uint32_t>(_mm_cvtsi128_si32(bytes));
}

// One view row from the folded row `acc`, dividing each channel sum by the pixel's divisor:
// by a shift when every divisor of the row is a power of two, else in float lanes.
void AverageColumnsIntegral(const uint16_t* acc, const AverageAxis& columns, uint32_t rowTotal,
                            const DivisionTable& division, const ImageView& view, int y) {
  if (columns.TotalsArePowersOfTwo() && (rowTotal & (rowTotal - 1)) == 0) {
    const int rowShift = std::countr_zero(rowTotal);
    WriteRow(view, y, [&](int x) {
      const AverageSpan& span = columns.Span(x);
      const __m128i shift = _mm_cvtsi32_si128(rowShift + span.totalShift);
      return PixelWord(_mm_srl_epi16(ColumnSums(acc, columns, span), shift));
    });
    return;
  }
  const __m128i zero = _mm_setzero_si128();
  const __m128 half = _mm_set1_ps(0.5f);
  WriteRow(view, y, [&](int x) {
    const AverageSpan& span = columns.Span(x);
    const __m128i sums = _mm_unpacklo_epi16(ColumnSums(acc, columns, span), zero);
    const __m128 inverse = _mm_set1_ps(division.inverse[rowTotal * span.integerTotal]);
    const __m128i q = _mm_cvttps_epi32(_mm_mul_ps(_mm_add_ps(_mm_cvtepi32_ps(sums), half), inverse));
    return PixelWord(_mm_packs_epi32(q, q));
  });
}
#else
inline uint64_t Load8(const uint16_t* p) {
  uint64_t v;
  std::memcpy(&v, p, 8);
  return v;
}

// The channel sums of view pixel x as three 16-bit lanes of a word (the fourth lane, the
// next pixel's blue, is ignored; lanes cannot carry into each other within the bounds).
inline uint64_t ColumnSums(const uint16_t* acc, const AverageAxis& columns,
                           const AverageSpan& span) {
  const uint16_t* p = acc + static_cast<size_t>(span.first) * 3;
  const uint16_t* w = columns.IntegerWeights(span);
  // Reducing by up to a half gives two columns, enlarging one or two.
  if (span.count == 2) return w[0] * Load8(p) + w[1] * Load8(p + 3);
  if (span.count == 1) return w[0] * Load8(p);
  uint64_t sum = 0;
  for (int t = 0; t < span.count; ++t) sum += w[t] * Load8(p + 3 * t);
  return sum;
}

// One view row from the folded row `acc`, dividing each channel sum by the pixel's divisor:
// by a shift when every divisor of the row is a power of two, else by a multiplication. A
// power-of-two divisor is at most 256, so the shifted word's three quotient bytes come from
// their own lanes only.
void AverageColumnsIntegral(const uint16_t* acc, const AverageAxis& columns, uint32_t rowTotal,
                            const DivisionTable& division, const ImageView& view, int y) {
  if (columns.TotalsArePowersOfTwo() && (rowTotal & (rowTotal - 1)) == 0) {
    const int rowShift = std::countr_zero(rowTotal);
    WriteRow(view, y, [&](int x) {
      const AverageSpan& span = columns.Span(x);
      const uint64_t quotient =
          (ColumnSums(acc, columns, span) >> (rowShift + span.totalShift)) & 0xFF00FF00FFull;
      return static_cast<uint32_t>((quotient & 0xFF) | ((quotient >> 8) & 0xFF00) |
                                   ((quotient >> 16) & 0xFF0000));
    });
    return;
  }
  WriteRow(view, y, [&](int x) {
    const AverageSpan& span = columns.Span(x);
    const uint64_t sum = ColumnSums(acc, columns, span);
    const uint64_t magic = division.magic[rowTotal * span.integerTotal];
    const auto b = static_cast<uint32_t>(((sum & 0xFFFF) * magic) >> 32);
    const auto g = static_cast<uint32_t>((((sum >> 16) & 0xFFFF) * magic) >> 32);
    const auto r = static_cast<uint32_t>((((sum >> 32) & 0xFFFF) * magic) >> 32);
    return b | g << 8 | r << 16;
  });
}
#endif

}  // namespace

bool BoxAverage(ConstImageView source, ImageView view, const RowDone& rowDone) {
  if (!ValidPair(source, view)) return false;
  AverageAxis columns, rows;
  if (!columns.Build(source.width, view.width) || !rows.Build(source.height, view.height))
    return false;
  const size_t rowBytes = static_cast<size_t>(source.width) * 3;
  const bool integral =
      columns.Integral() && rows.Integral() &&
      uint64_t{columns.MaxIntegerTotal()} * rows.MaxIntegerTotal() <= kMaxIntegerDivisor;
  Scratch<double> folded;
  Scratch<uint16_t> foldedIntegral;
  // The integral fold has one spare lane so the last pixel can be read as a word.
  if (integral ? !foldedIntegral.Allocate(rowBytes + 1) : !folded.Allocate(rowBytes)) return false;
  DivisionTable division;
  if (integral) foldedIntegral[rowBytes] = 0;
  for (int y = 0; y < view.height; ++y) {
    if (y > 0 && rows.SameSpan(y, y - 1)) {
      std::memcpy(view.Row(y), view.Row(y - 1), static_cast<size_t>(view.width) * 3);
    } else if (rows.Span(y).count == 1 && columns.AllSingle()) {
      // One source pixel per view pixel: w * v / w is v, whatever w. The last memory row
      // may end without padding, so its pixels are read bytewise.
      const int k = rows.Span(y).first;
      const uint8_t* row = source.Row(k);
      const bool wordSafe = k < source.height - 1 || source.stride > source.width * 3;
      WriteRow(view, y, [&](int x) {
        const uint8_t* p = row + 3 * static_cast<size_t>(columns.Span(x).first);
        return wordSafe ? Load4(p) : Load3(p);
      });
    } else if (integral) {
      FoldRowsIntegral(source, rows, y, rowBytes, foldedIntegral.get());
      AverageColumnsIntegral(foldedIntegral.get(), columns, rows.Span(y).integerTotal, division,
                             view, y);
    } else {
      AverageRowDoubles(source, rows, columns, y, folded.get(), view.Row(y), view.width);
    }
    if (rowDone) rowDone();
  }
  return true;
}

bool RenderZoomed(ConstImageView source, ImageView view, ResampleMode mode,
                  const RowDone& rowDone) {
  if (!ValidPair(source, view)) return false;
  const ResampleMode effective = EffectiveResampleMode(mode, {view.width, view.height});
  switch (effective) {
    case ResampleMode::kCorrection:
      return CorrectionBlend(source, view);
    case ResampleMode::kCorrectionSharpen:
      return CorrectionBlend(source, view) && SharpenView(view);
    case ResampleMode::kAverage:
    case ResampleMode::kAverageSharpen: {
      const RowDone progress = ReportsProgress(mode, {view.width, view.height}) ? rowDone : RowDone{};
      if (!BoxAverage(source, view, progress)) return false;
      return effective == ResampleMode::kAverage || SharpenView(view);
    }
    case ResampleMode::kNearest:
    default:
      return StretchNearest(source, view);
  }
}

}  // namespace pictornx
