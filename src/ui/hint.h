// The hint window: a small pale yellow tip that the tool windows show under a control
// (or at a drawn hot spot) half a second after the pointer comes to rest on it.
#pragma once

#include <windows.h>

namespace pictornx {

// Not a control: the caller found the pointer over one of its own drawn hot spots.
inline constexpr int kHintHotSpot = 115;

// Called by a tool window at the start of every message it handles, once per control that
// has a hint, with the pointer's screen position (x, y).
void TrackHint(HWND window, int controlId, UINT stringId, int x, int y);
// The hint window's class name, string 14 (at most 11 characters), loaded once.
const wchar_t* HintClassName();
// As TrackHint for a drawn hot spot, with the text itself (several lines may be joined by
// "\n"); `spotId` tells the hot spots apart as string ids do.
void TrackHintText(HWND window, UINT spotId, const wchar_t* text, int x, int y);
// Closes the hint window if one exists.
void CloseHint();
// The hint window if one exists.
HWND HintWindow();

}  // namespace pictornx
