// Posterisation, colour count and level tables: the formulas' own examples, every level of
// both spacings against the formula written out plainly, and images whose row padding
// holds bytes that must never be taken for pixels.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>
#include <vector>

#include "pixels/colour_count.h"
#include "pixels/image_buffer.h"
#include "pixels/level_tables.h"
#include "pixels/posterise.h"

namespace pictornx {
namespace {

// The posterisation formula step by step, kept literal, for one byte.
int PosteriseByFormula(int v, int n, bool gamma) {
  if (n == 2) return v > 125 ? 255 : 0;
  const double oneOver255 = 0.00392156862745098;
  const int c = 255 / (n - 1);
  const int top = (n - 1) * c;
  const int a = gamma ? static_cast<int>(std::pow(v * oneOver255, 2) * 255) : v;
  const double q = static_cast<double>(a) / c;
  int k = static_cast<int>(q);
  if (q - k > 0.5) k += 1;
  const int m = k * c;
  if (m >= top) return 255;
  return gamma ? static_cast<int>(std::pow(m * oneOver255, 0.5) * 255) : m;
}

// Random bytes everywhere, padding included; odd widths leave 1 to 3 padding bytes a row.
ImageBuffer NoiseImage(int width, int height, unsigned seed) {
  ImageBuffer image(width, height);
  std::mt19937 random(seed);
  for (uint8_t& byte : image.Bytes()) byte = static_cast<uint8_t>(random());
  return image;
}

void FillPadding(ImageBuffer& image, uint8_t value) {
  for (int y = 0; y < image.Height(); ++y)
    for (int i = image.Width() * 3; i < image.Stride(); ++i) image.View().Row(y)[i] = value;
}

TEST(Posterise, ExamplesOfTheLevels) {
  struct Case {
    int levels, in, out;
  } const cases[] = {{2, 125, 0},   {2, 126, 255}, {3, 63, 0},   {3, 64, 127},  {3, 190, 127},
                     {3, 191, 255}, {64, 2, 0},    {64, 3, 4},   {64, 250, 248}, {64, 251, 255}};
  for (const Case& c : cases) {
    EXPECT_EQ(MakePosterTable(c.levels, false)[c.in], c.out) << c.levels << " levels, " << c.in;
    if (c.levels == 2) {
      EXPECT_EQ(MakePosterTable(2, true)[c.in], c.out) << "gamma, " << c.in;
    }
  }
  std::set<int> outputs;
  for (uint8_t out : MakePosterTable(5, false)) outputs.insert(out);
  EXPECT_EQ(outputs, (std::set<int>{0, 63, 126, 189, 255}));
}

TEST(Posterise, EveryLevelOfBothSpacingsFollowsTheFormula) {
  for (bool gamma : {false, true}) {
    for (int n = 2; n <= 64; ++n) {
      const PosterTable table = MakePosterTable(n, gamma);
      for (int v = 0; v < 256; ++v) {
        ASSERT_EQ(table[v], PosteriseByFormula(v, n, gamma)) << "n " << n << " gamma " << gamma << " v " << v;
      }
    }
  }
}

TEST(Posterise, ImageTakesEveryChannelThroughTheTableAndLeavesPaddingAlone) {
  for (int width : {1, 2, 3, 5, 17}) {
    const ImageBuffer source = NoiseImage(width, 4, 7u + width);
    ImageBuffer target(width, 4);
    FillPadding(target, 0xA5);
    const PosterTable table = MakePosterTable(7, true);
    ASSERT_TRUE(PosteriseImage(source.View(), target.View(), table));
    for (int y = 0; y < 4; ++y)
      for (int i = 0; i < target.Stride(); ++i) {
        const int expected = i < width * 3 ? table[source.View().Row(y)[i]] : 0xA5;
        ASSERT_EQ(target.View().Row(y)[i], expected) << width << " " << y << " " << i;
      }
  }
  ImageBuffer other(6, 4);
  EXPECT_FALSE(PosteriseImage(NoiseImage(5, 4, 1).View(), other.View(), MakePosterTable(3, false)));
}

// Rows of 300 pixels run through every byte value for every level count and spacing (few
// and many rises), a table that falls somewhere, and one that never changes.
TEST(Posterise, RowsGiveTheTableEntryOfEveryByteForEveryKindOfTable) {
  std::vector<PosterTable> tables;
  for (int n = kMinPosterLevels; n <= kMaxPosterLevels; ++n)
    for (bool gamma : {false, true}) tables.push_back(MakePosterTable(n, gamma));
  PosterTable falling{}, constant{};
  for (int v = 0; v < 256; ++v) {
    falling[v] = static_cast<uint8_t>(v < 100 ? 200 : 10 + v / 64);
    constant[v] = 77;
  }
  tables.push_back(falling);
  tables.push_back(constant);
  constexpr int kWidth = 300;
  std::vector<uint8_t> source(kWidth * 3), target(kWidth * 3);
  for (int i = 0; i < kWidth * 3; ++i) source[i] = static_cast<uint8_t>(i * 7);
  for (size_t t = 0; t < tables.size(); ++t) {
    PosteriseRow(source.data(), target.data(), kWidth, tables[t]);
    for (int i = 0; i < kWidth * 3; ++i) ASSERT_EQ(target[i], tables[t][source[i]]) << "table " << t << " byte " << i;
  }
}

TEST(Posterise, LevelStepsStayWithinTwoToSixtyFour) {
  struct Case {
    int levels, step;
    bool tens;
    int result;
  } const cases[] = {{64, 1, true, 64}, {2, -1, false, 2}, {9, 1, true, 19},  {19, 1, false, 20},
                     {20, -1, false, 19}, {3, -1, true, 2}, {60, 1, false, 61}, {5, 0, true, 5}};
  for (const Case& c : cases)
    EXPECT_EQ(StepPosterLevels(c.levels, c.step, c.tens), c.result) << c.levels << " " << c.step << " " << c.tens;
}

TEST(Posterise, DiagramRowsForEvenAndGammaSpacing) {
  std::array<int, kMaxPosterLevels> rows{};
  EXPECT_EQ(PosterDiagramRows(2, false, 53, rows), 0);
  ASSERT_EQ(PosterDiagramRows(3, false, 40, rows), 1);
  EXPECT_EQ(rows[0], 20);
  ASSERT_EQ(PosterDiagramRows(3, true, 40, rows), 1);
  EXPECT_EQ(rows[0], 10);  // (20 / 40)^2 * 40
  ASSERT_EQ(PosterDiagramRows(64, true, 53, rows), 62);
  for (int i = 1; i < 62; ++i) EXPECT_LE(rows[i - 1], rows[i]);
  EXPECT_LT(rows[61], 53);
}

TEST(ColourCount, SingleColourGradientAndPaddingNeverCounted) {
  ImageBuffer flat(37, 11);
  for (int y = 0; y < 11; ++y)
    for (int x = 0; x < 37; ++x) {
      uint8_t* p = flat.View().Row(y) + 3 * x;
      p[0] = 10, p[1] = 20, p[2] = 30;
    }
  FillPadding(flat, 0x77);
  EXPECT_EQ(CountDistinctColours(flat.View()), 1);

  ImageBuffer gradient(256, 256);
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x) {
      uint8_t* p = gradient.View().TopRow(y) + 3 * x;
      p[2] = static_cast<uint8_t>(x), p[1] = static_cast<uint8_t>(y), p[0] = 0;
    }
  EXPECT_EQ(CountDistinctColours(gradient.View()), 65536);
}

TEST(ColourCount, MatchesASetOfTheImagesColours) {
  for (int width : {1, 3, 50, 101}) {
    ImageBuffer image = NoiseImage(width, 40, 99u + width);
    // Coarse levels so colours repeat, also as runs of equal neighbours.
    for (uint8_t& byte : image.Bytes()) byte &= 0xC0;
    std::set<uint32_t> colours;
    for (int y = 0; y < image.Height(); ++y)
      for (int x = 0; x < width; ++x) {
        const uint8_t* p = image.View().Row(y) + 3 * x;
        colours.insert(p[2] << 16 | p[1] << 8 | p[0]);
      }
    FillPadding(image, 0xFF);
    EXPECT_EQ(CountDistinctColours(image.View()), static_cast<int64_t>(colours.size())) << width;
  }
  EXPECT_EQ(CountDistinctColours(ConstImageView{}), 0);
}

TEST(LevelTables, CountersStopAt254AndPaddingIsNeverCounted) {
  for (int width : {1, 2, 7, 300, 301}) {
    ImageBuffer image = NoiseImage(width, 3, 5u + width);
    for (uint8_t& byte : image.Bytes()) byte &= 0x0F;  // few levels: many counters reach the cap
    std::array<std::array<int, 256>, 3> reference{};
    for (int y = 0; y < image.Height(); ++y)
      for (int x = 0; x < width; ++x)
        for (int c = 0; c < 3; ++c) {
          int& counter = reference[c][image.View().Row(y)[3 * x + c]];
          if (counter < 254) ++counter;
        }
    FillPadding(image, 0xF0);
    const LevelTables tables = CountLevels(image.View());
    for (int v = 0; v < 256; ++v) {
      ASSERT_EQ(tables.blue[v], reference[0][v]) << width << " " << v;
      ASSERT_EQ(tables.green[v], reference[1][v]) << width << " " << v;
      ASSERT_EQ(tables.red[v], reference[2][v]) << width << " " << v;
    }
  }
}

TEST(LevelTables, SingleColourGreyAndFullRange) {
  ImageBuffer image(256, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 256; ++x) {
      uint8_t* p = image.View().Row(y) + 3 * x;
      p[0] = 9, p[1] = 8, p[2] = 7;
    }
  LevelTables tables = CountLevels(image.View());
  EXPECT_EQ(LevelsPresent(tables.red), 1);
  EXPECT_EQ(LevelsPresent(tables.green), 1);
  EXPECT_EQ(LevelsPresent(tables.blue), 1);
  EXPECT_EQ(tables.blue[9], 254);  // 768 pixels

  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 256; ++x) {
      uint8_t* p = image.View().Row(y) + 3 * x;
      p[0] = p[1] = p[2] = static_cast<uint8_t>(x * y / 2);  // a grey ramp with gaps
    }
  tables = CountLevels(image.View());
  EXPECT_EQ(tables.red, tables.green);
  EXPECT_EQ(tables.red, tables.blue);
  EXPECT_EQ(LevelsPresent(tables.red), 256);  // row 2 runs through every level
  EXPECT_EQ(LevelsPresent(CountLevels(ConstImageView{}).red), 0);
}

}  // namespace
}  // namespace pictornx
