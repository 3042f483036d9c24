// The codecs on full-HD and 4K photo-like pictures, each beside the bare library doing the
// same work in the same run: libjpeg-turbo decoding into and encoding from a plain top-down
// RGB buffer (quality 65, baseline tables), libpng reading and writing 8-bit RGB; the
// 24-bit BMP reader beside a memcpy of the pixel bytes. Ratios: ours / baseline time.
#include <benchmark/benchmark.h>
#include <jpeglib.h>
#include <png.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "bmp_file.h"
#include "codecs/bmp.h"
#include "codecs/image_sink.h"
#include "codecs/jpeg_codec.h"
#include "codecs/png_codec.h"
#include "pixels/image_buffer.h"

namespace pictornx {
namespace {

// Smooth gradients and waves with a little noise: compresses like a photograph, not like
// flat colour or pure noise.
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

// The same picture top-down in R, G, B order, as the bare libraries take it.
std::vector<uint8_t> TopDownRgb(const ImageBuffer& image) {
  std::vector<uint8_t> rgb(static_cast<size_t>(image.Width()) * 3 * image.Height());
  for (int y = 0; y < image.Height(); ++y) {
    const uint8_t* src = image.View().TopRow(y);
    uint8_t* dst = &rgb[static_cast<size_t>(y) * image.Width() * 3];
    for (int x = 0; x < image.Width(); ++x) {
      dst[3 * x] = src[3 * x + 2];
      dst[3 * x + 1] = src[3 * x + 1];
      dst[3 * x + 2] = src[3 * x];
    }
  }
  return rgb;
}

// A destination allocated once, as the bare baselines' buffers are; the shell's DIB
// section costs the same on every path.
class ReuseSink final : public ImageSink {
 public:
  ReuseSink(int width, int height) : image_(width, height) {}
  bool Allocate(int width, int height, ImageView* out) override {
    if (width != image_.Width() || height != image_.Height()) return false;
    *out = image_.View();
    return true;
  }

 private:
  ImageBuffer image_;
};

void Label(benchmark::State& state, size_t pixelBytes) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(pixelBytes));
  state.SetLabel(std::to_string(state.range(0)) + "x" + std::to_string(state.range(1)));
}

// --- JPEG --------------------------------------------------------------------------------

void BM_JpegRead_Ours(benchmark::State& state) {
  const ImageBuffer image = PhotoLike(state.range(0), state.range(1));
  ByteBlock jpeg;
  EncodeJpeg(image.View(), {}, &jpeg);
  ReuseSink sink(image.Width(), image.Height());
  for (auto _ : state)
    if (!ReadJpeg(jpeg.Span(), sink).Ok()) state.SkipWithError("read failed");
  Label(state, image.Bytes().size());
}

