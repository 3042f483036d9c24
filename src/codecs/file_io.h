// Files and memory outputs for the codecs. Paths are UTF-16 on Windows (_wfopen, so names
// in Japanese open on any locale); natively the same wchar_t string is encoded as UTF-8,
// so both builds and all tests pass paths as L"...".
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>

#include "codecs/codec_status.h"

namespace pictornx {

// Files larger than this are refused as kOutOfMemory before they are read.
inline constexpr int64_t kMaxFileBytes = int64_t{1} << 30;

// fopen of a wide path; mode is "rb" or "wb". Null when it cannot be opened.
std::FILE* OpenPath(const wchar_t* path, const char* mode);

// A malloc'd block: the whole of a file read in, or what an encoder wrote to memory.
class ByteBlock {
 public:
  ByteBlock() = default;
  ~ByteBlock();
  ByteBlock(ByteBlock&& other) noexcept;
  ByteBlock& operator=(ByteBlock&& other) noexcept;
  ByteBlock(const ByteBlock&) = delete;
  ByteBlock& operator=(const ByteBlock&) = delete;

  const uint8_t* data() const { return data_; }
  size_t size() const { return size_; }
  std::span<const uint8_t> Span() const { return {data_, size_}; }
  // Takes ownership of a malloc'd block.
  void Adopt(uint8_t* data, size_t size);

 private:
  uint8_t* data_ = nullptr;
  size_t size_ = 0;
};

// Reads a whole file into out: kCannotOpen, kOutOfMemory (larger than kMaxFileBytes or no
// memory) or kCorrupt (read short).
CodecResult LoadFile(const wchar_t* path, ByteBlock* out);

// Where an encoder's bytes go: a file, or a growing malloc'd block. Plain C layout, so the
// encoders can hold it across setjmp.
struct ByteOutput {
  std::FILE* file = nullptr;
  uint8_t* data = nullptr;
  size_t size = 0;
  size_t capacity = 0;
  bool failed = false;  // a write did not complete; later writes are refused
};

// Appends bytes; false (and failed set) when the file write or the allocation fails.
bool OutputWrite(ByteOutput* out, const void* bytes, size_t count);
// Hands the memory output's block to block (and leaves out empty).
void OutputRelease(ByteOutput* out, ByteBlock* block);
// Frees the memory output's block.
void OutputFree(ByteOutput* out);

}  // namespace pictornx
