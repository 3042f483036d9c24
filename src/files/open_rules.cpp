#include "files/open_rules.h"

#include <cwchar>

#include "files/header_fields.h"

namespace pictornx {

namespace {

using namespace header_fields;

wchar_t Lower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

bool EndsWith(const wchar_t* name, size_t length, const wchar_t* ending) {
  const size_t count = std::wcslen(ending);
  if (length < count) return false;
  for (size_t i = 0; i < count; ++i)
    if (Lower(name[length - count + i]) != ending[i]) return false;
  return true;
}

// Cuts the extension (last dot of the part after the last separator, and what follows).
void CutExtension(wchar_t* name) {
  const size_t length = std::wcslen(name);
  for (size_t i = length; i > 0; --i) {
    const wchar_t c = name[i - 1];
    if (c == L'\\' || c == L'/' || c == L':') return;
    if (c == L'.') {
      name[i - 1] = L'\0';
      return;
    }
  }
}

void Append(wchar_t* name, size_t capacity, const wchar_t* tail) {
  const size_t length = std::wcslen(name);
  const size_t extra = std::wcslen(tail);
  if (length + extra + 1 > capacity) return;
  std::wmemcpy(name + length, tail, extra + 1);
}

}  // namespace

FileKind FileKindFromName(const wchar_t* name) {
  const size_t length = std::wcslen(name);
  if (EndsWith(name, length, L"peg")) return EndsWith(name, length, L"jpeg") ? FileKind::kJpeg : FileKind::kOther;
  static constexpr struct {
    const wchar_t* ending;
    FileKind kind;
  } kEndings[] = {{L"bmp", FileKind::kBmp}, {L"jpg", FileKind::kJpg}, {L"jpe", FileKind::kJpe},
                  {L"gif", FileKind::kGif}, {L"ico", FileKind::kIco}, {L"cur", FileKind::kCur},
                  {L"wmf", FileKind::kWmf}, {L"emf", FileKind::kEmf}, {L"png", FileKind::kPng}};
  for (const auto& entry : kEndings)
    if (EndsWith(name, length, entry.ending)) return entry.kind;
  return FileKind::kOther;
}

bool IsJpegKind(FileKind kind) {
  return kind == FileKind::kJpg || kind == FileKind::kJpe || kind == FileKind::kJpeg;
}

int SaveFilterForKind(FileKind kind) {
  if (kind == FileKind::kBmp) return 1;
  if (IsJpegKind(kind)) return 2;
  return kNoSaveFilter;
}

int HimetricToPixels(int64_t himetric, int dpi) {
  if (himetric <= 0 || dpi <= 0) return 0;
  const int64_t pixels = (himetric * dpi + 1270) / 2540;
  return pixels > INT32_MAX ? INT32_MAX : static_cast<int>(pixels);
}

int SnapGifSide(int side, int screenSide) {
  return screenSide > 0 && side >= screenSide - 1 && side <= screenSide + 1 ? screenSide : side;
}

int SnapIconSide(int side) {
  for (int size : {16, 32, 48})
    if (side >= size - 1 && side <= size + 1) return size;
  return side;
}

PixelSize GifScreenSize(std::span<const uint8_t> file) {
  if (file.size() < 10) return {};
  return {static_cast<int>(Le16(file, 6)), static_cast<int>(Le16(file, 8))};
}

// The GIF checks give the opener's two GIF messages (no signature, no trailer); what keeps
// the loader's allocation bounded for a GIF is the size claim below, on its logical screen.
GifCheck CheckGif(std::span<const uint8_t> file) {
  if (file.size() < 3 || file[0] != 'G' || file[1] != 'I' || file[2] != 'F') return GifCheck::kNotGif;
  if (file.size() < 2 || file[file.size() - 2] != 0x00 || file[file.size() - 1] != 0x3B) return GifCheck::kNoTrailer;
  return GifCheck::kOk;
}

// The rule of the size claim: the loader allocates a GIF's logical screen and a BMP's
// bitmap as their headers say before it reads a pixel, so a claim beyond what any image of
// this library may hold is refused up front (as out of memory), and nothing smaller.
bool ClaimsOversizedPicture(std::span<const uint8_t> file) {
  if (file.size() >= 10 && file[0] == 'G' && file[1] == 'I' && file[2] == 'F') {
    const PixelSize screen = GifScreenSize(file);
    return Oversized(screen.width, screen.height);
  }
  if (file.size() >= 26 && file[0] == 'B' && file[1] == 'M') {
    const uint32_t headerSize = Le32(file, 14);
    if (headerSize == 12) return Oversized(Le16(file, 18), Le16(file, 20));
    if (headerSize >= 40 && file.size() >= 26)
      return Oversized(static_cast<int32_t>(Le32(file, 18)), static_cast<int32_t>(Le32(file, 22)));
  }
  return false;
}

// The rule of the BMP check: the loader trusts the pixel offset, the colour table's size
// and the rows an uncompressed bitmap's size implies, and reads a run-length bitmap's data
// as biSizeImage says; refuse exactly the files where those lie outside the file. A
// run-length size that claims too much (or nothing) is mended to the bytes held, as the
// decoder stops at the end of its data on its own.
bool PrepareBmpForLoader(std::span<uint8_t> file) {
  if (file.size() < 2 || file[0] != 'B' || file[1] != 'M') return true;
  constexpr size_t kFileHeader = 14;
  if (file.size() < kFileHeader + 12) return false;
  const uint64_t size = file.size();
  const uint32_t headerSize = Le32(file, 14);
  const uint64_t offBits = Le32(file, 10);
  int64_t width, height;
  uint32_t bits, compression = 0, colours = 0, sizeImage = 0;
  size_t entry = 4;
  if (headerSize == 12) {
    width = Le16(file, 18);
    height = Le16(file, 20);
    bits = Le16(file, 24);
    entry = 3;
  } else {
    if (headerSize < 40 || headerSize > 124 || size < kFileHeader + 40) return false;
    width = static_cast<int32_t>(Le32(file, 18));
    height = static_cast<int32_t>(Le32(file, 22));
    bits = Le16(file, 28);
    compression = Le32(file, 30);
    sizeImage = Le32(file, 34);
    colours = Le32(file, 46);
  }
  if (width <= 0 || height == 0 || Oversized(width, height)) return false;
  if (height < 0) height = -height;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
  uint64_t table = 0;
  if (bits <= 8) table = (colours == 0 ? uint64_t{1} << bits : colours) * entry;
  if (compression == kBiBitfields) {  // masks only for 16 and 32 bits; they follow a 40-byte header
    if (bits != 16 && bits != 32) return false;
    if (headerSize == 40) table = 12;
  }
  if (kFileHeader + headerSize + table > size || offBits < kFileHeader + headerSize || offBits >= size) return false;
  switch (compression) {
    case 0:  // BI_RGB
    case 3: {  // BI_BITFIELDS
      const uint64_t row = ((static_cast<uint64_t>(width) * bits + 31) / 32) * 4;
      return offBits + row * static_cast<uint64_t>(height) <= size;
    }
    case 1:  // BI_RLE8
    case 2:  // BI_RLE4
      if (compression == 1 ? bits != 8 : bits != 4) return false;
      if (sizeImage == 0 || offBits + sizeImage > size) {
        const uint32_t held = static_cast<uint32_t>(size - offBits);
        for (int i = 0; i < 4; ++i) file[34 + i] = static_cast<uint8_t>(held >> (8 * i));
      }
      return true;
    default:
      return false;
  }
}

// The rule of the icon check: the loader takes every directory entry's offset and byte
// count, then the bitmap header, colour table, colour rows and mask rows inside that entry,
// as claimed; refuse exactly the files where one of them lies outside the entry or the
// file. A PNG image inside an entry is read by its own decoder within its bytes.
bool IconIsSafeForLoader(std::span<const uint8_t> file) {
  // The loader takes any file that starts with a zero word for an icon.
  if (file.size() < 2 || Le16(file, 0) != 0) return true;
  if (file.size() < 6 || (Le16(file, 2) != 1 && Le16(file, 2) != 2)) return false;
  const uint64_t size = file.size();
  const uint32_t count = Le16(file, 4);
  if (count == 0 || 6 + uint64_t{count} * 16 > size) return false;
  for (uint32_t i = 0; i < count; ++i) {
    const size_t entry = 6 + size_t{i} * 16;
    const uint64_t bytes = Le32(file, entry + 8);
    const uint64_t offset = Le32(file, entry + 12);
    if (bytes < 40 || offset + bytes > size) return false;
    if (file[offset] == 0x89) continue;  // a PNG image: read by its own decoder, within its bytes
    if (Le32(file, offset) != 40) return false;
    const int64_t width = static_cast<int32_t>(Le32(file, offset + 4));
    const int64_t height = static_cast<int32_t>(Le32(file, offset + 8)) / 2;  // colour and mask
    const uint32_t bits = Le16(file, offset + 14);
    const uint32_t colours = Le32(file, offset + 32);
    if (width <= 0 || width > 256 || height <= 0 || height > 256) return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
    const uint64_t table = bits <= 8 ? (colours == 0 ? uint64_t{1} << bits : colours) * 4 : 0;
    const uint64_t colourRows = ((static_cast<uint64_t>(width) * bits + 31) / 32) * 4 * height;
    const uint64_t maskRows = ((static_cast<uint64_t>(width) + 31) / 32) * 4 * height;
    if (40 + table + colourRows + maskRows > bytes) return false;
  }
  return true;
}

bool PrepareForPictureLoader(std::span<uint8_t> file) {
  if (file.size() < 8) return false;
  const uint32_t first = Le32(file, 0);
  if (file[0] == 'B' && file[1] == 'M') return PrepareBmpForLoader(file);
  if (file[0] == 0xFF && file[1] == 0xD8) return true;                              // JPEG
  if (file[0] == 'G' && file[1] == 'I' && file[2] == 'F' && file[3] == '8') return true;
  if (first == 0x474E5089 && Le32(file, 4) == 0x0A1A0A0D) return true;             // PNG
  if (first == 0x9AC6CDD7) return WindowsMetafileIsPlayable(file);
  if (first == 0x00010000 || first == 0x00020000) return IconIsSafeForLoader(file);
  if (first == 1 && file.size() >= 88 && Le32(file, 40) == 0x464D4520) return EnhancedMetafileIsPlayable(file);
  return false;
}

void LeaveNamesForSaving(FileKind kind, wchar_t* title, wchar_t* path, size_t capacity, int* saveFilter) {
  if (*saveFilter == kNoSaveFilter) {
    CutExtension(title);
    CutExtension(path);
    *saveFilter = 1;
  } else if (*saveFilter == 2 && (kind == FileKind::kJpe || kind == FileKind::kJpeg)) {
    CutExtension(title);
    CutExtension(path);
    Append(title, capacity, L".jpg");
    Append(path, capacity, L".jpg");
  }
}

}  // namespace pictornx
