// The difference images against their formula byte for byte (both vector and tail paths),
// the channel-trace sampling's rows, columns and orientation, and the rubber band's range.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>

#include "pixels/image_buffer.h"
#include "pixels/jpeg_diff.h"

namespace pictornx {
namespace {

ImageBuffer Uniform(int width, int height, uint8_t value) {
  ImageBuffer image(width, height);
  std::fill(image.Bytes().begin(), image.Bytes().end(), value);
  return image;
}

TEST(DiffImage, FixedDifferencesAndPaddingLeftAlone) {
  struct Case {
    int source, jpeg, factor, expected;
  } const cases[] = {{90, 90, 1, 127}, {90, 90, 4, 127}, {100, 140, 1, 167}, {100, 140, 4, 255},
                     {100, 68, 1, 95}, {100, 68, 4, 0},  {0, 255, 1, 255},   {255, 0, 1, 0}};
  for (const Case& c : cases) {
    // 7 pixels: 21 bytes a row, one vector and a tail, and 3 padding bytes.
    const ImageBuffer source = Uniform(7, 3, static_cast<uint8_t>(c.source));
    const ImageBuffer jpeg = Uniform(7, 3, static_cast<uint8_t>(c.jpeg));
    ImageBuffer out = Uniform(7, 3, 0xEE);
    BuildDiffImage(source.View(), jpeg.View(), out.View(), c.factor);
    for (int y = 0; y < 3; ++y) {
      const uint8_t* row = out.View().Row(y);
      for (int i = 0; i < 21; ++i) ASSERT_EQ(row[i], c.expected) << c.source << " -> " << c.jpeg << " x" << c.factor;
      for (int i = 21; i < out.Stride(); ++i) ASSERT_EQ(row[i], 0xEE) << "padding";
    }
  }
}

TEST(DiffImage, RandomImagesMatchTheFormula) {
  std::mt19937 random(7);
  for (const int width : {1, 5, 16, 33, 101}) {
    ImageBuffer source(width, 9), jpeg(width, 9), out(width, 9);
    for (uint8_t& b : source.Bytes()) b = static_cast<uint8_t>(random());
    // Mostly small differences, as a JPEG makes, with some large ones of both signs.
    for (size_t i = 0; i < jpeg.Bytes().size(); ++i) {
      const int delta = random() % 8 == 0 ? static_cast<int>(random() % 511) - 255 : static_cast<int>(random() % 41) - 20;
      jpeg.Bytes()[i] = static_cast<uint8_t>(std::clamp(source.Bytes()[i] + delta, 0, 255));
    }
    for (const int factor : {1, 2, 4, 3, 1000}) {
      BuildDiffImage(source.View(), jpeg.View(), out.View(), factor);
      for (int y = 0; y < 9; ++y)
        for (int i = 0; i < width * 3; ++i) {
          const int s = source.View().Row(y)[i], j = jpeg.View().Row(y)[i];
          const int64_t expected = std::clamp<int64_t>(int64_t{factor} * (j - s) + 127, 0, 255);
          ASSERT_EQ(out.View().Row(y)[i], expected) << "width " << width << " factor " << factor;
        }
    }
  }
}

TEST(DiffImage, MismatchedSizesWriteNothing) {
  const ImageBuffer source = Uniform(8, 8, 10), jpeg = Uniform(8, 7, 20);
  ImageBuffer out = Uniform(8, 8, 0xEE);
  BuildDiffImage(source.View(), jpeg.View(), out.View(), 1);
  EXPECT_TRUE(std::all_of(out.Bytes().begin(), out.Bytes().end(), [](uint8_t b) { return b == 0xEE; }));
}

TEST(TraceValue, GainsAndTruncation) {
  struct Case {
    int s, j;
    bool gain2;
    int expected;
  } const cases[] = {{50, 50, false, 127}, {50, 50, true, 127}, {0, 200, false, 27}, {0, 200, true, 0},
                     {47, 50, false, 126},  // -3 / 2 truncates to -1, not -2
                     {53, 50, false, 128},  {255, 0, true, 255}, {255, 0, false, 254}};
  for (const Case& c : cases) EXPECT_EQ(TraceValue(c.s, c.j, c.gain2), c.expected) << c.s << " " << c.j;
}

// Red encodes the picture column and green the picture row (mod 256) in the source; the
// JPEG is 127 everywhere, so a x2 trace value is the source byte itself.
struct Encoded {
  ImageBuffer source, jpeg;
};
Encoded EncodedImage(int width, int height) {
  Encoded e{ImageBuffer(width, height), Uniform(width, height, 127)};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint8_t* p = e.source.View().TopRow(y) + 3 * x;
      p[0] = 127, p[1] = static_cast<uint8_t>(y), p[2] = static_cast<uint8_t>(x);
    }
  return e;
}

TEST(ChannelTraces, EqualImagesLieOnTheMiddleLine) {
  const ImageBuffer image = Uniform(300, 250, 77);
  auto traces = std::make_unique<TraceSamples>();
  for (const bool gain2 : {false, true}) {
    SampleChannelTraces(image.View(), image.View(), {0, 0, 300, 250}, gain2, *traces);
    ASSERT_EQ(traces->rows, 200);
    ASSERT_EQ(traces->samples, 61);
    for (int c = 0; c < 3; ++c)
      for (int k = 0; k < 200; ++k)
        for (int q = 0; q < 61; ++q) ASSERT_EQ(traces->value[c][k][q], 127);
  }
}

TEST(ChannelTraces, RowsCountUpFromTheBottomWithTheirStep) {
  auto traces = std::make_unique<TraceSamples>();
  for (const int height : {1, 7, 200, 201, 400, 1000, 1003}) {
    const Encoded e = EncodedImage(5, height);
    SampleChannelTraces(e.source.View(), e.jpeg.View(), {0, 0, 5, height}, true, *traces);
    ASSERT_EQ(traces->rows, std::min(height, 200)) << height;
    const double step = height <= 200 ? 1 : height * 0.005;
    for (int k = 0; k < traces->rows; ++k) {
      const int row = height - 1 - static_cast<int>(std::floor(k * step));
      ASSERT_EQ(traces->value[1][k][0], row % 256) << height << " rows, plot row " << k;
    }
  }
  // 120 x 1.025 is 123 exactly, though 120 * (205 * 0.005) in doubles falls just below it.
  const Encoded e = EncodedImage(5, 205);
  SampleChannelTraces(e.source.View(), e.jpeg.View(), {0, 0, 5, 205}, true, *traces);
  EXPECT_EQ(traces->value[1][120][0], 204 - 123);
}

TEST(ChannelTraces, ColumnsSpreadOverTheRegionWidth) {
  struct Case {
    int width, samples, lastColumn;
  } const cases[] = {{1, 1, 0},    {30, 30, 29},   {61, 61, 60},  {63, 61, 61},
                     {64, 61, 62}, {200, 61, 196}, {1920, 61, 1888}};
  auto traces = std::make_unique<TraceSamples>();
  for (const Case& c : cases) {
    const Encoded e = EncodedImage(c.width, 3);
    SampleChannelTraces(e.source.View(), e.jpeg.View(), {0, 0, c.width, 3}, true, *traces);
    ASSERT_EQ(traces->samples, c.samples) << c.width;
    EXPECT_EQ(traces->lastColumn, c.lastColumn) << c.width;
    const double step = std::max(c.width / 61.0, 1.0);
    for (int q = 0; q < traces->samples; ++q)
      ASSERT_EQ(traces->value[0][0][q], static_cast<int>(std::floor(q * step)) % 256) << c.width << " sample " << q;
  }
}

TEST(ChannelTraces, RegionInPictureCoordinatesClippedToTheImage) {
  const Encoded e = EncodedImage(100, 40);
  auto traces = std::make_unique<TraceSamples>();
  SampleChannelTraces(e.source.View(), e.jpeg.View(), {10, 5, 40, 30}, true, *traces);
  ASSERT_EQ(traces->rows, 25);
  ASSERT_EQ(traces->samples, 30);
  EXPECT_EQ(traces->value[0][0][0], 10);   // red: the region's left column
  EXPECT_EQ(traces->value[1][0][0], 29);   // green: plot row 0 is the region's bottom row
  EXPECT_EQ(traces->value[1][24][0], 5);   // and the last plot row its top row
  EXPECT_EQ(traces->value[2][3][7], 127);  // blue: no difference

  // A region reaching past the image reads only the image.
  SampleChannelTraces(e.source.View(), e.jpeg.View(), {90, 35, 150, 60}, true, *traces);
  EXPECT_EQ(traces->rows, 5);
  EXPECT_EQ(traces->samples, 10);
  EXPECT_EQ(traces->value[1][0][0], 39);
  SampleChannelTraces(e.source.View(), e.jpeg.View(), {120, 0, 150, 10}, true, *traces);
  EXPECT_EQ(traces->rows, 0);
  EXPECT_EQ(traces->samples, 0);
}

TEST(RangeRect, MinimumsAndEdges) {
  struct Case {
    const char* what;
    int x0, y0, x1, y1, w, h;
    PixelRect expected;
  } const cases[] = {
      {"both ends left of 61", 10, 10, 40, 20, 446, 430, {0, 10, 61, 20}},
      {"narrow drag widens to 61", 130, 20, 100, 10, 446, 430, {100, 10, 161, 20}},
      {"wide drag kept", 70, 200, 300, 10, 446, 430, {70, 10, 300, 200}},
      {"left end beyond W - 62", 400, 10, 420, 20, 446, 430, {384, 10, 445, 20}},
      {"left end at W - 62", 384, 10, 390, 20, 446, 430, {384, 10, 445, 20}},
      {"small image", 70, 5, 75, 9, 81, 21, {19, 5, 80, 9}},
      {"rows on the top edge", 100, 0, 200, 0, 446, 430, {100, 0, 200, 1}},
      {"rows above the top edge", 100, -5, 200, 0, 446, 430, {100, 0, 200, 1}},
      {"from the top edge down", 100, 0, 200, 12, 446, 430, {100, 0, 200, 12}},
      {"one row", 100, 5, 200, 5, 446, 430, {100, 5, 200, 6}},
      {"bottom row", 100, 429, 200, 429, 446, 430, {100, 428, 200, 429}},
  };
  for (const Case& c : cases) EXPECT_EQ(RangeRectFrom(c.x0, c.y0, c.x1, c.y1, c.w, c.h), c.expected) << c.what;
}

}  // namespace
}  // namespace pictornx