void BM_JpegRead_Library(benchmark::State& state) {
  const ImageBuffer image = PhotoLike(state.range(0), state.range(1));
  ByteBlock jpeg;
  EncodeJpeg(image.View(), {}, &jpeg);
  std::vector<uint8_t> rgb(static_cast<size_t>(image.Width()) * 3 * image.Height());
  for (auto _ : state) {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    const size_t stride = static_cast<size_t>(cinfo.output_width) * 3;
    while (cinfo.output_scanline < cinfo.output_height) {
      JSAMPROW row = &rgb[cinfo.output_scanline * stride];
      jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    benchmark::ClobberMemory();
  }
  Label(state, image.Bytes().size());
}

void BM_JpegWrite_Ours(benchmark::State& state) {
  const ImageBuffer image = PhotoLike(state.range(0), state.range(1));
  for (auto _ : state) {
    ByteBlock jpeg;
    if (!EncodeJpeg(image.View(), {}, &jpeg).Ok()) state.SkipWithError("write failed");
    benchmark::DoNotOptimize(jpeg.data());
  }
  Label(state, image.Bytes().size());
}

void BM_JpegWrite_Library(benchmark::State& state) {
  const ImageBuffer image = PhotoLike(state.range(0), state.range(1));
  const std::vector<uint8_t> rgb = TopDownRgb(image);
  for (auto _ : state) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    jpeg_mem_dest(&cinfo, &out, &outSize);
    cinfo.image_width = static_cast<JDIMENSION>(image.Width());
    cinfo.image_height = static_cast<JDIMENSION>(image.Height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 65, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    const size_t stride = static_cast<size_t>(image.Width()) * 3;
    while (cinfo.next_scanline < cinfo.image_height) {
      JSAMPROW row = const_cast<JSAMPLE*>(&rgb[cinfo.next_scanline * stride]);
      jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    benchmark::DoNotOptimize(out);
    free(out);
  }
  Label(state, image.Bytes().size());
}


// The library alone on the work our writer hands it: JCS_EXT_BGR straight from the
// bottom-up rows, one row per call. Separates our wrapper's cost (ours vs this) from the
// cost of the library's BGR input path (this vs BM_JpegWrite_Library).
void BM_JpegWrite_LibraryFromBgrRows(benchmark::State& state) {
  const ImageBuffer image = PhotoLike(state.range(0), state.range(1));
  for (auto _ : state) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    jpeg_mem_dest(&cinfo, &out, &outSize);
    cinfo.image_width = static_cast<JDIMENSION>(image.Width());
    cinfo.image_height = static_cast<JDIMENSION>(image.Height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 65, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
      JSAMPROW row = const_cast<JSAMPLE*>(image.View().TopRow(static_cast<int>(cinfo.next_scanline)));
      jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    benchmark::DoNotOptimize(out);
    free(out);
  }
  Label(state, image.Bytes().size());
}

// --- PNG ---------------------------------------------------------------------------------

struct MemoryReader {
  const uint8_t* data;
  size_t at;
};

void BM_PngRead_Ours(benchmark::State& state) {
  const ImageBuffer image = PhotoLike(state.range(0), state.range(1));
  ByteBlock png;
  EncodePng(image.View(), &png);
  ReuseSink sink(image.Width(), image.Height());
  for (auto _ : state)
    if (!ReadPng(png.Span(), sink).Ok()) state.SkipWithError("read failed");
  Label(state, image.Bytes().size());
}

void BM_PngRead_Library(benchmark::State& state) {
  const ImageBuffer image = PhotoLike(state.range(0), state.range(1));
  ByteBlock png;
  EncodePng(image.View(), &png);
  std::vector<uint8_t> rgb(static_cast<size_t>(image.Width()) * 3 * image.Height());
  std::vector<png_bytep> rows(static_cast<size_t>(image.Height()));
  for (size_t y = 0; y < rows.size(); ++y) rows[y] = &rgb[y * image.Width() * 3];
  for (auto _ : state) {
    png_structp read = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(read);
    MemoryReader reader{png.data(), 0};
    png_set_read_fn(read, &reader, [](png_structp p, png_bytep out, size_t count) {
      auto* r = static_cast<MemoryReader*>(png_get_io_ptr(p));
      std::memcpy(out, r->data + r->at, count);
      r->at += count;
    });
    png_read_info(read, info);
    png_read_update_info(read, info);
    png_read_image(read, rows.data());
    png_read_end(read, nullptr);
    png_destroy_read_struct(&read, &info, nullptr);
    benchmark::ClobberMemory();
  }
  Label(state, image.Bytes().size());
}

void BM_PngWrite_Ours(benchmark::State& state) {
  const ImageBuffer image = PhotoLike(state.range(0), state.range(1));
  for (auto _ : state) {
    ByteBlock png;
    if (!EncodePng(image.View(), &png).Ok()) state.SkipWithError("write failed");
    benchmark::DoNotOptimize(png.data());
  }
  Label(state, image.Bytes().size());
}

void BM_PngWrite_Library(benchmark::State& state) {
  const ImageBuffer image = PhotoLike(state.range(0), state.range(1));
  std::vector<uint8_t> rgb = TopDownRgb(image);
  std::vector<png_bytep> rows(static_cast<size_t>(image.Height()));
  for (size_t y = 0; y < rows.size(); ++y) rows[y] = &rgb[y * image.Width() * 3];
  for (auto _ : state) {
    std::vector<uint8_t> out;
    png_structp write = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(write);
    png_set_write_fn(
        write, &out,
        [](png_structp p, png_bytep data, size_t count) {
          auto* o = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(p));
          o->insert(o->end(), data, data + count);
        },
        [](png_structp) {});
    png_set_IHDR(write, info, static_cast<png_uint_32>(image.Width()), static_cast<png_uint_32>(image.Height()), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(write, info);
    png_write_image(write, rows.data());
    png_write_end(write, nullptr);
    png_destroy_write_struct(&write, &info);
    benchmark::DoNotOptimize(out.data());
  }
  Label(state, image.Bytes().size());
}

// --- BMP ---------------------------------------------------------------------------------

void BM_BmpRead_Ours(benchmark::State& state) {
  const ImageBuffer image = PhotoLike(state.range(0), state.range(1));
  const std::vector<uint8_t> bmp = EncodeBmp24(image.View());
  ReuseSink sink(image.Width(), image.Height());
  for (auto _ : state) {
    if (!ReadBmp(bmp, sink).Ok()) state.SkipWithError("read failed");
    benchmark::ClobberMemory();
  }
  Label(state, image.Bytes().size());
}

void BM_BmpRead_Memcpy(benchmark::State& state) {
  const ImageBuffer image = PhotoLike(state.range(0), state.range(1));
  const std::vector<uint8_t> bmp = EncodeBmp24(image.View());
  ImageBuffer copy(image.Width(), image.Height());
  for (auto _ : state) {
    std::memcpy(copy.Bytes().data(), bmp.data() + kBmpHeaderBytes, copy.Bytes().size());
    benchmark::ClobberMemory();
  }
  Label(state, image.Bytes().size());
}

#define SIZES ->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond)->UseRealTime()
BENCHMARK(BM_JpegRead_Ours) SIZES;
BENCHMARK(BM_JpegRead_Library) SIZES;
BENCHMARK(BM_JpegWrite_Ours) SIZES;
BENCHMARK(BM_JpegWrite_Library) SIZES;
BENCHMARK(BM_JpegWrite_LibraryFromBgrRows) SIZES;
BENCHMARK(BM_PngRead_Ours) SIZES;
BENCHMARK(BM_PngRead_Library) SIZES;
BENCHMARK(BM_PngWrite_Ours) SIZES;
BENCHMARK(BM_PngWrite_Library) SIZES;
BENCHMARK(BM_BmpRead_Ours) SIZES;
BENCHMARK(BM_BmpRead_Memcpy) SIZES;

}  // namespace
}  // namespace pictornx
