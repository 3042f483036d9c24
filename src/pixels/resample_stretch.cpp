// The nearest-pixel and combining stretches and the correction blend built from them.
//
// All three share one block split (BuildStretchSpans). A view row draws on a block of
// source rows: the combining stretches first fold that block into one row (bytewise AND or
// OR, a pass the compiler vectorises), then fold each block of columns. Consecutive view
// rows with the same block give the same bytes, so enlarging copies the row above.
#include <cstring>

#include "pixels/resample.h"
#include "pixels/resample_internal.h"

namespace pictornx {
namespace resample_detail {

void BuildStretchSpans(int sourceLength, int viewLength, StretchSpan* spans) {
  for (int d = 0; d < viewLength; ++d) {
    const auto first = static_cast<int>(int64_t{d} * sourceLength / viewLength);
    const auto end = static_cast<int>(int64_t{d + 1} * sourceLength / viewLength);
    const int count = end > first ? end - first : 1;
    spans[d] = {first, count, first + (count - 1) / 2};
  }
}

}  // namespace resample_detail

namespace {

using namespace resample_detail;

// truncate(1.2 * o + 0.8 * d) >> 1 in IEEE doubles, for every o and d, indexed [o << 8 | d].
// A table rather than integer arithmetic: the double products round the sum just below an
// integer for some pairs (6 and 1 give 7.9999999999999991), and the result keeps that.
const uint8_t* CorrectionTable() {
  static const auto* const table = [] {
    static uint8_t bytes[256 * 256];
    for (int o = 0; o < 256; ++o) {
      for (int d = 0; d < 256; ++d) {
        const double sum = IeeeDouble(IeeeDouble(1.2 * o) + IeeeDouble(0.8 * d));
        bytes[o << 8 | d] = static_cast<uint8_t>(static_cast<int>(sum) >> 1);
      }
    }
    return bytes;
  }();
  return table;
}

// Column blocks and rows of the source prepared for the stretches of one source and view.
class StretchPlan {
 public:
  bool Prepare(ConstImageView source, ImageView view) {
    source_ = source;
    view_ = view;
    if (!columns_.Allocate(static_cast<size_t>(view.width)) ||
        !pickOffsets_.Allocate(static_cast<size_t>(view.width)) ||
        !rows_.Allocate(static_cast<size_t>(view.height)) ||
        !lastRow_.Allocate(static_cast<size_t>(source.width) * 3 + 1))
      return false;
    BuildStretchSpans(source.width, view.width, columns_.get());
    BuildStretchSpans(source.height, view.height, rows_.get());
    for (int x = 0; x < view.width; ++x)
      pickOffsets_[static_cast<size_t>(x)] = 3 * static_cast<uint32_t>(Column(x).pick);
    // The last memory row has no byte after its last pixel when it has no padding; a
    // padded copy of it lets every pixel be read as a word.
    const size_t rowBytes = static_cast<size_t>(source.width) * 3;
    std::memcpy(lastRow_.get(), source.Row(source.height - 1), rowBytes);
    lastRow_[rowBytes] = 0;
    return true;
  }

  const StretchSpan& Column(int x) const { return columns_[static_cast<size_t>(x)]; }
  const StretchSpan& Row(int y) const { return rows_[static_cast<size_t>(y)]; }
  // Byte offset in a source row of the pixel the nearest-pixel stretch keeps for column x.
  uint32_t PickOffset(int x) const { return pickOffsets_[static_cast<size_t>(x)]; }
  // Source memory row k, safe to read as words up to its last pixel.
  const uint8_t* SourceRow(int k) const {
    return k == source_.height - 1 ? lastRow_.get() : source_.Row(k);
  }
  // True when view row y draws on the same source rows as view row y - 1.
  bool RepeatsRowBelow(int y) const {
    return y > 0 && Row(y).first == Row(y - 1).first && Row(y).count == Row(y - 1).count;
  }
  void CopyRowBelow(int y) const {
    std::memcpy(view_.Row(y), view_.Row(y - 1), static_cast<size_t>(view_.width) * 3);
  }

