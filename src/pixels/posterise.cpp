#include "pixels/posterise.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace pictornx {
namespace {

// The constant the gamma curve is written with; 1.0 / 255 is the same double.
constexpr double kOneOver255 = 0.00392156862745098;

// The level below or above q = v / c: the fraction rounds up only above one half, so an
// exact half stays down.
int RoundedLevel(double q) {
  const int k = static_cast<int>(q);
  return q - k > 0.5 ? k + 1 : k;
}

// A non-decreasing table with few rises is a sum of steps: out = table[0] plus every rise
// at or below the byte. Sixteen bytes then take a compare, a mask and an add per rise in
// SSE2 lanes, where the table takes sixteen loads and stores; that pays off up to about
// eight rises (nine levels), the range the panel is mostly used in.
constexpr int kMaxVectorRises = 8;

struct PosterRises {
  bool vector = false;  // the table has this form (and SSE2 is there to use it)
  int count = 0;
  uint8_t base = 0;
  uint8_t at[kMaxVectorRises] = {};    // the first byte of each rise
  uint8_t rise[kMaxVectorRises] = {};  // what it adds
};

PosterRises RisesOf(const PosterTable& table) {
  PosterRises rises;
#if defined(__SSE2__)
  rises.base = table[0];
  for (int v = 1; v < 256; ++v) {
    if (table[v] == table[v - 1]) continue;
    if (table[v] < table[v - 1] || rises.count == kMaxVectorRises) return {};
    rises.at[rises.count] = static_cast<uint8_t>(v);
    rises.rise[rises.count] = static_cast<uint8_t>(table[v] - table[v - 1]);
    ++rises.count;
  }
  rises.vector = true;
#else
  (void)table;
#endif
  return rises;
}

// The leading multiple of 16 of `bytes`; returns how many it did. The rises add up to at
// most 255, so no byte lane wraps.
size_t PosteriseVector(const uint8_t* source, uint8_t* target, size_t bytes, const PosterRises& rises) {
#if defined(__SSE2__)
  __m128i at[kMaxVectorRises], rise[kMaxVectorRises];
  for (int k = 0; k < rises.count; ++k) {
    at[k] = _mm_set1_epi8(static_cast<char>(rises.at[k]));
    rise[k] = _mm_set1_epi8(static_cast<char>(rises.rise[k]));
  }
  const __m128i base = _mm_set1_epi8(static_cast<char>(rises.base));
  size_t i = 0;
  for (; i + 16 <= bytes; i += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + i));
    __m128i out = base;
    for (int k = 0; k < rises.count; ++k) {
      const __m128i reached = _mm_cmpeq_epi8(_mm_max_epu8(v, at[k]), v);  // v >= at[k]
      out = _mm_add_epi8(out, _mm_and_si128(reached, rise[k]));
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(target + i), out);
  }
  return i;
#else
  (void)source, (void)target, (void)bytes, (void)rises;
  return 0;
#endif
}

void PosteriseBytes(const uint8_t* source, uint8_t* target, int width, const PosterTable& table,
                    const PosterRises& rises) {
  const uint8_t* map = table.data();
  const int bytes = width * 3;
  int i = rises.vector ? static_cast<int>(PosteriseVector(source, target, static_cast<size_t>(bytes), rises)) : 0;
  for (; i + 4 <= bytes; i += 4) {
    const uint8_t a = map[source[i]], b = map[source[i + 1]], c = map[source[i + 2]], d = map[source[i + 3]];
    target[i] = a;
    target[i + 1] = b;
    target[i + 2] = c;
    target[i + 3] = d;
  }
  for (; i < bytes; ++i) target[i] = map[source[i]];
}

}  // namespace

PosterTable MakePosterTable(int levels, bool gamma) {
  const int n = std::clamp(levels, kMinPosterLevels, kMaxPosterLevels);
  PosterTable table{};
  if (n == 2) {
    for (int v = 0; v < 256; ++v) table[v] = v > 125 ? 255 : 0;
    return table;
  }
  const int c = 255 / (n - 1);
  const int top = (n - 1) * c;
  for (int v = 0; v < 256; ++v) {
    int value = v;
    if (gamma) {
      const double unit = v * kOneOver255;
      value = static_cast<int>(unit * unit * 255);
    }
    const int m = RoundedLevel(static_cast<double>(value) / c) * c;
    int result = 255;
    if (m < top) result = gamma ? static_cast<int>(std::sqrt(m * kOneOver255) * 255) : m;
    table[v] = static_cast<uint8_t>(result);
  }
  return table;
}

void PosteriseRow(const uint8_t* source, uint8_t* target, int width, const PosterTable& table) {
  PosteriseBytes(source, target, width, table, RisesOf(table));
}

bool PosteriseImage(ConstImageView source, ImageView target, const PosterTable& table) {
  if (source.Empty() || target.Empty() || source.width != target.width || source.height != target.height)
    return false;
  const PosterRises rises = RisesOf(table);
  for (int y = 0; y < source.height; ++y) PosteriseBytes(source.Row(y), target.Row(y), source.width, table, rises);
  return true;
}

int StepPosterLevels(int levels, int step, bool tensBar) {
  return std::clamp(levels + (tensBar ? 10 * step : step), kMinPosterLevels, kMaxPosterLevels);
}

int PosterDiagramRows(int levels, bool gamma, int height, std::array<int, kMaxPosterLevels>& rows) {
  const int n = std::clamp(levels, kMinPosterLevels, kMaxPosterLevels);
  if (height <= 0) return 0;
  const double step = static_cast<double>(height) / (n - 1);
  double total = 0;
  int count = 0;
  for (int i = 1; i <= n - 2; ++i) {
    total += step;
    const int even = static_cast<int>(total);
    if (gamma) {
      const double share = static_cast<double>(even) / height;
      rows[count++] = static_cast<int>(share * share * height);
    } else {
      rows[count++] = even;
    }
  }
  return count;
}

}  // namespace pictornx
