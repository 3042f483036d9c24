// Posterisation: each channel byte rounded to one of 2..64 levels, spaced evenly or on a
// gamma-2 curve. The panel's arithmetic (level steps, the level diagram) lives here too.
#pragma once

#include <array>
#include <cstdint>

#include "pixels/image.h"

namespace pictornx {

inline constexpr int kMinPosterLevels = 2;
inline constexpr int kMaxPosterLevels = 64;

// The output byte for every input byte; the same table serves blue, green and red.
using PosterTable = std::array<uint8_t, 256>;

// The table for `levels` (clamped to 2..64) with even or gamma-2 spacing.
PosterTable MakePosterTable(int levels, bool gamma);

// One row of `width` pixels through the table; the padding after the pixels is not touched.
void PosteriseRow(const uint8_t* source, uint8_t* target, int width, const PosterTable& table);
// Every row of `source` into the same place of `target` (same size; false otherwise).
bool PosteriseImage(ConstImageView source, ImageView target, const PosterTable& table);

// The level count after one press on a bar: `step` +1 (line up), -1 (line down) or 0,
// times 10 from the tens bar, added to the whole count, then held within 2..64.
int StepPosterLevels(int levels, int step, bool tensBar);

// The rows of the level diagram's inner lines for a control `height` pixels tall: levels - 2
// lines (none for 2 levels). Returns how many were written into `rows`.
int PosterDiagramRows(int levels, bool gamma, int height, std::array<int, kMaxPosterLevels>& rows);

}  // namespace pictornx
