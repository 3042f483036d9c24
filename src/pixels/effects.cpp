#include "pixels/effects.h"

#include <algorithm>
#include <bit>
#include <cstddef>

#include "pixels/pixel_lanes.h"

namespace pictornx {
namespace {

// Grey and sepia are truncated sums of double products. x87 arithmetic, with its wider
// intermediate results, truncates differently for thousands of colours, so the scalar
// path below uses no floating point at all (the vector path further down uses SSE2 double
// lanes, IEEE wherever they exist). The level is the integer quotient
// of the decimal sum (weights as numerators over a divisor); the double sum lies within
// 1e-12 of the decimal one, so both truncate alike unless the decimal sum is a whole
// number. Only there, where rounding can leave the double sum just below it, is the
// double evaluation replayed bit for bit in integers. All tables are built by the compiler.

// A non-negative double below 256 held exactly as a whole number of 2^-56. Every weight is
// at least 1/16, so a weight times a byte has no significant bit below 2^-56.
constexpr int kFractionBits = 56;

// `x` rounded to the 53 significant bits of a double, ties to even, as IEEE multiplication
// and addition round their exact results.
constexpr uint64_t RoundToDouble(uint64_t x) {
  const int excess = std::bit_width(x) - 53;
  if (excess <= 0) return x;
  // Adding just under half a unit, plus one when the kept part is odd, carries into the
  // kept bits exactly when IEEE rounding rounds up.
  const uint64_t unit = uint64_t{1} << excess;
  const uint64_t odd = (x >> excess) & 1;
  return (x + (unit >> 1) - 1 + odd) & ~(unit - 1);
}

// weight * byte as a double multiplication gives it, in 2^-56 units.
constexpr uint64_t DoubleProduct(double weight, unsigned byte) {
  const uint64_t bits = std::bit_cast<uint64_t>(weight);
  const uint64_t significand = (bits & ((uint64_t{1} << 52) - 1)) | (uint64_t{1} << 52);
  const int exponent = static_cast<int>(bits >> 52) - 1075;  // weight = significand * 2^exponent
  return RoundToDouble(significand * byte) << (exponent + kFractionBits);
}

// truncate((a + b) + c) with each addition rounded as a double.
constexpr unsigned TruncatedDoubleSum(uint64_t a, uint64_t b, uint64_t c) {
  return static_cast<unsigned>(RoundToDouble(RoundToDouble(a + b) + c) >> kFractionBits);
}

struct Weight {
  double value;
  unsigned numerator;  // value * divisor, exactly
};

// One channel's term for every byte: scaled for the quotient, and as the double product.
struct ChannelTerms {
  uint64_t scaled[256];
  uint64_t product[256];
};

// The quotient of a decimal sum n (n / divisor <= 255) comes from one sum of table entries:
// each entry is numerator * byte * m with m = ceil(2^shift / divisor), and
//   n * m = (n / divisor) * 2^shift + rest,
//   rest  = (n / divisor) * (divisor * m - 2^shift) + (n % divisor) * m.
// `shift` is chosen so that the rest stays below 2^shift and, below 2^wholeBits, tells the
// whole numbers (n % divisor == 0) from the others (rest >= m).
struct LevelTables {
  ChannelTerms terms[3];  // in the order of summation
  int shift;
  uint64_t wholeMask;  // bits wholeBits..shift-1: all clear exactly for whole numbers
};

constexpr uint64_t Multiplier(uint64_t divisor, int shift) {
  return ((uint64_t{1} << shift) + divisor - 1) / divisor;
}

constexpr bool Workable(const Weight (&weights)[3], uint64_t divisor, int shift,
                        int wholeBits) {
  for (const Weight& weight : weights) {
    const double difference = weight.value * static_cast<double>(divisor) - weight.numerator;
    if (weight.value < 1.0 / 16 || weight.value >= 1.0) return false;
    if (difference > 1e-9 || difference < -1e-9) return false;
  }
  const uint64_t m = Multiplier(divisor, shift);
  const uint64_t excess = divisor * m - (uint64_t{1} << shift);
  return 255 * excess + (divisor - 1) * m < (uint64_t{1} << shift) &&
         255 * excess < (uint64_t{1} << wholeBits) && (uint64_t{1} << wholeBits) <= m;
}

constexpr LevelTables MakeLevel(const Weight (&weights)[3], uint64_t divisor, int shift,
                                int wholeBits) {
  LevelTables tables{};
  const uint64_t m = Multiplier(divisor, shift);
  for (int c = 0; c < 3; ++c) {
    for (unsigned byte = 0; byte < 256; ++byte) {
      tables.terms[c].scaled[byte] = weights[c].numerator * byte * m;
      tables.terms[c].product[byte] = DoubleProduct(weights[c].value, byte);
    }
  }
  tables.shift = shift;
  tables.wholeMask = (uint64_t{1} << shift) - (uint64_t{1} << wholeBits);
  return tables;
}

// Green, red, blue.
constexpr Weight kGreyWeights[3] = {{0.587, 587}, {0.288, 288}, {0.114, 114}};
// Red, green, blue.
constexpr Weight kSepiaWeights[3] = {{0.3, 3}, {0.6, 6}, {0.1, 1}};
static_assert(Workable(kGreyWeights, 1000, 28, 18) && Workable(kSepiaWeights, 10, 16, 10));
constexpr LevelTables kGrey = MakeLevel(kGreyWeights, 1000, 28, 18);
constexpr LevelTables kSepia = MakeLevel(kSepiaWeights, 10, 16, 10);

constexpr uint8_t Level(const LevelTables& t, unsigned first, unsigned second, unsigned third) {
  const uint64_t scaled =
      t.terms[0].scaled[first] + t.terms[1].scaled[second] + t.terms[2].scaled[third];
  if ((scaled & t.wholeMask) != 0) return static_cast<uint8_t>(scaled >> t.shift);
  return static_cast<uint8_t>(TruncatedDoubleSum(
      t.terms[0].product[first], t.terms[1].product[second], t.terms[2].product[third]));
}

// White, checked by the compiler on every build: the grey weights add up to 0.989.
static_assert(Level(kGrey, 255, 255, 255) == 252 && Level(kSepia, 255, 255, 255) == 255);

inline uint8_t Grey(unsigned blue, unsigned green, unsigned red) {
  return Level(kGrey, green, red, blue);
}

inline uint8_t Sepia(unsigned blue, unsigned green, unsigned red) {
  return Level(kSepia, red, green, blue);
}

#if defined(__SSE2__)
// Sixteen pixels at a time, each in a 32-bit lane, without 64-bit arithmetic: the decimal
// sum n (numerators times bytes, at most 252,195) comes from pmaddwd, and its quotient
// from a float product: (n + 1/2) / divisor lies at least 1 / (2 * divisor) from any whole
// number, far beyond the float's error below 256, so truncating it gives the quotient.
// Where the quotient is whole and n is not 0 (black is exactly 0 either way), the double
// evaluation is replayed in double lanes, which round as IEEE doubles on both builds.
struct LaneWeights {
  int blue, green, red;  // numerators
  int divisor;
  float inverse;     // 1 / divisor
  double value[3];   // the weights in the order of summation
  int channel[3];    // the channel of each of them: 0 blue, 1 green, 2 red
  // Whole sums are frequent (one in `divisor`): replaying every lane costs less than the
  // mispredicted branches of replaying only where needed.
  bool replayAlways;
};

constexpr LaneWeights kGreyLanes = {114, 587, 288, 1000, 0.001f, {0.587, 0.288, 0.114}, {1, 2, 0}, false};
constexpr LaneWeights kSepiaLanes = {1, 6, 3, 10, 0.1f, {0.3, 0.6, 0.1}, {2, 1, 0}, true};

// truncate((first * w0 + second * w1) + third * w2) as doubles, for the two low 32-bit lanes.
PICTORNX_LANES_INLINE __m128i DoubleLevels2(__m128i first, __m128i second, __m128i third,
                                            const LaneWeights& w) {
  const __m128d sum = _mm_add_pd(_mm_mul_pd(_mm_cvtepi32_pd(first), _mm_set1_pd(w.value[0])),
                                 _mm_mul_pd(_mm_cvtepi32_pd(second), _mm_set1_pd(w.value[1])));
  return _mm_cvttpd_epi32(
      _mm_add_pd(sum, _mm_mul_pd(_mm_cvtepi32_pd(third), _mm_set1_pd(w.value[2]))));
}

// The levels of four pixels held as words (lanes::LoadWords).
PICTORNX_LANES_INLINE __m128i Levels4(__m128i words, const LaneWeights& w) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i blueRed = _mm_and_si128(words, _mm_set1_epi32(0x00FF00FF));
  const __m128i green = _mm_srli_epi16(words, 8);  // the top byte of a word is zero
  const __m128i n = _mm_add_epi32(_mm_madd_epi16(blueRed, _mm_set1_epi32(w.blue | w.red << 16)),
                                  _mm_madd_epi16(green, _mm_set1_epi32(w.green)));
  const __m128 shifted = _mm_add_ps(_mm_cvtepi32_ps(n), _mm_set1_ps(0.5f));
  const __m128i level = _mm_cvttps_epi32(_mm_mul_ps(shifted, _mm_set1_ps(w.inverse)));
  const __m128i whole = _mm_andnot_si128(
      _mm_cmpeq_epi32(n, zero), _mm_cmpeq_epi32(n, _mm_madd_epi16(level, _mm_set1_epi32(w.divisor))));
  if (!w.replayAlways && _mm_movemask_epi8(whole) == 0) return level;
  const __m128i channels[3] = {_mm_and_si128(words, _mm_set1_epi32(0xFF)), green,
                               _mm_srli_epi32(words, 16)};
  const __m128i first = channels[w.channel[0]], second = channels[w.channel[1]],
                third = channels[w.channel[2]];
  const __m128i low = DoubleLevels2(first, second, third, w);
  const __m128i high = DoubleLevels2(_mm_srli_si128(first, 8), _mm_srli_si128(second, 8),
                                     _mm_srli_si128(third, 8), w);
  const __m128i replayed = _mm_unpacklo_epi64(low, high);
  return _mm_or_si128(_mm_and_si128(whole, replayed), _mm_andnot_si128(whole, level));
}

// Grey words: the level in all three bytes.
PICTORNX_LANES_INLINE __m128i GreyWords(__m128i words) {
  const __m128i v = Levels4(words, kGreyLanes);
  return _mm_or_si128(_mm_mullo_epi16(v, _mm_set1_epi32(0x0101)), _mm_slli_epi32(v, 16));
}

// Sepia words: blue max(v - 20, 0), green v, red min(v + 40, 255).
PICTORNX_LANES_INLINE __m128i SepiaWords(__m128i words) {
  const __m128i v = Levels4(words, kSepiaLanes);
  const __m128i blue = _mm_subs_epu16(v, _mm_set1_epi32(20));
  const __m128i red = _mm_min_epi16(_mm_add_epi32(v, _mm_set1_epi32(40)), _mm_set1_epi32(255));
  return _mm_or_si128(blue, _mm_or_si128(_mm_slli_epi32(v, 8), _mm_slli_epi32(red, 16)));
}

// The pixels of a row that whole vectors cover; the caller finishes the rest.
template <__m128i (*kWords)(__m128i)>
int EffectVectors(uint8_t* row, int width) {
  int x = 0;
  for (; x + lanes::kPixels <= width; x += lanes::kPixels) {
    uint8_t* p = row + 3 * x;
    __m128i w0, w1, w2, w3;
    lanes::LoadWords(p, w0, w1, w2, w3);
    lanes::StoreWords(p, kWords(w0), kWords(w1), kWords(w2), kWords(w3));
  }
  return x;
}

int GreyVectors(uint8_t* row, int width) { return EffectVectors<GreyWords>(row, width); }
int SepiaVectors(uint8_t* row, int width) { return EffectVectors<SepiaWords>(row, width); }
#else
int GreyVectors(uint8_t*, int) { return 0; }
int SepiaVectors(uint8_t*, int) { return 0; }
#endif

// Inverting is a byte-wise complement; whole blocks of a fixed length let the compiler
// work on many bytes at once.
void InvertBytes(uint8_t* bytes, size_t count) {
  constexpr size_t kBlock = 64;
  size_t i = 0;
  for (; i + kBlock <= count; i += kBlock) {
    for (size_t k = 0; k < kBlock; ++k) bytes[i + k] = static_cast<uint8_t>(~bytes[i + k]);
  }
  for (; i < count; ++i) bytes[i] = static_cast<uint8_t>(~bytes[i]);
}

}  // namespace

