// The JPEG preview's painted controls: the three view tabs, the plate and sprite sheet of
// the whole / range / gain buttons, and the frame drawn round a selected range.
#pragma once

#include <windows.h>

#include "pixels/image.h"
#include "ui/surface.h"

namespace pictornx {

// Built once when the preview opens, released with it.
struct PreviewSprites {
  Surface tabs;     // 3 x 3 cells of 68 x 17: columns the looks (normal, selected, pressed), rows the tabs
  Surface buttons;  // 4 x 4 cells of 23 x 16: columns whole, range, gain x2, gain x1; rows the looks
  Surface plate;    // 93 x 19, the plate under the buttons; pure blue is not copied
};

bool BuildPreviewSprites(HWND window, PreviewSprites& out);
// Tabs at x 623, y 101/121/138 with the shaded strokes; selected 0..2, pressed -1 or 0..2.
void DrawTabs(Surface& face, const PreviewSprites& sprites, int selected, int pressed);
void DrawButtonPlate(Surface& face, const PreviewSprites& sprites);
void DrawDiffButtons(Surface& face, const PreviewSprites& sprites, int wholeLook, int rangeLook, int gainState);
// The six boxes of the range frame into ViewImage's DC (view coordinates); xorFirst when ViewMode is 0.
void DrawRangeFrame(HDC viewImageDc, PixelRect range, bool xorFirst);

}  // namespace pictornx
