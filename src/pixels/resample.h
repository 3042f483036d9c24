// Zoom and resampling: the size arithmetic of the zoomed view and the kernels that render
// a source image onto a view of another size. Everything works on plain views in the
// shared layout (24-bit BGR, rows bottom-up); the shell owns the images and any window.
//
// Rows and columns of the kernels count memory rows (row 0 = the picture's bottom row)
// and columns from the left. Kernels never write row padding, and the source and the view
// must not overlap.
#pragma once

#include <cstdint>

#include "pixels/image.h"

namespace pictornx {

// ---- Size arithmetic --------------------------------------------------------------------

struct PixelSize {
  int width = 0;
  int height = 0;
  friend bool operator==(const PixelSize&, const PixelSize&) = default;
};

// 150 % and 200 % are refused when they would make a view of this many pixels or more.
inline constexpr int64_t kMaxEnlargedPixels = 36'000'000;
// Views above this many pixels are rendered with the nearest-pixel stretch whatever the mode.
inline constexpr int64_t kMaxResampledPixels = 3'600'000;
// The averaging modes report progress for views above this many pixels.
inline constexpr int64_t kProgressPixels = 200'000;

// One side of the view: truncate(length * zoom + 0.00001), raised to 1 when smaller.
// Lengths beyond int are clamped to INT_MAX (ImageBytes then refuses the view).
int ZoomedLength(int sourceLength, double zoom);
PixelSize ZoomedSize(PixelSize source, double zoomX, double zoomY);

// The check before 150 % and 200 %: false when truncate(W * H * factor * factor) reaches
// kMaxEnlargedPixels.
bool EnlargementFits(PixelSize source, double factor);

// ---- Modes ------------------------------------------------------------------------------

enum class ResampleMode : int {
  kNearest = 0,            // nearest-pixel stretch
  kCorrection = 1,         // correction blend
  kCorrectionSharpen = 2,  // correction blend, then SharpenView
  kAverage = 3,            // BoxAverage
  kAverageSharpen = 4,     // BoxAverage, then SharpenView
};

// The mode a view of this size is really rendered with: kNearest above kMaxResampledPixels,
// else `mode`. The chosen mode itself (and its menu check) is not changed by this.
ResampleMode EffectiveResampleMode(ResampleMode mode, PixelSize view);

// True when RenderZoomed with this mode and view size reports rows to its progress
// callback: the effective mode averages and the view has more than kProgressPixels pixels.
// The count of reports is then exactly view.height.
bool ReportsProgress(ResampleMode mode, PixelSize view);

// ---- Rendering --------------------------------------------------------------------------

// Called once after each destination row of the averaging pass: a plain function and its
// context, which cannot fail to be made (the shell passes its progress bar this way).
struct RowDone {
  void (*call)(void* context) = nullptr;
  void* context = nullptr;
  explicit operator bool() const { return call != nullptr; }
  void operator()() const { call(context); }
};

// Renders all of `source` onto all of `view` with `mode`, applying the fall-back of
// EffectiveResampleMode and, for the sharpening modes, SharpenView afterwards. `rowDone`
// (may be empty) is called view.height times when ReportsProgress is true, never otherwise.
// A mode value outside 0 to 4 renders as kNearest.
// Returns false when working memory could not be had or a view is empty; the view is then
// untouched, except after a failed sharpening, where it holds the unsharpened rendering.
bool RenderZoomed(ConstImageView source, ImageView view, ResampleMode mode,
                  const RowDone& rowDone = {});

// ---- Kernels ----------------------------------------------------------------------------
// Each returns false (and leaves the view untouched) when a view is empty or working
// memory could not be had.
//
// The stretches split the source into blocks, one per view pixel: along an axis of source
// length S and view length D, view index d takes the source indices from floor(d*S/D) up to
// floor((d+1)*S/D) - 1, or the single index floor(d*S/D) when that range is empty (so
// enlarging repeats pixels and reducing merges whole blocks, every source pixel in exactly
// one block).

// Nearest-pixel stretch: each view pixel takes the middle pixel of its block (the lower
// middle for an even count).
bool StretchNearest(ConstImageView source, ImageView view);

enum class StretchCombine { kAnd, kOr };
// Combining stretch: each view pixel is the bitwise AND (or OR) of all pixels of its block.
bool StretchCombined(ConstImageView source, ImageView view, StretchCombine combine);

// Correction blend: with C, A, O the nearest, AND and OR stretches, every byte becomes
// truncate(1.2 * O + 0.8 * D) >> 1 with D = (C + A) >> 1, in IEEE doubles. At 100 % and
// when enlarging it reproduces the nearest stretch exactly.
bool CorrectionBlend(ConstImageView source, ImageView view);

// Area-weighted averaging in doubles, with the weight of a block's first source column
// (row) taken from floor(j * s) rather than from the view index. Each byte is
// truncate(sum / weightSum + 1e-9): the tolerance keeps a uniform area at its exact
// colour despite the rounding of the double sums. `rowDone` is called after each view row.
bool BoxAverage(ConstImageView source, ImageView view, const RowDone& rowDone = {});

// The tolerance BoxAverage adds to each quotient before truncating it.
inline constexpr double kAverageTolerance = 1e-9;

// Sharpens in place: each byte becomes clamp(2 * v - blur, 0, 255), where blur averages the
// 3 x 3 neighbourhood inside the image with the last inside neighbour (in the order rows
// i-1, i, i+1, columns j-1, j, j+1) counted twice, by integer division.
bool SharpenView(ImageView image);

}  // namespace pictornx
