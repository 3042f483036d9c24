// ReadJpeg against djpeg (the same library's own decode) for colour, grey, progressive,
// subsampled and restart-marker files made by cjpeg; CMYK refused; WriteJpeg against cjpeg's
// bytes and through djpeg; a full disk reported instead of ending the process.
#include <gtest/gtest.h>

#include <cstdlib>

#include "codec_test_support.h"
#include "codecs/jpeg_codec.h"

namespace pictornx {
namespace {

using namespace codec_test;

// A sink that hands out a view full of 0xEE, to see that the reader writes every pixel
// byte and zeroes the padding itself.
class DirtySink final : public ImageSink {
 public:
  bool Allocate(int width, int height, ImageView* out) override {
    image_ = ImageBuffer(width, height);
    std::fill(image_.Bytes().begin(), image_.Bytes().end(), 0xEE);
    *out = image_.View();
    return true;
  }
  ImageBuffer image_;
};

class JpegAgainstDjpeg : public ::testing::TestWithParam<const char*> {};

TEST_P(JpegAgainstDjpeg, DecodesLikeTheLibrary) {
  REQUIRE_TOOL(kCjpeg);
  REQUIRE_TOOL(kDjpeg);
  TempDir dir;
  WriteAll(dir.File("in.ppm"), EncodePpm(PhotoLike(37, 23).View()));
  ASSERT_TRUE(RunTool(kCjpeg + " " + GetParam() + " -outfile " + Quote(dir.File("in.jpg")) + " " +
                      Quote(dir.File("in.ppm"))));
  const ImageBuffer expected = DecodeWithDjpeg(dir.File("in.jpg"), dir.File("out.ppm"));
  ASSERT_FALSE(expected.Empty());
  DirtySink sink;
  const CodecResult r = ReadJpegFile(Wide(dir.File("in.jpg")).c_str(), sink);
  ASSERT_TRUE(r.Ok()) << r.reason;
  EXPECT_TRUE(SamePixels(sink.image_.View(), expected.View()));
  EXPECT_TRUE(PaddingZero(sink.image_.View()));
  if (std::string(GetParam()).find("-grayscale") != std::string::npos) {
    const ConstImageView v = sink.image_.View();
    for (int y = 0; y < v.height; ++y)
      for (int x = 0; x < v.width; ++x) {
        ASSERT_EQ(v.Row(y)[3 * x], v.Row(y)[3 * x + 1]);
        ASSERT_EQ(v.Row(y)[3 * x], v.Row(y)[3 * x + 2]);
      }
  }
}

INSTANTIATE_TEST_SUITE_P(Files, JpegAgainstDjpeg,
                         ::testing::Values("-quality 75", "-quality 90 -sample 1x1", "-sample 2x1",
                                           "-progressive", "-grayscale", "-grayscale -progressive",
                                           "-restart 1", "-optimize -quality 30", "-arithmetic",
                                           "-rgb"));

TEST(ReadJpeg, FourComponentFilesAreLeftToTheGeneralReader) {
  REQUIRE_TOOL(kConvert);
  TempDir dir;
  WriteAll(dir.File("in.ppm"), EncodePpm(PhotoLike(16, 8).View()));
  ASSERT_TRUE(RunTool(kConvert + " " + Quote(dir.File("in.ppm")) + " -colorspace CMYK " + Quote(dir.File("cmyk.jpg"))));
  BufferSink sink;
  const CodecResult r = ReadJpegFile(Wide(dir.File("cmyk.jpg")).c_str(), sink);
  EXPECT_EQ(r.status, CodecStatus::kNotHandled) << r.reason;
  EXPECT_EQ(sink.Allocations(), 0);
}

Bytes SmallJpeg(const JpegOptions& options = {}) {
  ByteBlock out;
  EXPECT_TRUE(EncodeJpeg(PhotoLike(24, 16).View(), options, &out).Ok());
  return Bytes(out.data(), out.data() + out.size());
}

// Offset of the first SOFn marker's segment.
size_t FindSof(const Bytes& jpeg, uint8_t* marker) {
  for (size_t i = 2; i + 9 < jpeg.size(); ++i)
    if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC1 || jpeg[i + 1] == 0xC2)) {
      *marker = jpeg[i + 1];
      return i;
    }
  return 0;
}

TEST(ReadJpeg, RefusesWhatItCannotRead) {
  BufferSink sink;
  EXPECT_EQ(ReadJpeg(Bytes{}, sink).status, CodecStatus::kNotHandled);
  EXPECT_EQ(ReadJpeg(Bytes{'B', 'M', 0, 0}, sink).status, CodecStatus::kNotHandled);
  EXPECT_EQ(ReadJpeg(Bytes{0xFF, 0xD8, 0xFF, 0x00, 0x01}, sink).status, CodecStatus::kCorrupt);
  Bytes headerOnly = SmallJpeg();
  headerOnly.resize(40);
  EXPECT_EQ(ReadJpeg(headerOnly, sink).status, CodecStatus::kCorrupt);
  EXPECT_EQ(ReadJpegFile(L"/nonexistent/x.jpg", sink).status, CodecStatus::kCannotOpen);
}

TEST(ReadJpeg, HugeSizesAreRefusedBeforeAnyAllocation) {
  Bytes jpeg = SmallJpeg();
  uint8_t marker = 0;
  const size_t sof = FindSof(jpeg, &marker);
  ASSERT_NE(sof, 0u);
  jpeg[sof + 5] = jpeg[sof + 6] = jpeg[sof + 7] = jpeg[sof + 8] = 0xFF;  // 65535 x 65535
  BufferSink sink;
  EXPECT_EQ(ReadJpeg(jpeg, sink).status, CodecStatus::kCorrupt);  // above libjpeg's 65500
  jpeg[sof + 5] = jpeg[sof + 7] = 0x7F;                                 // 32767 x 32767
  EXPECT_EQ(ReadJpeg(jpeg, sink).status, CodecStatus::kOutOfMemory);
  EXPECT_EQ(sink.Allocations(), 0);
}

