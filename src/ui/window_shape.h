// Window shapes for the painted windows: regions in window coordinates, and the one way to
// hand a region to SetWindowRgn. A region given to SetWindowRgn belongs to the system when
// the call succeeds and stays ours when it fails; SetWindowShape keeps that rule.
#pragma once

#include <windows.h>

#include "pixels/image.h"
#include "ui/window_shape_rules.h"
#include "win/handles.h"

namespace pictornx {

// width x height pixels with corners rounded by an ellipse `cornerDiameter` wide and tall
// (the pixels FillRoundRect in ui/draw.h covers). Empty on failure.
OwnedRegion RoundRectRegion(int width, int height, int cornerDiameter);
// The pixels of `mask` that are (or are not) the colour `key`, with the mask's top-left at
// (x, y). Empty when the mask is empty, holds no such pixel, or memory runs out.
OwnedRegion MaskRegion(ConstImageView mask, Rgb key, MaskKeeps keeps, int x = 0, int y = 0);

// Gives `region` to `window` (null removes the shape). True on success, when the system
// owns the region; on failure the region is deleted here.
bool SetWindowShape(HWND window, OwnedRegion region, bool redraw = true);

}  // namespace pictornx
