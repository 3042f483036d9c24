// libFuzzer target: the enhanced-metafile check before the player. Whatever it lets
// through is walked as the player walks it (loader_model.h): the header's byte count, the
// object table sized by the handle count, and every array and bitmap a record claims.
#include "files/open_rules.h"
#include "loader_model.h"

namespace {

void Object(uint32_t index, uint32_t handles, bool stock) {
  if (stock && (index & 0x80000000u)) return;
  if (index == 0 || index >= handles) __builtin_trap();
}

void Region(const LoaderModel& emf, uint64_t record, uint64_t sizeAt, uint64_t dataAt) {
  const uint64_t bytes = emf.U32(record + sizeAt);
  if (bytes == 0) return;
  emf.Need(record + dataAt, bytes < 32 ? 32 : bytes);
  emf.Need(record + dataAt + 32, uint64_t{emf.U32(record + dataAt + 8)} * 16);
}

// A bitmap of a record at `fields`: a bit block without one (a zero header offset) paints
// its pattern; other records read theirs whatever the fields say; an alpha blend makes an
// uncompressed bitmap by its header (no copy target when that fails) and copies cbBits
// bytes into it.
void Bitmap(const LoaderModel& emf, uint64_t record, uint64_t fields, bool optional, bool copied = false) {
  if (optional && emf.U32(record + fields) == 0) return;
  const uint64_t header = record + emf.U32(record + fields), bits = record + emf.U32(record + fields + 8);
  const uint64_t bitBytes = emf.U32(record + fields + 12);
  if (!copied) {
    emf.Dib(header, bits, bitBytes);
    return;
  }
  emf.Need(header, 40);
  const int64_t width = emf.S32(header + 4), height = emf.S32(header + 8);
  const uint32_t planes = emf.U16(header + 12), depth = emf.U16(header + 14), compression = emf.U32(header + 16);
  const bool made = planes == 1 && width > 0 && width <= 65535 && height != 0 && height <= 65535 && height >= -65535 &&
                    (depth == 1 || depth == 4 || depth == 8 || depth == 16 || depth == 24 || depth == 32) &&
                    (compression == 0 || (compression == 3 && (depth == 16 || depth == 32)));
  if (!made) __builtin_trap();
  const uint64_t row = (static_cast<uint64_t>(width) * depth + 31) / 32 * 4;
  if (bitBytes > row * static_cast<uint64_t>(height < 0 ? -height : height)) __builtin_trap();
  emf.Need(bits, bitBytes);
}

void PolyPoly(const LoaderModel& emf, uint64_t record, uint64_t pointBytes) {
  const uint64_t polygons = emf.U32(record + 24);
  uint64_t points = 0;
  for (uint64_t i = 0; i < polygons; ++i) points += emf.U32(record + 32 + i * 4);
  emf.Need(record + 32 + polygons * 4, points * pointBytes);
}

void Play(const LoaderModel& emf) {
  const uint32_t handles = emf.U16(56);
  for (uint64_t at = 0; at < emf.Size();) {
    const uint32_t type = emf.U32(at), size = emf.U32(at + 4);
    if (size < 8) __builtin_trap();  // the walk would never end
    switch (type) {
      case 37: case 40: case 48: case 100:
        Object(emf.U32(at + 8), handles, true);
        break;
      case 38: case 39: case 51: case 82: case 99: case 101: case 122:
        Object(emf.U32(at + 8), handles, false);
        break;
      case 49:
        Object(emf.U32(at + 8), handles, false);
        emf.Need(at + 16, uint64_t{emf.U16(at + 14)} * 4);
        break;
      case 50:
        Object(emf.U32(at + 8), handles, false);
        emf.Need(at + 20, uint64_t{emf.U32(at + 16)} * 4);
        break;
      case 95:
        Object(emf.U32(at + 8), handles, false);
        emf.Need(at + 52, uint64_t{emf.U32(at + 48)} * 4);
        break;
      case 2: case 3: case 4: case 5: case 6: case 85: case 86: case 87: case 88: case 89: case 56: case 92: {
        const uint64_t each = type == 56 ? 9 : type == 92 ? 5 : type >= 85 ? 4 : 8;
        emf.Need(at + 28, emf.U32(at + 24) * each);
        break;
      }
      case 7: case 8: case 90: case 91:
        PolyPoly(emf, at, type < 90 ? 8 : 4);
        break;
      case 83: case 84: {
        const uint64_t chars = emf.U32(at + 44), offDx = emf.U32(at + 72);
        if (chars == 0) break;
        emf.Need(at + emf.U32(at + 48), chars * (type == 84 ? 2 : 1));
        if (offDx) emf.Need(at + offDx, chars * ((emf.U32(at + 52) & 0x2000) ? 8 : 4));
        break;
      }
      case 118:
        emf.Need(at + 36, uint64_t{emf.U32(at + 24)} * 16 + uint64_t{emf.U32(at + 28)} * (emf.U32(at + 32) == 2 ? 12 : 8));
        break;
      case 71: case 72:
        Object(emf.U32(at + 28), handles, true);
        Region(emf, at, 24, type == 71 ? 32 : 40);
        break;
      case 73: case 74:
        Region(emf, at, 24, 28);
        break;
      case 75:
        Region(emf, at, 8, 16);
        break;
      case 76: case 77: case 116:
        Bitmap(emf, at, 84, true);
        break;
      case 114:
        Bitmap(emf, at, 84, true, true);
        break;
      case 78: case 79:
        Bitmap(emf, at, type == 78 ? 84 : 96, false);
        Bitmap(emf, at, type == 78 ? 112 : 124, false);
        break;
      case 80: case 81:
        Bitmap(emf, at, 48, false);
        break;
      case 93: case 94:
        Object(emf.U32(at + 8), handles, false);
        Bitmap(emf, at, 16, false);
        break;
      default:
        break;
    }
    emf.Need(at, size);
    if (type == 14) return;
    at += size;
  }
  __builtin_trap();  // played past the end without an end record
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> file(data, size);
  if (!pictornx::EnhancedMetafileIsPlayable(file)) return 0;
  if (size < 88 || LoaderModel(data, size).U32(0) != 1 || LoaderModel(data, size).U32(40) != 0x464D4520) return 0;
  // The player holds the header's byte count of the file.
  Play(LoaderModel(data, LoaderModel(data, size).U32(48)));
  return 0;
}
