// ReadPng against ImageMagick's decode for every colour type and depth, interlaced files,
// tRNS; bKGD and gAMA against their formulas; WritePng through pngcheck and back.
#include <gtest/gtest.h>

#include <cmath>

#include "codec_test_support.h"
#include "codecs/png_codec.h"

namespace pictornx {
namespace {

using namespace codec_test;

struct PngCase {
  const char* name;
  int colourType;
  int depth;
  bool withTrns;
};

int Channels(int colourType) {
  switch (colourType) {
    case 0: return 1;
    case 2: return 3;
    case 3: return 1;
    case 4: return 2;
    default: return 4;
  }
}

// Random scanlines; 16-bit samples have equal bytes (v * 257), so every decoder's reduction
// to 8 bits agrees; palette indices stay inside a 5-entry table.
Bytes MakeCaseFile(const PngCase& c, int width, int height, uint32_t seed) {
  Random random(seed);
  const int bitsPerPixel = Channels(c.colourType) * c.depth;
  const size_t rowBytes = (static_cast<size_t>(width) * bitsPerPixel + 7) / 8;
  std::vector<Bytes> rows;
  for (int y = 0; y < height; ++y) {
    Bytes row(rowBytes);
    for (size_t i = 0; i < rowBytes; ++i) {
      row[i] = random.Byte();
      if (c.depth == 16 && i % 2 == 1) row[i] = row[i - 1];
      if (c.colourType == 3) {
        uint8_t packed = 0;
        for (int k = 0; k < 8 / c.depth; ++k) packed = static_cast<uint8_t>(packed << c.depth | random.Next() % 5);
        row[i] = packed;
      }
    }
    rows.push_back(row);
  }
  std::vector<std::pair<std::string, Bytes>> chunks;
  if (c.colourType == 3) chunks.push_back({"PLTE", {255, 0, 0, 0, 255, 0, 0, 0, 255, 12, 34, 56, 200, 100, 50}});
  if (c.withTrns) {
    if (c.colourType == 3) chunks.push_back({"tRNS", {0, 128, 255}});
    if (c.colourType == 0) chunks.push_back({"tRNS", {0, 1}});
    if (c.colourType == 2) chunks.push_back({"tRNS", {0, 10, 0, 20, 0, 30}});
  }
  return MakePng(width, height, c.depth, c.colourType, rows, chunks);
}

class PngAgainstMagick : public ::testing::TestWithParam<PngCase> {};

TEST_P(PngAgainstMagick, DecodesPixelExact) {
  REQUIRE_TOOL(kConvert);
  const PngCase c = GetParam();
  TempDir dir;
  const Bytes file = MakeCaseFile(c, 13, 7, static_cast<uint32_t>(c.colourType * 100 + c.depth));
  WriteAll(dir.File("in.png"), file);
  for (bool interlaced : {false, true}) {
    std::string path = dir.File("in.png");
    if (interlaced) {
      path = dir.File("adam7.png");
      ASSERT_TRUE(RunTool(kConvert + " " + Quote(dir.File("in.png")) + " -interlace PNG -define png:exclude-chunk=bKGD " + Quote(path)));
    }
    const ImageBuffer expected = DecodeWithMagick(path, dir.File("out.ppm"));
    ASSERT_FALSE(expected.Empty());
    BufferSink sink;
    const CodecResult r = ReadPngFile(Wide(path).c_str(), sink);
    ASSERT_TRUE(r.Ok()) << r.reason;
    EXPECT_TRUE(SamePixels(sink.Image().View(), expected.View())) << (interlaced ? "interlaced" : "plain");
  }
}

INSTANTIATE_TEST_SUITE_P(
    ColourTypes, PngAgainstMagick,
    ::testing::Values(PngCase{"grey1", 0, 1, false}, PngCase{"grey2", 0, 2, false}, PngCase{"grey4", 0, 4, false},
                      PngCase{"grey8", 0, 8, false}, PngCase{"grey16", 0, 16, false},
                      PngCase{"grey8trns", 0, 8, true}, PngCase{"rgb8", 2, 8, false}, PngCase{"rgb16", 2, 16, false},
                      PngCase{"rgb8trns", 2, 8, true}, PngCase{"pal1", 3, 1, false}, PngCase{"pal2", 3, 2, false},
                      PngCase{"pal4", 3, 4, false}, PngCase{"pal8", 3, 8, false}, PngCase{"pal8trns", 3, 8, true},
                      PngCase{"greyalpha8", 4, 8, false}, PngCase{"greyalpha16", 4, 16, false},
                      PngCase{"rgba8", 6, 8, false}, PngCase{"rgba16", 6, 16, false}),
    [](const auto& param) { return std::string(param.param.name); });

// Alpha composited onto the bKGD colour as libpng does in 8 bits, within 1.
TEST(ReadPng, BackgroundChunkComposites) {
  Random random(4);
  Bytes row;
  std::vector<std::array<int, 4>> pixels;
  for (int x = 0; x < 64; ++x) {
    std::array<int, 4> p = {random.Byte(), random.Byte(), random.Byte(), x * 4};
    pixels.push_back(p);
    row.insert(row.end(), {uint8_t(p[0]), uint8_t(p[1]), uint8_t(p[2]), uint8_t(p[3])});
  }
  const Bytes file = MakePng(64, 1, 8, 6, {row}, {{"bKGD", {0, 200, 0, 100, 0, 50}}});
  BufferSink sink;
  ASSERT_TRUE(ReadPng(file, sink).Ok());
  const uint8_t* out = sink.Image().View().Row(0);
  const int background[3] = {200, 100, 50};
  for (int x = 0; x < 64; ++x)
    for (int c = 0; c < 3; ++c) {
      const int a = pixels[x][3];
      const double expected = (pixels[x][c] * a + background[c] * (255 - a)) / 255.0;
      EXPECT_NEAR(out[3 * x + 2 - c], expected, 1.0) << x << " " << c;
    }
}

TEST(ReadPng, WithoutBackgroundAlphaIsDropped) {
  const Bytes file = MakePng(2, 1, 8, 6, {{10, 20, 30, 0, 40, 50, 60, 128}});
  BufferSink sink;
  ASSERT_TRUE(ReadPng(file, sink).Ok());
  const uint8_t* out = sink.Image().View().Row(0);
  EXPECT_EQ(Bytes(out, out + 6), (Bytes{30, 20, 10, 60, 50, 40}));
}

// gAMA with a 2.2 screen: out = 255 * (in / 255) ^ (1 / (fileGamma * 2.2)), within 1.
TEST(ReadPng, GammaChunkCorrectsForTheScreen) {
  Bytes row;
  for (int v = 0; v < 256; ++v) row.insert(row.end(), {uint8_t(v), uint8_t(v), uint8_t(255 - v)});
  for (uint32_t gama : {45455u, 100000u, 70000u}) {
    Bytes chunk;
    PutBe32(chunk, gama);
    BufferSink sink;
    ASSERT_TRUE(ReadPng(MakePng(256, 1, 8, 2, {row}, {{"gAMA", chunk}}), sink).Ok());
    const uint8_t* out = sink.Image().View().Row(0);
    const double exponent = 1.0 / (gama / 100000.0 * 2.2);
    for (int v = 0; v < 256; ++v) {
      const double expected = 255.0 * std::pow(v / 255.0, exponent);
      ASSERT_NEAR(out[3 * v + 2], expected, 1.0) << gama << " " << v;
    }
  }
}

TEST(ReadPng, RefusesWhatItCannotRead) {
  BufferSink sink;
  EXPECT_EQ(ReadPng(Bytes{1, 2, 3}, sink).status, CodecStatus::kNotHandled);
  Bytes good = MakePng(2, 2, 8, 2, {Bytes(6, 1), Bytes(6, 2)});
  EXPECT_TRUE(ReadPng(good, sink).Ok());
  Bytes badCrc = good;
  badCrc[29] ^= 1;  // IHDR's CRC
  EXPECT_EQ(ReadPng(badCrc, sink).status, CodecStatus::kCorrupt);
  EXPECT_EQ(ReadPng(Bytes(good.begin(), good.end() - 20), sink).status, CodecStatus::kCorrupt);
}

TEST(ReadPng, HugeSizesAreRefusedBeforeAnyAllocation) {
  for (auto [w, h] : {std::pair{100000, 10}, std::pair{10, 70000}, std::pair{40000, 40000}}) {
    Bytes file = MakePng(1, 1, 8, 0, {{0}});
    // Patch IHDR's width and height and its CRC.
    Bytes ihdr(file.begin() + 12, file.begin() + 29);
    ihdr[4] = uint8_t(w >> 24), ihdr[5] = uint8_t(w >> 16), ihdr[6] = uint8_t(w >> 8), ihdr[7] = uint8_t(w);
    ihdr[8] = uint8_t(h >> 24), ihdr[9] = uint8_t(h >> 16), ihdr[10] = uint8_t(h >> 8), ihdr[11] = uint8_t(h);
    std::copy(ihdr.begin(), ihdr.end(), file.begin() + 12);
    const uint32_t crc = static_cast<uint32_t>(crc32(0, ihdr.data(), 17));
    for (int i = 0; i < 4; ++i) file[29 + i] = uint8_t(crc >> (24 - 8 * i));
    BufferSink sink;
    EXPECT_EQ(ReadPng(file, sink).status, CodecStatus::kOutOfMemory) << w << "x" << h;
    EXPECT_EQ(sink.Allocations(), 0);
  }
}

TEST(WritePng, PassesPngcheckAndDecodesBackExactly) {
  REQUIRE_TOOL(kPngcheck);
  REQUIRE_TOOL(kConvert);
  TempDir dir;
  const ImageBuffer image = PhotoLike(37, 21);
  const std::wstring path = dir.Path().wstring() + L"/スクリーン.png";
  const CodecResult r = WritePng(path.c_str(), image.View());
  ASSERT_TRUE(r.Ok()) << r.reason;
  const std::string narrow = dir.File("スクリーン.png");
  std::string report;
  EXPECT_TRUE(RunTool(kPngcheck + " -v " + Quote(narrow), &report)) << report;
  EXPECT_NE(report.find("37 x 21 image, 24-bit RGB, non-interlaced"), std::string::npos) << report;
  EXPECT_TRUE(SamePixels(DecodeWithMagick(narrow, dir.File("o.ppm")).View(), image.View()));
  BufferSink sink;
  ASSERT_TRUE(ReadPngFile(path.c_str(), sink).Ok());
  EXPECT_EQ(sink.Image().Bytes(), image.Bytes());
}

TEST(WritePng, TopRowFirstWithRedFirst) {
  ImageBuffer image(1, 2);
  uint8_t* bottom = image.View().Row(0);
  uint8_t* top = image.View().Row(1);
  bottom[0] = 1, bottom[1] = 2, bottom[2] = 3;
  top[0] = 4, top[1] = 5, top[2] = 6;
  ByteBlock png;
  ASSERT_TRUE(EncodePng(image.View(), &png).Ok());
  // Unpack IDAT: the filtered rows after the filter byte.
  const Bytes file(png.data(), png.data() + png.size());
  size_t at = 8;
  Bytes packed;
  while (at + 8 <= file.size()) {
    const uint32_t length = uint32_t(file[at]) << 24 | file[at + 1] << 16 | file[at + 2] << 8 | file[at + 3];
    if (std::string(file.begin() + at + 4, file.begin() + at + 8) == "IDAT")
      packed.insert(packed.end(), file.begin() + at + 8, file.begin() + at + 8 + length);
    at += 12 + length;
  }
  Bytes raw(8);
  uLongf rawSize = raw.size();
  ASSERT_EQ(uncompress(raw.data(), &rawSize, packed.data(), static_cast<uLong>(packed.size())), Z_OK);
  ASSERT_EQ(rawSize, 8u);
  // Row filters may differ; with filter 0 the bytes are the pixels themselves.
  if (raw[0] == 0) {
    EXPECT_EQ(Bytes(raw.begin() + 1, raw.begin() + 4), (Bytes{6, 5, 4}));
  }
  if (raw[4] == 0) {
    EXPECT_EQ(Bytes(raw.begin() + 5, raw.begin() + 8), (Bytes{3, 2, 1}));
  }
  BufferSink sink;
  ASSERT_TRUE(ReadPng(png.Span(), sink).Ok());
  EXPECT_EQ(sink.Image().Bytes(), image.Bytes());
}

TEST(WritePng, ReportsFailures) {
  TempDir dir;
  const ImageBuffer image = PhotoLike(300, 200);
  EXPECT_EQ(WritePng(Wide(dir.File("no/such.png")).c_str(), image.View()).status, CodecStatus::kCannotOpen);
  if (std::filesystem::exists("/dev/full")) {
    EXPECT_EQ(WritePng(L"/dev/full", image.View()).status, CodecStatus::kWriteFailed);
  }
  ByteBlock out;
  EXPECT_EQ(EncodePng(ConstImageView{}, &out).status, CodecStatus::kOutOfMemory);
}

}  // namespace
}  // namespace pictornx
