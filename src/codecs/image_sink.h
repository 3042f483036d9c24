// The destination of a reader. The reader checks the size in the file's header first, then
// calls Allocate exactly once, then decodes straight into the view it was given; so the
// Windows shell can decode into a DIB section without an intermediate buffer.
#pragma once

#include <cstdint>

#include "pixels/image.h"
#include "pixels/image_buffer.h"

namespace pictornx {

class ImageSink {
 public:
  virtual ~ImageSink() = default;
  // Provides a width x height view in the shared layout (bottom-up BGR rows, stride at
  // least RowBytes(width)). The caller promises every byte is zero, padding included, as a
  // new DIB section is: pixels a file does not hold are then black. Returns false when the
  // image cannot be created; the reader reports kOutOfMemory. After a failure later in the
  // decode the view's contents are unspecified and the caller should drop them.
  virtual bool Allocate(int width, int height, ImageView* out) = 0;
};

// A sink backed by an ImageBuffer, for portable tests, fuzzers and benchmarks. maxBytes
// lets a caller refuse sizes below the codecs' own cap (the fuzzers do).
class BufferSink final : public ImageSink {
 public:
  explicit BufferSink(int64_t maxBytes = kMaxImageBytes) : maxBytes_(maxBytes) {}
  bool Allocate(int width, int height, ImageView* out) override;

  ImageBuffer& Image() { return image_; }
  int Allocations() const { return allocations_; }

 private:
  ImageBuffer image_;
  int64_t maxBytes_;
  int allocations_ = 0;
};

}  // namespace pictornx
