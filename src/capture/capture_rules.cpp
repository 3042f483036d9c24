#include "capture/capture_rules.h"

#include <algorithm>
#include <cstdlib>

namespace pictornx {

PixelRect CornersToRect(int x1, int y1, int x2, int y2) {
  return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

PixelRect DragRect(IntPoint press, IntPoint release) {
  const PixelRect corners = CornersToRect(press.x, press.y, release.x, release.y);
  return {corners.left, corners.top, corners.right + 1, corners.bottom + 1};
}

PixelRect ClipToScreen(PixelRect rect, int screenWidth, int screenHeight) {
  return {std::max(rect.left, 0), std::max(rect.top, 0), std::min(rect.right, screenWidth),
          std::min(rect.bottom, screenHeight)};
}

CropPlan PlanScreenCrop(int x1, int y1, int x2, int y2, int screenWidth, int screenHeight) {
  // Differences in 64 bits: corners far apart (a pointer on another monitor, a window
  // parked at -32000) must not overflow into a plausible size.
  const int64_t width = std::llabs(int64_t{x1} - x2);
  const int64_t height = std::llabs(int64_t{y1} - y2);
  if (width <= 0 || height <= 0) return {kCropEmpty, {}};
  if (width > screenWidth || height > screenHeight) return {kCropLargerThanScreen, {}};
  const PixelRect clipped = ClipToScreen(CornersToRect(x1, y1, x2, y2), screenWidth, screenHeight);
  if (clipped.Empty()) return {kCropEmpty, {}};
  return {kCropDone, clipped};
}

void CaptureSizeText(IntPoint press, IntPoint current, TextWriter& out) {
  const int64_t width = std::llabs(int64_t{current.x} - press.x) + 1;
  const int64_t height = std::llabs(int64_t{current.y} - press.y) + 1;
  out.Add(L"X=").AddNumber(width).Add(L" ,Y=").AddNumber(height);
}

IntPoint CaptureTextAnchor(IntPoint press, IntPoint current) {
  const PixelRect corners = CornersToRect(press.x, press.y, current.x, current.y);
  return {static_cast<int>(corners.left + (int64_t{corners.right} - corners.left) / 2),
          static_cast<int>(corners.top + (int64_t{corners.bottom} - corners.top) / 2)};
}

std::optional<IntPoint> CaptureArrowMove(PixelRect window, IntPoint pointer, ArrowKey key, int distance) {
  if (!window.Contains(pointer.x, pointer.y)) return std::nullopt;
  IntPoint moved = pointer;
  switch (key) {
    case ArrowKey::kLeft: moved.x = std::max(pointer.x - distance, window.left); break;
    case ArrowKey::kRight: moved.x = std::min(pointer.x + distance, window.right - 1); break;
    case ArrowKey::kUp: moved.y = std::max(pointer.y - distance, window.top); break;
    case ArrowKey::kDown: moved.y = std::min(pointer.y + distance, window.bottom - 1); break;
  }
  if (moved == pointer) return std::nullopt;
  return moved;
}

IntPoint ClampToScreen(IntPoint point, int width, int height) {
  return {std::clamp(point.x, 0, std::max(width, 1) - 1), std::clamp(point.y, 0, std::max(height, 1) - 1)};
}

}  // namespace pictornx
