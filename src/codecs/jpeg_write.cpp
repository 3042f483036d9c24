// WriteJpeg: colour rows go to libjpeg-turbo as JCS_EXT_BGR straight from the image (no
// conversion buffer); grey rows take the green byte through one row buffer.
#include <cstdlib>
#include <cstring>

#include "codecs/jpeg_codec.h"
#include "codecs/jpeg_error.h"

namespace pictornx {
namespace {

constexpr size_t kChunk = 16384;

// A destination manager over ByteOutput, so the file and the memory writer are one code
// path. A failed write raises a libjpeg error, which jumps back to the encoder.
struct JpegDestination {
  jpeg_destination_mgr pub;
  ByteOutput* out;
  JOCTET buffer[kChunk];
};

void DestinationInit(j_compress_ptr cinfo) {
  auto* dest = reinterpret_cast<JpegDestination*>(cinfo->dest);
  dest->pub.next_output_byte = dest->buffer;
  dest->pub.free_in_buffer = kChunk;
}

void WriteFailed(j_compress_ptr cinfo) {
  auto* err = reinterpret_cast<JpegErrorJump*>(cinfo->err);
  err->status = CodecStatus::kWriteFailed;
  err->reason = "JPEG output write failed";
  std::longjmp(err->jump, 1);
}

boolean DestinationEmpty(j_compress_ptr cinfo) {
  auto* dest = reinterpret_cast<JpegDestination*>(cinfo->dest);
  if (!OutputWrite(dest->out, dest->buffer, kChunk)) WriteFailed(cinfo);
  DestinationInit(cinfo);
  return TRUE;
}

void DestinationTerm(j_compress_ptr cinfo) {
  auto* dest = reinterpret_cast<JpegDestination*>(cinfo->dest);
  if (!OutputWrite(dest->out, dest->buffer, kChunk - dest->pub.free_in_buffer)) WriteFailed(cinfo);
}

struct JpegEncoder {
  jpeg_compress_struct cinfo;
  JpegErrorJump err;
  JpegDestination dest;
  JSAMPLE* greyRow;  // malloc'd, freed on every path
};

// C-style: no destructors between setjmp and the library calls; one cleanup path.
CodecResult EncodeJpegC(JpegEncoder* e, ConstImageView image, const JpegOptions* options,
                        ByteOutput* out) {
  std::memset(e, 0, sizeof *e);
  e->cinfo.err = JpegErrorInit(&e->err, CodecStatus::kWriteFailed, "JPEG encoding failed");
  if (setjmp(e->err.jump)) {
    const CodecResult failed = JpegErrorResult(&e->err);
    jpeg_destroy_compress(&e->cinfo);
    std::free(e->greyRow);
    return failed;
  }
  jpeg_create_compress(&e->cinfo);
  e->dest.out = out;
  e->dest.pub.init_destination = DestinationInit;
  e->dest.pub.empty_output_buffer = DestinationEmpty;
  e->dest.pub.term_destination = DestinationTerm;
  e->cinfo.dest = &e->dest.pub;

  e->cinfo.image_width = static_cast<JDIMENSION>(image.width);
  e->cinfo.image_height = static_cast<JDIMENSION>(image.height);
  e->cinfo.input_components = options->colour ? 3 : 1;
  e->cinfo.in_color_space = options->colour ? JCS_EXT_BGR : JCS_GRAYSCALE;
  jpeg_set_defaults(&e->cinfo);
  jpeg_set_quality(&e->cinfo, options->quality, TRUE);
  if (options->progressive) jpeg_simple_progression(&e->cinfo);
  if (!options->colour) {
    e->greyRow = static_cast<JSAMPLE*>(std::malloc(static_cast<size_t>(image.width)));
    if (e->greyRow == nullptr) {
      jpeg_destroy_compress(&e->cinfo);
      return CodecFail(CodecStatus::kOutOfMemory, "no memory for the grey row");
    }
  }
  jpeg_start_compress(&e->cinfo, TRUE);
  while (e->cinfo.next_scanline < e->cinfo.image_height) {
    const int y = static_cast<int>(e->cinfo.next_scanline);
    if (options->colour) {
      // The first scanline is the picture's top row, the last row in memory. libjpeg does
      // not write through the pointers; its API just lacks const.
      JSAMPROW rows[16];
      const int left = image.height - y;
      const int count = left < 16 ? left : 16;
      for (int i = 0; i < count; ++i) rows[i] = const_cast<JSAMPLE*>(image.TopRow(y + i));
      jpeg_write_scanlines(&e->cinfo, rows, static_cast<JDIMENSION>(count));
    } else {
      const uint8_t* src = image.TopRow(y) + 1;
      for (int x = 0; x < image.width; ++x) e->greyRow[x] = src[3 * x];
      JSAMPROW row = e->greyRow;
      jpeg_write_scanlines(&e->cinfo, &row, 1);
    }
  }
  jpeg_finish_compress(&e->cinfo);
  jpeg_destroy_compress(&e->cinfo);
  std::free(e->greyRow);
  return CodecOk();
}

CodecResult Encode(ConstImageView image, const JpegOptions& options, ByteOutput* out) {
  if (image.Empty() || image.width > 65500 || image.height > 65500)
    return CodecFail(CodecStatus::kOutOfMemory, "image empty or too large for JPEG");
  auto* encoder = static_cast<JpegEncoder*>(std::malloc(sizeof(JpegEncoder)));
  if (encoder == nullptr) return CodecFail(CodecStatus::kOutOfMemory, "no memory for the encoder");
  const CodecResult result = EncodeJpegC(encoder, image, &options, out);
  std::free(encoder);
  return result;
}

}  // namespace

CodecResult WriteJpeg(const wchar_t* path, ConstImageView image, const JpegOptions& options) {
  ByteOutput out;
  out.file = OpenPath(path, "wb");
  if (out.file == nullptr) return CodecFail(CodecStatus::kCannotOpen, "file cannot be created");
  CodecResult result = Encode(image, options, &out);
  if (std::fclose(out.file) != 0 && result.Ok())
    result = CodecFail(CodecStatus::kWriteFailed, "JPEG file close failed");
  return result;
}

CodecResult EncodeJpeg(ConstImageView image, const JpegOptions& options, ByteBlock* out) {
  ByteOutput memory;
  const CodecResult result = Encode(image, options, &memory);
  if (result.Ok()) OutputRelease(&memory, out);
  OutputFree(&memory);
  return result;
}

}  // namespace pictornx
