// The enhanced-metafile check before the picture loader (declared in files/open_rules.h).
#include "files/header_fields.h"
#include "files/open_rules.h"

namespace pictornx {

namespace {

using namespace header_fields;

// How a record's bitmap is used: a bit block may go without a source bitmap (the player
// then paints the pattern); every other record's player reads its bitmap whatever its
// fields say; an alpha blend, which may also go without, copies cbBits bytes into an
// uncompressed bitmap made by its header, so they must not be more than its rows.
enum class RecordBitmap { kOptional, kRequired, kCopiedWhole };

// A bitmap inside a metafile record, as the player reads it: the header (offBmi, cbBmi) and
// the bits (offBits, cbBits) lie inside the record, and an uncompressed bitmap's rows fit in
// its bits. The colour table (or the three masks of a bit-field bitmap) is read in full
// whatever cbBmi says, and producers bound a short table by cbBmi only, so the table only
// has to lie inside the metafile (`rest`: the record and what follows it). A JPEG or PNG
// bitmap is handed to its decoder with cbBits bytes, or skipped. The size of the bitmap is
// capped, as the player allocates for it.
bool RecordBitmapFits(std::span<const uint8_t> rest, size_t recordSize, size_t fields,
                      RecordBitmap use = RecordBitmap::kRequired) {
  const std::span<const uint8_t> record = rest.first(recordSize);
  if (record.size() < fields + 16) return false;
  const uint64_t offBmi = Le32(record, fields), cbBmi = Le32(record, fields + 4);
  const uint64_t offBits = Le32(record, fields + 8), cbBits = Le32(record, fields + 12);
  // The player takes a bit block without a source bitmap by its zero offset, not its zero
  // size: a header offset with no header behind it is read all the same.
  if (offBmi == 0 && cbBmi == 0 && use != RecordBitmap::kRequired) return true;
  if (offBmi < 8 || offBmi + cbBmi > record.size() || offBits + cbBits > record.size() || cbBmi < 40) return false;
  const uint32_t headerSize = Le32(record, offBmi);
  if (headerSize < 40 || headerSize > cbBmi) return false;
  const int64_t width = static_cast<int32_t>(Le32(record, offBmi + 4));
  int64_t height = static_cast<int32_t>(Le32(record, offBmi + 8));
  const uint32_t bits = Le16(record, offBmi + 14);
  const uint32_t compression = Le32(record, offBmi + 16);
  if (height < 0) height = -height;
  if (width <= 0 || height == 0 || Oversized(width, height)) return false;
  if (compression == kBiJpeg || compression == kBiPng) return use != RecordBitmap::kCopiedWhole;
  if (bits == 0 || bits > 32) return false;
  if (use == RecordBitmap::kCopiedWhole) {  // the bitmap copied into must be made, or the copy goes nowhere
    const bool depth = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    const bool masks = compression != kBiBitfields || bits == 16 || bits == 32;
    if (Le16(record, offBmi + 12) != 1 || !depth || !masks) return false;
  }
  const uint32_t colours = Le32(record, offBmi + 32);
  uint64_t table = bits <= 8 ? (colours == 0 ? uint64_t{1} << bits : colours) * 4 : 0;
  if (compression == kBiBitfields && bits > 8 && headerSize == 40) table = 12;
  if (offBmi + headerSize + table > rest.size()) return false;
  if (compression != kBiRgb && compression != kBiBitfields)
    return use != RecordBitmap::kCopiedWhole && (compression == kBiRle8 || compression == kBiRle4);
  const uint64_t row = ((static_cast<uint64_t>(width) * bits + 31) / 32) * 4;
  const uint64_t rows = row * static_cast<uint64_t>(height);
  return use == RecordBitmap::kCopiedWhole ? cbBits <= rows : rows <= cbBits;
}

// An object-table index at `at`: a record that makes an object names a slot of the table
// (not 0, which is the metafile itself); one that uses an object may also name a stock
// object (the high bit set), which the player does not look up in the table.
bool TableIndexFits(std::span<const uint8_t> record, uint32_t handles, size_t at = 8, bool stock = false) {
  if (record.size() < at + 4) return false;
  const uint32_t index = Le32(record, at);
  if (stock && (index & 0x80000000u)) return true;
  return index != 0 && index < handles;
}

// The element count at `countAt` (16 or 32 bits) and as many elements of `elementBytes`
// from `arrayAt` lie inside the record.
bool ArrayFits(std::span<const uint8_t> record, size_t countAt, size_t arrayAt, uint64_t elementBytes,
               bool shortCount = false) {
  if (record.size() < arrayAt) return false;
  const uint64_t count = shortCount ? Le16(record, countAt) : Le32(record, countAt);
  return arrayAt + count * elementBytes <= record.size();
}

// A gradient fill: the vertices (16 bytes each), then triangles (mode 2) or rectangles of
// vertex indices.
bool GradientFits(std::span<const uint8_t> record) {
  if (record.size() < 36) return false;
  const uint64_t vertices = Le32(record, 24), shapes = Le32(record, 28);
  return 36 + vertices * 16 + shapes * (Le32(record, 32) == 2 ? 12 : 8) <= record.size();
}

// A poly-polyline or poly-polygon: the polygon count at 24, the point count at 28, the
// counts of each polygon, then the points. The player draws as many points as the
// polygons' counts add up to, so they must not add up to more than the record holds.
bool PolyPolyFits(std::span<const uint8_t> record, uint64_t pointBytes) {
  if (record.size() < 32) return false;
  const uint64_t polygons = Le32(record, 24), points = Le32(record, 28);
  if (32 + polygons * 4 + points * pointBytes > record.size()) return false;
  uint64_t drawn = 0;
  for (uint64_t i = 0; i < polygons; ++i) drawn += Le32(record, static_cast<size_t>(32 + i * 4));
  return drawn <= points;
}

// Text out: the characters (at offString, nChars of `charBytes`) and, when given, the
// advances (at offDx, one 32-bit value per character, two with ETO_PDY) inside the record.
bool TextFits(std::span<const uint8_t> record, uint64_t charBytes) {
  constexpr uint32_t kPairedAdvances = 0x2000;  // ETO_PDY
  if (record.size() < 76) return false;
  const uint64_t chars = Le32(record, 44), offString = Le32(record, 48), offDx = Le32(record, 72);
  if (chars == 0) return true;
  if (offString + chars * charBytes > record.size()) return false;
  const uint64_t advances = chars * ((Le32(record, 52) & kPairedAdvances) ? 8 : 4);
  return offDx == 0 || offDx + advances <= record.size();
}

// Region data (a 32-byte header, then nCount rectangles of 16 bytes) of cbRgnData bytes,
// whose size is at `sizeAt` and which starts at `dataAt`, inside the record.
bool RegionFits(std::span<const uint8_t> record, size_t sizeAt, size_t dataAt) {
  if (record.size() < dataAt) return false;
  const uint64_t bytes = Le32(record, sizeAt);
  if (dataAt + bytes > record.size()) return false;
  if (bytes == 0) return true;
  return bytes >= 32 && 32 + uint64_t{Le32(record, dataAt + 8)} * 16 <= bytes;
}

// A device-independent bitmap inside a Windows-metafile record, from `at` to the record's
// end: the player finds the bits right after the header and the colour table (entries of
// 2 bytes with palette indices, `paletteIndices`, else 4; 3 in a core header), reads every
// row of an uncompressed bitmap and biSizeImage bytes of a compressed one, and allocates
// for its size.
bool WmfBitmapFits(std::span<const uint8_t> record, size_t at, bool paletteIndices) {
  if (record.size() < at + 12) return false;
  const uint64_t headerSize = Le32(record, at);
  int64_t width, height;
  uint32_t bits, compression = kBiRgb, colours = 0, sizeImage = 0;
  uint64_t entry = paletteIndices ? 2 : 4;
  if (headerSize == 12) {
    width = Le16(record, at + 4);
    height = Le16(record, at + 6);
    bits = Le16(record, at + 10);
    if (!paletteIndices) entry = 3;
  } else {
    if (headerSize < 40 || headerSize > 124 || record.size() < at + headerSize) return false;
    width = static_cast<int32_t>(Le32(record, at + 4));
    height = static_cast<int32_t>(Le32(record, at + 8));
    bits = Le16(record, at + 14);
    compression = Le32(record, at + 16);
    sizeImage = Le32(record, at + 20);
    colours = Le32(record, at + 32);
  }
  if (height < 0) height = -height;
  if (width <= 0 || height == 0 || Oversized(width, height) || bits == 0 || bits > 32) return false;
  uint64_t table = bits <= 8 ? (colours == 0 ? uint64_t{1} << bits : colours) * entry : 0;
  if (compression == kBiBitfields && headerSize == 40) table = 12;
  const uint64_t offBits = at + headerSize + table;
  if (offBits > record.size()) return false;
  if (compression != kBiRgb && compression != kBiBitfields) return offBits + sizeImage <= record.size();
  const uint64_t row = ((static_cast<uint64_t>(width) * bits + 31) / 32) * 4;
  return offBits + row * static_cast<uint64_t>(height) <= record.size();
}

}  // namespace

// The rule of this check, as of the others before the picture loader: refuse exactly what
// would make the player read outside the metafile's bytes or allocate without bound, and
// nothing that the platform plays safely. The player copies the header's byte count
// (nBytes) and walks the records up to the end record; it indexes its object table, sized
// by the header's 16-bit handle count (offset 56), with the indices the records give; it
// reads the arrays of points, polygon counts, characters, palette entries, vertices and
// region rectangles that records claim; and it hands the bitmaps inside records to GDI.
bool EnhancedMetafileIsPlayable(std::span<const uint8_t> file) {
  constexpr uint32_t kHeaderRecord = 1;
  constexpr uint32_t kEndRecord = 14;
  constexpr uint32_t kSignature = 0x464D4520;  // " EMF"
  if (file.size() < 88 || Le32(file, 0) != kHeaderRecord || Le32(file, 40) != kSignature) return true;
  const uint32_t handles = Le16(file, 56);
  const uint64_t claimed = Le32(file, 48);
  if (claimed > file.size() || Le32(file, 4) < 88) return false;
  const size_t end = static_cast<size_t>(claimed);
  bool ended = false;
  for (size_t at = 0; at < end && !ended;) {
    if (end - at < 8) return false;
    const uint32_t type = Le32(file, at);
    const uint32_t size = Le32(file, at + 4);
    if (size < 8 || size % 4 != 0 || size > end - at) return false;
    if (at == 0 ? type != kHeaderRecord : type == kHeaderRecord) return false;
    const std::span<const uint8_t> record = file.subspan(at, size);
    const std::span<const uint8_t> rest = file.subspan(at, end - at);
    switch (type) {
      case 37:  // select object
      case 40:  // delete object
      case 48:  // select palette
      case 100:  // set colour space
        if (!TableIndexFits(record, handles, 8, true)) return false;
        break;
      case 49:  // create palette: a 16-bit entry count, then the entries
        if (!TableIndexFits(record, handles) || !ArrayFits(record, 14, 16, 4, true)) return false;
        break;
      case 50:  // set palette entries
        if (!TableIndexFits(record, handles) || !ArrayFits(record, 16, 20, 4)) return false;
        break;
      case 38: case 39: case 51: case 82: case 99: case 101: case 122:  // records that make or change a table entry
        if (!TableIndexFits(record, handles)) return false;
        break;
      case 95:  // extended pen: the style entries follow the pen
        if (!TableIndexFits(record, handles) || !ArrayFits(record, 48, 52, 4)) return false;
        break;
      case 2: case 3: case 4: case 5: case 6:  // poly-Bézier, polygon, polyline (and -to): 32-bit points
        if (!ArrayFits(record, 24, 28, 8)) return false;
        break;
      case 85: case 86: case 87: case 88: case 89:  // the same with 16-bit points
        if (!ArrayFits(record, 24, 28, 4)) return false;
        break;
      case 56:  // poly-draw: the points, then a type byte for each
        if (!ArrayFits(record, 24, 28, 9)) return false;
        break;
      case 92:
        if (!ArrayFits(record, 24, 28, 5)) return false;
        break;
      case 7: case 8:  // poly-polyline, poly-polygon
        if (!PolyPolyFits(record, 8)) return false;
        break;
      case 90: case 91:
        if (!PolyPolyFits(record, 4)) return false;
        break;
      case 83: case 84:  // text out, wide and narrow characters
        if (!TextFits(record, type == 84 ? 2 : 1)) return false;
        break;
      case 118:  // gradient fill: the vertices, then triangles or rectangles of vertex indices
        if (!GradientFits(record)) return false;
        break;
      case 71:  // fill region, with a brush
        if (!RegionFits(record, 24, 32) || !TableIndexFits(record, handles, 28, true)) return false;
        break;
      case 72:  // frame region, with a brush
        if (!RegionFits(record, 24, 40) || !TableIndexFits(record, handles, 28, true)) return false;
        break;
      case 73: case 74:  // invert and paint region
        if (!RegionFits(record, 24, 28)) return false;
        break;
      case 75:  // select a clip region
        if (!RegionFits(record, 8, 16)) return false;
        break;
      case 76: case 77: case 116:  // bit blocks, with a source bitmap or a pattern
        if (!RecordBitmapFits(rest, size, 84, RecordBitmap::kOptional)) return false;
        break;
      case 114:  // alpha blend
        if (!RecordBitmapFits(rest, size, 84, RecordBitmap::kCopiedWhole)) return false;
        break;
      case 78:  // masked bit block: the source, then the mask
        if (!RecordBitmapFits(rest, size, 84) || !RecordBitmapFits(rest, size, 112)) return false;
        break;
      case 79:  // parallelogram bit block
        if (!RecordBitmapFits(rest, size, 96) || !RecordBitmapFits(rest, size, 124)) return false;
        break;
      case 80: case 81:  // device-independent bits to the device
        if (!RecordBitmapFits(rest, size, 48)) return false;
        break;
      case 93: case 94:  // brushes made of a bitmap
        if (!TableIndexFits(record, handles) || !RecordBitmapFits(rest, size, 16)) return false;
        break;
      default:
        break;
    }
    ended = type == kEndRecord;
    at += size;
  }
  return ended;
}

// The rule of the placeable-metafile check, as of the others: refuse exactly what would make
// the player read outside the metafile or allocate without bound. The loader hands the
// player the bytes after the 22-byte placeable header; the player walks records of rdSize
// 16-bit words up to mtSize words or the end record, looks objects up in a table of
// mtNoObjects handles by the indices records give, reads the points, polygon counts,
// characters, palette entries and escape data that records claim, and the bitmaps inside
// records, with their bits right after their colour tables.
bool WindowsMetafileIsPlayable(std::span<const uint8_t> file) {
  constexpr size_t kPlaceableHeader = 22;
  if (file.size() < 4 || Le32(file, 0) != 0x9AC6CDD7u) return true;
  if (file.size() < kPlaceableHeader + 18) return false;
  const std::span<const uint8_t> metafile = file.subspan(kPlaceableHeader);
  const uint32_t headerWords = Le16(metafile, 2), objects = Le16(metafile, 10);
  const uint64_t end = uint64_t{Le32(metafile, 6)} * 2;
  if ((Le16(metafile, 0) != 1 && Le16(metafile, 0) != 2) || headerWords != 9 || end > metafile.size()) return false;
  for (uint64_t at = 18; at < end;) {
    if (end - at < 6) return false;
    const uint64_t size = uint64_t{Le32(metafile, static_cast<size_t>(at))} * 2;
    const uint32_t function = Le16(metafile, static_cast<size_t>(at) + 4);
    if (size < 6 || size > end - at) return false;
    if (function == 0) return true;  // the end record
    const std::span<const uint8_t> record = metafile.subspan(static_cast<size_t>(at), static_cast<size_t>(size));
    const size_t params = record.size() - 6;
    auto param = [&](size_t index) { return 6 + index * 2 + 2 <= record.size() ? Le16(record, 6 + index * 2) : 0x10000u; };
    switch (function) {
      case 0x012D: case 0x01F0:  // select and delete object
        if (param(0) >= objects) return false;
        break;
      case 0x0234:  // select palette
        if (param(1) >= objects) return false;
        break;
      case 0x02FA:  // create pen, brush, font: fixed parts
        if (params < 10) return false;
        break;
      case 0x02FC:
        if (params < 8) return false;
        break;
      case 0x02FB:
        if (params < 50) return false;
        break;
      case 0x0324: case 0x0325:  // polygon, polyline: a count, then points of 4 bytes
        if (param(0) > 0xFFFF || 2 + uint64_t{param(0)} * 4 > params) return false;
        break;
      case 0x0538: {  // poly-polygon: a count of polygons, their point counts, the points
        const uint64_t polygons = param(0);
        if (polygons > 0xFFFF || 2 + polygons * 2 > params) return false;
        uint64_t points = 0;
        for (uint64_t i = 0; i < polygons; ++i) {
          const int32_t count = static_cast<int16_t>(param(static_cast<size_t>(1 + i)));
          if (count < 0) return false;
          points += static_cast<uint64_t>(count);
        }
        if (2 + polygons * 2 + points * 4 > params) return false;
        break;
      }
      case 0x0521: {  // text out: a count, the characters (padded to a word), then y and x
        const int32_t count = static_cast<int16_t>(param(0));
        if (param(0) > 0xFFFF || count < 0 || 2 + static_cast<uint64_t>(count + 1) / 2 * 2 + 4 > params) return false;
        break;
      }
      case 0x0A32: {  // extended text out: y, x, count, options, a rectangle when clipped or opaque, the characters
        const int32_t count = static_cast<int16_t>(param(2));
        if (param(3) > 0xFFFF || count < 0) return false;
        if (8 + ((param(3) & 0x6) ? 8u : 0u) + static_cast<uint64_t>(count) > params) return false;
        break;
      }
      case 0x00F7:  // create palette: version, count, entries
        if (param(1) > 0xFFFF || 4 + uint64_t{param(1)} * 4 > params) return false;
        break;
      case 0x0626:  // escape: function, byte count, data
        if (param(1) > 0xFFFF || 4 + uint64_t{param(1)} > params) return false;
        break;
      case 0x0F43:  // stretch device-independent bits: the usage is the third parameter
        if (param(2) > 0xFFFF || !WmfBitmapFits(record, 6 + 22, param(2) == 1)) return false;
        break;
      case 0x0B41:  // device-independent stretch block
        if (!WmfBitmapFits(record, 6 + 20, false)) return false;
        break;
      case 0x0940:  // device-independent bit block
        if (!WmfBitmapFits(record, 6 + 16, false)) return false;
        break;
      case 0x0D33:  // device-independent bits to the device: the usage is the first parameter
        if (param(0) > 0xFFFF || !WmfBitmapFits(record, 6 + 18, param(0) == 1)) return false;
        break;
      case 0x0142:  // pattern brush of a device-independent bitmap
        if (param(1) > 0xFFFF || !WmfBitmapFits(record, 6 + 4, param(1) == 1)) return false;
        break;
      case 0x0922: case 0x0B23: case 0x01F9:
        // Device-dependent bitmaps: the player copies their bits by sizes it does not compare
        // with the record. Producers write device-independent bitmaps instead.
        return false;
      default:
        break;
    }
    at += size;
  }
  return true;  // the player stops at the claimed size as at an end record
}

}  // namespace pictornx
