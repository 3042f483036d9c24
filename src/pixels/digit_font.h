// The seven-segment digit font of the painted windows: each digit is a few axis-aligned
// line strokes, so numbers need no font or bitmap resource. This file holds the glyph
// geometry and where each digit and thousands separator of a number goes; the Windows
// shell draws the strokes with a pen, and PaintStrokes paints the same pixels into an image.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "pixels/image.h"

namespace pictornx {

enum class DigitSize { kLarge, kSmall };

// A line from (x0, y0) towards (x1, y1), in pixels with y growing downwards. As with a
// GDI LineTo, the start is painted and the end is not. Every stroke of the font is
// horizontal or vertical.
struct Stroke {
  int x0 = 0;
  int y0 = 0;
  int x1 = 0;
  int y1 = 0;

  friend bool operator==(const Stroke&, const Stroke&) = default;
};

struct DigitMetrics {
  int cellWidth;   // large: columns 0 to 5; small: 0 to 4
  int cellHeight;  // large: rows 0 to 10; small: 0 to 8
  int shift;       // how far every digit left of a separator moves left
  int separatorInset;  // the separator's column is this far left of the digit it follows
  int separatorTop;    // first of the separator's two rows, below the cell's top
};

const DigitMetrics& MetricsOf(DigitSize size);

// The strokes of digit 0 to 9 in cell coordinates (the cell's top-left pixel is (0, 0)).
// At most seven strokes; none of them paints a corner of a bar, which rounds the glyphs.
std::span<const Stroke> GlyphStrokes(int digit, DigitSize size);

// Every stroke of a number: at most ten digits of seven strokes and three separators.
inline constexpr int kMaxNumberStrokes = 10 * 7 + 3;

struct NumberStrokes {
  std::array<Stroke, kMaxNumberStrokes> strokes{};
  int count = 0;

  std::span<const Stroke> View() const { return {strokes.data(), static_cast<size_t>(count)}; }
};

// Where each digit of a number goes: the units digit's cell has its left column at
// `unitsLeft`, every further digit one `pitch` to the left, and every digit beyond a
// thousands separator one `MetricsOf(size).shift` further.
struct DigitCell {
  int digit;
  int left;
};

struct NumberLayout {
  std::array<DigitCell, 10> cells{};  // cells[k] holds the digit of 10^k
  int digitCount = 0;
  std::array<Stroke, 3> separators{};
  int separatorCount = 0;
};

NumberLayout LayoutNumber(uint32_t value, int unitsLeft, int top, int pitch, DigitSize size);

// The strokes that draw `value` in decimal with its thousands separators, digits right to
// left from the units, in the order a pen draws them.
NumberStrokes NumberStrokesOf(uint32_t value, int unitsLeft, int top, int pitch, DigitSize size);

// Paints strokes into a 24-bit image, clipped to it, exactly as GDI's MoveToEx/LineTo with
// a one-pixel solid pen paints them. Coordinates count rows from the picture's top.
void PaintStrokes(ImageView image, std::span<const Stroke> strokes, uint8_t blue, uint8_t green, uint8_t red);

}  // namespace pictornx
