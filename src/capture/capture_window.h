// What the two full-screen capture windows share: the window itself (template 137 over the
// whole screen), its 2-minute timer, and painting the frozen screen.
#pragma once

#include <windows.h>

#include "imagestore/image_buffers.h"

namespace pictornx {

// Creates a capture window owned by `owner` with `proc`, hidden; null on failure.
HWND CreateCaptureWindow(HWND owner, DLGPROC proc);

// Timer 110: the window gives the mode up when left alone this long.
inline constexpr UINT kCaptureTimeoutMs = 120000;
bool StartCaptureTimeout(HWND window);

// Draws `image` at (0, 0) of `dc`, realising ScreenPalette on 8-bit displays.
void DrawFrozenScreen(HDC dc, const SharedImage& image);

// A dialog procedure's answer to a message whose result is not its return value.
INT_PTR DialogResult(HWND window, LONG_PTR result);

// The window's pointer, given on WM_SETCURSOR over its client area rather than through
// the dialog class's cursor, which every dialog of the host process shares.
INT_PTR SetCaptureCursor(HWND window, LPARAM lParam, LPCWSTR cursor);

// After a capture window closed: the source image for the corners, and the viewer on it;
// the images are freed when either fails.
void CropAndOpenViewer(int x1, int y1, int x2, int y2);

}  // namespace pictornx
