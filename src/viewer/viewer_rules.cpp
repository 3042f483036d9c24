#include "viewer/viewer_rules.h"

#include <algorithm>

namespace pictornx {

int ScrollMaximum(int imageSize, int clientSize) { return std::max(0, imageSize - clientSize); }

int ScrollStep(ScrollRequest request, int thumbPosition, int position, int maximum, int page) {
  int step = 0;
  switch (request) {
    case ScrollRequest::kLineBack: step = -1; break;
    case ScrollRequest::kLineForward: step = 1; break;
    case ScrollRequest::kPageBack: step = -page; break;
    case ScrollRequest::kPageForward: step = page; break;
    case ScrollRequest::kThumb:
      step = thumbPosition - position;
      if (thumbPosition + page > maximum) step += page;
      break;
    case ScrollRequest::kOther: break;
  }
  return std::clamp(step, -position, std::max(0, maximum - position));
}

std::optional<IntPoint> ArrowKeyPointerMove(IntRect visible, IntPoint pointer, ArrowKey key, int distance) {
  if (pointer.x < visible.left || pointer.x > visible.right || pointer.y < visible.top || pointer.y > visible.bottom)
    return std::nullopt;
  IntPoint moved = pointer;
  switch (key) {
    case ArrowKey::kLeft: moved.x -= distance; break;
    case ArrowKey::kRight: moved.x += distance; break;
    case ArrowKey::kUp: moved.y -= distance; break;
    case ArrowKey::kDown: moved.y += distance; break;
  }
  if (moved.x < visible.left || moved.x >= visible.right || moved.y < visible.top || moved.y >= visible.bottom)
    return std::nullopt;
  return moved;
}

IntRect KeepOnDesktop(IntRect window, IntRect desktop) {
  const int width = window.Width();
  const int height = window.Height();
  if (window.left < 0) window = {0, window.top, width, window.bottom};
  if (window.top < 0) window = {window.left, 0, window.right, height};
  if (window.bottom > desktop.bottom) window = {window.left, desktop.bottom - height, window.right, desktop.bottom};
  if (window.right > desktop.right) window = {desktop.right - width, window.top, desktop.right, window.bottom};
  return window;
}

double ZoomPresetFactor(int preset) {
  switch (preset) {
    case 0: return 0.25001;
    case 1: return 0.50001;
    case 2: return 0.75;
    case 3: return 1.0;
    case 4: return 1.5;
    case 5: return 2.0;
    default: return 0.0;
  }
}

}  // namespace pictornx
