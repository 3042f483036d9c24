// SSE2 helpers for kernels that take 16 blue-green-red pixels (48 bytes) at a time. SSE2
// has no byte shuffle, so pixels are split into channels, or spread to one per 32-bit lane
// and packed again, with unpacks and shifts only; both the i686 and the x86_64 builds have
// SSE2. Shuffles compete for one execution port, so the word form, which needs about a third
// as many, suits kernels that do not need whole channel vectors. Internal to src/pixels.
#pragma once

#if defined(__SSE2__)
#include <emmintrin.h>

#include <cstdint>

namespace pictornx::lanes {

// Inlined into the row loops: called out of line, the vectors go through memory.
#define PICTORNX_LANES_INLINE [[gnu::always_inline]] inline

inline constexpr int kPixels = 16;

// 16 pixels from p into one vector per channel, by repeated byte interleaving (four
// rounds of the same unpack pattern turn the packed order into the planar one).
PICTORNX_LANES_INLINE void Deinterleave(const uint8_t* p, __m128i& c0, __m128i& c1, __m128i& c2) {
  const __m128i t00 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i t01 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16));
  const __m128i t02 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 32));
  const __m128i t10 = _mm_unpacklo_epi8(t00, _mm_unpackhi_epi64(t01, t01));
  const __m128i t11 = _mm_unpacklo_epi8(_mm_unpackhi_epi64(t00, t00), t02);
  const __m128i t12 = _mm_unpacklo_epi8(t01, _mm_unpackhi_epi64(t02, t02));
  const __m128i t20 = _mm_unpacklo_epi8(t10, _mm_unpackhi_epi64(t11, t11));
  const __m128i t21 = _mm_unpacklo_epi8(_mm_unpackhi_epi64(t10, t10), t12);
  const __m128i t22 = _mm_unpacklo_epi8(t11, _mm_unpackhi_epi64(t12, t12));
  const __m128i t30 = _mm_unpacklo_epi8(t20, _mm_unpackhi_epi64(t21, t21));
  const __m128i t31 = _mm_unpacklo_epi8(_mm_unpackhi_epi64(t20, t20), t22);
  const __m128i t32 = _mm_unpacklo_epi8(t21, _mm_unpackhi_epi64(t22, t22));
  c0 = _mm_unpacklo_epi8(t30, _mm_unpackhi_epi64(t31, t31));
  c1 = _mm_unpacklo_epi8(_mm_unpackhi_epi64(t30, t30), t32);
  c2 = _mm_unpacklo_epi8(t31, _mm_unpackhi_epi64(t32, t32));
}

// Four pixels from the low 12 bytes of `bytes` as 32-bit lanes, blue in the low byte and
// the top byte zero: each 64-bit half takes two pixels, and the second moves up one byte.
PICTORNX_LANES_INLINE __m128i Words(__m128i bytes) {
  const __m128i halves = _mm_unpacklo_epi64(bytes, _mm_srli_si128(bytes, 6));
  return _mm_or_si128(_mm_and_si128(halves, _mm_set_epi32(0, 0x00FFFFFF, 0, 0x00FFFFFF)),
                      _mm_and_si128(_mm_slli_epi64(halves, 8), _mm_set_epi32(0x00FFFFFF, 0, 0x00FFFFFF, 0)));
}

// 16 pixels at p as four vectors of words (pixels 0-3, 4-7, 8-11, 12-15), reading only
// the 48 bytes of the pixels.
PICTORNX_LANES_INLINE void LoadWords(const uint8_t* p, __m128i& w0, __m128i& w1, __m128i& w2, __m128i& w3) {
  const __m128i* in = reinterpret_cast<const __m128i*>(p);
  w0 = Words(_mm_loadu_si128(in));
  w1 = Words(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 12)));
  w2 = Words(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 24)));
  w3 = Words(_mm_srli_si128(_mm_loadu_si128(in + 2), 4));
}

// Four pixels held as 32-bit lanes (blue in the low byte, the top byte zero) packed into
// the low 12 bytes; the top 4 bytes are zero.
PICTORNX_LANES_INLINE __m128i PackWords(__m128i words) {
  // Within each 64-bit half the second pixel moves down one byte onto the first's zero.
  const __m128i low = _mm_and_si128(words, _mm_set_epi32(0, 0x00FFFFFF, 0, 0x00FFFFFF));
  const __m128i high = _mm_and_si128(words, _mm_set_epi32(0x00FFFFFF, 0, 0x00FFFFFF, 0));
  const __m128i halves = _mm_or_si128(low, _mm_srli_epi64(high, 8));  // 6 bytes per half
  return _mm_or_si128(_mm_move_epi64(halves), _mm_slli_si128(_mm_srli_si128(halves, 8), 6));
}

// 16 pixels held as four vectors of 32-bit lanes (pixels 0-3, 4-7, 8-11, 12-15) stored as
// 48 bytes at p.
PICTORNX_LANES_INLINE void StoreWords(uint8_t* p, __m128i w0, __m128i w1, __m128i w2, __m128i w3) {
  const __m128i e0 = PackWords(w0), e1 = PackWords(w1), e2 = PackWords(w2), e3 = PackWords(w3);
  __m128i* out = reinterpret_cast<__m128i*>(p);
  _mm_storeu_si128(out, _mm_or_si128(e0, _mm_slli_si128(e1, 12)));
  _mm_storeu_si128(out + 1, _mm_or_si128(_mm_srli_si128(e1, 4), _mm_slli_si128(e2, 8)));
  _mm_storeu_si128(out + 2, _mm_or_si128(_mm_srli_si128(e2, 8), _mm_slli_si128(e3, 4)));
}

}  // namespace pictornx::lanes

#endif
