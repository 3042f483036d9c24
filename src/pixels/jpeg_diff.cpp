#include "pixels/jpeg_diff.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__SSE2__) && defined(__GNUC__)
#include <immintrin.h>
#define PICTORNX_AVX2_ROWS 1
#endif

namespace pictornx {
namespace {

constexpr int kTraceRows = 200;
constexpr int kTraceSamples = 61;

uint8_t DiffByte(int s, int j, int factor) {
  return static_cast<uint8_t>(std::clamp(factor * (j - s) + 127, 0, 255));
}

#if defined(__SSE2__)
// The difference is split into its positive part (j - s, saturating at 0) and negative
// part (s - j); one of them is always 0, so 127 + positive (saturating up) - negative
// (saturating down) is the clamped result. Doubling a saturated part keeps it saturated,
// and a part of 128 or more clamps anyway, so factor 2^kDoublings needs no wider lanes.
template <int kDoublings>
__m128i DiffVector(const uint8_t* s, const uint8_t* j) {
  const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
  const __m128i jv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(j));
  __m128i up = _mm_subs_epu8(jv, sv);
  __m128i down = _mm_subs_epu8(sv, jv);
  for (int d = 0; d < kDoublings; ++d) {
    up = _mm_adds_epu8(up, up);
    down = _mm_adds_epu8(down, down);
  }
  return _mm_subs_epu8(_mm_adds_epu8(_mm_set1_epi8(127), up), down);
}

// Processors without AVX2 run whole rows here; with it, the ends of rows.
template <int kDoublings>
void DiffRowVector(const uint8_t* s, const uint8_t* j, uint8_t* out, int bytes) {
  int i = 0;
  for (; i + 16 <= bytes; i += 16)
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), DiffVector<kDoublings>(s + i, j + i));
  for (; i < bytes; ++i) out[i] = DiffByte(s[i], j[i], 1 << kDoublings);
}
#endif

#if defined(PICTORNX_AVX2_ROWS)
// The same arithmetic 32 bytes a step, for processors that have it (checked at run time):
// the refresh rebuilds difference A of the whole image every time. The stores bypass the
// cache (aligned after a short head): the image is far larger than what is read back soon.
template <int kDoublings>
[[gnu::target("avx2")]] void DiffRowAvx2(const uint8_t* s, const uint8_t* j, uint8_t* out, int bytes) {
  const __m256i middle = _mm256_set1_epi8(127);
  int i = std::min(bytes, static_cast<int>((32 - reinterpret_cast<uintptr_t>(out) % 32) % 32));
  DiffRowVector<kDoublings>(s, j, out, i);
  for (; i + 32 <= bytes; i += 32) {
    const __m256i sv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
    const __m256i jv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(j + i));
    __m256i up = _mm256_subs_epu8(jv, sv);
    __m256i down = _mm256_subs_epu8(sv, jv);
    for (int d = 0; d < kDoublings; ++d) {
      up = _mm256_adds_epu8(up, up);
      down = _mm256_adds_epu8(down, down);
    }
    _mm256_stream_si256(reinterpret_cast<__m256i*>(out + i), _mm256_subs_epu8(_mm256_adds_epu8(middle, up), down));
  }
  DiffRowVector<kDoublings>(s + i, j + i, out + i, bytes - i);
}

bool HasAvx2() {
  static const bool has = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
  }();
  return has;
}
#endif

// One row of `bytes` colour bytes.
void DiffRow(const uint8_t* s, const uint8_t* j, uint8_t* out, int bytes, int factor) {
#if defined(PICTORNX_AVX2_ROWS)
  if (HasAvx2()) {
    switch (factor) {
      case 1: return DiffRowAvx2<0>(s, j, out, bytes);
      case 2: return DiffRowAvx2<1>(s, j, out, bytes);
      case 4: return DiffRowAvx2<2>(s, j, out, bytes);
      default: break;
    }
  }
#endif
#if defined(__SSE2__)
  switch (factor) {
    case 1: return DiffRowVector<0>(s, j, out, bytes);
    case 2: return DiffRowVector<1>(s, j, out, bytes);
    case 4: return DiffRowVector<2>(s, j, out, bytes);
    default: break;
  }
#endif
  for (int i = 0; i < bytes; ++i) out[i] = DiffByte(s[i], j[i], factor);
}

}  // namespace

