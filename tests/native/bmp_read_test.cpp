// ReadBmp against ImageMagick's decode where the decoder's rules agree with it, and against
// the decoder's own rules where they differ (16 bits times 8). Files are built here.
#include <gtest/gtest.h>

#include "codec_test_support.h"
#include "bmp_file.h"
#include "codecs/bmp.h"
#include "codecs/image_sink.h"

namespace pictornx {
namespace {

using namespace codec_test;

Bytes RandomRow(Random& random, size_t bytes, int bits, int entries) {
  Bytes row(bytes);
  for (auto& b : row) {
    b = random.Byte();
    if (bits == 8) b = static_cast<uint8_t>(b % entries);
    if (bits == 4) b = static_cast<uint8_t>(((b >> 4) % entries) << 4 | ((b & 15) % entries));
  }
  return row;
}

BmpShape RandomBmp(uint32_t headerSize, int width, int height, int bits, uint32_t seed) {
  Random random(seed);
  BmpShape s;
  s.headerSize = headerSize;
  s.width = width;
  s.height = height;
  s.bits = bits;
  const int entries = bits <= 8 ? (bits == 8 ? 200 : 1 << bits) : 0;
  const int entryBytes = headerSize == 12 ? 3 : 4;
  if (bits == 8 && headerSize != 12) s.clrUsed = static_cast<uint32_t>(entries);
  const int tableEntries = bits == 8 && headerSize == 12 ? 256 : entries;
  for (int i = 0; i < tableEntries * entryBytes; ++i)
    s.palette.push_back(entryBytes == 4 && i % 4 == 3 ? 0 : random.Byte());
  const size_t rowBytes = (static_cast<size_t>(width) * bits + 7) / 8;
  for (int y = 0; y < height; ++y) s.rows.push_back(RandomRow(random, rowBytes, bits, entries));
  return s;
}

struct Decoded {
  CodecResult result;
  BufferSink sink;
};

void Decode(const Bytes& file, Decoded* out) { out->result = ReadBmp(file, out->sink); }

class BmpAgainstMagick : public ::testing::TestWithParam<std::tuple<uint32_t, int, int>> {};

TEST_P(BmpAgainstMagick, DecodesPixelExact) {
  REQUIRE_TOOL(kConvert);
  const auto [headerSize, bits, width] = GetParam();
  TempDir dir;
  BmpShape shape = RandomBmp(headerSize, width, 5, bits, static_cast<uint32_t>(bits * 1000 + width));
  if (bits == 32) {  // the unused fourth byte zero, as ImageMagick may take it for alpha
    for (Bytes& row : shape.rows)
      for (size_t i = 3; i < row.size(); i += 4) row[i] = 0;
  }
  const Bytes file = MakeBmp(shape);
  WriteAll(dir.File("in.bmp"), file);
  const ImageBuffer expected = DecodeWithMagick(dir.File("in.bmp"), dir.File("out.ppm"));
  ASSERT_FALSE(expected.Empty());
  Decoded got;
  Decode(file, &got);
  ASSERT_TRUE(got.result.Ok()) << got.result.reason;
  EXPECT_TRUE(SamePixels(got.sink.Image().View(), expected.View()));
  EXPECT_TRUE(PaddingZero(got.sink.Image().View()));
}

INSTANTIATE_TEST_SUITE_P(Variants, BmpAgainstMagick,
                         ::testing::Values(std::tuple{40u, 1, 13}, std::tuple{40u, 1, 32}, std::tuple{40u, 4, 7},
                                           std::tuple{40u, 8, 5}, std::tuple{40u, 24, 3}, std::tuple{40u, 24, 4},
                                           std::tuple{40u, 32, 3}, std::tuple{108u, 24, 6}, std::tuple{108u, 8, 9},
                                           std::tuple{12u, 8, 6}, std::tuple{12u, 24, 5}));

TEST(ReadBmp, ThirtyTwoBitBitfieldsTakeTheFirstThreeBytes) {
  REQUIRE_TOOL(kConvert);
  TempDir dir;
  BmpShape shape = RandomBmp(40, 4, 3, 32, 7);
  shape.compression = 3;
  shape.masks = {0x00FF0000, 0x0000FF00, 0x000000FF};
  for (Bytes& row : shape.rows)
    for (size_t i = 3; i < row.size(); i += 4) row[i] = 0;
  const Bytes file = MakeBmp(shape);
  WriteAll(dir.File("in.bmp"), file);
  const ImageBuffer expected = DecodeWithMagick(dir.File("in.bmp"), dir.File("out.ppm"));
  Decoded got;
  Decode(file, &got);
  ASSERT_TRUE(got.result.Ok());
  EXPECT_TRUE(SamePixels(got.sink.Image().View(), expected.View()));
}

// One 16-bit pixel through the decoder.
std::array<int, 3> Pixel16(uint16_t value, uint32_t compression, std::vector<uint32_t> masks = {}) {
  BmpShape shape;
  shape.bits = 16;
  shape.compression = compression;
  shape.masks = std::move(masks);
  shape.rows = {{static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)}};
  Decoded got;
  Decode(MakeBmp(shape), &got);
  EXPECT_TRUE(got.result.Ok());
  const uint8_t* p = got.sink.Image().View().Row(0);
  return {p[0], p[1], p[2]};
}

TEST(ReadBmp, SixteenBitsTimesEightWithTheRed255Rule) {
  // blue, green, red = low 5 bits, next 5, next 5, each times 8; bit 15 ignored.
  EXPECT_EQ(Pixel16(0x0000, 0), (std::array{0, 0, 0}));
  EXPECT_EQ(Pixel16(0x7FFF, 0), (std::array{248, 248, 248}));
  EXPECT_EQ(Pixel16(0x0421, 0), (std::array{8, 8, 8}));
  EXPECT_EQ(Pixel16(0x8000 | (3 << 10) | (2 << 5) | 1, 0), (std::array{8, 16, 24}));
  EXPECT_EQ(Pixel16(0xFBFF, 0), (std::array{248, 248, 240}));  // red bits 11110
  // 0xFC00 and above: red 255.
  EXPECT_EQ(Pixel16(0xFC00, 0), (std::array{0, 0, 255}));
  EXPECT_EQ(Pixel16(0xFFFF, 0), (std::array{248, 248, 255}));
}

TEST(ReadBmp, SixteenBitBitfieldsFollowThePartsMasks) {
  // 5-5-5 masks: red takes bits 10 to 15 times 8, kept to 8 bits.
  for (uint32_t red : {0x7C00u, 0xFC00u}) {
    EXPECT_EQ(Pixel16(0x7FFF, 3, {red, 0x03E0, 0x001F}), (std::array{248, 248, 248}));
    EXPECT_EQ(Pixel16(0x8000, 3, {red, 0x03E0, 0x001F}), (std::array{0, 0, 0}));  // 32 * 8 = 256
    EXPECT_EQ(Pixel16(0xFC00, 3, {red, 0x03E0, 0x001F}), (std::array{0, 0, 248}));  // 63 * 8 & 255
  }
  // 5-6-5 masks: green takes bits 6 to 10 only.
  EXPECT_EQ(Pixel16(0xFFFF, 3, {0xF800, 0x07E0, 0x001F}), (std::array{248, 248, 248}));
  EXPECT_EQ(Pixel16(0x0020, 3, {0xF800, 0x07E0, 0x001F}), (std::array{0, 0, 0}));  // green bit 5 dropped
  EXPECT_EQ(Pixel16(0x0840, 3, {0xF800, 0x07E0, 0x001F}), (std::array{0, 8, 8}));
  EXPECT_EQ(Pixel16(0x0840, 3, {0xF800, 0x07C0, 0x003F}), (std::array{0, 8, 8}));
  // Any other masks: the low 5 bits times 8 in all three channels.
  EXPECT_EQ(Pixel16(0xFFE3, 3, {0x0F00, 0x00F0, 0x000F}), (std::array{24, 24, 24}));
  EXPECT_EQ(Pixel16(0x0003, 3, {}), (std::array{24, 24, 24}));  // masks cut off by the file's end
}

TEST(ReadBmp, FallbacksAreNotHandled) {
  auto status = [](const Bytes& file) {
    BufferSink sink;
    const CodecStatus s = ReadBmp(file, sink).status;
    if (s != CodecStatus::kOk) {
      EXPECT_EQ(sink.Allocations(), 0);
    }
    return s;
  };
  BmpShape base = RandomBmp(40, 4, 4, 8, 3);
  EXPECT_EQ(status(MakeBmp(base)), CodecStatus::kOk);
  Bytes notBm = MakeBmp(base);
  notBm[0] = 'X';
  EXPECT_EQ(status(notBm), CodecStatus::kNotHandled);
  for (uint32_t compression : {1u, 2u, 4u, 5u}) {  // RLE8, RLE4, JPEG, PNG
    BmpShape s = base;
    s.compression = compression;
    EXPECT_EQ(status(MakeBmp(s)), CodecStatus::kNotHandled) << compression;
  }
  BmpShape topDown = base;
  topDown.height = -4;
  EXPECT_EQ(status(MakeBmp(topDown)), CodecStatus::kNotHandled);
  BmpShape core4 = RandomBmp(12, 4, 4, 4, 3);
  EXPECT_EQ(status(MakeBmp(core4)), CodecStatus::kNotHandled);
  for (uint32_t header : {16u, 52u, 56u, 64u, 124u}) {
    BmpShape s = base;
    s.headerSize = 108;
    Bytes file = MakeBmp(s);
    file[14] = static_cast<uint8_t>(header);
    EXPECT_EQ(status(file), CodecStatus::kNotHandled) << header;
  }
  for (int bits : {0, 2, 15}) {
    BmpShape s = base;
    s.bits = bits;
    EXPECT_EQ(status(MakeBmp(s)), CodecStatus::kNotHandled) << bits;
  }
  BmpShape zeroWidth = base;
  zeroWidth.width = 0;
  EXPECT_EQ(status(MakeBmp(zeroWidth)), CodecStatus::kNotHandled);
  EXPECT_EQ(status({'B', 'M', 0, 0}), CodecStatus::kCorrupt);
  EXPECT_EQ(status({}), CodecStatus::kNotHandled);
}

TEST(ReadBmp, HugeSizesAreRefusedBeforeAnyAllocation) {
  for (auto [w, h] : {std::pair{100000, 100000}, std::pair{65536, 1}, std::pair{1, 65536},
                      std::pair{40000, 40000}}) {
    BmpShape s;
    s.width = w;
    s.height = h;
    BufferSink sink;
    const CodecResult r = ReadBmp(MakeBmp(s), sink);
    EXPECT_EQ(r.status, CodecStatus::kOutOfMemory) << w << "x" << h;
    EXPECT_EQ(sink.Allocations(), 0);
  }
  // The core header's 16-bit sides stay below the cap.
  BmpShape core = RandomBmp(12, 3, 2, 24, 1);
  Bytes file = MakeBmp(core);
  file[18] = file[19] = 0xFF;  // width 65535, no rows held: black
  BufferSink sink;
  EXPECT_TRUE(ReadBmp(file, sink).Ok());
  EXPECT_EQ(sink.Image().Width(), 65535);
}

TEST(ReadBmp, PaletteIndexBeyondTheTableIsBlack) {
  BmpShape s;
  s.bits = 8;
  s.width = 4;
  s.clrUsed = 2;
  s.palette = {10, 20, 30, 0, 40, 50, 60, 0};
  s.rows = {{0, 1, 2, 255}};
  Decoded got;
  Decode(MakeBmp(s), &got);
  ASSERT_TRUE(got.result.Ok());
  const uint8_t* p = got.sink.Image().View().Row(0);
  EXPECT_EQ(Bytes(p, p + 12), (Bytes{10, 20, 30, 40, 50, 60, 0, 0, 0, 0, 0, 0}));
}

TEST(ReadBmp, TableCutByTheFileEndGivesBlackEntries) {
  BmpShape s;
  s.bits = 8;
  s.width = 2;
  s.palette = {1, 2, 3, 0, 4, 5, 6, 0};  // 256 entries claimed (biClrUsed 0), two present
  s.rows = {};
  Bytes file = MakeBmp(s);
  // Pixel data offset pointing at the table's second entry: indices 4 and 5 of entry 1.
  file[10] = 58;
  Decoded got;
  Decode(file, &got);
  ASSERT_TRUE(got.result.Ok());
  const uint8_t* p = got.sink.Image().View().Row(0);
  EXPECT_EQ(Bytes(p, p + 6), (Bytes{0, 0, 0, 0, 0, 0}));  // entries 4 and 5 lie past the end
}

TEST(ReadBmp, DataTheFileDoesNotHoldStaysBlack) {
  BmpShape s = RandomBmp(40, 5, 4, 24, 11);
  const Bytes full = MakeBmp(s);
  Decoded whole;
  Decode(full, &whole);
  ASSERT_TRUE(whole.result.Ok());
  // Cut in the middle of the third row (memory row 2): rows 0 and 1 whole, row 2 up to the
  // cut byte by byte, row 3 black.
  const size_t cut = 54 + 16 * 2 + 7;
  Decoded part;
  Decode(Bytes(full.begin(), full.begin() + cut), &part);
  ASSERT_TRUE(part.result.Ok());
  const ConstImageView a = whole.sink.Image().View(), b = part.sink.Image().View();
  for (int y = 0; y < 2; ++y) EXPECT_EQ(0, std::memcmp(a.Row(y), b.Row(y), 15));
  EXPECT_EQ(0, std::memcmp(a.Row(2), b.Row(2), 7));
  for (int x = 7; x < 15; ++x) EXPECT_EQ(b.Row(2)[x], 0);
  for (int x = 0; x < 15; ++x) EXPECT_EQ(b.Row(3)[x], 0);
  // An offset past the end: all black, still decoded.
  Bytes far = full;
  far[13] = 0x7F;
  Decoded none;
  Decode(far, &none);
  ASSERT_TRUE(none.result.Ok());
  for (uint8_t v : none.sink.Image().Bytes()) ASSERT_EQ(v, 0);
}

TEST(WriteBmp, WritesTheTwentyFourBitLayoutAndReadsBack) {
  TempDir dir;
  const ImageBuffer image = RandomImage(7, 3, 5);
  const std::wstring path = dir.Path().wstring() + L"/画像.bmp";
  int64_t written = 0;
  const CodecResult r = WriteBmp(path.c_str(), image.View(), &written);
  ASSERT_TRUE(r.Ok()) << r.reason;
  EXPECT_EQ(written, 54 + 3 * 24);
  EXPECT_EQ(ReadAll(dir.Path() / std::filesystem::path(u8"画像.bmp")), EncodeBmp24(image.View()));
  BufferSink sink;
  ASSERT_TRUE(ReadBmpFile(path.c_str(), sink).Ok());
  EXPECT_EQ(sink.Image().Bytes(), image.Bytes());
}

TEST(WriteBmp, PaddingIsZeroWhateverTheViewHolds) {
  ImageBuffer image = RandomImage(1, 2, 9);
  image.Bytes()[3] = 0xAA;  // padding of memory row 0
  TempDir dir;
  ASSERT_TRUE(WriteBmp(Wide(dir.File("p.bmp")).c_str(), image.View()).Ok());
  const Bytes file = ReadAll(dir.File("p.bmp"));
  ASSERT_EQ(file.size(), 62u);
  EXPECT_EQ(file[57], 0);
}

TEST(WriteBmp, ReportsFilesThatCannotBeCreated) {
  TempDir dir;
  const ImageBuffer image(2, 2);
  int64_t written = -1;
  const std::wstring path = Wide(dir.File("missing/x.bmp"));
  EXPECT_EQ(WriteBmp(path.c_str(), image.View(), &written).status, CodecStatus::kCannotOpen);
  EXPECT_EQ(written, 0);
  if (std::filesystem::exists("/dev/full")) {
    const CodecResult r = WriteBmp(L"/dev/full", RandomImage(300, 300, 1).View(), &written);
    EXPECT_EQ(r.status, CodecStatus::kWriteFailed);
  }
  EXPECT_EQ(WriteBmp(Wide(dir.File("e.bmp")).c_str(), ConstImageView{}).status, CodecStatus::kOutOfMemory);
  BufferSink sink;
  EXPECT_EQ(ReadBmpFile(path.c_str(), sink).status, CodecStatus::kCannotOpen);
}

}  // namespace
}  // namespace pictornx
