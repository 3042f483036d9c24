// The opener's portable rules: file kinds by name, the picture loader's size in pixels,
// the snapping, the header checks and the names left for saving.
#include "files/open_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

namespace pictornx {
namespace {

TEST(OpenRules, KindComesFromTheNamesEndOnly) {
  const struct {
    const wchar_t* name;
    FileKind kind;
  } cases[] = {
      {L"C:\\a\\photo.JPEG", FileKind::kJpeg}, {L"x.jpe", FileKind::kJpe},   {L"x.Jpg", FileKind::kJpg},
      {L"shot.bmp", FileKind::kBmp},           {L"bmp", FileKind::kBmp},     {L"nodotgif", FileKind::kGif},
      {L"a.cur", FileKind::kCur},              {L"a.ICO", FileKind::kIco},   {L"a.wmf", FileKind::kWmf},
      {L"a.emf", FileKind::kEmf},              {L"a.png", FileKind::kPng},   {L"a.xpeg", FileKind::kOther},
      {L"peg", FileKind::kOther},              {L"a.tiff", FileKind::kOther}, {L"", FileKind::kOther},
      {L"jp", FileKind::kOther},
  };
  for (const auto& c : cases) EXPECT_EQ(FileKindFromName(c.name), c.kind) << static_cast<int>(c.kind);
}

// The loader stores a bitmap's size as HIMETRIC rounded to a whole unit; converting back
// must give every original size at the common densities.
TEST(OpenRules, HimetricRoundTripGivesBackEverySize) {
  for (int dpi : {96, 120, 144}) {
    for (int pixels = 1; pixels <= 4096; ++pixels) {
      const int64_t himetric = (static_cast<int64_t>(pixels) * 2540 + dpi / 2) / dpi;
      ASSERT_EQ(HimetricToPixels(himetric, dpi), pixels) << pixels << " px at " << dpi << " dpi";
    }
  }
  EXPECT_EQ(HimetricToPixels(3360, 96), 127);  // truncation would give 126
  EXPECT_EQ(HimetricToPixels(26, 96), 1);       // truncation would give 0
  EXPECT_EQ(HimetricToPixels(13, 96), 0);
  EXPECT_EQ(HimetricToPixels(0, 96), 0);
  EXPECT_EQ(HimetricToPixels(-2540, 96), 0);
  EXPECT_EQ(HimetricToPixels(int64_t{1} << 40, 96), INT32_MAX);
}

TEST(OpenRules, SnappingOnlyWithinOnePixel) {
  EXPECT_EQ(SnapGifSide(99, 100), 100);
  EXPECT_EQ(SnapGifSide(101, 100), 100);
  EXPECT_EQ(SnapGifSide(98, 100), 98);
  EXPECT_EQ(SnapGifSide(1, 0), 1);
  for (int size : {16, 32, 48}) {
    EXPECT_EQ(SnapIconSide(size - 1), size);
    EXPECT_EQ(SnapIconSide(size + 1), size);
  }
  EXPECT_EQ(SnapIconSide(30), 30);
  EXPECT_EQ(SnapIconSide(64), 64);
}

TEST(OpenRules, GifChecksAndOversizedHeaders) {
  std::vector<uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a', 0x10, 0x00, 0x20, 0x00, 0, 0, 0, 0x00, 0x3B};
  EXPECT_EQ(CheckGif(gif), GifCheck::kOk);
  EXPECT_EQ(GifScreenSize(gif).width, 16);
  EXPECT_EQ(GifScreenSize(gif).height, 32);
  EXPECT_FALSE(ClaimsOversizedPicture(gif));
  gif[6] = gif[7] = gif[8] = gif[9] = 0xFF;  // 65535 x 65535: beyond the pixel cap
  EXPECT_TRUE(ClaimsOversizedPicture(gif));
  gif.back() = 0;
  EXPECT_EQ(CheckGif(gif), GifCheck::kNoTrailer);
  gif[0] = 'g';
  EXPECT_EQ(CheckGif(gif), GifCheck::kNotGif);
  EXPECT_EQ(CheckGif({}), GifCheck::kNotGif);

  std::vector<uint8_t> bmp(54, 0);
  bmp[0] = 'B';
  bmp[1] = 'M';
  bmp[14] = 40;
  auto setSize = [&](int32_t width, int32_t height) {
    for (int i = 0; i < 4; ++i) {
      bmp[18 + i] = static_cast<uint8_t>(static_cast<uint32_t>(width) >> (8 * i));
      bmp[22 + i] = static_cast<uint8_t>(static_cast<uint32_t>(height) >> (8 * i));
    }
  };
  setSize(1920, -1080);
  EXPECT_FALSE(ClaimsOversizedPicture(bmp));
  setSize(100000, 100000);
  EXPECT_TRUE(ClaimsOversizedPicture(bmp));
  setSize(20000, -20000);  // each side allowed, the pixel bytes not
  EXPECT_TRUE(ClaimsOversizedPicture(bmp));
  setSize(INT32_MIN, 1);
  EXPECT_TRUE(ClaimsOversizedPicture(bmp));
  EXPECT_FALSE(ClaimsOversizedPicture(std::span<const uint8_t>(bmp).first(20)));
}

// A minimal enhanced metafile: the header record, the given records, the end record.
std::vector<uint8_t> Emf(const std::vector<std::vector<uint32_t>>& records, uint16_t handles = 2) {
  std::vector<uint32_t> words(22, 0);
  words[0] = 1;
  words[1] = 88;
  words[10] = 0x464D4520;
  words[13] = 2231;     // the record count: not the handle count
  words[14] = handles;  // the 16-bit handle count at offset 56
  for (const auto& record : records) words.insert(words.end(), record.begin(), record.end());
  words.insert(words.end(), {14, 20, 0, 16, 20});
  words[12] = static_cast<uint32_t>(words.size() * 4);
  std::vector<uint8_t> bytes(words.size() * 4);
  for (size_t i = 0; i < words.size(); ++i)
    for (int b = 0; b < 4; ++b) bytes[i * 4 + b] = static_cast<uint8_t>(words[i] >> (8 * b));
  return bytes;
}

TEST(OpenRules, OnlySoundMetafilesArePlayed) {
  EXPECT_TRUE(EnhancedMetafileIsPlayable(Emf({})));
  EXPECT_TRUE(EnhancedMetafileIsPlayable(Emf({{39, 24, 1, 0, 0, 0}, {37, 12, 1}, {37, 12, 0x80000005}, {40, 12, 1}})));
  EXPECT_FALSE(EnhancedMetafileIsPlayable(Emf({{37, 12, 0x08000001}})));  // beyond the object table
  EXPECT_FALSE(EnhancedMetafileIsPlayable(Emf({{39, 24, 2, 0, 0, 0}})));  // creates past the table
  EXPECT_FALSE(EnhancedMetafileIsPlayable(Emf({{38, 28, 0x80000005, 0, 0, 0, 0}})));  // made in a stock slot
  EXPECT_FALSE(EnhancedMetafileIsPlayable(Emf({{37, 8}})));               // no room for the index
  EXPECT_FALSE(EnhancedMetafileIsPlayable(Emf({{27, 10, 0}})));           // size not a multiple of 4
  EXPECT_FALSE(EnhancedMetafileIsPlayable(Emf({{27, 400, 0}})));          // runs past the file
  EXPECT_FALSE(EnhancedMetafileIsPlayable(Emf({{1, 88}})));               // a second header
  std::vector<uint8_t> longer = Emf({});
  longer[48] += 4;  // claims a byte more than the file holds
  EXPECT_FALSE(EnhancedMetafileIsPlayable(longer));
  std::vector<uint8_t> cut = Emf({});
  cut.resize(cut.size() - 20);
  EXPECT_FALSE(EnhancedMetafileIsPlayable(cut));  // no end record
  EXPECT_TRUE(EnhancedMetafileIsPlayable(std::vector<uint8_t>(100, 0x42)));  // not a metafile at all
}

// A stretch-bits record of a bitmap: its 40-byte header, `entries` colours (cbBmi bounds
// them, as producers write short tables), then `bitBytes` of bits.
std::vector<uint32_t> StretchBits(int32_t width, int32_t height, uint16_t bits, uint32_t compression,
                                  uint32_t entries, uint32_t bitBytes) {
  const uint32_t cbBmi = 40 + entries * 4, words = 20 + 10 + entries + (bitBytes + 3) / 4;
  std::vector<uint32_t> record(words, 0);
  record[0] = 81;
  record[1] = words * 4;
  record[12] = 80;
  record[13] = cbBmi;
  record[14] = 80 + cbBmi;
  record[15] = bitBytes;
  const uint32_t header[] = {40, static_cast<uint32_t>(width), static_cast<uint32_t>(height), 1u | bits << 16u, compression};
  std::copy(std::begin(header), std::end(header), record.begin() + 20);
  return record;
}

// What the player reads of each record must lie inside it (or, for a colour table, inside
// the metafile); what real producers write within that passes.
TEST(OpenRules, MetafileRecordsHoldWhatThePlayerReads) {
  std::vector<uint32_t> bigTable = StretchBits(32, 32, 8, 0, 16, 1024);  // a short table, then 1 KB of bits
  std::vector<uint32_t> patternBlock(25, 0), headerless(25, 0);  // bit blocks with no source bitmap
  patternBlock[0] = headerless[0] = 76;
  patternBlock[1] = headerless[1] = 100;
  headerless[21] = 100;  // a header offset, but no header: the player reads one there
  std::vector<uint32_t> noSourceBits = patternBlock;
  noSourceBits[0] = 81;  // device-independent bits with no bitmap: the player reads one all the same
  std::vector<uint32_t> blend = StretchBits(2, 2, 24, 0, 0, 16), blendMore = StretchBits(2, 2, 24, 0, 0, 20);
  std::vector<uint32_t> blendOdd = StretchBits(2, 2, 13, 0, 0, 8);
  for (auto* record : {&blend, &blendMore, &blendOdd}) {  // an alpha blend: the same bitmap fields at 84, not 48
    record->insert(record->begin() + 12, 9, 0);
    (*record)[0] = 114;
    (*record)[1] += 36;
    for (int i = 21; i < 25; ++i) (*record)[i] += (i == 21 || i == 23) ? 36 : 0;
  }
  std::vector<uint32_t> textW = {84, 88, 0, 0, 0, 0, 1, 0, 0, 0, 0, 3, 76, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  std::vector<uint32_t> textDx = textW;
  textDx[18] = 80;  // advances for three characters from offset 80: past the record
  const struct {
    std::vector<std::vector<uint32_t>> records;
    uint16_t handles;
    bool passes;
  } cases[] = {
      {{{37, 12, 5}}, 6, true},                                // the table holds six handles
      {{{37, 12, 5}}, 2, false},
      {{bigTable}, 2, true},
      {{StretchBits(2, 2, 8, 0, 16, 8)}, 2, false},           // a full table would run past the metafile
      {{StretchBits(2, 2, 8, 0, 256, 8)}, 2, true},
      {{StretchBits(2, 2, 24, 0, 0, 15)}, 2, false},          // rows of 8 bytes: one short
      {{StretchBits(64, 48, 0, 4, 0, 200)}, 2, true},         // an embedded JPEG
      {{StretchBits(64, 48, 0, 5, 0, 200)}, 2, true},         // an embedded PNG
      {{StretchBits(64, 48, 0, 0, 0, 200)}, 2, false},        // no bit count and no codec
      {{patternBlock}, 2, true},
      {{headerless}, 2, false},
      {{noSourceBits}, 2, false},
      {{blend}, 2, true},
      {{blendMore}, 2, false},  // 20 bytes copied into a bitmap of 16
      {{blendOdd}, 2, false},   // 13 bits a pixel: no bitmap to copy into
      {{{4, 44, 0, 0, 0, 0, 2, 1, 1, 2, 2}}, 2, true},         // a polyline of two points
      {{{4, 44, 0, 0, 0, 0, 3, 1, 1, 2, 2}}, 2, false},        // three claimed
      {{{8, 52, 0, 0, 0, 0, 1, 2, 2, 1, 1, 2, 2}}, 2, true},   // a polygon of two points
      {{{8, 52, 0, 0, 0, 0, 1, 2, 3, 1, 1, 2, 2}}, 2, false},  // its count adds up past the points
      {{textW}, 2, true},
      {{textDx}, 2, false},
      {{{95, 52, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0}}, 2, true},  // an extended pen without style entries
      {{{95, 52, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 4}}, 2, false},
      {{{75, 48, 32, 5, 32, 1, 0, 16, 0, 0, 0, 0}}, 2, true},  // a clip region of no rectangle
      {{{75, 48, 32, 5, 32, 1, 1, 16, 0, 0, 0, 0}}, 2, false}, // one rectangle claimed, none held
      {{{71, 68, 0, 0, 0, 0, 32, 0x80000000, 32, 1, 0, 16, 0, 0, 0, 0, 0}}, 2, true},  // a stock brush
      {{{71, 68, 0, 0, 0, 0, 32, 7, 32, 1, 0, 16, 0, 0, 0, 0, 0}}, 2, false},
  };
  for (size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(EnhancedMetafileIsPlayable(Emf(cases[i].records, cases[i].handles)), cases[i].passes) << "case " << i;
}

// A placeable Windows metafile: the 22-byte placeable header, the metafile header with
// `objects` handles, the given records (function, then parameters), the end record.
std::vector<uint8_t> Wmf(const std::vector<std::vector<uint16_t>>& records, uint16_t objects = 2) {
  std::vector<uint16_t> words = {0xCDD7, 0x9AC6, 0, 0, 0, 100, 50, 96, 0, 0, 0, 1, 9, 0x300, 0, 0, objects, 0, 0, 0};
  for (const auto& record : records) {
    words.insert(words.end(), {static_cast<uint16_t>(record.size() + 2), 0});
    words.insert(words.end(), record.begin(), record.end());
  }
  words.insert(words.end(), {3, 0, 0});
  const uint32_t size = static_cast<uint32_t>(words.size() - 11);
  words[14] = static_cast<uint16_t>(size);
  words[15] = static_cast<uint16_t>(size >> 16);
  std::vector<uint8_t> bytes;
  for (uint16_t word : words) bytes.insert(bytes.end(), {static_cast<uint8_t>(word), static_cast<uint8_t>(word >> 8)});
  return bytes;
}

// The player of placeable metafiles reads what records claim: it must lie inside them.
TEST(OpenRules, PlaceableMetafileRecordsHoldWhatThePlayerReads) {
  // Stretched bits of a 2 x 2 24-bit bitmap: 11 parameters, the header, 16 bytes of rows.
  std::vector<uint16_t> stretch = {0x0F43, 0x20, 0xCC, 0, 2, 2, 0, 0, 2, 2, 0, 0, 40, 0, 2, 0, 2, 0, 1, 24};
  stretch.resize(stretch.size() + 12 + 8, 0);  // the rest of the header, the rows
  std::vector<uint16_t> cutStretch(stretch.begin(), stretch.end() - 1);
  const struct {
    std::vector<std::vector<uint16_t>> records;
    bool passes;
  } cases[] = {
      {{{0x012D, 1}}, true},                               // select object 1 of 2
      {{{0x012D, 2}}, false},
      {{{0x0325, 2, 0, 0, 5, 5}}, true},                   // a polyline of two points
      {{{0x0325, 3, 0, 0, 5, 5}}, false},
      {{{0x0538, 1, 2, 0, 0, 5, 5}}, true},                // one polygon of two points
      {{{0x0538, 1, 0xFFFF, 0, 0}}, false},                // a negative point count
      {{{0x0521, 3, 'a' | 'b' << 8, 'c', 1, 1}}, true},    // text out of three characters
      {{{0x0521, 5, 'a' | 'b' << 8, 'c', 1, 1}}, false},
      {{{0x0626, 15, 4, 0, 0}}, true},                     // an escape of four bytes
      {{{0x0626, 15, 40, 0, 0}}, false},
      {{stretch}, true},
      {{cutStretch}, false},                               // its last row a byte short
      {{{0x0922, 0, 0, 0, 0, 0, 0, 0, 0}}, false},         // a device-dependent bitmap
      {{{0x02FB, 12}}, false},                             // a font without its face name
  };
  for (size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(WindowsMetafileIsPlayable(Wmf(cases[i].records)), cases[i].passes) << "case " << i;
  std::vector<uint8_t> longer = Wmf({});
  longer[28] += 1;  // claims a word more than the file holds
  EXPECT_FALSE(WindowsMetafileIsPlayable(longer));
}

std::vector<uint8_t> Bmp(int32_t width, int32_t height, uint16_t bits, uint32_t compression, size_t pixelBytes,
                         uint32_t sizeImage = 0) {
  std::vector<uint8_t> bytes(54 + (bits <= 8 ? (4u << bits) : 0) + pixelBytes, 0);
  auto put = [&](size_t at, uint32_t value, int count) {
    for (int i = 0; i < count; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put(10, static_cast<uint32_t>(bytes.size() - pixelBytes), 4);
  put(14, 40, 4);
  put(18, static_cast<uint32_t>(width), 4);
  put(22, static_cast<uint32_t>(height), 4);
  put(26, 1, 2);
  put(28, bits, 2);
  put(30, compression, 4);
  put(34, sizeImage, 4);
  return bytes;
}

// The picture loader trusts offsets and sizes inside the file; only files whose claims
// hold reach it.
TEST(OpenRules, OnlyFilesWhoseClaimsHoldReachThePictureLoader) {
  const struct {
    std::vector<uint8_t> file;
    bool passes;
  } cases[] = {
      {Bmp(3, -2, 24, 0, 24), true},              // top-down, rows of 12 bytes
      {Bmp(3, -2, 24, 0, 23), false},             // a byte short
      {Bmp(2, 2, 8, 1, 10, 10), true},            // run-length, data size as held
      {Bmp(2, 2, 8, 2, 10, 10), false},           // RLE4 with 8 bits
      {Bmp(2, 2, 3, 0, 8), false},                // no such bit count
      {Bmp(0, 2, 24, 0, 8), false},
      {Bmp(2, 2, 24, 4, 8), false},               // embedded JPEG
      {std::vector<uint8_t>(40, 0x42), false},    // no format the loader knows
      {{0, 0, 1, 0, 0, 0, 0, 0, 0, 0}, false},    // an icon without images
      {{0, 0, 3, 0, 1, 0, 0, 0, 0, 0}, false},    // a zero word, then no icon type
      {{0xFF, 0xD8, 0xFF, 0xE0, 0, 0, 0, 0}, true},
      {{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0}, true},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    std::vector<uint8_t> file = cases[i].file;
    EXPECT_EQ(PrepareForPictureLoader(file), cases[i].passes) << "case " << i;
  }
  // Bit-field masks belong to 16 and 32 bits only: a 1-bit file with them is refused rather
  // than its colour table (here 262,144 entries claimed) taken for the 12 bytes of masks.
  std::vector<uint8_t> bitfields = Bmp(13, 3, 1, 3, 12);
  bitfields[48] = 4;
  EXPECT_FALSE(PrepareForPictureLoader(bitfields));
  // A run-length file that claims more data than it holds is cut to what it holds.
  std::vector<uint8_t> rle = Bmp(2, 2, 8, 1, 10, 5000);
  ASSERT_TRUE(PrepareForPictureLoader(rle));
  EXPECT_EQ(rle[34] | rle[35] << 8, 10);

  // Icons: the directory entry and the bitmap inside must fit.
  std::vector<uint8_t> icon = {0, 0, 1, 0, 1, 0, 2, 2, 0, 0, 1, 0, 32, 0, 0, 0, 0, 0, 22, 0, 0, 0};
  std::vector<uint8_t> image(48, 0);
  image[0] = 40;
  image[4] = 2;        // width 2
  image[8] = 4;        // height 2, twice for the mask
  image[12] = 1;
  image[14] = 32;      // 2 x 2 x 4 colour bytes, then 2 mask rows of 4
  image.resize(40 + 16 + 8);
  icon[14] = static_cast<uint8_t>(image.size());
  icon.insert(icon.end(), image.begin(), image.end());
  EXPECT_TRUE(PrepareForPictureLoader(icon));
  std::vector<uint8_t> shortIcon = icon;
  shortIcon.pop_back();
  EXPECT_FALSE(PrepareForPictureLoader(shortIcon));  // the entry runs past the file
  icon[14] -= 1;
  EXPECT_FALSE(PrepareForPictureLoader(icon));  // the mask does not fit the entry
}

TEST(OpenRules, NamesLeftForSaving) {
  const struct {
    const wchar_t* title;
    const wchar_t* path;
    int wantFilter;
    const wchar_t* wantTitle;
    const wchar_t* wantPath;
  } cases[] = {
      {L"photo.JPEG", L"C:\\p\\photo.JPEG", 2, L"photo.jpg", L"C:\\p\\photo.jpg"},
      {L"photo.jpe", L"C:\\p\\photo.jpe", 2, L"photo.jpg", L"C:\\p\\photo.jpg"},
      {L"photo.jpg", L"C:\\p\\photo.jpg", 2, L"photo.jpg", L"C:\\p\\photo.jpg"},
      {L"shot.bmp", L"C:\\p\\shot.bmp", 1, L"shot.bmp", L"C:\\p\\shot.bmp"},
      {L"logo.png", L"C:\\p\\logo.png", 1, L"logo", L"C:\\p\\logo"},
      {L"ab", L"C:\\p.d\\ab", 1, L"ab", L"C:\\p.d\\ab"},  // nothing to cut, not even the folder's dot
      {L"a.tiff", L"C:\\a.tiff", 1, L"a", L"C:\\a"},
      {L"xjpeg", L"C:\\xjpeg", 2, L"xjpeg.jpg", L"C:\\xjpeg.jpg"},
  };
  for (const auto& c : cases) {
    wchar_t title[260];
    wchar_t path[260];
    std::wcscpy(title, c.title);
    std::wcscpy(path, c.path);
    const FileKind kind = FileKindFromName(c.title);
    int filter = SaveFilterForKind(kind);
    LeaveNamesForSaving(kind, title, path, 260, &filter);
    EXPECT_EQ(filter, c.wantFilter) << static_cast<int>(c.title[0]);
    EXPECT_EQ(std::wstring(title), c.wantTitle);
    EXPECT_EQ(std::wstring(path), c.wantPath);
  }
}

}  // namespace
}  // namespace pictornx
