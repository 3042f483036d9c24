// The capture modes of requests 11 to 14. Each starts after the whole screen has been
// frozen into ScreenImage and WorkImage, and ends by cropping a rectangle of that frozen
// screen and opening the viewer on it, or by freeing the images.
#pragma once

#include <windows.h>

namespace pictornx {

// Results of the four starters: 0 started or done, 1 the mode's window already exists,
// -1 failed (the caller then ends the request as failed).
enum CaptureModeResult : int {
  kCaptureStarted = 0,
  kCaptureWindowExists = 1,
  kCaptureFailed = -1,
};

// Request 11: a full-screen window of the frozen screen on which the user drags a
// rectangle, with a crosshair and the pixel inspector.
int StartRangeCapture(HWND hostWindow);
// Request 12: a full-screen window of the frozen screen on which the user clicks a window.
int StartWindowPick(HWND hostWindow);
// Request 13: the foreground window's rectangle, at once.
int CaptureForegroundWindow(HWND hostWindow);
// Request 14: the whole screen captured again 5 seconds later (timer 112 on HostWindow).
int StartDelayedCapture();

// Whether the delayed capture still waits. A timer whose window has been destroyed never
// fires: that ends the wait (and its capture cycle) instead of refusing requests forever.
bool DelayedCapturePending();
// Stops a waiting delayed capture (the viewer's closing).
void CancelDelayedCapture();

// Copies the rectangle between the corners (x1, y1) and (x2, y2) (any order, larger
// coordinates excluded) of the frozen screen in WorkImage into ScreenImage, and makes it
// the source image. The rectangle is clipped to the screen first, whatever the caller
// passes. 0 done, 1 empty, 2 larger than the screen.
int CropScreenRect(int x1, int y1, int x2, int y2);

// The mode windows while they exist.
HWND RangeCaptureWindow();
HWND WindowPickWindow();

}  // namespace pictornx
