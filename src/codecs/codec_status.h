// What every reader and writer of src/codecs returns: a status, which the shell turns into
// the message the user reads (a broken file, too large for memory, cannot be opened or
// written), and a short reason for the developer. Nothing is thrown.
#pragma once

namespace pictornx {

enum class CodecStatus {
  kOk,
  kNotHandled,   // not this format, or a variant this reader leaves to the general reader
  kCorrupt,      // the data is broken or cut short
  kOutOfMemory,  // the size is refused (see kMaxCodecSide, kMaxImageBytes) or memory ran out
  kCannotOpen,   // the file could not be opened
  kWriteFailed,  // writing the file or the memory output failed part way
};

struct CodecResult {
  CodecStatus status = CodecStatus::kOk;
  const char* reason = "";  // a static string, never null

  bool Ok() const { return status == CodecStatus::kOk; }
};

inline CodecResult CodecOk() { return {}; }
inline CodecResult CodecFail(CodecStatus status, const char* reason) { return {status, reason}; }

// Longest side any reader accepts; every format's own limit is at or below it, and
// ImageBytes adds the 1 GiB cap on the pixel bytes. Refused sizes are kOutOfMemory.
inline constexpr int kMaxCodecSide = 65535;

}  // namespace pictornx
