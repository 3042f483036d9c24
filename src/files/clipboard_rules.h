// Pure rules of the clipboard copy: the screen-size guard and the rectangle a copy may
// take from the displayed image. Portable: no windows.h.
#pragma once

#include <cstdint>

#include "pixels/image.h"

namespace pictornx {

// True when a w x h copy is larger than the screen (cx x cy) plus 50 pixels each way, the
// size beyond which copying to the system clipboard is advised against.
bool ExceedsClipboardGuard(int64_t width, int64_t height, int screenWidth, int screenHeight);

// The part of `range` (picture coordinates, top row 0) that lies inside a width x height
// image: a drag whose mouse was captured may report points left of, above or beyond the
// image, and no copy reads outside it. Empty when nothing of the range is inside.
PixelRect ClipRangeToImage(PixelRect range, int width, int height);

// Bytes of the CF_DIB block for a w x h copy: the 40-byte header and the padded rows; -1
// for a size no image may have.
int64_t ClipboardBlockBytes(int width, int height);

}  // namespace pictornx
