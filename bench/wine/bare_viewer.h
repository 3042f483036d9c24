// The least a request that shows an image must cost: the viewer's dialog from template 132
// (its menu 132 and both scroll bars come with the template) made, given scroll ranges,
// shown, and the image painted once in WM_PAINT. A baseline for the Wine timing programs.
#pragma once

#include <windows.h>

#include "timing.h"

namespace timing {

struct BareImage {
  const BITMAPINFO* info;
  const void* bits;
  int width;
  int height;
};

inline INT_PTR CALLBACK BareViewerProc(HWND window, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(window, GWLP_USERDATA, lParam);
    return TRUE;
  }
  if (message != WM_PAINT) return FALSE;
  const auto* image = reinterpret_cast<const BareImage*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(image->width), static_cast<DWORD>(image->height), 0, 0, 0,
                    static_cast<UINT>(image->height), image->bits, image->info, DIB_RGB_COLORS);
  EndPaint(window, &paint);
  return TRUE;
}

// Milliseconds from creating the window to its first paint done; the window is destroyed
// afterwards, outside the time. `templates` holds dialog and menu 132.
inline double BareViewerMs(HINSTANCE templates, HWND owner, const BareImage& image) {
  const double start = Now();
  HWND window = CreateDialogParamW(templates, MAKEINTRESOURCEW(132), owner, BareViewerProc,
                                   reinterpret_cast<LPARAM>(&image));
  if (!window) return -1;
  SetScrollRange(window, SB_HORZ, 0, image.width, FALSE);
  SetScrollRange(window, SB_VERT, 0, image.height, FALSE);
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  const double elapsed = Now() - start;
  DestroyWindow(window);
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  return elapsed;
}

}  // namespace timing
