// PNG through libpng: the reader behind request 15 and the writer behind saving. Errors inside the library
// jump back to the calling function, which destroys the structures and reports; nothing is
// printed. (Named png_codec.h so it never shadows libpng's own png.h.)
#pragma once

#include <cstdint>
#include <span>

#include "codecs/codec_status.h"
#include "codecs/file_io.h"
#include "codecs/image_sink.h"
#include "pixels/image.h"

namespace pictornx {

// Decodes any PNG straight into the sink's rows, with the opener's transformations: 16-bit
// channels stripped to 8, palette and low depths expanded, tRNS to alpha, grey to RGB, bKGD
// composited (file gamma, background gamma 1.0), gAMA corrected for a 2.2 screen; the alpha
// that remains is dropped (not composited). Interlaced files included. Sides above
// kMaxCodecSide are refused by libpng itself while it reads the header.
CodecResult ReadPng(std::span<const uint8_t> file, ImageSink& sink);
CodecResult ReadPngFile(const wchar_t* path, ImageSink& sink);

// Encodes the image as RGB, 8 bits, no interlace, top row first, straight from its BGR rows.
CodecResult WritePng(const wchar_t* path, ConstImageView image);
CodecResult EncodePng(ConstImageView image, ByteBlock* out);

}  // namespace pictornx
