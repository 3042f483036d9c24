// The library's own BMP decoder. Every read of the file goes through Le16/Le32 with a bounds check
// or through a row span clamped to the file, so no header value can move a read outside it.
#include <cstring>

#include "codecs/bmp.h"
#include "codecs/file_io.h"

namespace pictornx {
namespace {

struct Bytes {
  const uint8_t* data;
  size_t size;

  bool Has(size_t at, size_t count) const { return at <= size && count <= size - at; }
  uint32_t Le16(size_t at) const { return Has(at, 2) ? data[at] | (data[at + 1] << 8) : 0; }
  uint32_t Le32(size_t at) const {
    return Has(at, 4) ? Le16(at) | (Le16(at + 2) << 16) : 0;
  }
};

enum class Pixel16 { k555, kBitfields555, kBitfields565, kLow5 };

// The colour table as 256 BGR triples; entries the table or the file lacks stay black.
void LoadPalette(Bytes file, size_t at, int entryBytes, uint32_t entries, uint8_t (*bgr)[3]) {
  std::memset(bgr, 0, 256 * 3);
  for (uint32_t i = 0; i < entries && i < 256; ++i) {
    const size_t entry = at + static_cast<size_t>(i) * entryBytes;
    if (!file.Has(entry, 3)) break;
    std::memcpy(bgr[i], file.data + entry, 3);
  }
}

void IndexedRow(const uint8_t* src, size_t srcBytes, int bits, int width, const uint8_t (*bgr)[3],
                uint8_t* dst) {
  const int perByte = 8 / bits;
  const unsigned mask = (1u << bits) - 1;
  // Only pixels whose byte the file holds.
  const size_t held = srcBytes * static_cast<size_t>(perByte);
  const int count = held < static_cast<size_t>(width) ? static_cast<int>(held) : width;
  for (int x = 0; x < count; ++x) {
    const int shift = 8 - bits * (x % perByte + 1);  // most significant bits first
    const unsigned index = (src[x / perByte] >> shift) & mask;
    std::memcpy(dst + 3 * x, bgr[index], 3);
  }
}

void Row16(const uint8_t* src, size_t srcBytes, int width, Pixel16 layout, uint8_t* dst) {
  const size_t held = srcBytes / 2;
  const int count = held < static_cast<size_t>(width) ? static_cast<int>(held) : width;
  for (int x = 0; x < count; ++x, dst += 3) {
    const unsigned v = src[2 * x] | (src[2 * x + 1] << 8);
    const unsigned low5 = (v & 31) * 8;
    switch (layout) {
      case Pixel16::k555:  // bit 15 ignored, except that 0xFC00 and above give red 255
        dst[0] = static_cast<uint8_t>(low5);
        dst[1] = static_cast<uint8_t>(((v >> 5) & 31) * 8);
        dst[2] = static_cast<uint8_t>(v >= 0xFC00 ? 255 : ((v >> 10) & 31) * 8);
        break;
      case Pixel16::kBitfields555:  // red takes bits 10 to 15, times 8, kept to 8 bits
        dst[0] = static_cast<uint8_t>(low5);
        dst[1] = static_cast<uint8_t>(((v >> 5) & 31) * 8);
        dst[2] = static_cast<uint8_t>(((v >> 10) * 8) & 0xFF);
        break;
      case Pixel16::kBitfields565:  // green takes bits 6 to 10 only: kept as the decoder has always read them
        dst[0] = static_cast<uint8_t>(low5);
        dst[1] = static_cast<uint8_t>(((v >> 6) & 31) * 8);
        dst[2] = static_cast<uint8_t>(((v >> 11) & 31) * 8);
        break;
      case Pixel16::kLow5:
        dst[0] = dst[1] = dst[2] = static_cast<uint8_t>(low5);
        break;
    }
  }
}

void Row32(const uint8_t* src, size_t srcBytes, int width, uint8_t* dst) {
  const size_t held = srcBytes / 4;
  const int count = held < static_cast<size_t>(width) ? static_cast<int>(held) : width;
  for (int x = 0; x < count; ++x) std::memcpy(dst + 3 * x, src + 4 * x, 3);
}

Pixel16 BitfieldLayout(Bytes file) {
  const uint32_t red = file.Le32(54), green = file.Le32(58), blue = file.Le32(62);
  if ((red == 0x7C00 || red == 0xFC00) && green == 0x03E0 && blue == 0x001F)
    return Pixel16::kBitfields555;
  if (red == 0xF800 && ((green == 0x07E0 && blue == 0x001F) || (green == 0x07C0 && blue == 0x003F)))
    return Pixel16::kBitfields565;
  return Pixel16::kLow5;
}

}  // namespace

CodecResult ReadBmp(std::span<const uint8_t> bytes, ImageSink& sink) {
  const Bytes file{bytes.data(), bytes.size()};
  if (!file.Has(0, 2) || file.data[0] != 'B' || file.data[1] != 'M')
    return CodecFail(CodecStatus::kNotHandled, "not a BMP file");
  if (!file.Has(14, 4)) return CodecFail(CodecStatus::kCorrupt, "BMP header cut short");
  const uint32_t pixelOffset = file.Le32(10);
  const uint32_t headerSize = file.Le32(14);

  int64_t width = 0, height = 0;
  uint32_t bits = 0, compression = 0, paletteEntries = 0;
  size_t paletteAt = 14 + static_cast<size_t>(headerSize);
  int entryBytes = 4;
  if (headerSize == 12) {
    if (!file.Has(14, 12)) return CodecFail(CodecStatus::kCorrupt, "BMP header cut short");
    width = file.Le16(18);
    height = file.Le16(20);
    bits = file.Le16(24);
    if (bits < 8) return CodecFail(CodecStatus::kNotHandled, "BMP core header below 8 bits");
    entryBytes = 3;
  } else if (headerSize == 40 || headerSize == 108) {
    if (!file.Has(14, 20)) return CodecFail(CodecStatus::kCorrupt, "BMP header cut short");
    width = static_cast<int32_t>(file.Le32(18));
    height = static_cast<int32_t>(file.Le32(22));
    bits = file.Le16(28);
    compression = file.Le32(30);
    if (compression != 0 && compression != 3)
      return CodecFail(CodecStatus::kNotHandled, "BMP compression not handled");
    paletteEntries = file.Le32(46);  // biClrUsed; 0 when the file is too short to hold it
  } else {
    return CodecFail(CodecStatus::kNotHandled, "BMP header size not handled");
  }
  if (bits == 0 || width <= 0 || height <= 0)
    return CodecFail(CodecStatus::kNotHandled, "BMP without bits, or top-down");
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
    return CodecFail(CodecStatus::kNotHandled, "BMP bit count not handled");
  if (width > kMaxCodecSide || height > kMaxCodecSide || ImageBytes(width, height) < 0)
    return CodecFail(CodecStatus::kOutOfMemory, "BMP too large");

  // The table holds biClrUsed entries when that is set, else 2^bits.
  uint8_t palette[256][3];
  if (bits <= 8) {
    const uint32_t full = 1u << bits;
    const uint32_t entries = paletteEntries != 0 && paletteEntries < full ? paletteEntries : full;
    LoadPalette(file, paletteAt, entryBytes, entries, palette);
  }
  const Pixel16 layout16 = compression == 3 ? BitfieldLayout(file) : Pixel16::k555;

  ImageView image;
  if (!sink.Allocate(static_cast<int>(width), static_cast<int>(height), &image))
    return CodecFail(CodecStatus::kOutOfMemory, "no memory for the image");

  const size_t srcStride = static_cast<size_t>((width * bits + 31) / 32 * 4);
  const size_t rowPixels = static_cast<size_t>(width) * 3;
  for (int y = 0; y < image.height; ++y) {
    // Rows are bottom-up in the file as in the image.
    // In 64 bits: offset plus rows can pass 4 GiB, which a 32-bit size_t would wrap.
    const uint64_t rowAt = uint64_t{pixelOffset} + uint64_t{srcStride} * static_cast<uint64_t>(y);
    if (rowAt >= file.size) break;
    const size_t left = file.size - static_cast<size_t>(rowAt);
    const size_t held = left < srcStride ? left : srcStride;
    const uint8_t* src = file.data + rowAt;
    uint8_t* dst = image.Row(y);
    switch (bits) {
      case 24: std::memcpy(dst, src, held < rowPixels ? held : rowPixels); break;
      case 32: Row32(src, held, image.width, dst); break;
      case 16: Row16(src, held, image.width, layout16, dst); break;
      default: IndexedRow(src, held, static_cast<int>(bits), image.width, palette, dst); break;
    }
  }
  return CodecOk();
}

CodecResult ReadBmpFile(const wchar_t* path, ImageSink& sink) {
  ByteBlock file;
  const CodecResult loaded = LoadFile(path, &file);
  if (!loaded.Ok()) return loaded;
  return ReadBmp(file.Span(), sink);
}

}  // namespace pictornx
