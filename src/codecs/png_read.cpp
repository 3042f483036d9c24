// ReadPng: libpng's transformations end in 8-bit BGR, so png_read_row writes each row
// straight into its destination row (bottom-up: the PNG's top row is the last in memory).
#include <cstring>

#include <png.h>

#include "codecs/png_codec.h"

namespace pictornx {
namespace {

struct PngReader {
  const uint8_t* data;
  size_t size;
  size_t at;
  bool outOfMemory;  // the library's message named memory or a limit
};

void ReadData(png_structp png, png_bytep out, size_t count) {
  auto* reader = static_cast<PngReader*>(png_get_io_ptr(png));
  if (count > reader->size - reader->at) png_error(png, "PNG data cut short");
  std::memcpy(out, reader->data + reader->at, count);
  reader->at += count;
}

// libpng says "exceeds user limit" in a warning just before its "Invalid IHDR data" error,
// and "Out of memory" in errors: both make the failure kOutOfMemory.
void NoteMessage(png_structp png, png_const_charp message) {
  auto* reader = static_cast<PngReader*>(png_get_error_ptr(png));
  if (message != nullptr && (std::strstr(message, "memory") != nullptr ||
                             std::strstr(message, "limit") != nullptr))
    reader->outOfMemory = true;
}

void ErrorJump(png_structp png, png_const_charp message) {
  NoteMessage(png, message);
  png_longjmp(png, 1);
}

// C-style on purpose: no object with a destructor between setjmp and the library calls,
// one png_destroy_read_struct on every path.
CodecResult DecodePng(PngReader* reader, ImageSink* sink) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, reader, ErrorJump, NoteMessage);
  if (png == nullptr) return CodecFail(CodecStatus::kOutOfMemory, "no memory for libpng");
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return CodecFail(CodecStatus::kOutOfMemory, "no memory for libpng");
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return reader->outOfMemory ? CodecFail(CodecStatus::kOutOfMemory, "PNG too large or no memory")
                               : CodecFail(CodecStatus::kCorrupt, "PNG data corrupt");
  }
  png_set_user_limits(png, kMaxCodecSide, kMaxCodecSide);
  // Chunks that cannot change the pixels we produce are skipped unread: libpng would
  // otherwise allocate and clear a buffer of each one's claimed length (up to 8 MB) before
  // it finds the data missing, which the fuzzer turned into seconds per small file.
  static constexpr png_byte kIgnored[] = "iCCP\0sPLT\0tEXt\0zTXt\0iTXt\0eXIf\0hIST\0pCAL\0sCAL\0"
                                          "sBIT\0tIME\0pHYs\0oFFs\0cHRM";
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kIgnored, 14);
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
  // Mutated files nearly always fail their CRC; the fuzz build reads past it to reach the
  // decoding (as libpng's own fuzz target does). Never in the product.
  png_set_crc_action(png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
#endif
  png_set_read_fn(png, reader, ReadData);
  png_read_info(png, info);

  png_uint_32 width = 0, height = 0;
  int depth = 0, colourType = 0, interlace = 0;
  png_get_IHDR(png, info, &width, &height, &depth, &colourType, &interlace, nullptr, nullptr);
  CodecResult result = CodecOk();
  ImageView image;
  if (ImageBytes(width, height) < 0) {
    result = CodecFail(CodecStatus::kOutOfMemory, "PNG too large");
  } else {
    // The transformations, in this order: the order decides how tRNS, bKGD and gAMA combine.
    png_set_strip_16(png);
    if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colourType == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
      png_set_gray_to_rgb(png);
    png_color_16p background = nullptr;
    if (png_get_bKGD(png, info, &background))
      png_set_background(png, background, PNG_BACKGROUND_GAMMA_FILE, 1, 1.0);
    double fileGamma = 0;
    if (png_get_gAMA(png, info, &fileGamma)) png_set_gamma(png, 2.2, fileGamma);
    // Then into the image's layout: alpha dropped as the image has no alpha, BGR order.
    png_set_strip_alpha(png);
    png_set_bgr(png);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_bit_depth(png, info) != 8 || png_get_channels(png, info) != 3 ||
        png_get_rowbytes(png, info) != static_cast<size_t>(width) * 3) {
      result = CodecFail(CodecStatus::kCorrupt, "PNG transformations gave another layout");
    } else if (!sink->Allocate(static_cast<int>(width), static_cast<int>(height), &image)) {
      result = CodecFail(CodecStatus::kOutOfMemory, "no memory for the image");
    } else {
      // Interlaced passes add their pixels into rows already written, as png_read_image does.
      for (int pass = 0; pass < passes; ++pass)
        for (int y = 0; y < image.height; ++y) png_read_row(png, image.TopRow(y), nullptr);
      png_read_end(png, nullptr);
    }
  }
  png_destroy_read_struct(&png, &info, nullptr);
  return result;
}

}  // namespace

CodecResult ReadPng(std::span<const uint8_t> file, ImageSink& sink) {
  if (file.size() < 8 || png_sig_cmp(file.data(), 0, 8) != 0)
    return CodecFail(CodecStatus::kNotHandled, "not a PNG file");
  PngReader reader{file.data(), file.size(), 0, false};
  return DecodePng(&reader, &sink);
}

CodecResult ReadPngFile(const wchar_t* path, ImageSink& sink) {
  ByteBlock file;
  const CodecResult loaded = LoadFile(path, &file);
  if (!loaded.Ok()) return loaded;
  return ReadPng(file.Span(), sink);
}

}  // namespace pictornx
