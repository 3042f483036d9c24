#include "codecs/image_sink.h"

#include <new>

namespace pictornx {

bool BufferSink::Allocate(int width, int height, ImageView* out) {
  ++allocations_;
  const int64_t bytes = ImageBytes(width, height);
  if (bytes < 0 || bytes > maxBytes_) return false;
  try {
    image_ = ImageBuffer(width, height);
  } catch (const std::bad_alloc&) {
    return false;
  }
  if (image_.Empty()) return false;
  *out = image_.View();
  return true;
}

}  // namespace pictornx
