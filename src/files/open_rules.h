// Pure rules of opening an image file: the kind from the file name, the picture loader's
// HIMETRIC size in pixels, the size snapping of GIFs and icons, the header sizes checked
// before a file reaches the picture loader, and the names left for the save dialog.
// Portable: no windows.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace pictornx {

// The kind of a file by the end of its name (case-insensitive; no dot required).
enum class FileKind : int {
  kOther = 0,
  kBmp = 1,
  kJpg = 2,
  kJpe = 21,
  kJpeg = 22,
  kGif = 3,
  kIco = 4,
  kCur = 5,
  kWmf = 6,
  kEmf = 7,
  kPng = 8,
};

// Compares the last three characters; when they are "peg", the last four with "jpeg".
FileKind FileKindFromName(const wchar_t* name);
bool IsJpegKind(FileKind kind);

// The save dialog's starting filter after opening a file of this kind: 1 (BMP), 2 (JPEG),
// or kNoSaveFilter, which the names step turns into 1 after cutting the extension.
inline constexpr int kNoSaveFilter = 200;
int SaveFilterForKind(FileKind kind);

// HIMETRIC (0.01 mm) to pixels at `dpi`, rounded to the nearest pixel. The picture loader
// stores a bitmap's size as whole HIMETRIC units rounded, so rounding back gives the exact
// pixel size; truncating would lose a pixel on about half of all sizes. 0 for a side that
// is not positive.
int HimetricToPixels(int64_t himetric, int dpi);

// A GIF side within one pixel of its logical screen's side becomes that side.
int SnapGifSide(int side, int screenSide);
// An icon or cursor side within one pixel of 16, 32 or 48 becomes that size.
int SnapIconSide(int side);

// The logical screen size of a GIF file (16-bit little-endian at offsets 6 and 8); zero
// sides when the file is too short.
struct PixelSize {
  int width = 0;
  int height = 0;
};
PixelSize GifScreenSize(std::span<const uint8_t> file);
// The GIF checks before the picture loader: the signature, then the 0x00 0x3B ending.
enum class GifCheck { kOk, kNotGif, kNoTrailer };
GifCheck CheckGif(std::span<const uint8_t> file);

// True when the header of a BMP or GIF file claims a picture no image of this library can
// hold (a side above 65535, or pixel bytes above the image cap), so the file is refused as
// out of memory before the picture loader allocates for it.
bool ClaimsOversizedPicture(std::span<const uint8_t> file);

// True when a BMP file's headers, colour table and pixel data lie inside the file as they
// claim, so the picture loader, which trusts them, reads only the file's bytes. A
// run-length image's data size is set to the bytes the file holds when it claims more or
// none. Files that are not BMP pass.
bool PrepareBmpForLoader(std::span<uint8_t> file);

// True when every image of an icon or cursor file lies inside the file with the sizes its
// header claims (directory, bitmap header, colour table, colour and mask rows). Files
// that do not start with a zero word (as icons and cursors do) pass.
bool IconIsSafeForLoader(std::span<const uint8_t> file);

// True when an enhanced metafile's records are sound enough to be played: a header record
// first, every record inside the header's byte count with a size that is a multiple of 4,
// the end record last, every object-table index within the header's 16-bit handle count
// (or a stock object where one is allowed), every array a record claims (points, polygon
// counts, characters and advances, palette entries, vertices, region rectangles, pen
// styles) inside the record, and every bitmap's header and bits inside its record with its
// colour table inside the metafile. Playing a file that fails this can make the system's
// player read outside the metafile or its object table. Files that are not enhanced
// metafiles pass.
bool EnhancedMetafileIsPlayable(std::span<const uint8_t> file);

// True when a placeable Windows metafile's records are sound enough to be played: each
// inside the metafile's claimed size, every object index within its object count, and
// every array, escape and device-independent bitmap a record claims inside the record;
// device-dependent bitmaps are refused. Files that do not start with the placeable key pass.
bool WindowsMetafileIsPlayable(std::span<const uint8_t> file);

// The gate before the picture loader: true only for a file that starts as a BMP, JPEG,
// GIF, PNG, icon, cursor, placeable Windows metafile or enhanced metafile does and passes
// that format's check above (a run-length BMP may be mended as PrepareBmpForLoader says).
// The loader answers every other file with "no picture" on a good day and reads outside
// the file on a bad one.
bool PrepareForPictureLoader(std::span<uint8_t> file);

// The names left for saving after a file opened (the save dialog proposes them). `title`
// and `path` are zero-terminated buffers of `capacity` characters. With kNoSaveFilter the
// extension is cut off both and the filter becomes 1; a JPEG opened as .jpe or .jpeg gets
// ".jpg" instead of its extension. An extension is cut only when the name has one: the
// characters after the last dot of the file name part, dot included.
void LeaveNamesForSaving(FileKind kind, wchar_t* title, wchar_t* path, size_t capacity, int* saveFilter);

}  // namespace pictornx
