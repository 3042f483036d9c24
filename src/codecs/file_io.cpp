#include "codecs/file_io.h"

#include <cstdlib>
#include <cstdint>
#include <cstring>
#include <cwchar>

namespace pictornx {

std::FILE* OpenPath(const wchar_t* path, const char* mode) {
  if (path == nullptr) return nullptr;
#ifdef _WIN32
  const wchar_t wideMode[3] = {static_cast<wchar_t>(mode[0]), static_cast<wchar_t>(mode[1]), 0};
  return _wfopen(path, wideMode);
#else
  // wchar_t is UTF-32 here: encode it as UTF-8, the file system's encoding.
  const size_t length = std::wcslen(path);
  char* utf8 = static_cast<char*>(std::malloc(length * 4 + 1));
  if (utf8 == nullptr) return nullptr;
  char* p = utf8;
  for (size_t i = 0; i < length; ++i) {
    auto c = static_cast<uint32_t>(path[i]);
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
    if (c < 0x80) {
      *p++ = static_cast<char>(c);
    } else if (c < 0x800) {
      *p++ = static_cast<char>(0xC0 | (c >> 6));
      *p++ = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      *p++ = static_cast<char>(0xE0 | (c >> 12));
      *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      *p++ = static_cast<char>(0x80 | (c & 0x3F));
    } else {
      *p++ = static_cast<char>(0xF0 | (c >> 18));
      *p++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      *p++ = static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  *p = 0;
  std::FILE* file = std::fopen(utf8, mode);
  std::free(utf8);
  return file;
#endif
}

ByteBlock::~ByteBlock() { std::free(data_); }

ByteBlock::ByteBlock(ByteBlock&& other) noexcept : data_(other.data_), size_(other.size_) {
  other.data_ = nullptr;
  other.size_ = 0;
}

ByteBlock& ByteBlock::operator=(ByteBlock&& other) noexcept {
  if (this != &other) {
    Adopt(other.data_, other.size_);
    other.data_ = nullptr;
    other.size_ = 0;
  }
  return *this;
}

void ByteBlock::Adopt(uint8_t* data, size_t size) {
  std::free(data_);
  data_ = data;
  size_ = size;
}

CodecResult LoadFile(const wchar_t* path, ByteBlock* out) {
  std::FILE* file = OpenPath(path, "rb");
  if (file == nullptr) return CodecFail(CodecStatus::kCannotOpen, "file cannot be opened");
  // ftell is a long: 32 bits on Windows, so a file of 2 GiB or more fails here (refused).
  long length = -1;
  if (std::fseek(file, 0, SEEK_END) == 0) length = std::ftell(file);
  if (length < 0 || length > kMaxFileBytes || std::fseek(file, 0, SEEK_SET) != 0) {
    std::fclose(file);
    return CodecFail(CodecStatus::kOutOfMemory, "file too large");
  }
  const auto size = static_cast<size_t>(length);
  auto* data = static_cast<uint8_t*>(std::malloc(size > 0 ? size : 1));
  if (data == nullptr) {
    std::fclose(file);
    return CodecFail(CodecStatus::kOutOfMemory, "no memory for the file");
  }
  const size_t got = std::fread(data, 1, size, file);
  std::fclose(file);
  if (got != size) {
    std::free(data);
    return CodecFail(CodecStatus::kCorrupt, "file read short");
  }
  out->Adopt(data, size);
  return CodecOk();
}

bool OutputWrite(ByteOutput* out, const void* bytes, size_t count) {
  if (out->failed) return false;
  if (count == 0) return true;
  if (out->file != nullptr) {
    if (std::fwrite(bytes, 1, count, out->file) != count) out->failed = true;
    return !out->failed;
  }
  if (count > out->capacity - out->size) {
    size_t capacity = out->capacity < 4096 ? 4096 : out->capacity;
    while (capacity - out->size < count) {
      if (capacity > SIZE_MAX / 2) {
        out->failed = true;
        return false;
      }
      capacity *= 2;
    }
    auto* grown = static_cast<uint8_t*>(std::realloc(out->data, capacity));
    if (grown == nullptr) {
      out->failed = true;
      return false;
    }
    out->data = grown;
    out->capacity = capacity;
  }
  std::memcpy(out->data + out->size, bytes, count);
  out->size += count;
  return true;
}

void OutputRelease(ByteOutput* out, ByteBlock* block) {
  block->Adopt(out->data, out->size);
  out->data = nullptr;
  out->size = out->capacity = 0;
}

void OutputFree(ByteOutput* out) {
  std::free(out->data);
  out->data = nullptr;
  out->size = out->capacity = 0;
}

}  // namespace pictornx
