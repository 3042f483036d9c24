// Which of the 256 levels of each channel occur in an image: a byte counter per level that
// counts pixels and stops at 254.
#pragma once

#include <array>
#include <cstdint>

#include "pixels/image.h"

namespace pictornx {

inline constexpr uint8_t kLevelCounterCap = 254;

struct LevelTables {
  std::array<uint8_t, 256> red{};
  std::array<uint8_t, 256> green{};
  std::array<uint8_t, 256> blue{};
};

// The counters of every pixel's blue, green and red bytes (padding never counted).
LevelTables CountLevels(ConstImageView image);

// How many entries of a table are non-zero (0 to 256).
int LevelsPresent(const std::array<uint8_t, 256>& table);

}  // namespace pictornx
