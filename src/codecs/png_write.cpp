// WritePng: png_write_row straight from the image's BGR rows with png_set_bgr; no copy of
// the image and no row-pointer array.
#include <png.h>

#include "codecs/png_codec.h"

namespace pictornx {
namespace {

struct PngWriter {
  ByteOutput* out;
};

void WriteData(png_structp png, png_bytep data, size_t count) {
  auto* writer = static_cast<PngWriter*>(png_get_io_ptr(png));
  if (!OutputWrite(writer->out, data, count)) png_error(png, "PNG output write failed");
}

void Flush(png_structp) {}

void ErrorJump(png_structp png, png_const_charp) { png_longjmp(png, 1); }

void Silent(png_structp, png_const_charp) {}

// C-style: no destructors between setjmp and the library calls; one cleanup path.
CodecResult EncodePngC(PngWriter* writer, ConstImageView image) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, ErrorJump, Silent);
  if (png == nullptr) return CodecFail(CodecStatus::kOutOfMemory, "no memory for libpng");
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    return CodecFail(CodecStatus::kOutOfMemory, "no memory for libpng");
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return writer->out->failed ? CodecFail(CodecStatus::kWriteFailed, "PNG output write failed")
                               : CodecFail(CodecStatus::kWriteFailed, "PNG encoding failed");
  }
  png_set_write_fn(png, writer, WriteData, Flush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height),
               8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_set_bgr(png);
  for (int y = 0; y < image.height; ++y) png_write_row(png, image.TopRow(y));
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return CodecOk();
}

CodecResult Encode(ConstImageView image, ByteOutput* out) {
  if (image.Empty() || image.width > kMaxCodecSide || image.height > kMaxCodecSide)
    return CodecFail(CodecStatus::kOutOfMemory, "image empty or too large for PNG");
  PngWriter writer{out};
  return EncodePngC(&writer, image);
}

}  // namespace

CodecResult WritePng(const wchar_t* path, ConstImageView image) {
  ByteOutput out;
  out.file = OpenPath(path, "wb");
  if (out.file == nullptr) return CodecFail(CodecStatus::kCannotOpen, "file cannot be created");
  CodecResult result = Encode(image, &out);
  if (std::fclose(out.file) != 0 && result.Ok())
    result = CodecFail(CodecStatus::kWriteFailed, "PNG file close failed");
  return result;
}

CodecResult EncodePng(ConstImageView image, ByteBlock* out) {
  ByteOutput memory;
  const CodecResult result = Encode(image, &memory);
  if (result.Ok()) OutputRelease(&memory, out);
  OutputFree(&memory);
  return result;
}

}  // namespace pictornx
