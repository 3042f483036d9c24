// The WM_PAINT pair: BeginPaint on construction, EndPaint on destruction.
#pragma once

#include <windows.h>

namespace pictornx {

// Owns one BeginPaint/EndPaint pair, so every way out of a paint handler (an early return
// on a failed DC included) gives the DC back and shows the caret BeginPaint hid. The update
// region is validated by BeginPaint itself: a handler that paints through another DC keeps
// the scope short, ending it before it paints.
class PaintScope {
 public:
  explicit PaintScope(HWND window) : window_(window) { dc_ = BeginPaint(window_, &paint_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  ~PaintScope() { EndPaint(window_, &paint_); }

  // Null when BeginPaint failed.
  HDC Dc() const { return dc_; }
  // rcPaint is the part of the client area to paint.
  const PAINTSTRUCT& Paint() const { return paint_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_ = nullptr;
};

}  // namespace pictornx
