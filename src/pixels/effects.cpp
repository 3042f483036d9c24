#include "effects.h"

#include <algorithm>
#include <bit>
#include <cstddef>

namespace pictornx {
namespace {

// Grey and sepia are truncated sums of double products. On the i686 build plain double
// code runs on the x87 unit, whose wider intermediate results truncate differently for
// thousands of colours. So no floating point runs here: the level is the integer quotient
// of the decimal sum, and only where that quotient is exact, where rounding can leave the
// double sum just below it, is the double evaluation replayed bit for bit in integers,
// from tables of the products that the compiler builds.

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

// A weight's products with every byte.
struct Products {
  uint64_t of[256];
};

constexpr Products ProductsOf(double weight) {
  Products products{};
  for (unsigned byte = 0; byte < 256; ++byte) products.of[byte] = DoubleProduct(weight, byte);
  return products;
}

// truncate((a + b) + c) with each addition rounded as a double.
constexpr unsigned TruncatedDoubleSum(uint64_t a, uint64_t b, uint64_t c) {
  return static_cast<unsigned>(RoundToDouble(RoundToDouble(a + b) + c) >> kFractionBits);
}

constexpr bool UsableWeight(double weight) { return weight >= 1.0 / 16 && weight < 1.0; }
static_assert(UsableWeight(0.587) && UsableWeight(0.288) && UsableWeight(0.114));
static_assert(UsableWeight(0.3) && UsableWeight(0.6) && UsableWeight(0.1));

constexpr Products kGreyGreen = ProductsOf(0.587);
constexpr Products kGreyRed = ProductsOf(0.288);
constexpr Products kGreyBlue = ProductsOf(0.114);
constexpr Products kSepiaRed = ProductsOf(0.3);
constexpr Products kSepiaGreen = ProductsOf(0.6);
constexpr Products kSepiaBlue = ProductsOf(0.1);

// White, checked by the compiler on every build: the grey weights add up to 0.989.
static_assert(TruncatedDoubleSum(kGreyGreen.of[255], kGreyRed.of[255], kGreyBlue.of[255]) == 252);
static_assert(TruncatedDoubleSum(kSepiaRed.of[255], kSepiaGreen.of[255], kSepiaBlue.of[255]) ==
              255);

// The decimal sum is exact / 1000 (grey) or exact / 10 (sepia); the double sum lies within
// 1e-12 of it, so both truncate alike unless the decimal sum is a whole number.

inline uint8_t Grey(unsigned blue, unsigned green, unsigned red) {
  const unsigned exact = 587 * green + 288 * red + 114 * blue;
  const unsigned level = exact / 1000;
  if (level * 1000 != exact) return static_cast<uint8_t>(level);
  return static_cast<uint8_t>(
      TruncatedDoubleSum(kGreyGreen.of[green], kGreyRed.of[red], kGreyBlue.of[blue]));
}

inline uint8_t Sepia(unsigned blue, unsigned green, unsigned red) {
  const unsigned exact = 3 * red + 6 * green + blue;
  const unsigned level = exact / 10;
  if (level * 10 != exact) return static_cast<uint8_t>(level);
  return static_cast<uint8_t>(
      TruncatedDoubleSum(kSepiaRed.of[red], kSepiaGreen.of[green], kSepiaBlue.of[blue]));
}

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
    uint8_t* p = image.Row(y);
    for (int x = 0; x < image.width; ++x, p += 3) {
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
    uint8_t* p = image.Row(y);
    for (int x = 0; x < image.width; ++x, p += 3) {
      const unsigned v = Sepia(p[0], p[1], p[2]);
      p[0] = static_cast<uint8_t>(v >= 20 ? v - 20 : 0);
      p[1] = static_cast<uint8_t>(v);
      p[2] = static_cast<uint8_t>(std::min(v + 40, 255u));
    }
  }
}

}  // namespace pictornx