TEST(ReadJpeg, AFileCutShortStillDecodesItsStart) {
  // libjpeg treats a missing end as a warning; the picture's top is kept.
  const Bytes jpeg = SmallJpeg();
  BufferSink sink;
  EXPECT_TRUE(ReadJpeg(Bytes(jpeg.begin(), jpeg.end() - 40), sink).Ok());
}

TEST(WriteJpeg, SameBytesAsCjpegBaselineAndProgressive) {
  REQUIRE_TOOL(kCjpeg);
  TempDir dir;
  const ImageBuffer image = PhotoLike(61, 33, 3);
  WriteAll(dir.File("in.ppm"), EncodePpm(image.View()));
  for (const auto& [quality, progressive] : {std::pair{65, false}, std::pair{65, true}, std::pair{10, false},
                                              std::pair{100, false}}) {
    ByteBlock ours;
    ASSERT_TRUE(EncodeJpeg(image.View(), {quality, progressive, true}, &ours).Ok());
    const std::string out = dir.File("cjpeg.jpg");
    ASSERT_TRUE(RunTool(kCjpeg + " -quality " + std::to_string(quality) + " -baseline " +
                        (progressive ? "-progressive " : "") + "-outfile " + Quote(out) + " " + Quote(dir.File("in.ppm"))));
    EXPECT_EQ(Bytes(ours.data(), ours.data() + ours.size()), ReadAll(out)) << quality << " " << progressive;
    uint8_t marker = 0;
    FindSof(Bytes(ours.data(), ours.data() + ours.size()), &marker);
    EXPECT_EQ(marker, progressive ? 0xC2 : 0xC0);
  }
}

TEST(WriteJpeg, GreyIsOneComponentFromTheGreenByte) {
  REQUIRE_TOOL(kCjpeg);
  REQUIRE_TOOL(kDjpeg);
  TempDir dir;
  const ImageBuffer image = RandomImage(19, 11, 8);
  // The same green bytes as a PGM through cjpeg must give the same file.
  std::string pgm = "P5\n19 11\n255\n";
  for (int y = 0; y < 11; ++y)
    for (int x = 0; x < 19; ++x) pgm.push_back(static_cast<char>(image.View().TopRow(y)[3 * x + 1]));
  WriteAll(dir.File("g.pgm"), Bytes(pgm.begin(), pgm.end()));
  ASSERT_TRUE(RunTool(kCjpeg + " -quality 65 -baseline -outfile " + Quote(dir.File("g.jpg")) + " " + Quote(dir.File("g.pgm"))));
  const std::wstring path = dir.Path().wstring() + L"/灰色.jpg";
  ASSERT_TRUE(WriteJpeg(path.c_str(), image.View(), {65, false, false}).Ok());
  const Bytes ours = ReadAll(dir.File("灰色.jpg"));
  EXPECT_EQ(ours, ReadAll(dir.File("g.jpg")));
  uint8_t marker = 0;
  const size_t sof = FindSof(ours, &marker);
  ASSERT_NE(sof, 0u);
  EXPECT_EQ(ours[sof + 9], 1);  // one component
  EXPECT_TRUE(RunTool(kDjpeg + " -outfile /dev/null " + Quote(dir.File("灰色.jpg"))));
}

TEST(WriteJpeg, RoundTripsThroughTheReaderAndDjpeg) {
  REQUIRE_TOOL(kDjpeg);
  TempDir dir;
  const ImageBuffer image = PhotoLike(50, 30, 9);
  for (bool progressive : {false, true}) {
    const std::wstring path = Wide(dir.File("rt.jpg"));
    ASSERT_TRUE(WriteJpeg(path.c_str(), image.View(), {92, progressive, true}).Ok());
    const ImageBuffer expected = DecodeWithDjpeg(dir.File("rt.jpg"), dir.File("rt.ppm"));
    BufferSink sink;
    ASSERT_TRUE(ReadJpegFile(path.c_str(), sink).Ok());
    EXPECT_TRUE(SamePixels(sink.Image().View(), expected.View()));
    // Lossy, but the same picture: a small mean error, far below that of the rows upside down.
    double error = 0, flipped = 0;
    const ConstImageView a = sink.Image().View(), b = image.View();
    for (int y = 0; y < a.height; ++y)
      for (int x = 0; x < a.width * 3; ++x) {
        error += std::abs(a.Row(y)[x] - b.Row(y)[x]);
        flipped += std::abs(a.Row(y)[x] - b.TopRow(y)[x]);
      }
    EXPECT_LT(error / (a.width * 3 * a.height), 6.0);
    EXPECT_LT(error * 4, flipped);
  }
}

TEST(WriteJpeg, AFullDiskIsReportedNotFatal) {
  TempDir dir;
  const ImageBuffer image = PhotoLike(400, 300);
  if (std::filesystem::exists("/dev/full")) {
    const CodecResult r = WriteJpeg(L"/dev/full", image.View(), {});
    EXPECT_EQ(r.status, CodecStatus::kWriteFailed) << r.reason;
  }
  EXPECT_EQ(WriteJpeg(Wide(dir.File("no/such.jpg")).c_str(), image.View(), {}).status, CodecStatus::kCannotOpen);
  ByteBlock out;
  EXPECT_EQ(EncodeJpeg(ConstImageView{}, {}, &out).status, CodecStatus::kOutOfMemory);
}

}  // namespace
}  // namespace pictornx
