// 24-bit bottom-up DIB sections: the pixel buffers every image of the library lives in.
#pragma once

#include <windows.h>

#include <utility>

#include "win/handles.h"
#include "pixels/image.h"

namespace pictornx {

// Fills a BITMAPINFOHEADER for a 24-bit bottom-up image of the given size.
void SetImageHeader(BITMAPINFOHEADER& header, int width, int height);

// A DIB section with its pixel view. Empty (no bitmap, null bits) when creation failed.
// Movable; a moved-from section is empty too, so no view outlives its pixels' owner.
struct DibSection {
  OwnedBitmap bitmap;
  ImageView view;

  DibSection() = default;
  DibSection(DibSection&& other) noexcept
      : bitmap(std::move(other.bitmap)), view(std::exchange(other.view, ImageView{})) {}
  DibSection& operator=(DibSection&& other) noexcept {
    if (this != &other) {
      bitmap = std::move(other.bitmap);
      view = std::exchange(other.view, ImageView{});
    }
    return *this;
  }
  explicit operator bool() const { return static_cast<bool>(bitmap); }
  void Reset() {
    bitmap.Reset();
    view = {};
  }
};

// Creates a 24-bit DIB section of width x height. Sizes refused by ImageBytes and
// failures of CreateDIBSection give an empty DibSection.
DibSection CreateDib24(int width, int height);

#ifdef PICTORNX_TEST_SEAMS
namespace testing {
// Lets the next `successes` DIB sections be created, then makes every later one fail,
// as CreateDIBSection does when memory runs out. A negative value turns failures off.
void FailDibSectionsAfter(int successes);
// How many DIB sections were asked for (of a size ImageBytes accepts) since the start.
int DibSectionsRequested();
}  // namespace testing
#endif

}  // namespace pictornx