uint8_t GreyLevel(uint8_t blue, uint8_t green, uint8_t red) { return Grey(blue, green, red); }

uint8_t SepiaLevel(uint8_t blue, uint8_t green, uint8_t red) { return Sepia(blue, green, red); }

void InvertImage(ImageView image) {
  if (image.Empty()) return;
  for (int y = 0; y < image.height; ++y) {
    InvertBytes(image.Row(y), static_cast<size_t>(image.width) * 3);
  }
}

void GreyImage(ImageView image) {
  if (image.Empty()) return;
  for (int y = 0; y < image.height; ++y) {
    const int done = GreyVectors(image.Row(y), image.width);
    uint8_t* p = image.Row(y) + ptrdiff_t{3} * done;
    for (int x = done; x < image.width; ++x, p += 3) {
      const uint8_t v = Grey(p[0], p[1], p[2]);
      p[0] = v;
      p[1] = v;
      p[2] = v;
    }
  }
}

void SepiaImage(ImageView image) {
  if (image.Empty()) return;
  for (int y = 0; y < image.height; ++y) {
    const int done = SepiaVectors(image.Row(y), image.width);
    uint8_t* p = image.Row(y) + ptrdiff_t{3} * done;
    for (int x = done; x < image.width; ++x, p += 3) {
      const unsigned v = Sepia(p[0], p[1], p[2]);
      p[0] = static_cast<uint8_t>(v >= 20 ? v - 20 : 0);
      p[1] = static_cast<uint8_t>(v);
      p[2] = static_cast<uint8_t>(std::min(v + 40, 255u));
    }
  }
}

}  // namespace pictornx
