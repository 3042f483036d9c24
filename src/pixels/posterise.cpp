#include "pixels/posterise.h"

#include <algorithm>
#include <cmath>

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
  const uint8_t* map = table.data();
  const int bytes = width * 3;
  int i = 0;
  for (; i + 4 <= bytes; i += 4) {
    const uint8_t a = map[source[i]], b = map[source[i + 1]], c = map[source[i + 2]], d = map[source[i + 3]];
    target[i] = a;
    target[i + 1] = b;
    target[i + 2] = c;
    target[i + 3] = d;
  }
  for (; i < bytes; ++i) target[i] = map[source[i]];
}

bool PosteriseImage(ConstImageView source, ImageView target, const PosterTable& table) {
  if (source.Empty() || target.Empty() || source.width != target.width || source.height != target.height)
    return false;
  for (int y = 0; y < source.height; ++y) PosteriseRow(source.Row(y), target.Row(y), source.width, table);
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
