// The viewer's connections to the pixel inspector: feeding it the pointed image point,
// opening it on a left press, and the measurement while the left button is held.
#pragma once

#include <windows.h>

namespace pictornx {

// WM_MOUSEMOVE at client (x, y): updates the inspector (and the measurement while the
// left button is held, Selection().dragging) when the point lies on the image.
void FeedInspectorOnMove(HWND viewer, int x, int y);
// WM_LBUTTONDOWN at client (x, y): starts the measurement when the inspector is open, or
// opens it in single mode; false when it could not be opened (the press is then ignored).
bool InspectorOnLeftDown(HWND viewer, int x, int y);
// WM_LBUTTONUP: ends the measurement and the crosshair.
void InspectorOnLeftUp();
// After the arrow keys moved the pointer: the inspector shows the new point.
void RefreshInspectorAtPointer(HWND viewer);

}  // namespace pictornx
