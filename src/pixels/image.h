// The one image layout every part of pictornx shares: 24-bit pixels in the byte order
// blue, green, red; rows bottom-up (memory row 0 is the picture's bottom row); each row
// padded to a multiple of 4 bytes. Views do not own their pixels: the Windows shell owns
// the DIB sections, and the kernels work on views of them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pictornx {

// Images larger than this many pixel bytes are refused before anything is allocated.
// 1 GiB is far beyond any screen or file the tool is meant for, and keeps every byte
// offset inside 32-bit signed arithmetic on the i686 build.
inline constexpr int64_t kMaxImageBytes = int64_t{1} << 30;

// Padded size of one row: ((width * 24 + 31) >> 3) with the two low bits cleared.
// Computed in 64 bits so no width overflows; a negative width gives 0.
constexpr int64_t RowBytes(int64_t width) {
  if (width <= 0) return 0;
  return ((width * 24 + 31) >> 3) & ~int64_t{3};
}

// Pixel bytes of a width x height image (rows padded), or -1 when a dimension is not
// positive or the image would exceed kMaxImageBytes.
constexpr int64_t ImageBytes(int64_t width, int64_t height) {
  if (width <= 0 || height <= 0) return -1;
  const int64_t row = RowBytes(width);
  if (row > kMaxImageBytes / height) return -1;
  return row * height;
}

struct ImageView {
  uint8_t* bits = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;  // bytes from one memory row to the next, RowBytes(width) for our buffers

  // Memory row y: row 0 is the bottom row of the picture.
  uint8_t* Row(int y) const { return bits + static_cast<ptrdiff_t>(y) * stride; }
  // Picture row y counted from the top, as a user sees the image.
  uint8_t* TopRow(int y) const { return Row(height - 1 - y); }
  bool Empty() const { return bits == nullptr || width <= 0 || height <= 0; }
};

struct ConstImageView {
  const uint8_t* bits = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;

  ConstImageView() = default;
  ConstImageView(const uint8_t* b, int w, int h, int s) : bits(b), width(w), height(h), stride(s) {}
  ConstImageView(const ImageView& v)  // NOLINT(google-explicit-constructor): views widen freely
      : bits(v.bits), width(v.width), height(v.height), stride(v.stride) {}

  const uint8_t* Row(int y) const { return bits + static_cast<ptrdiff_t>(y) * stride; }
  const uint8_t* TopRow(int y) const { return Row(height - 1 - y); }
  bool Empty() const { return bits == nullptr || width <= 0 || height <= 0; }
};

// A rectangle in picture coordinates: x from the left, y from the top row as a user sees
// it; left and top included, right and bottom excluded.
struct PixelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Empty() const { return right <= left || bottom <= top; }
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// One pixel's colour by channel (the buffers store it blue, green, red).
struct Rgb {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;

  bool Matches(const uint8_t* bgr) const { return bgr[0] == blue && bgr[1] == green && bgr[2] == red; }
};

}  // namespace pictornx
