#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pixels/digit_font.h"
#include "pixels/image_buffer.h"

namespace pictornx {
namespace {

// The image as text, top row first: '#' for a painted pixel, '.' for an untouched one.
std::vector<std::string> Picture(const ImageBuffer& image) {
  std::vector<std::string> rows;
  for (int y = 0; y < image.Height(); ++y) {
    const uint8_t* row = image.View().TopRow(y);
    std::string text;
    for (int x = 0; x < image.Width(); ++x) text += row[x * 3] || row[x * 3 + 1] || row[x * 3 + 2] ? '#' : '.';
    rows.push_back(text);
  }
  return rows;
}

// Digits 0 to 9 side by side, each in its own cell seven columns apart.
std::vector<std::string> PaintAllDigits(DigitSize size) {
  const DigitMetrics& metrics = MetricsOf(size);
  ImageBuffer image(10 * 7 - 1, metrics.cellHeight);
  for (int digit = 0; digit < 10; ++digit) {
    std::vector<Stroke> strokes;
    for (const Stroke& s : GlyphStrokes(digit, size)) strokes.push_back({s.x0 + digit * 7, s.y0, s.x1 + digit * 7, s.y1});
    PaintStrokes(image.View(), strokes, 255, 255, 255);
  }
  return Picture(image);
}

TEST(DigitFont, LargeGlyphs) {
  const std::vector<std::string> expected = {
      ".####. ...... .####. .####. ...... .####. ...... .####. .####. .####.",
      "#....# ...#.. .....# .....# #....# #..... #..... .....# #....# #....#",
      "#....# ...#.. .....# .....# #....# #..... #..... .....# #....# #....#",
      "#....# ...#.. .....# .....# #....# #..... #..... .....# #....# #....#",
      "#....# ...#.. .....# .....# #....# #..... #..... .....# #....# #....#",
      "...... ...... .####. .####. .####. .####. .####. ...... .####. .####.",
      "#....# ...#.. #..... .....# .....# .....# #....# .....# #....# .....#",
      "#....# ...#.. #..... .....# .....# .....# #....# .....# #....# .....#",
      "#....# ...#.. #..... .....# .....# .....# #....# .....# #....# .....#",
      "#....# ...#.. #..... .....# .....# .....# #....# .....# #....# .....#",
      ".####. ...... .####. .####. ...... .####. .####. ...... .####. ......",
  };
  std::vector<std::string> painted = PaintAllDigits(DigitSize::kLarge);
  for (auto& row : painted) {
    for (int cell = 1; cell < 10; ++cell) row[cell * 7 - 1] = ' ';
  }
  EXPECT_EQ(painted, expected);
}

TEST(DigitFont, SmallGlyphs) {
  const std::vector<std::string> expected = {
      ".###.   .....   .###.   .###.   .....   .###.   .....   .###.   .###.   .###.",
      "#...#   ..#..   ....#   ....#   #...#   #....   #....   ....#   #...#   #...#",
      "#...#   ..#..   ....#   ....#   #...#   #....   #....   ....#   #...#   #...#",
      "#...#   ..#..   ....#   ....#   #...#   #....   #....   ....#   #...#   #...#",
      ".....   .....   .###.   .###.   .###.   .###.   .###.   .....   .###.   .###.",
      "#...#   ..#..   #....   ....#   ....#   ....#   #...#   ....#   #...#   ....#",
      "#...#   ..#..   #....   ....#   ....#   ....#   #...#   ....#   #...#   ....#",
      "#...#   ..#..   #....   ....#   ....#   ....#   #...#   ....#   #...#   ....#",
      ".###.   .....   .###.   .###.   .....   .###.   .###.   .....   .###.   .....",
  };
  std::vector<std::string> painted = PaintAllDigits(DigitSize::kSmall);
  std::vector<std::string> spaced;
  for (const auto& row : painted) {
    std::string text;
    for (int cell = 0; cell < 10; ++cell) text += (cell ? "   " : "") + row.substr(cell * 7, 5);
    spaced.push_back(text);
  }
  EXPECT_EQ(spaced, expected);
}

TEST(NumberLayout, UpToThreeDigitsHaveNoSeparator) {
  const NumberLayout zero = LayoutNumber(0, 40, 5, 7, DigitSize::kLarge);
  ASSERT_EQ(zero.digitCount, 1);
  EXPECT_EQ(zero.cells[0].digit, 0);
  EXPECT_EQ(zero.cells[0].left, 40);
  EXPECT_EQ(zero.separatorCount, 0);
  EXPECT_EQ(NumberStrokesOf(0, 40, 5, 7, DigitSize::kLarge).count, 6);

  const NumberLayout nines = LayoutNumber(999, 40, 5, 7, DigitSize::kLarge);
  ASSERT_EQ(nines.digitCount, 3);
  EXPECT_EQ(nines.separatorCount, 0);
  EXPECT_EQ(nines.cells[2].left, 40 - 14);
}

TEST(NumberLayout, ThousandsSeparatorShiftsTheHigherDigits) {
  // Large glyphs: the separator hangs at the foot of the row, 4 columns left of the
  // hundreds digit, and the thousands digit moves left by pitch plus 6.
  NumberLayout large = LayoutNumber(1000, 40, 5, 7, DigitSize::kLarge);
  ASSERT_EQ(large.digitCount, 4);
  EXPECT_EQ(large.cells[0].left, 40);
  EXPECT_EQ(large.cells[1].left, 33);
  EXPECT_EQ(large.cells[2].left, 26);
  EXPECT_EQ(large.cells[3].left, 13);
  EXPECT_EQ(large.cells[3].digit, 1);
  ASSERT_EQ(large.separatorCount, 1);
  EXPECT_EQ(large.separators[0], (Stroke{22, 15, 22, 17}));

  // Small glyphs: shift 3, the separator 2 columns left of the hundreds digit on rows 8, 9.
  NumberLayout small = LayoutNumber(1000, 40, 5, 6, DigitSize::kSmall);
  EXPECT_EQ(small.cells[2].left, 28);
  EXPECT_EQ(small.cells[3].left, 19);
  ASSERT_EQ(small.separatorCount, 1);
  EXPECT_EQ(small.separators[0], (Stroke{26, 13, 26, 15}));
}

TEST(NumberLayout, SevenDigitsHaveTwoSeparators) {
  const NumberLayout layout = LayoutNumber(1234567, 100, 0, 7, DigitSize::kLarge);
  ASSERT_EQ(layout.digitCount, 7);
  const int digits[] = {7, 6, 5, 4, 3, 2, 1};
  const int lefts[] = {100, 93, 86, 73, 66, 59, 46};
  for (int k = 0; k < 7; ++k) {
    EXPECT_EQ(layout.cells[k].digit, digits[k]) << k;
    EXPECT_EQ(layout.cells[k].left, lefts[k]) << k;
  }
  ASSERT_EQ(layout.separatorCount, 2);
  EXPECT_EQ(layout.separators[0], (Stroke{82, 10, 82, 12}));
  EXPECT_EQ(layout.separators[1], (Stroke{55, 10, 55, 12}));
  // Every digit's strokes and both separators, in drawing order.
  const NumberStrokes strokes = NumberStrokesOf(1234567, 100, 0, 7, DigitSize::kLarge);
  EXPECT_EQ(strokes.count, 2 + 5 + 5 + 4 + 5 + 5 + 3 + 2);  // digits 1 to 7, separators
}

TEST(NumberLayout, LargestValueFitsTheStrokeBuffer) {
  const NumberLayout layout = LayoutNumber(4294967295u, 200, 0, 9, DigitSize::kSmall);
  EXPECT_EQ(layout.digitCount, 10);
  EXPECT_EQ(layout.separatorCount, 3);
  EXPECT_EQ(layout.cells[9].digit, 4);
  EXPECT_EQ(layout.cells[9].left, 200 - 9 * 9 - 3 * 3);
  EXPECT_EQ(NumberStrokesOf(4294967295u, 200, 0, 9, DigitSize::kSmall).count,
            4 + 5 + 5 + 4 + 5 + 5 + 3 + 5 + 5 + 5 + 3);  // digits 4294967295, separators
  const NumberStrokes eights = NumberStrokesOf(2888888888u, 200, 0, 7, DigitSize::kLarge);
  EXPECT_EQ(eights.count, 5 + 9 * 7 + 3);
  EXPECT_LE(eights.count, kMaxNumberStrokes);
}

TEST(NumberLayout, SmallNumberPicture) {
  ImageBuffer image(28, 10);
  PaintStrokes(image.View(), NumberStrokesOf(1204, 23, 0, 6, DigitSize::kSmall).View(), 9, 9, 9);
  // 1,204: the 1 stands in its cell's centre column, the separator hangs below the row.
  const std::vector<std::string> expected = {
      "............###...###.......",
      "....#..........#.#...#.#...#",
      "....#..........#.#...#.#...#",
      "....#..........#.#...#.#...#",
      "............###.........###.",
      "....#......#.....#...#.....#",
      "....#......#.....#...#.....#",
      "....#......#.....#...#.....#",
      ".........#..###...###.......",
      ".........#..................",
  };
  EXPECT_EQ(Picture(image), expected);
}

TEST(PaintStrokes, EndsAreExcludedInEveryDirectionAndClipped) {
  ImageBuffer image(5, 4);
  const Stroke strokes[] = {
      {4, 0, 1, 0},    // leftwards: columns 4 to 2
      {0, 3, 0, 0},    // upwards: rows 3 to 1
      {-3, 2, 3, 2},   // starts outside on the left: columns 0 to 2
      {2, 3, 2, 9},    // runs out at the bottom: row 3 only
      {3, 3, 3, 3},    // zero length: nothing
      {1, 1, 3, 3},    // slanted: not a font stroke, nothing
      {9, 1, 20, 1},   // wholly outside
  };
  PaintStrokes(image.View(), strokes, 1, 2, 3);
  const std::vector<std::string> expected = {
      "..###",
      "#....",
      "###..",
      "#.#..",
  };
  EXPECT_EQ(Picture(image), expected);
  EXPECT_EQ(image.View().TopRow(0)[12], 1);
  EXPECT_EQ(image.View().TopRow(0)[13], 2);
  EXPECT_EQ(image.View().TopRow(0)[14], 3);
  EXPECT_EQ(image.View().TopRow(0)[15], 0);  // row padding untouched
}

}  // namespace
}  // namespace pictornx
