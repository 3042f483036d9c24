#include <cstring>

#include "codecs/bmp.h"
#include "codecs/file_io.h"

namespace pictornx {
namespace {

void Put16(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

void Put32(uint8_t* p, uint32_t v) {
  Put16(p, v & 0xFFFF);
  Put16(p + 2, v >> 16);
}

}  // namespace

std::array<uint8_t, kBmpHeaderBytes> BmpHeader24(int width, int height) {
  const auto pixelBytes = static_cast<uint32_t>(ImageBytes(width, height));
  std::array<uint8_t, kBmpHeaderBytes> h{};
  h[0] = 'B';
  h[1] = 'M';
  Put32(&h[2], kBmpHeaderBytes + pixelBytes);  // bfSize
  Put32(&h[10], kBmpHeaderBytes);              // bfOffBits
  Put32(&h[14], 40);                           // biSize
  Put32(&h[18], static_cast<uint32_t>(width));
  Put32(&h[22], static_cast<uint32_t>(height));  // positive: bottom-up rows
  Put16(&h[26], 1);                              // biPlanes
  Put16(&h[28], 24);                             // biBitCount
  Put32(&h[34], pixelBytes);                     // biSizeImage
  return h;
}

CodecResult WriteBmp(const wchar_t* path, ConstImageView image, int64_t* bytesWritten) {
  if (bytesWritten != nullptr) *bytesWritten = 0;
  if (image.Empty() || ImageBytes(image.width, image.height) < 0)
    return CodecFail(CodecStatus::kOutOfMemory, "image empty or too large");
  std::FILE* file = OpenPath(path, "wb");
  if (file == nullptr) return CodecFail(CodecStatus::kCannotOpen, "file cannot be created");
  const auto header = BmpHeader24(image.width, image.height);
  const auto pixels = static_cast<size_t>(image.width) * 3;
  const auto padding = static_cast<size_t>(RowBytes(image.width)) - pixels;
  static constexpr uint8_t kZeros[4] = {};
  // The source's own padding bytes are not written: the file's padding is zero whatever
  // the view holds there.
  int64_t total = static_cast<int64_t>(std::fwrite(header.data(), 1, header.size(), file));
  bool complete = total == kBmpHeaderBytes;
  for (int y = 0; complete && y < image.height; ++y) {
    const size_t put = std::fwrite(image.Row(y), 1, pixels, file);
    const size_t pad = put == pixels ? std::fwrite(kZeros, 1, padding, file) : 0;
    total += static_cast<int64_t>(put + pad);
    complete = put == pixels && pad == padding;
  }
  // A failed close (buffered bytes lost) is a write failure; the count stays as the bytes
  // handed over, so the shell shows the disk-fault message rather than "nothing written".
  const bool closed = std::fclose(file) == 0;
  if (bytesWritten != nullptr) *bytesWritten = total;
  if (!complete || !closed) return CodecFail(CodecStatus::kWriteFailed, "BMP written short");
  return CodecOk();
}

}  // namespace pictornx
