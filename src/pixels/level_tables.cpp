#include "pixels/level_tables.h"

#include <algorithm>

namespace pictornx {

LevelTables CountLevels(ConstImageView image) {
  LevelTables tables;
  if (image.Empty()) return tables;
  // Full counts in two interleaved sets per channel (neighbouring pixels with the same
  // level then do not wait on each other's store), saturated at the cap afterwards: a
  // counter that stops at 254 ends where min(count, 254) does. The counts are folded into
  // capped totals before they could reach 2^30, whatever the image size.
  const int rowsPerFold = std::max(1, (1 << 30) / image.width);
  uint32_t counts[6][256] = {};
  uint32_t totals[3][256] = {};
  for (int y = 0; y < image.height; ++y) {
    const uint8_t* p = image.Row(y);
    int x = 0;
    for (; x + 2 <= image.width; x += 2, p += 6) {
      ++counts[0][p[0]];
      ++counts[1][p[1]];
      ++counts[2][p[2]];
      ++counts[3][p[3]];
      ++counts[4][p[4]];
      ++counts[5][p[5]];
    }
    if (x < image.width) {
      ++counts[0][p[0]];
      ++counts[1][p[1]];
      ++counts[2][p[2]];
    }
    if ((y + 1) % rowsPerFold == 0 || y == image.height - 1) {
      for (int c = 0; c < 3; ++c)
        for (int v = 0; v < 256; ++v) {
          totals[c][v] = std::min<uint32_t>(totals[c][v] + counts[c][v] + counts[c + 3][v], kLevelCounterCap);
          counts[c][v] = counts[c + 3][v] = 0;
        }
    }
  }
  for (int v = 0; v < 256; ++v) {
    tables.blue[v] = static_cast<uint8_t>(totals[0][v]);
    tables.green[v] = static_cast<uint8_t>(totals[1][v]);
    tables.red[v] = static_cast<uint8_t>(totals[2][v]);
  }
  return tables;
}

int LevelsPresent(const std::array<uint8_t, 256>& table) {
  return static_cast<int>(std::count_if(table.begin(), table.end(), [](uint8_t n) { return n != 0; }));
}

}  // namespace pictornx
