#include "jpegpreview/preview_rules.h"

#include <algorithm>
#include <array>

namespace pictornx {
namespace {

constexpr std::array<int, 45> kNoticeRamp = {135, 133, 132, 131, 130, 126, 124, 122, 118, 115, 111, 107,
                                             103, 99,  97,  95,  93,  91,  88,  85,  83,  79,  76,  73,
                                             70,  66,  63,  60,  57,  55,  52,  50,  49,  48,  46,  44,
                                             43,  39,  35,  30,  24,  17,  11,  6,   3};

}  // namespace

PreviewPoint PreviewOpenPosition(const PreviewRect& saved, const PreviewRect& desktop) {
  if (!saved.Any()) return {desktop.right - 735, desktop.bottom - 490};
  // The bottom margin of 480 keeps the window clear of a task bar at the desktop's bottom.
  return {std::min(std::max(saved.left, 0), desktop.right - kPreviewWidth),
          std::min(std::max(saved.top, 0), desktop.bottom - 480)};
}

ViewGeometry ViewGeometryFor(int imageWidth, int imageHeight) {
  ViewGeometry g;
  g.visibleWidth = std::clamp(imageWidth, 0, kMaxVisibleWidth);
  g.visibleHeight = std::clamp(imageHeight, 0, kMaxVisibleHeight);
  g.limitX = std::max(imageWidth - g.visibleWidth, 0);
  g.limitY = std::max(imageHeight - g.visibleHeight, 0);
  return g;
}

ScrollStep DragScroll(PreviewPoint offset, const ViewGeometry& view, PreviewPoint from, PreviewPoint to) {
  const int wantX = offset.x - (to.x - from.x);
  const int wantY = offset.y - (to.y - from.y);
  ScrollStep step;
  step.offset = {std::clamp(wantX, 0, view.limitX), std::clamp(wantY, 0, view.limitY)};
  step.clamped = step.offset.x != wantX || step.offset.y != wantY;
  step.changed = step.offset != offset;
  return step;
}

int ViewCopyColumn(int offsetX, int imageWidth, int visibleWidth) {
  return std::max(std::min(offsetX, imageWidth - visibleWidth), 0);
}

int FileSizeBlackStart(uint32_t fileBytes) {
  if (fileBytes < 1000000u) return 612 + 20;
  if (fileBytes < 10000000u) return 612 + 14;
  if (fileBytes < 100000000u) return 612 + 8;
  return 612 + 1;
}

int NoticeIntensity(int row, int height) {
  // Boxes up to 45 rows take the ramp row by row; taller ones stretch it over their height.
  const double step = height < 46 ? 1.0 : 45.0 / height;
  const int index = std::clamp(static_cast<int>(row * step), 0, static_cast<int>(kNoticeRamp.size()) - 1);
  return kNoticeRamp[static_cast<size_t>(index)];
}

uint32_t NoticeRowColour(int row, int height, int style) {
  const uint32_t t = static_cast<uint32_t>(NoticeIntensity(row, height));
  if (style == 1) return (245u - t) << 16;
  const uint32_t yellow = t + 100u;
  return yellow | yellow << 8;
}

}  // namespace pictornx
