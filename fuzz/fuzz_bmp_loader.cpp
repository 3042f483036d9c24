// libFuzzer target: the gate before the picture loader, above all its BMP fix-up. A BMP it
// lets through is read as the loader reads it (loader_model.h): the colour table, every
// row of an uncompressed bitmap, a run-length bitmap's data of the size left in its
// header. A second pass over a file the gate let through changes nothing and passes.
#include <cstring>
#include <vector>

#include "files/open_rules.h"
#include "loader_model.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> file(data, data + size);
  if (!pictornx::PrepareForPictureLoader(file)) return 0;
  const std::vector<uint8_t> mended = file;
  if (!pictornx::PrepareForPictureLoader(file) || file != mended) __builtin_trap();
  if (size < 2 || file[0] != 'B' || file[1] != 'M') return 0;
  const LoaderModel bmp(file.data(), file.size());
  const uint32_t headerSize = bmp.U32(14);
  const uint64_t offBits = bmp.U32(10);
  if (headerSize == 12) {
    const uint32_t depth = bmp.U16(24);
    const uint64_t width = bmp.U16(18), height = bmp.U16(20);
    bmp.Need(26, depth <= 8 ? (uint64_t{3} << depth) : 0);
    bmp.Need(offBits, (width * depth + 31) / 32 * 4 * height);
    return 0;
  }
  const uint32_t compression = bmp.U32(30);
  bmp.Dib(14, offBits, compression == 1 || compression == 2 ? bmp.U32(34) : 0);
  if ((compression == 1 || compression == 2) && bmp.U32(34) == 0) __builtin_trap();  // a size the decoder bounds by
  return 0;
}
