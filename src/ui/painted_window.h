// Behaviour the painted windows share besides their face (ui/surface.h), shape
// (ui/window_shape.h) and buttons (ui/painted_button_rules.h): subclassed child controls,
// the hint table, and moving a window by a press on its body.
#pragma once

#include <windows.h>

#include <span>

#include "pixels/image.h"

namespace pictornx {

// Subclasses `control` with `proc`, keeping the old procedure in a window property.
// False when the control is already subclassed this way or the property cannot be set.
bool SubclassControl(HWND control, WNDPROC proc);
// For `proc`: passes a message on to the old procedure. On WM_NCDESTROY it first puts the
// old procedure back and drops the property, so a destroyed control leaves nothing behind.
LRESULT CallOldProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
// Puts the old procedure back now (a no-op for a control that is not subclassed).
void RemoveSubclass(HWND control);

// One hint: a child control by id, or (controlId 0) a rectangle of the client area.
struct HintSpot {
  int controlId = 0;
  PixelRect area{};
  UINT stringId = 0;
};
// Call at the start of every message of `window`: tracks the pointer against each entry
// through TrackHint (ui/hint.h), rectangles as kHintHotSpot while the pointer is in them.
void TrackHints(HWND window, std::span<const HintSpot> spots);

// For WM_LBUTTONDOWN on the window's body: closes any hint and moves the window as a drag
// of its caption would (returns when the move ends).
void DragByBody(HWND window);

}  // namespace pictornx
