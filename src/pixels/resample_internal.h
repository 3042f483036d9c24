// Pieces shared by the resampling kernels; not part of the public interface.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

#include "pixels/image.h"

namespace pictornx::resample_detail {

// Working memory that reports failure instead of throwing: the shell turns a refusal into
// its out-of-memory message.
template <typename T>
class Scratch {
 public:
  bool Allocate(size_t count) {
    data_.reset(new (std::nothrow) T[count == 0 ? 1 : count]);
    return data_ != nullptr;
  }
  T* get() const { return data_.get(); }
  T& operator[](size_t i) const { return data_[i]; }

 private:
  std::unique_ptr<T[]> data_;
};

// A build with x87 arithmetic (i686 without -mfpmath=sse) keeps doubles in 80-bit
// registers; storing one rounds it to an IEEE double. Used where a rounding decides an
// index or a truncation, so such a build agrees with the IEEE arithmetic of the others.
// The project's builds compute in SSE2, where this is the value itself.
inline double IeeeDouble(double v) {
#if defined(__i386__) && !defined(__SSE2_MATH__)
  volatile double stored = v;
  return stored;
#else
  return v;
#endif
}

// The block of source indices one view index draws on in the stretches.
struct StretchSpan {
  int first = 0;
  int count = 1;
  int pick = 0;  // the index the nearest-pixel stretch keeps
};

// spans[d] for every view index d of an axis of `viewLength` over `sourceLength`.
void BuildStretchSpans(int sourceLength, int viewLength, StretchSpan* spans);

// A pixel as the low three bytes of a word. The four-byte forms read or write one byte
// past the pixel; callers use them only where that byte lies inside the same buffer and is
// rewritten afterwards (or, for reads, ignored). Pixels pack little-endian on every target.
static_assert(std::endian::native == std::endian::little, "pixels are packed little-endian");
inline uint32_t Load4(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}
inline uint32_t Load3(const uint8_t* p) { return p[0] | p[1] << 8 | uint32_t{p[2]} << 16; }
inline void Store4(uint8_t* p, uint32_t v) { std::memcpy(p, &v, 4); }
inline void Store3(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 16);
}

// Writes view row y from `pixel(x)`, one word per view pixel, never past the last pixel.
// Flattened: `pixel` is the whole per-pixel kernel and must not become a call per pixel.
template <typename PixelOf>
[[gnu::flatten]] inline void WriteRow(const ImageView& view, int y, PixelOf pixel) {
  uint8_t* out = view.Row(y);
  const int last = view.width - 1;
  for (int x = 0; x < last; ++x) Store4(out + 3 * x, pixel(x));
  Store3(out + 3 * last, pixel(last));
}

inline bool ValidPair(const ConstImageView& source, const ImageView& view) {
  return !source.Empty() && !view.Empty() && source.stride >= source.width * 3 &&
         view.stride >= view.width * 3;
}

}  // namespace pictornx::resample_detail
