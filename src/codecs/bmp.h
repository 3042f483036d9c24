// BMP files: the library's own decoder and the 24-bit layout it writes (a 14-byte file
// header, a 40-byte BITMAPINFOHEADER and the padded pixel rows, bottom row first;
// little-endian throughout).
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "codecs/codec_status.h"
#include "codecs/image_sink.h"
#include "pixels/image.h"

namespace pictornx {

inline constexpr int kBmpHeaderBytes = 54;

// Decodes a BMP held in memory into the sink, as the opener's ReadBmp: core (12-byte) and
// information (40- or 108-byte) headers; 1, 4, 8, 16, 24 and 32 bits per pixel; no
// compression or BI_BITFIELDS. Run-length compression, top-down rows, other headers and
// other bit counts give kNotHandled (the general reader takes them). The offset of the
// pixel data, the colour table and every row are read only within the file's bytes: a
// palette index beyond the table gives black, and pixels the file does not hold stay as the
// sink gave them (black).
CodecResult ReadBmp(std::span<const uint8_t> file, ImageSink& sink);
CodecResult ReadBmpFile(const wchar_t* path, ImageSink& sink);

// Writes the image as a 24-bit BMP file, padding bytes zero. bytesWritten,
// when given, receives the bytes that reached the file (the save flow tells "nothing
// written" from "written short" by it). kCannotOpen, kWriteFailed, or kOutOfMemory for an
// empty or over-large image.
CodecResult WriteBmp(const wchar_t* path, ConstImageView image, int64_t* bytesWritten = nullptr);

// The 54 header bytes of a 24-bit BMP of the given size. The size must be accepted by
// ImageBytes.
std::array<uint8_t, kBmpHeaderBytes> BmpHeader24(int width, int height);

}  // namespace pictornx