void BuildDiffImage(ConstImageView source, ConstImageView jpeg, ImageView out, int factor) {
  if (source.Empty() || jpeg.Empty() || out.Empty()) return;
  if (source.width != jpeg.width || source.height != jpeg.height || out.width != source.width ||
      out.height != source.height)
    return;
  // Beyond 256 every non-zero difference saturates already; holding the factor there keeps
  // factor * (j - s) inside int.
  factor = std::clamp(factor, -256, 256);
  const int bytes = source.width * 3;
  for (int y = 0; y < source.height; ++y) DiffRow(source.Row(y), jpeg.Row(y), out.Row(y), bytes, factor);
#if defined(__SSE2__)
  _mm_sfence();
#endif
}

int TraceValue(int s, int j, bool gain2) {
  if (gain2) return std::clamp(s - j + 127, 0, 255);
  return (s - j) / 2 + 127;  // C++ division truncates towards zero
}

// Rows and columns are picked with exact integer arithmetic: floor(k * Hr / 200) is the
// row k * (Hr * 0.005) names, without the rounding of 0.005 in binary moving a row.
void SampleChannelTraces(ConstImageView source, ConstImageView jpeg, PixelRect region, bool gain2, TraceSamples& out) {
  out.rows = 0;
  out.samples = 0;
  out.lastColumn = 0;
  if (source.Empty() || jpeg.Empty()) return;
  // Only pixels both images hold can be read: the region is clipped to them first.
  const int width = std::min(source.width, jpeg.width);
  const int height = std::min(source.height, jpeg.height);
  region.left = std::max(region.left, 0);
  region.top = std::max(region.top, 0);
  region.right = std::min(region.right, width);
  region.bottom = std::min(region.bottom, height);
  if (region.Empty()) return;

  const int64_t regionWidth = region.Width();
  const int64_t regionHeight = region.Height();
  const int rows = static_cast<int>(std::min<int64_t>(regionHeight, kTraceRows));
  const int samples = static_cast<int>(std::min<int64_t>(regionWidth, kTraceSamples));
  // Column of sample q: q * Wr / 61 when the region is at least 61 wide, else q itself.
  int columns[kTraceSamples];
  for (int q = 0; q < samples; ++q)
    columns[q] = regionWidth > kTraceSamples ? static_cast<int>(q * regionWidth / kTraceSamples) : q;

  static constexpr int kChannelByte[3] = {2, 1, 0};  // red, green, blue in blue-green-red pixels
  for (int k = 0; k < rows; ++k) {
    const int64_t fromBottom = regionHeight > kTraceRows ? k * regionHeight / kTraceRows : k;
    const int y = region.bottom - 1 - static_cast<int>(fromBottom);
    const uint8_t* s = source.TopRow(y) + static_cast<ptrdiff_t>(region.left) * 3;
    const uint8_t* j = jpeg.TopRow(y) + static_cast<ptrdiff_t>(region.left) * 3;
    for (int q = 0; q < samples; ++q) {
      const int offset = columns[q] * 3;
      for (int c = 0; c < 3; ++c) {
        const int b = offset + kChannelByte[c];
        out.value[c][k][q] = static_cast<uint8_t>(TraceValue(s[b], j[b], gain2));
      }
    }
  }
  out.rows = rows;
  out.samples = samples;
  out.lastColumn = columns[samples - 1];
}

PixelRect RangeRectFrom(int x0, int y0, int x1, int y1, int visibleWidth, int visibleHeight) {
  constexpr int kMinWidth = kTraceSamples;  // (128 - 6) div 2: one plot column pair per column
  PixelRect r;
  if (x0 < kMinWidth && x1 < kMinWidth) {
    r.left = 0;
    r.right = kMinWidth;
  } else {
    r.left = std::min(x0, x1);
    r.right = std::max(x0, x1);
    if (r.left > visibleWidth - 62) {
      r.left = visibleWidth - 62;
      r.right = visibleWidth - 1;
    }
    if (r.right - r.left < kMinWidth) r.right = r.left + kMinWidth;
  }
  if (y0 <= 0 && y1 <= 0) {
    r.top = 0;
    r.bottom = 1;
  } else {
    r.top = std::min(y0, y1);
    r.bottom = std::max(y0, y1);
    if (r.top > visibleHeight - 2) {
      r.top = visibleHeight - 2;
      r.bottom = visibleHeight - 1;
    }
    if (r.bottom - r.top < 1) r.bottom = r.top + 1;
  }
  return r;
}

}  // namespace pictornx
