// The library's modeless tool windows besides the viewer: one handle each, kept here so
// the viewer and the host protocol can close, hide and show them together. Each window's
// own subsystem creates it and records its handle.
#pragma once

#include <windows.h>

namespace pictornx {

enum class ToolWindow {
  kPosterise,
  kArbitrarySize,
  kCursorPicker,
  kColourCount,
  kRgbGauge,
  kJpegPreview,
  kJpegSettings,
  kPixelInspector,
  kProgress,
  kCount,
};

// The window if it exists (a handle of a destroyed window reads as null).
HWND ToolWindowHandle(ToolWindow which);
void SetToolWindowHandle(ToolWindow which, HWND window);
// Sends WM_CLOSE to the window if it exists.
void CloseToolWindow(ToolWindow which);

// A dialog procedure for tool windows with nothing of their own to handle: WM_CLOSE
// destroys the window.
INT_PTR CALLBACK DefaultToolProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Closes the posterisation, arbitrary-size, cursor picker, colour-count and RGB gauge
// windows (the panels a host's hide request closes).
void CloseToolPanels();
// Shows or hides the JPEG preview and its settings panel.
void ShowJpegWindows(int showCommand);

}  // namespace pictornx
