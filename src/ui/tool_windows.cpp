#include "ui/tool_windows.h"

#include <initializer_list>

namespace pictornx {
namespace {

HWND g_windows[static_cast<int>(ToolWindow::kCount)] = {};

}  // namespace

HWND ToolWindowHandle(ToolWindow which) {
  HWND& window = g_windows[static_cast<int>(which)];
  if (window && !IsWindow(window)) window = nullptr;
  return window;
}

void SetToolWindowHandle(ToolWindow which, HWND window) { g_windows[static_cast<int>(which)] = window; }

void CloseToolWindow(ToolWindow which) {
  if (HWND window = ToolWindowHandle(which)) SendMessageW(window, WM_CLOSE, 0, 0);
}

INT_PTR CALLBACK DefaultToolProc(HWND window, UINT message, WPARAM, LPARAM) {
  if (message == WM_CLOSE) {
    DestroyWindow(window);
    return TRUE;
  }
  return message == WM_INITDIALOG;
}

void CloseToolPanels() {
  for (ToolWindow which : {ToolWindow::kPosterise, ToolWindow::kArbitrarySize, ToolWindow::kCursorPicker,
                           ToolWindow::kColourCount, ToolWindow::kRgbGauge})
    CloseToolWindow(which);
}

void ShowJpegWindows(int showCommand) {
  for (ToolWindow which : {ToolWindow::kJpegPreview, ToolWindow::kJpegSettings})
    if (HWND window = ToolWindowHandle(which)) ShowWindow(window, showCommand);
}

}  // namespace pictornx
