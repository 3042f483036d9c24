// What the two full-screen capture windows share: the window itself (template 137 over the
// whole screen), its 2-minute timer, painting the frozen screen, the dialog procedure's
// skeleton, the start sequence and the tail every way out of the window ends in. Each mode
// hands its own parts over in a CaptureMode table.
#pragma once

#include <windows.h>

#include "capture/capture_rules.h"
#include "imagestore/image_buffers.h"

namespace pictornx {

// Creates a capture window owned by `owner` with `proc`, hidden; null on failure.
HWND CreateCaptureWindow(HWND owner, DLGPROC proc);

// Timer 110: the window gives the mode up when left alone this long.
inline constexpr UINT kCaptureTimeoutMs = 120000;
bool StartCaptureTimeout(HWND window);

// Draws `image` at (0, 0) of `dc`, realising ScreenPalette on 8-bit displays.
void DrawFrozenScreen(HDC dc, const SharedImage& image);

// The window's pointer, given on WM_SETCURSOR over its client area rather than through
// the dialog class's cursor, which every dialog of the host process shares.
INT_PTR SetCaptureCursor(HWND window, LPARAM lParam, LPCWSTR cursor);

// After a capture window closed: the source image for the corners, and the viewer on it;
// the images are freed when either fails.
void CropAndOpenViewer(int x1, int y1, int x2, int y2);

// What every capture mode's state holds, one instance per mode.
struct CaptureWindowState {
  HWND window = nullptr;
  bool timerRunning = false;  // timer 110
  bool keepImages = false;    // the window closes for a crop: the images stay
};

// One mode's own parts of the capture window. Handlers left null do nothing.
struct CaptureMode {
  CaptureWindowState& (*state)();
  LPCWSTR cursor;          // over the client area, and set at the start
  HWND placeAfter;         // SetWindowPos's z-order and flags when the window is shown
  UINT placeFlags;
  void (*reset)();                       // the mode's state, once the window exists
  void (*opening)(HWND window);          // shown, before it is made the foreground window
  void (*opened)(HWND window);           // after, just before the timer starts
  void (*paint)(HWND window, HDC dc);    // WM_PAINT, with BeginPaint's DC
  void (*mouseMove)(HWND window, IntPoint at);
  void (*leftDown)(HWND window, IntPoint at);
  void (*leftUp)(HWND window, IntPoint at);  // null: left to the dialog manager
  void (*keyDown)(HWND window, WPARAM key);  // null: any key closes the window
  void (*closing)(HWND window);          // in EndCaptureWindow, before DestroyWindow
  void (*release)(HWND window);          // WM_DESTROY, before the images are let go
};

// The mode's window while it exists.
HWND LiveCaptureWindow(const CaptureMode& mode);

// Creates, shows and activates the mode's window with `proc` (which passes its messages to
// CaptureWindowMessage) over the frozen screen, and starts its timer. A CaptureModeResult;
// a window that cannot be made frees the capture's images.
int StartCaptureWindow(const CaptureMode& mode, DLGPROC proc, HWND hostWindow);

// The dialog procedure of a capture window in `mode`.
INT_PTR CaptureWindowMessage(const CaptureMode& mode, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Closes the window; `keepImages` when the caller goes on to crop them. Its WM_DESTROY lets
// go of what the window holds, frees the cycle's images unless they are kept (or a viewer
// opened meanwhile owns them) and brings the host back.
void EndCaptureWindow(const CaptureMode& mode, HWND window, bool keepImages);

}  // namespace pictornx
