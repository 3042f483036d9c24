// Helpers of the codec tests: temporary files, the independent tools (ImageMagick, djpeg,
// cjpeg, pngcheck) found by CMake, and builders for hand-made BMP and PNG files.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>
#include <zlib.h>

#include <array>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "pixels/image.h"
#include "pixels/image_buffer.h"

namespace pictornx::codec_test {

using Bytes = std::vector<uint8_t>;

inline std::string Tool(const char* path) { return path; }
inline const std::string kConvert = PICTORNX_CONVERT;
inline const std::string kCjpeg = PICTORNX_CJPEG;
inline const std::string kDjpeg = PICTORNX_DJPEG;
inline const std::string kPngcheck = PICTORNX_PNGCHECK;

#define REQUIRE_TOOL(tool) \
  if ((tool).empty()) GTEST_SKIP() << #tool " not installed (scripts/setup installs it)"

// A folder of its own for the running test, removed at the end.
class TempDir {
 public:
  TempDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = std::filesystem::temp_directory_path() /
            ("pictornx-" + std::string(info->test_suite_name()) + "-" + info->name() + "-" +
             std::to_string(::getpid()));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::string File(const std::string& name) const { return (path_ / name).string(); }
  std::filesystem::path Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

inline std::wstring Wide(const std::string& ascii) { return {ascii.begin(), ascii.end()}; }

inline Bytes ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteAll(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Runs a shell command; true when it exits 0. Output is discarded unless asked for.
inline bool RunTool(const std::string& command, std::string* output = nullptr) {
  FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return false;
  std::string text;
  char buffer[512];
  while (size_t got = std::fread(buffer, 1, sizeof buffer, pipe)) text.append(buffer, got);
  const int status = ::pclose(pipe);
  if (output != nullptr) *output = text;
  return status == 0;
}

inline std::string Quote(const std::string& s) { return "'" + s + "'"; }

// A binary PPM (P6, maxval 255) into the shared layout; empty on any parse failure.
inline ImageBuffer ParsePpm(const Bytes& file) {
  size_t at = 0;
  auto token = [&]() -> long {
    for (;;) {
      while (at < file.size() && std::isspace(file[at])) ++at;
      if (at < file.size() && file[at] == '#') {
        while (at < file.size() && file[at] != '\n') ++at;
        continue;
      }
      break;
    }
    long v = 0;
    bool any = false;
    while (at < file.size() && std::isdigit(file[at])) {
      v = v * 10 + (file[at++] - '0');
      any = true;
    }
    return any ? v : -1;
  };
  if (file.size() < 2 || file[0] != 'P' || file[1] != '6') return {};
  at = 2;
  const long w = token(), h = token(), maxval = token();
  ++at;  // the single white space after the maxval
  if (w <= 0 || h <= 0 || maxval != 255 || file.size() - at < static_cast<size_t>(w * h * 3)) return {};
  ImageBuffer image(static_cast<int>(w), static_cast<int>(h));
  for (int y = 0; y < h; ++y) {
    uint8_t* row = image.View().TopRow(y);
    for (int x = 0; x < w; ++x) {
      const uint8_t* p = &file[at + (static_cast<size_t>(y) * w + x) * 3];
      row[3 * x] = p[2];
      row[3 * x + 1] = p[1];
      row[3 * x + 2] = p[0];
    }
  }
  return image;
}

inline Bytes EncodePpm(ConstImageView image) {
  std::string header = "P6\n" + std::to_string(image.width) + " " + std::to_string(image.height) + "\n255\n";
  Bytes out(header.begin(), header.end());
  for (int y = 0; y < image.height; ++y) {
    const uint8_t* row = image.TopRow(y);
    for (int x = 0; x < image.width; ++x) {
      out.push_back(row[3 * x + 2]);
      out.push_back(row[3 * x + 1]);
      out.push_back(row[3 * x]);
    }
  }
  return out;
}

// ImageMagick's decode of a file, as 8-bit RGB (alpha dropped, no gamma applied).
inline ImageBuffer DecodeWithMagick(const std::string& path, const std::string& ppm) {
  if (!RunTool(kConvert + " " + Quote(path) + " -depth 8 " + Quote("ppm:" + ppm))) return {};
  return ParsePpm(ReadAll(ppm));
}

inline ImageBuffer DecodeWithDjpeg(const std::string& path, const std::string& ppm) {
  if (!RunTool(kDjpeg + " -rgb -outfile " + Quote(ppm) + " " + Quote(path))) return {};
  return ParsePpm(ReadAll(ppm));
}

// Pixel bytes equal, padding excluded; reports the first difference.
inline ::testing::AssertionResult SamePixels(ConstImageView a, ConstImageView b, int tolerance = 0) {
  if (a.width != b.width || a.height != b.height)
    return ::testing::AssertionFailure() << "sizes " << a.width << "x" << a.height << " and "
                                         << b.width << "x" << b.height;
  for (int y = 0; y < a.height; ++y)
    for (int x = 0; x < a.width * 3; ++x) {
      const int d = a.Row(y)[x] - b.Row(y)[x];
      if (d > tolerance || d < -tolerance)
        return ::testing::AssertionFailure() << "memory row " << y << " pixel " << x / 3 << " channel "
                                             << x % 3 << ": " << int{a.Row(y)[x]} << " vs " << int{b.Row(y)[x]};
    }
  return ::testing::AssertionSuccess();
}

inline bool PaddingZero(ConstImageView image) {
  const int64_t row = RowBytes(image.width);
  for (int y = 0; y < image.height; ++y)
    for (int64_t x = int64_t{image.width} * 3; x < row; ++x)
      if (image.Row(y)[x] != 0) return false;
  return true;
}

// Deterministic bytes.
class Random {
 public:
  explicit Random(uint32_t seed) : state_(seed * 2654435761u + 1) {}
  uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  uint8_t Byte() { return static_cast<uint8_t>(Next() >> 11); }

 private:
  uint32_t state_;
};

// A photo-like picture: smooth gradients and waves with a little noise.
inline ImageBuffer PhotoLike(int width, int height, uint32_t seed = 1) {
  ImageBuffer image(width, height);
  Random random(seed);
  for (int y = 0; y < height; ++y) {
    uint8_t* row = image.View().TopRow(y);
    for (int x = 0; x < width; ++x) {
      const int noise = static_cast<int>(random.Next() % 9) - 4;
      const int wave = ((x * 7 + y * 3) % 97) - 48;
      auto clamp = [](int v) { return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v); };
      row[3 * x] = clamp(x * 255 / width + noise);
      row[3 * x + 1] = clamp(y * 255 / height + wave / 3 + noise);
      row[3 * x + 2] = clamp(128 + wave + noise);
    }
  }
  return image;
}

inline ImageBuffer RandomImage(int width, int height, uint32_t seed) {
  ImageBuffer image(width, height);
  Random random(seed);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width * 3; ++x) image.View().Row(y)[x] = random.Byte();
  return image;
}

inline void Put16(Bytes& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
inline void Put32(Bytes& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}
inline void PutBe32(Bytes& b, uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) b.push_back(static_cast<uint8_t>(v >> s));
}

// A BMP of any header size, bit count and compression, with the given colour table
// (raw entries as stored) and raw rows (bottom row first, each padded to 4 bytes here).
struct BmpShape {
  uint32_t headerSize = 40;
  int width = 1;
  int height = 1;
  int bits = 24;
  uint32_t compression = 0;
  uint32_t clrUsed = 0;
  std::vector<uint32_t> masks;  // written right after a 40-byte header when given
  Bytes palette;                // raw bytes of the table
  std::vector<Bytes> rows;      // unpadded, bottom row first
};

inline Bytes MakeBmp(const BmpShape& s) {
  Bytes body;  // everything after the 14-byte file header
  Put32(body, s.headerSize);
  if (s.headerSize == 12) {
    Put16(body, static_cast<uint32_t>(s.width));
    Put16(body, static_cast<uint32_t>(s.height));
    Put16(body, 1);
    Put16(body, static_cast<uint32_t>(s.bits));
  } else {
    Put32(body, static_cast<uint32_t>(s.width));
    Put32(body, static_cast<uint32_t>(s.height));
    Put16(body, 1);
    Put16(body, static_cast<uint32_t>(s.bits));
    Put32(body, s.compression);
    Put32(body, 0);  // biSizeImage
    Put32(body, 2835);
    Put32(body, 2835);
    Put32(body, s.clrUsed);
    Put32(body, 0);
    if (s.headerSize == 108) {
      // BITMAPV4HEADER: the masks, then the colour-space type 'sRGB' and zeros.
      for (int i = 0; i < 4; ++i) Put32(body, i < static_cast<int>(s.masks.size()) ? s.masks[i] : 0);
      Put32(body, 0x73524742);
      body.resize(s.headerSize, 0);
    } else {
      for (uint32_t m : s.masks) Put32(body, m);
    }
  }
  body.insert(body.end(), s.palette.begin(), s.palette.end());
  const uint32_t offset = 14 + static_cast<uint32_t>(body.size());
  for (const Bytes& row : s.rows) {
    body.insert(body.end(), row.begin(), row.end());
    body.resize(body.size() + (4 - row.size() % 4) % 4, 0);
  }
  Bytes file = {'B', 'M'};
  Put32(file, 14 + static_cast<uint32_t>(body.size()));
  Put32(file, 0);
  Put32(file, offset);
  file.insert(file.end(), body.begin(), body.end());
  return file;
}

// A PNG chunk: length, type, data, CRC.
inline void PngChunk(Bytes& file, const char* type, const Bytes& data) {
  PutBe32(file, static_cast<uint32_t>(data.size()));
  Bytes typed(type, type + 4);
  typed.insert(typed.end(), data.begin(), data.end());
  file.insert(file.end(), typed.begin(), typed.end());
  PutBe32(file, static_cast<uint32_t>(crc32(0, typed.data(), static_cast<uInt>(typed.size()))));
}

// A non-interlaced PNG from raw scanlines (filter byte 0 added here), with extra chunks
// (type and data) placed before IDAT.
inline Bytes MakePng(int width, int height, int depth, int colourType, const std::vector<Bytes>& rows,
                     const std::vector<std::pair<std::string, Bytes>>& chunks = {}) {
  Bytes file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes ihdr;
  PutBe32(ihdr, static_cast<uint32_t>(width));
  PutBe32(ihdr, static_cast<uint32_t>(height));
  ihdr.push_back(static_cast<uint8_t>(depth));
  ihdr.push_back(static_cast<uint8_t>(colourType));
  ihdr.push_back(0);
  ihdr.push_back(0);
  ihdr.push_back(0);
  PngChunk(file, "IHDR", ihdr);
  for (const auto& [type, data] : chunks) PngChunk(file, type.c_str(), data);
  Bytes raw;
  for (const Bytes& row : rows) {
    raw.push_back(0);
    raw.insert(raw.end(), row.begin(), row.end());
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  Bytes packed(packedSize);
  compress(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()));
  packed.resize(packedSize);
  PngChunk(file, "IDAT", packed);
  PngChunk(file, "IEND", {});
  return file;
}

}  // namespace pictornx::codec_test
