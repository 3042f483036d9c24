// libFuzzer target: the icon and cursor check before the picture loader. Whatever it lets
// through is read as the loader reads it (loader_model.h): the directory, then each
// image's header, colour table, colour rows and mask rows inside its entry.
#include "files/open_rules.h"
#include "loader_model.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> file(data, size);
  if (!pictornx::IconIsSafeForLoader(file)) return 0;
  const LoaderModel icon(data, size);
  if (size < 2 || icon.U16(0) != 0) return 0;
  const uint64_t count = icon.U16(4);
  icon.Need(6, count * 16);
  for (uint64_t i = 0; i < count; ++i) {
    const uint64_t bytes = icon.U32(6 + i * 16 + 8), offset = icon.U32(6 + i * 16 + 12);
    icon.Need(offset, bytes);
    if (icon.Byte(offset) == 0x89) continue;  // PNG, decoded within its bytes
    const LoaderModel entry(data + offset, bytes);
    const int64_t width = entry.S32(4), height = entry.S32(8) / 2;
    const uint32_t depth = entry.U16(14), colours = entry.U32(32);
    if (width <= 0 || width > 256 || height <= 0 || height > 256) __builtin_trap();
    const uint64_t table = depth <= 8 ? (colours ? colours : uint64_t{1} << depth) * 4 : 0;
    const uint64_t colourRow = (static_cast<uint64_t>(width) * depth + 31) / 32 * 4;
    const uint64_t maskRow = (static_cast<uint64_t>(width) + 31) / 32 * 4;
    entry.Need(40 + table, colourRow * height);
    entry.Need(40 + table + colourRow * height, maskRow * height);
  }
  return 0;
}
