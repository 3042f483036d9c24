// One refresh of the JPEG preview's portable path at full HD and 4K (write the temporary
// file, read it back into a new image, measure it, difference A, the view copy and the
// channel traces) beside libjpeg-turbo alone encoding and decoding the same pixels in
// memory, in the same run. Ratio: refresh / bare encode + decode.
#include <benchmark/benchmark.h>
#include <jpeglib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <utility>

#include "codecs/image_sink.h"
#include "codecs/jpeg_codec.h"
#include "pixels/image_buffer.h"
#include "pixels/jpeg_diff.h"
#include "pixels/quality_measures.h"

namespace pictornx {
namespace {

ImageBuffer PhotoLike(int width, int height) {
  ImageBuffer image(width, height);
  std::mt19937 random(12345);
  for (int y = 0; y < height; ++y) {
    uint8_t* row = image.View().TopRow(y);
    for (int x = 0; x < width; ++x) {
      const int noise = static_cast<int>(random() % 9) - 4;
      const int wave = ((x * 7 + y * 3) % 97) - 48;
      auto clamp = [](int v) { return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v); };
      row[3 * x] = clamp(x * 255 / width + noise);
      row[3 * x + 1] = clamp(y * 255 / height + wave / 3 + noise);
      row[3 * x + 2] = clamp(128 + wave + noise);
    }
  }
  return image;
}

std::filesystem::path TempJpegPath() {
  return std::filesystem::temp_directory_path() / ("pnx-bench-preview-" + std::to_string(std::rand()) + ".jpg");
}

// The window's spare picture: the next refresh decodes into the previous one's memory.
class SpareSink final : public ImageSink {
 public:
  explicit SpareSink(ImageBuffer& spare) : spare_(spare) {}
  bool Allocate(int width, int height, ImageView* out) override {
    if (spare_.Width() != width || spare_.Height() != height) spare_ = ImageBuffer(width, height);
    *out = spare_.View();
    return !spare_.Empty();
  }

 private:
  ImageBuffer& spare_;
};

void Label(benchmark::State& state) {
  state.SetLabel(std::to_string(state.range(0)) + "x" + std::to_string(state.range(1)));
}

void BM_PreviewRefresh(benchmark::State& state) {
  const ImageBuffer image = PhotoLike(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  const std::filesystem::path path = TempJpegPath();
  const std::wstring widePath = path.wstring();
  const int visibleWidth = std::min(image.Width(), 446), visibleHeight = std::min(image.Height(), 430);
  ImageBuffer viewImage(visibleWidth, visibleHeight);
  static TraceSamples traces;
  ImageBuffer jpeg, spareJpeg, diffA, spareDiffA;
  for (auto _ : state) {
    if (!WriteJpeg(widePath.c_str(), image.View(), {}).Ok()) state.SkipWithError("write failed");
    SpareSink sink(spareJpeg);
    if (!ReadJpegFile(widePath.c_str(), sink).Ok()) state.SkipWithError("read failed");
    std::error_code error;
    benchmark::DoNotOptimize(std::filesystem::file_size(path, error));
    std::filesystem::remove(path, error);
    if (spareDiffA.Width() != image.Width()) spareDiffA = ImageBuffer(image.Width(), image.Height());
    BuildDiffImage(image.View(), spareJpeg.View(), spareDiffA.View(), 1);
    std::swap(jpeg, spareJpeg);
    std::swap(diffA, spareDiffA);
    const ConstImageView shown = jpeg.View();
    for (int r = 0; r < visibleHeight; ++r)
      std::memcpy(viewImage.View().TopRow(r), shown.TopRow(r), static_cast<size_t>(visibleWidth) * 3);
    SampleChannelTraces(image.View(), shown, {0, 0, image.Width(), image.Height()}, false, traces);
    benchmark::DoNotOptimize(traces.value[0][0][0]);
  }
  Label(state);
}

void BM_PreviewBaseline_LibraryEncodeDecodeInMemory(benchmark::State& state) {
  const ImageBuffer image = PhotoLike(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  ImageBuffer decoded(image.Width(), image.Height());
  for (auto _ : state) {
    jpeg_compress_struct c;
    jpeg_error_mgr cerr;
    c.err = jpeg_std_error(&cerr);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    jpeg_mem_dest(&c, &out, &outSize);
    c.image_width = static_cast<JDIMENSION>(image.Width());
    c.image_height = static_cast<JDIMENSION>(image.Height());
    c.input_components = 3;
    c.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 65, TRUE);
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
      JSAMPROW row = const_cast<JSAMPLE*>(image.View().TopRow(static_cast<int>(c.next_scanline)));
      jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);

    jpeg_decompress_struct d;
    jpeg_error_mgr derr;
    d.err = jpeg_std_error(&derr);
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, out, outSize);
    jpeg_read_header(&d, TRUE);
    d.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&d);
    while (d.output_scanline < d.output_height) {
      JSAMPROW row = decoded.View().TopRow(static_cast<int>(d.output_scanline));
      jpeg_read_scanlines(&d, &row, 1);
    }
    jpeg_finish_decompress(&d);
    jpeg_destroy_decompress(&d);
    std::free(out);
    benchmark::ClobberMemory();
  }
  Label(state);
}

BENCHMARK(BM_PreviewRefresh)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewBaseline_LibraryEncodeDecodeInMemory)
    ->Args({1920, 1080})
    ->Args({3840, 2160})
    ->Unit(benchmark::kMillisecond);


// Our codec wrappers alone, in memory, into a reused picture: separates the wrappers'
// cost from the file, the allocation and the preview's own steps.
void BM_PreviewPiece_OurCodecsInMemory(benchmark::State& state) {
  const ImageBuffer image = PhotoLike(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  for (auto _ : state) {
    ByteBlock jpeg;
    if (!EncodeJpeg(image.View(), {}, &jpeg).Ok()) state.SkipWithError("write failed");
    BufferSink sink;
    if (!ReadJpeg(jpeg.Span(), sink).Ok()) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(sink.Image().Bytes().data());
  }
  Label(state);
}
// The size box hint's measures of the whole image, to set beside one refresh.
void BM_PreviewQualityMeasures(benchmark::State& state) {
  const ImageBuffer image = PhotoLike(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  ByteBlock file;
  EncodeJpeg(image.View(), {}, &file);
  BufferSink sink;
  ReadJpeg(file.Span(), sink);
  for (auto _ : state) {
    QualityMeasures measures;
    MeasureQuality(image.View(), sink.Image().View(), {0, 0, image.Width(), image.Height()}, measures);
    benchmark::DoNotOptimize(measures.psnrAll);
    benchmark::DoNotOptimize(BitsPerPixel(file.size(), int64_t{image.Width()} * image.Height()));
  }
  Label(state);
}
BENCHMARK(BM_PreviewQualityMeasures)->Args({1920, 1080})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewPiece_OurCodecsInMemory)->Args({1920, 1080})->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pictornx
