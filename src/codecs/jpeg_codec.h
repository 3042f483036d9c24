// JPEG through libjpeg (API 62, libjpeg-turbo): the reader behind request 15 and the JPEG preview, and the writer behind saving.
// Errors inside the library jump back to the calling function, which destroys the
// (de)compressor and reports; the library never prints and never ends the process.
#pragma once

#include <cstdint>
#include <span>

#include "codecs/codec_status.h"
#include "codecs/file_io.h"
#include "codecs/image_sink.h"
#include "pixels/image.h"

namespace pictornx {

// Decodes a one- or three-component JPEG straight into the sink's rows (the top scanline
// into the top row of the bottom-up image; grey repeated in blue, green and red). Files with
// other component counts (CMYK, YCCK) give kNotHandled so that the general reader is tried.
// A file cut short decodes with libjpeg's fill (a warning, not an error), as libjpeg does.
CodecResult ReadJpeg(std::span<const uint8_t> file, ImageSink& sink);
CodecResult ReadJpegFile(const wchar_t* path, ImageSink& sink);

struct JpegOptions {
  int quality = 65;          // 1 to 100, tables forced to baseline-compatible values
  bool progressive = false;  // the simple progressive scan script
  bool colour = true;        // false: one grey component taken from the green byte
};

// Encodes the image (top row first) to a file or to memory.
CodecResult WriteJpeg(const wchar_t* path, ConstImageView image, const JpegOptions& options);
CodecResult EncodeJpeg(ConstImageView image, const JpegOptions& options, ByteBlock* out);

}  // namespace pictornx
