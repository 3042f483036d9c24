// What the platform's picture loader and metafile player read of a file the checks before
// them let through, modelled for the fuzz targets of those checks: every read is first
// proved inside the bytes the loader holds, and then made, so a check that lets through
// what it should refuse traps here, and AddressSanitizer sees the read itself.
#pragma once

#include <cstdint>
#include <cstring>

class LoaderModel {
 public:
  LoaderModel(const uint8_t* bytes, uint64_t size) : bytes_(bytes), size_(size) {}

  // The loader reads `count` bytes from `at`.
  void Need(uint64_t at, uint64_t count) const {
    if (at > size_ || count > size_ - at) __builtin_trap();
    volatile uint8_t last = count ? bytes_[at + count - 1] : 0;
    (void)last;
  }
  uint32_t U16(uint64_t at) const {
    Need(at, 2);
    return bytes_[at] | bytes_[at + 1] << 8;
  }
  uint32_t U32(uint64_t at) const { return U16(at) | U16(at + 2) << 16; }
  int64_t S32(uint64_t at) const { return static_cast<int32_t>(U32(at)); }
  uint64_t Size() const { return size_; }
  uint8_t Byte(uint64_t at) const {
    Need(at, 1);
    return bytes_[at];
  }

  // A device-independent bitmap whose header starts at `header` and bits at `bits`
  // (cbBits bytes where the rows are not implied): the header, the whole colour table or
  // the masks, and every row an uncompressed bitmap has. Its sides are bounded, as the
  // loader allocates for them.
  void Dib(uint64_t header, uint64_t bits, uint64_t bitBytes) const {
    const uint64_t headerSize = U32(header);
    Need(header, headerSize < 40 ? 40 : headerSize);
    const int64_t width = S32(header + 4), height = S32(header + 8);
    const uint32_t depth = U16(header + 14), compression = U32(header + 16), colours = U32(header + 32);
    if (width <= 0 || width > 65535 || height == 0 || height > 65535 || height < -65535) __builtin_trap();
    if (compression == 4 || compression == 5) {  // JPEG and PNG: their decoder's bytes
      Need(bits, bitBytes);
      return;
    }
    uint64_t entries = depth <= 8 ? (colours ? colours : uint64_t{1} << depth) : 0;
    if (compression == 3 && depth > 8 && headerSize == 40) entries = 3;
    Need(header + headerSize, entries * 4);
    if (compression == 1 || compression == 2) {  // run-length data of its stated size
      Need(bits, bitBytes);
      return;
    }
    const uint64_t row = (static_cast<uint64_t>(width) * depth + 31) / 32 * 4;
    Need(bits, row * static_cast<uint64_t>(height < 0 ? -height : height));
  }

 private:
  const uint8_t* bytes_;
  uint64_t size_;
};
