// The three channel panels of the JPEG preview: red, green and blue difference traces
// drawn over a grid in 128 x 135 pictures, one per panel control.
#pragma once

#include <windows.h>

#include "pixels/image.h"
#include "ui/surface.h"

namespace pictornx {

// The three panel pictures with their title bands and strings 102-104. False: out of memory.
bool BuildChannelPanelPictures(HWND owner, Surface (&panels)[3]);
// Clears the plots (white / 0x90FFFF with a range), grid, and draws the traces of `region`
// (the whole image when range is null; else the range in picture coordinates).
void DrawChannelPanels(Surface (&panels)[3], ConstImageView source, ConstImageView jpeg, const PixelRect* range, bool gain2);
// WM_PAINT of a panel control: rounded clip (corner 10), white fill, copy the picture.
void PaintChannelPanel(HWND control, const Surface& panel);

}  // namespace pictornx
