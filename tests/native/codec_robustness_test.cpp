// Every reader survives small valid files cut at every length and a few thousand random
// byte mutations of them (run under ASan and UBSan by make check). Results must be a known
// status, and a decoded image must have the sink's size.
#include <gtest/gtest.h>

#include "codec_test_support.h"
#include "bmp_file.h"
#include "codecs/bmp.h"
#include "codecs/jpeg_codec.h"
#include "codecs/png_codec.h"

namespace pictornx {
namespace {

using namespace codec_test;

using Reader = CodecResult (*)(std::span<const uint8_t>, ImageSink&);

void Survives(Reader read, const Bytes& file) {
  BufferSink sink(int64_t{16} << 20);
  const CodecResult r = read(file, sink);
  ASSERT_NE(r.reason, nullptr);
  ASSERT_LE(static_cast<int>(r.status), static_cast<int>(CodecStatus::kWriteFailed));
  ASSERT_LE(sink.Allocations(), 1);
  if (r.Ok()) {
    ASSERT_EQ(sink.Allocations(), 1);
    uint32_t sum = 0;  // touch every byte, so a sanitizer sees any the reader left bad
    for (uint8_t v : sink.Image().Bytes()) sum += v;
    (void)sum;
  }
}

void Torture(Reader read, const std::vector<Bytes>& files, int mutations) {
  for (const Bytes& file : files) {
    for (size_t length = 0; length <= file.size(); ++length) {
      Survives(read, Bytes(file.begin(), file.begin() + static_cast<ptrdiff_t>(length)));
      if (::testing::Test::HasFatalFailure()) FAIL() << "cut at " << length;
    }
  }
  Random random(77);
  for (int i = 0; i < mutations; ++i) {
    Bytes file = files[i % files.size()];
    const int changes = 1 + static_cast<int>(random.Next() % 4);
    for (int k = 0; k < changes; ++k) {
      const size_t at = random.Next() % file.size();
      switch (random.Next() % 3) {
        case 0: file[at] = random.Byte(); break;
        case 1: file[at] ^= static_cast<uint8_t>(1u << (random.Next() % 8)); break;
        default: file[at] = (random.Next() & 1) ? 0xFF : 0x00; break;
      }
    }
    Survives(read, file);
    if (::testing::Test::HasFatalFailure()) FAIL() << "mutation " << i;
  }
}

std::vector<Bytes> BmpFiles() {
  std::vector<Bytes> files;
  ImageBuffer image = RandomImage(5, 3, 1);
  files.push_back(EncodeBmp24(image.View()));
  BmpShape indexed;
  indexed.bits = 8;
  indexed.width = 5;
  indexed.height = 3;
  indexed.clrUsed = 3;
  indexed.palette = {1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 0};
  indexed.rows = {{0, 1, 2, 0, 1}, {2, 2, 2, 1, 0}, {1, 1, 0, 0, 2}};
  files.push_back(MakeBmp(indexed));
  BmpShape mono = indexed;
  mono.bits = 1;
  mono.clrUsed = 0;
  mono.palette = {0, 0, 0, 0, 255, 255, 255, 0};
  mono.rows = {{0xA8}, {0x50}, {0xF8}};
  files.push_back(MakeBmp(mono));
  BmpShape bitfields;
  bitfields.bits = 16;
  bitfields.width = 3;
  bitfields.height = 2;
  bitfields.compression = 3;
  bitfields.masks = {0xF800, 0x07E0, 0x001F};
  bitfields.rows = {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}};
  files.push_back(MakeBmp(bitfields));
  BmpShape core;
  core.headerSize = 12;
  core.bits = 8;
  core.width = 2;
  core.height = 2;
  core.palette = Bytes(256 * 3, 9);
  core.rows = {{1, 2}, {3, 4}};
  files.push_back(MakeBmp(core));
  return files;
}

std::vector<Bytes> PngFiles() {
  std::vector<Bytes> files;
  ByteBlock rgb;
  EXPECT_TRUE(EncodePng(PhotoLike(9, 5).View(), &rgb).Ok());
  files.emplace_back(rgb.data(), rgb.data() + rgb.size());
  files.push_back(MakePng(5, 2, 4, 3, {{0x01, 0x23, 0x40}, {0x32, 0x10, 0x00}},
                          {{"PLTE", {255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 9, 9}}, {"tRNS", {0, 128}},
                           {"bKGD", {2}}}));
  Bytes gama;
  PutBe32(gama, 45455);
  files.push_back(MakePng(3, 2, 16, 4, {Bytes(12, 0x80), Bytes(12, 0x10)}, {{"gAMA", gama}}));
  files.push_back(MakePng(2, 2, 8, 6, {{1, 2, 3, 4, 5, 6, 7, 8}, {9, 10, 11, 12, 13, 14, 15, 16}},
                          {{"bKGD", {0, 1, 0, 2, 0, 3}}}));
  return files;
}

std::vector<Bytes> JpegFiles() {
  std::vector<Bytes> files;
  const ImageBuffer image = PhotoLike(19, 11);
  for (const JpegOptions& options : {JpegOptions{65, false, true}, JpegOptions{65, true, true},
                                     JpegOptions{50, false, false}}) {
    ByteBlock out;
    EXPECT_TRUE(EncodeJpeg(image.View(), options, &out).Ok());
    files.emplace_back(out.data(), out.data() + out.size());
  }
  return files;
}

TEST(CodecRobustness, BmpReaderSurvivesCutsAndMutations) { Torture(ReadBmp, BmpFiles(), 4000); }
TEST(CodecRobustness, PngReaderSurvivesCutsAndMutations) { Torture(ReadPng, PngFiles(), 4000); }
TEST(CodecRobustness, JpegReaderSurvivesCutsAndMutations) { Torture(ReadJpeg, JpegFiles(), 3000); }

TEST(CodecRobustness, EachReaderRefusesTheOthersFiles) {
  for (const Bytes& file : BmpFiles()) {
    BufferSink sink;
    EXPECT_EQ(ReadPng(file, sink).status, CodecStatus::kNotHandled);
    EXPECT_EQ(ReadJpeg(file, sink).status, CodecStatus::kNotHandled);
  }
  for (const Bytes& file : JpegFiles()) {
    BufferSink sink;
    EXPECT_EQ(ReadPng(file, sink).status, CodecStatus::kNotHandled);
    EXPECT_EQ(ReadBmp(file, sink).status, CodecStatus::kNotHandled);
  }
}

}  // namespace
}  // namespace pictornx
