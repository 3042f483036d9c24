#include "pixels/image_buffer.h"

namespace pictornx {

ImageBuffer::ImageBuffer(int width, int height) {
  const int64_t bytes = ImageBytes(width, height);
  if (bytes < 0) return;
  bytes_.assign(static_cast<size_t>(bytes), 0);
  width_ = width;
  height_ = height;
  stride_ = static_cast<int>(RowBytes(width));
}

}  // namespace pictornx
