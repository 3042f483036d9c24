// ReadJpeg: jpeg_mem_src, header, then libjpeg-turbo's JCS_EXT_BGR output written straight
// into the destination rows; no sample array, no second pass.
#include <cstring>

#include "codecs/jpeg_codec.h"
#include "codecs/jpeg_error.h"

namespace pictornx {
namespace {

// A real file has a dozen scans at most; a crafted progressive file can have thousands of
// tiny ones that take minutes to decode (the guard djpeg's -maxscans offers).
constexpr int kMaxScans = 1000;

// Everything the decode touches across setjmp lives here, in plain C layout.
struct JpegDecoder {
  jpeg_decompress_struct cinfo;
  JpegErrorJump err;
  jpeg_progress_mgr progress;
};

void LimitScans(j_common_ptr common) {
  auto* cinfo = reinterpret_cast<j_decompress_ptr>(common);
  if (cinfo->input_scan_number > kMaxScans) {
    auto* err = reinterpret_cast<JpegErrorJump*>(common->err);
    err->reason = "JPEG has too many scans";
    std::longjmp(err->jump, 1);
  }
}

// C-style on purpose: no object with a destructor lives between setjmp and the library
// calls, and every path after create ends in the one jpeg_destroy_decompress.
CodecResult DecodeJpeg(JpegDecoder* d, const uint8_t* data, size_t size, ImageSink* sink) {
  std::memset(d, 0, sizeof *d);
  d->cinfo.err = JpegErrorInit(&d->err, CodecStatus::kCorrupt, "JPEG data corrupt");
  CodecResult result = CodecOk();
  if (setjmp(d->err.jump)) {
    result = JpegErrorResult(&d->err);
    jpeg_destroy_decompress(&d->cinfo);
    return result;
  }
  jpeg_create_decompress(&d->cinfo);
  d->progress.progress_monitor = LimitScans;
  d->cinfo.progress = &d->progress;
  jpeg_mem_src(&d->cinfo, data, static_cast<unsigned long>(size));
  jpeg_read_header(&d->cinfo, TRUE);

  const int components = d->cinfo.num_components;
  const J_COLOR_SPACE space = d->cinfo.jpeg_color_space;
  const long width = static_cast<long>(d->cinfo.image_width);
  const long height = static_cast<long>(d->cinfo.image_height);
  ImageView image;
  if (!((components == 1 && space == JCS_GRAYSCALE) ||
        (components == 3 && (space == JCS_YCbCr || space == JCS_RGB)))) {
    result = CodecFail(CodecStatus::kNotHandled, "JPEG colour space not handled (CMYK, YCCK)");
  } else if (width > kMaxCodecSide || height > kMaxCodecSide || ImageBytes(width, height) < 0) {
    result = CodecFail(CodecStatus::kOutOfMemory, "JPEG too large");
  } else if (!sink->Allocate(static_cast<int>(width), static_cast<int>(height), &image)) {
    // Before jpeg_start_decompress, so a refused size never gets the library's big buffers.
    result = CodecFail(CodecStatus::kOutOfMemory, "no memory for the image");
  } else {
    // Grey input converts to BGR inside the library too (its gray-to-RGB path).
    d->cinfo.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&d->cinfo);
    if (static_cast<long>(d->cinfo.output_width) != width ||
        static_cast<long>(d->cinfo.output_height) != height || d->cinfo.output_components != 3) {
      result = CodecFail(CodecStatus::kCorrupt, "JPEG output size differs from the header");
    } else {
      const size_t pixels = static_cast<size_t>(width) * 3;
      const size_t padding = static_cast<size_t>(RowBytes(width)) - pixels;
      while (d->cinfo.output_scanline < d->cinfo.output_height) {
        // Scanlines run top first; the image's rows are bottom-up, so each pointer goes one
        // row further down in memory. Several rows a call let the library skip its own
        // buffer for merged upsampling.
        JSAMPROW rows[16];
        const int first = static_cast<int>(d->cinfo.output_scanline);
        const int left = image.height - first;
        const int count = left < 16 ? left : 16;
        for (int i = 0; i < count; ++i) rows[i] = image.TopRow(first + i);
        const int got = static_cast<int>(jpeg_read_scanlines(&d->cinfo, rows, static_cast<JDIMENSION>(count)));
        for (int i = 0; i < got; ++i) std::memset(rows[i] + pixels, 0, padding);
        if (got == 0) break;  // cannot happen with a memory source; no endless loop if it does
      }
      jpeg_finish_decompress(&d->cinfo);
    }
  }
  jpeg_destroy_decompress(&d->cinfo);
  return result;
}

}  // namespace

CodecResult ReadJpeg(std::span<const uint8_t> file, ImageSink& sink) {
  if (file.size() < 3 || file[0] != 0xFF || file[1] != 0xD8 || file[2] != 0xFF)
    return CodecFail(CodecStatus::kNotHandled, "not a JPEG file");
  if (static_cast<uint64_t>(file.size()) > static_cast<uint64_t>(kMaxFileBytes))
    return CodecFail(CodecStatus::kOutOfMemory, "JPEG file too large");
  JpegDecoder decoder;
  return DecodeJpeg(&decoder, file.data(), file.size(), &sink);
}

CodecResult ReadJpegFile(const wchar_t* path, ImageSink& sink) {
  ByteBlock file;
  const CodecResult loaded = LoadFile(path, &file);
  if (!loaded.Ok()) return loaded;
  return ReadJpeg(file.Span(), sink);
}

}  // namespace pictornx
