// libFuzzer target: the placeable-metafile check before the player. Whatever it lets
// through is walked as the player walks it (loader_model.h): the records up to the claimed
// size or the end record, the object table of the header's size, and every array, escape
// and bitmap a record claims, the bitmaps' bits right after their colour tables.
#include "files/open_rules.h"
#include "loader_model.h"

namespace {

// A device-independent bitmap at `at` in a record: header, colour table (2-byte palette
// indices with `indices`, 3-byte entries in a core header), then rows or biSizeImage bytes.
void Bitmap(const LoaderModel& wmf, uint64_t at, bool indices) {
  const uint64_t headerSize = wmf.U32(at);
  const bool core = headerSize == 12;
  wmf.Need(at, core ? 12 : (headerSize < 40 ? 40 : headerSize));
  const int64_t width = core ? wmf.U16(at + 4) : wmf.S32(at + 4);
  const int64_t height = core ? wmf.U16(at + 6) : wmf.S32(at + 8);
  const uint32_t depth = wmf.U16(at + (core ? 10 : 14)), compression = core ? 0 : wmf.U32(at + 16);
  const uint32_t colours = core ? 0 : wmf.U32(at + 32);
  if (width <= 0 || width > 65535 || height == 0 || height > 65535 || height < -65535) __builtin_trap();
  uint64_t table = depth <= 8 ? (colours ? colours : uint64_t{1} << depth) * (indices ? 2 : core ? 3 : 4) : 0;
  if (compression == 3 && headerSize == 40) table = 12;
  const uint64_t bits = at + headerSize + table;
  if (compression != 0 && compression != 3) {
    wmf.Need(bits, wmf.U32(at + 20));
    return;
  }
  wmf.Need(bits, (static_cast<uint64_t>(width) * depth + 31) / 32 * 4 * static_cast<uint64_t>(height < 0 ? -height : height));
}

void Play(const LoaderModel& wmf) {
  const uint32_t objects = wmf.U16(10);
  const uint64_t end = uint64_t{wmf.U32(6)} * 2;
  for (uint64_t at = 18; at < end;) {
    const uint64_t size = uint64_t{wmf.U32(at)} * 2;
    const uint32_t function = wmf.U16(at + 4);
    if (size < 6) __builtin_trap();  // the walk would stop short or never end
    wmf.Need(at, size);
    if (function == 0) return;
    const uint64_t p = at + 6;  // the parameters
    switch (function) {
      case 0x012D: case 0x01F0:
        if (wmf.U16(p) >= objects) __builtin_trap();
        break;
      case 0x0234:
        if (wmf.U16(p + 2) >= objects) __builtin_trap();
        break;
      case 0x02FA: wmf.Need(p, 10); break;
      case 0x02FC: wmf.Need(p, 8); break;
      case 0x02FB: wmf.Need(p, 50); break;
      case 0x0324: case 0x0325:
        wmf.Need(p + 2, uint64_t{wmf.U16(p)} * 4);
        break;
      case 0x0538: {
        const uint64_t polygons = wmf.U16(p);
        uint64_t points = 0;
        for (uint64_t i = 0; i < polygons; ++i) points += static_cast<uint16_t>(wmf.U16(p + 2 + i * 2));
        wmf.Need(p + 2 + polygons * 2, points * 4);
        break;
      }
      case 0x0521: {
        const uint64_t count = wmf.U16(p);
        wmf.Need(p + 2, (count + 1) / 2 * 2 + 4);
        break;
      }
      case 0x0A32: {
        const uint64_t count = wmf.U16(p + 4);
        wmf.Need(p + 8 + ((wmf.U16(p + 6) & 0x6) ? 8 : 0), count);
        break;
      }
      case 0x00F7: wmf.Need(p + 4, uint64_t{wmf.U16(p + 2)} * 4); break;
      case 0x0626: wmf.Need(p + 4, wmf.U16(p + 2)); break;
      case 0x0F43: Bitmap(wmf, p + 22, wmf.U16(p + 4) == 1); break;
      case 0x0B41: Bitmap(wmf, p + 20, false); break;
      case 0x0940: Bitmap(wmf, p + 16, false); break;
      case 0x0D33: Bitmap(wmf, p + 18, wmf.U16(p) == 1); break;
      case 0x0142: Bitmap(wmf, p + 4, wmf.U16(p + 2) == 1); break;
      case 0x0922: case 0x0B23: case 0x01F9: __builtin_trap();  // device-dependent bitmaps: refused
      default: break;
    }
    at += size;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!pictornx::WindowsMetafileIsPlayable(std::span<const uint8_t>(data, size))) return 0;
  if (size < 4 || LoaderModel(data, size).U32(0) != 0x9AC6CDD7u) return 0;
  // The loader hands the player what follows the placeable header.
  Play(LoaderModel(data + 22, size - 22));
  return 0;
}
