// libFuzzer target: the GIF checks and the size claim before the picture loader. A file
// whose claim is let through asks the loader for an image this library can hold (or for
// nothing, with a zero side); a GIF the checks accept has its signature and trailer.
#include "codecs/codec_status.h"
#include "files/open_rules.h"
#include "pixels/image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> file(data, size);
  const pictornx::GifCheck gif = pictornx::CheckGif(file);
  if (gif == pictornx::GifCheck::kOk && (size < 5 || data[0] != 'G' || data[size - 1] != 0x3B)) __builtin_trap();
  const pictornx::PixelSize screen = pictornx::GifScreenSize(file);
  if (pictornx::ClaimsOversizedPicture(file)) return 0;
  int64_t width = 0, height = 0;
  if (gif != pictornx::GifCheck::kNotGif && size >= 10) {
    width = screen.width;
    height = screen.height;
  } else if (size >= 26 && data[0] == 'B' && data[1] == 'M') {
    auto u32 = [&](size_t at) {
      return static_cast<uint32_t>(data[at] | data[at + 1] << 8 | data[at + 2] << 16) | uint32_t{data[at + 3]} << 24;
    };
    const uint32_t headerSize = u32(14);
    if (headerSize == 12) {
      width = data[18] | data[19] << 8;
      height = data[20] | data[21] << 8;
    } else if (headerSize >= 40) {
      width = static_cast<int32_t>(u32(18));
      height = static_cast<int32_t>(u32(22));
    }
  }
  width = width < 0 ? -width : width;
  height = height < 0 ? -height : height;
  if (width == 0 || height == 0) return 0;  // nothing to allocate
  if (width > pictornx::kMaxCodecSide || height > pictornx::kMaxCodecSide) __builtin_trap();
  if (pictornx::ImageBytes(width, height) < 0) __builtin_trap();
  return 0;
}
