// The rectangles of a window shape drawn in a bitmap: portable (no windows.h), so the
// window_shape.h region maker and the native tests share it.
#pragma once

#include <vector>

#include "pixels/image.h"

namespace pictornx {

enum class MaskKeeps { kKeyPixels, kOtherPixels };

// The pixels of `mask` that are (kKeyPixels) or are not (kOtherPixels) the colour `key`, as
// rectangles in picture coordinates: each row's runs, a run extended downward while the
// rows below have a run with the same ends. Rectangles do not overlap. May throw
// std::bad_alloc; the Win32 caller catches it.
std::vector<PixelRect> MaskRectangles(ConstImageView mask, Rgb key, MaskKeeps keeps);

}  // namespace pictornx
