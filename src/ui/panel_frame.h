// What the floating panels (posterisation, arbitrary size, colour count) and the RGB gauge
// share: a capsule outline, an orange frame two pixels wide along it, hints tracked at the
// start of every message, and moving the window by a press on its body.
#pragma once

#include <windows.h>

#include <span>

#include "ui/painted_window.h"
#include "win/handles.h"

namespace pictornx {

inline constexpr COLORREF kPanelFrameColour = 0x000096DC;  // red 220, green 150, blue 0

// The outline of a width x height panel in window coordinates: the rectangle (8, 2) -
// (w - 9, h - 1) with an ellipse (2, 2) - (18, h - 1) at its left end and (w - 17, 2) -
// (w - 1, h - 1) at its right end. Empty when memory runs out.
OwnedRegion PanelOutline(int width, int height);
// Gives `panel` the outline of its current window size; false when it could not.
bool ShapePanel(HWND panel);
// Frames the outline, two pixels wide and tall, into `dc` (the panel's client DC: the
// panels have no border, so window and client coordinates agree).
void PaintPanelFrame(HWND panel, HDC dc);

// For a panel's dialog procedure, called first with every message: tracks the hints, moves
// the panel on a press on its body (after closing the hint), releases the capture when the
// button comes up, and paints the frame on WM_PAINT. True when the message is handled.
bool PanelMessage(HWND panel, UINT message, std::span<const HintSpot> hints);

}  // namespace pictornx
