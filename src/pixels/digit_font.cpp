#include "pixels/digit_font.h"

#include <algorithm>

namespace pictornx {
namespace {

// The nine bars a glyph is made of.
enum Bar { kTop, kUpperLeft, kUpperRight, kMiddle, kLowerLeft, kLowerRight, kBottom, kCentreUpper, kCentreLower };

// Each bar starts one pixel inside the cell's corner and stops short of the next corner,
// so corner pixels stay unpainted and the digits look rounded.
constexpr std::array<Stroke, 9> kLargeBars = {{
    {1, 0, 5, 0},    // top
    {0, 1, 0, 5},    // upper left
    {5, 1, 5, 5},    // upper right
    {1, 5, 5, 5},    // middle
    {0, 6, 0, 10},   // lower left
    {5, 6, 5, 10},   // lower right
    {1, 10, 5, 10},  // bottom
    {3, 1, 3, 5},    // centre upper
    {3, 6, 3, 10},   // centre lower
}};

constexpr std::array<Stroke, 9> kSmallBars = {{
    {1, 0, 4, 0},  // top
    {0, 1, 0, 4},  // upper left
    {4, 1, 4, 4},  // upper right
    {1, 4, 4, 4},  // middle
    {0, 5, 0, 8},  // lower left
    {4, 5, 4, 8},  // lower right
    {1, 8, 4, 8},  // bottom
    {2, 1, 2, 4},  // centre upper
    {2, 5, 2, 8},  // centre lower
}};

// Bars of each digit, in drawing order; the one stands in the cell's centre column.
struct GlyphBars {
  int count;
  std::array<Bar, 7> bars;
};

constexpr std::array<GlyphBars, 10> kDigitBars = {{
    {6, {kTop, kUpperLeft, kBottom, kUpperRight, kLowerLeft, kLowerRight}},
    {2, {kCentreUpper, kCentreLower}},
    {5, {kTop, kUpperRight, kMiddle, kLowerLeft, kBottom}},
    {5, {kTop, kUpperRight, kMiddle, kLowerRight, kBottom}},
    {4, {kUpperLeft, kMiddle, kUpperRight, kLowerRight}},
    {5, {kTop, kUpperLeft, kMiddle, kLowerRight, kBottom}},
    {5, {kUpperLeft, kLowerLeft, kMiddle, kLowerRight, kBottom}},
    {3, {kTop, kUpperRight, kLowerRight}},
    {7, {kTop, kUpperLeft, kMiddle, kUpperRight, kLowerLeft, kLowerRight, kBottom}},
    {5, {kTop, kUpperLeft, kMiddle, kUpperRight, kLowerRight}},
}};

constexpr std::array<std::array<Stroke, 7>, 10> BuildGlyphs(const std::array<Stroke, 9>& bars) {
  std::array<std::array<Stroke, 7>, 10> glyphs{};
  for (int d = 0; d < 10; ++d) {
    for (int i = 0; i < kDigitBars[d].count; ++i) glyphs[d][i] = bars[kDigitBars[d].bars[i]];
  }
  return glyphs;
}

constexpr auto kLargeGlyphs = BuildGlyphs(kLargeBars);
constexpr auto kSmallGlyphs = BuildGlyphs(kSmallBars);

constexpr DigitMetrics kLargeMetrics{6, 11, 6, 4, 10};
constexpr DigitMetrics kSmallMetrics{5, 9, 3, 2, 8};

}  // namespace

const DigitMetrics& MetricsOf(DigitSize size) { return size == DigitSize::kSmall ? kSmallMetrics : kLargeMetrics; }

std::span<const Stroke> GlyphStrokes(int digit, DigitSize size) {
  if (digit < 0 || digit > 9) return {};
  const auto& glyphs = size == DigitSize::kSmall ? kSmallGlyphs : kLargeGlyphs;
  return {glyphs[digit].data(), static_cast<size_t>(kDigitBars[digit].count)};
}

NumberLayout LayoutNumber(uint32_t value, int unitsLeft, int top, int pitch, DigitSize size) {
  const DigitMetrics& metrics = MetricsOf(size);
  NumberLayout layout;
  int digitCount = 0;
  for (uint32_t rest = value;; rest /= 10) {
    ++digitCount;
    if (rest < 10) break;
  }
  for (int k = 0; k < digitCount; ++k, value /= 10) {
    const int left = unitsLeft - k * pitch - layout.separatorCount * metrics.shift;
    layout.cells[k] = {static_cast<int>(value % 10), left};
    // A separator follows every third digit that has more digits to its left; it hangs at
    // the foot of the row like a comma, and every later digit moves left to make room.
    if (k % 3 == 2 && k < digitCount - 1) {
      const int column = left - metrics.separatorInset;
      const int row = top + metrics.separatorTop;
      layout.separators[layout.separatorCount++] = {column, row, column, row + 2};
    }
  }
  layout.digitCount = digitCount;
  return layout;
}

NumberStrokes NumberStrokesOf(uint32_t value, int unitsLeft, int top, int pitch, DigitSize size) {
  const NumberLayout layout = LayoutNumber(value, unitsLeft, top, pitch, size);
  NumberStrokes out;
  int separator = 0;
  for (int k = 0; k < layout.digitCount; ++k) {
    const DigitCell& cell = layout.cells[k];
    for (const Stroke& s : GlyphStrokes(cell.digit, size)) {
      out.strokes[out.count++] = {cell.left + s.x0, top + s.y0, cell.left + s.x1, top + s.y1};
    }
    if (k % 3 == 2 && separator < layout.separatorCount) out.strokes[out.count++] = layout.separators[separator++];
  }
  return out;
}

void PaintStrokes(ImageView image, std::span<const Stroke> strokes, uint8_t blue, uint8_t green, uint8_t red) {
  if (image.Empty()) return;
  for (const Stroke& s : strokes) {
    // The painted pixels run from the start up to, not including, the end; slanted
    // strokes do not occur in the font and are skipped.
    int left = s.x0, right = s.x0, top = s.y0, bottom = s.y0;
    if (s.y0 == s.y1 && s.x1 > s.x0) right = s.x1 - 1;
    else if (s.y0 == s.y1 && s.x1 < s.x0) left = s.x1 + 1;
    else if (s.x0 == s.x1 && s.y1 > s.y0) bottom = s.y1 - 1;
    else if (s.x0 == s.x1 && s.y1 < s.y0) top = s.y1 + 1;
    else continue;
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, image.width - 1);
    bottom = std::min(bottom, image.height - 1);
    for (int y = top; y <= bottom; ++y) {
      uint8_t* pixel = image.TopRow(y) + static_cast<ptrdiff_t>(left) * 3;
      for (int x = left; x <= right; ++x, pixel += 3) {
        pixel[0] = blue;
        pixel[1] = green;
        pixel[2] = red;
      }
    }
  }
}

}  // namespace pictornx