 private:
  ConstImageView source_;
  ImageView view_;
  Scratch<StretchSpan> columns_;
  Scratch<uint32_t> pickOffsets_;
  Scratch<StretchSpan> rows_;
  Scratch<uint8_t> lastRow_;
};

// out[i] &= in[i] (or |=) over n bytes, in fixed-size blocks so the compiler vectorises
// them without a cost model that allows remainder loops.
template <StretchCombine kCombine>
void FoldInto(uint8_t* __restrict out, const uint8_t* __restrict in, size_t n) {
  constexpr size_t kBlock = 32;
  size_t i = 0;
  for (; i + kBlock <= n; i += kBlock) {
    for (size_t b = 0; b < kBlock; ++b) {
      if constexpr (kCombine == StretchCombine::kAnd)
        out[i + b] &= in[i + b];
      else
        out[i + b] |= in[i + b];
    }
  }
  for (; i < n; ++i) {
    if constexpr (kCombine == StretchCombine::kAnd)
      out[i] &= in[i];
    else
      out[i] |= in[i];
  }
}

// Folds the source rows of one row block into `out` (bytewise AND or OR), or returns the
// source row itself when the block has one row.
template <StretchCombine kCombine>
const uint8_t* FoldRows(const StretchPlan& plan, const StretchSpan& rows, size_t rowBytes,
                        uint8_t* out) {
  if (rows.count == 1) return plan.SourceRow(rows.first);
  std::memcpy(out, plan.SourceRow(rows.first), rowBytes);
  for (int k = 1; k < rows.count; ++k)
    FoldInto<kCombine>(out, plan.SourceRow(rows.first + k), rowBytes);
  return out;
}

// Folds the pixels of one column block of a folded row into a word.
template <StretchCombine kCombine>
inline uint32_t FoldColumns(const uint8_t* row, const StretchSpan& columns) {
  const uint8_t* p = row + static_cast<size_t>(columns.first) * 3;
  uint32_t v = Load4(p);
  if (columns.count == 2)  // the usual block between 50 % and 100 %
    return kCombine == StretchCombine::kAnd ? v & Load4(p + 3) : v | Load4(p + 3);
  for (int t = 1; t < columns.count; ++t) {
    if constexpr (kCombine == StretchCombine::kAnd)
      v &= Load4(p + 3 * t);
    else
      v |= Load4(p + 3 * t);
  }
  return v;
}

template <StretchCombine kCombine>
bool StretchCombinedWith(ConstImageView source, ImageView view) {
  StretchPlan plan;
  Scratch<uint8_t> folded;
  const size_t rowBytes = static_cast<size_t>(source.width) * 3;
  if (!plan.Prepare(source, view) || !folded.Allocate(rowBytes + 1)) return false;
  folded[rowBytes] = 0;
  for (int y = 0; y < view.height; ++y) {
    if (plan.RepeatsRowBelow(y)) {
      plan.CopyRowBelow(y);
      continue;
    }
    const uint8_t* row = FoldRows<kCombine>(plan, plan.Row(y), rowBytes, folded.get());
    WriteRow(view, y, [&](int x) { return FoldColumns<kCombine>(row, plan.Column(x)); });
  }
  return true;
}

}  // namespace

bool StretchNearest(ConstImageView source, ImageView view) {
  if (!ValidPair(source, view)) return false;
  StretchPlan plan;
  if (!plan.Prepare(source, view)) return false;
  for (int y = 0; y < view.height; ++y) {
    if (plan.RepeatsRowBelow(y)) {
      plan.CopyRowBelow(y);
      continue;
    }
    const uint8_t* row = plan.SourceRow(plan.Row(y).pick);
    WriteRow(view, y, [&](int x) { return Load4(row + plan.PickOffset(x)); });
  }
  return true;
}

bool StretchCombined(ConstImageView source, ImageView view, StretchCombine combine) {
  if (!ValidPair(source, view)) return false;
  return combine == StretchCombine::kAnd ? StretchCombinedWith<StretchCombine::kAnd>(source, view)
                                         : StretchCombinedWith<StretchCombine::kOr>(source, view);
}

bool CorrectionBlend(ConstImageView source, ImageView view) {
  if (!ValidPair(source, view)) return false;
  // Without reduction every block is one pixel p, and the blend of p, p and p is p.
  if (view.width >= source.width && view.height >= source.height)
    return StretchNearest(source, view);
  StretchPlan plan;
  Scratch<uint8_t> anded, ored;
  const size_t rowBytes = static_cast<size_t>(source.width) * 3;
  if (!plan.Prepare(source, view) || !anded.Allocate(rowBytes + 1) || !ored.Allocate(rowBytes + 1))
    return false;
  anded[rowBytes] = ored[rowBytes] = 0;
  const uint8_t* table = CorrectionTable();
  for (int y = 0; y < view.height; ++y) {
    if (plan.RepeatsRowBelow(y)) {
      plan.CopyRowBelow(y);
      continue;
    }
    const StretchSpan& rows = plan.Row(y);
    const uint8_t* nearestRow = plan.SourceRow(rows.pick);
    const uint8_t* andRow = FoldRows<StretchCombine::kAnd>(plan, rows, rowBytes, anded.get());
    const uint8_t* orRow = FoldRows<StretchCombine::kOr>(plan, rows, rowBytes, ored.get());
    WriteRow(view, y, [&](int x) {
      const StretchSpan& columns = plan.Column(x);
      const uint32_t c = Load4(nearestRow + plan.PickOffset(x));
      const uint32_t a = FoldColumns<StretchCombine::kAnd>(andRow, columns);
      const uint32_t o = FoldColumns<StretchCombine::kOr>(orRow, columns);
      // (c + a) >> 1 in each byte at once, without carries between bytes.
      const uint32_t d = (c & a) + (((c ^ a) >> 1) & 0x7F7F7F7F);
      return uint32_t{table[(o & 0xFF) << 8 | (d & 0xFF)]} |
             uint32_t{table[(o & 0xFF00) | ((d >> 8) & 0xFF)]} << 8 |
             uint32_t{table[((o >> 8) & 0xFF00) | ((d >> 16) & 0xFF)]} << 16;
    });
  }
  return true;
}

}  // namespace pictornx
