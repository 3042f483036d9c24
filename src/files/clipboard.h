// The clipboard copy and the show-range command: a rectangle of WorkImage, the image as
// displayed, goes to the clipboard as one CF_DIB block or becomes the new 100 % image.
#pragma once

#include <windows.h>

#include "pixels/image.h"

namespace pictornx {

enum class CopyTarget { kClipboard = 0, kShowAsImage = 1 };

// Copies `range` (picture coordinates of WorkImage, top row 0; clipped to the image) with
// `viewer` as the owner of every message. 0 on success, -1 when refused or failed (the
// user has been told why).
int CopyOut(HWND viewer, CopyTarget target, PixelRect range);

// Command 32790: the whole displayed image to the clipboard, with its pop-up.
void CopyWholeImageCommand(HWND viewer);

}  // namespace pictornx
