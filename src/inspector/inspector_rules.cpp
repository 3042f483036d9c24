#include "inspector/inspector_rules.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace pictornx {

InspectorLayout LayoutInspector(int width, bool compare, int titleHeight) {
  InspectorLayout layout;
  layout.width = width;
  layout.titleHeight = titleHeight;
  layout.height = compare ? titleHeight + width / 2 : width + titleHeight;
  layout.wide = width >= 200;
  layout.titleEnd = layout.wide ? 181 : 89;
  layout.top = titleHeight + 2;
  layout.right = width - 4;
  layout.bottom = layout.height - 3;
  layout.centre = (width - 7) / 2 + 3;
  layout.viewWidth = compare ? layout.centre - 4 : width - 7;
  layout.viewHeight = layout.bottom - layout.top;
  layout.rightViewWidth = layout.right - layout.centre - 1;
  layout.panelLeft = layout.wide ? layout.titleEnd - 154 : 4;
  return layout;
}

ScreenPoint InspectorOpenPosition(const ScreenRect& remembered, const ScreenRect& desktop, ScreenPoint ownerTopLeft,
                                  int width, int height) {
  if (remembered == ScreenRect{}) return {ownerTopLeft.x + 10, ownerTopLeft.y + 10};
  const int x = std::min(std::max(remembered.left, 0), desktop.right - width);
  const int y = std::min(std::max(remembered.top, 0), desktop.bottom - height - 30);
  return {x, y};
}

ScreenPoint ReadoutOpenPosition(const ScreenRect& remembered, const InspectorLayout& layout) {
  if (remembered == ScreenRect{}) return {5, 20};
  int x = std::max(remembered.left, 0);
  x = std::min(x, layout.width - 114);
  int y = std::max(remembered.top, layout.titleHeight + 2);
  y = std::min(y, layout.height - 16);
  return {x, y};
}

ScreenPoint ConfineReadout(ScreenPoint at, int width, int height, const InspectorLayout& layout) {
  ScreenPoint moved = at;
  if (moved.x + width > layout.width - 3) moved.x = layout.width - 3 - width;
  if (moved.y + height > layout.height - 3) moved.y = layout.height - 3 - height;
  moved.x = std::max(moved.x, 3);
  moved.y = std::max(moved.y, layout.titleHeight + 2);
  return moved;
}

int DecimalDigitCount(int64_t value) {
  int count = 1;
  for (value = value < 0 ? -value : value; value >= 10; value /= 10) ++count;
  return count;
}

DigitPlace TitleDigits(int value, int unitsX, int wideUnitsX) {
  if (value >= 1000) return {wideUnitsX, 6};
  return {unitsX, 7};
}

int ReadoutValueX(int value, int base) {
  switch (DecimalDigitCount(value)) {
    case 1: return base - 10;
    case 2: return base - 5;
    default: return base;
  }
}

int MeasureValueX(int value, int base) {
  switch (DecimalDigitCount(value)) {
    case 1: return base - 12;
    case 2: return base - 8;
    case 3: return base - 5;
    default: return base;
  }
}

int AngleValueX(int angle) {
  switch (DecimalDigitCount(angle)) {
    case 1: return 98 - 5;
    case 2: return 98 - 2;
    default: return 98;
  }
}

ReadoutRead ReadPointedPixel(ConstImageView source, int64_t x, int64_t y, Rgb& rgb) {
  // A captured drag reports points left of and above the image too: a negative row is as
  // far outside as one below the image, a negative column as one right of it.
  if (source.Empty() || y >= source.height || y < 0) return ReadoutRead::kBelowImage;
  if (x > 9999) return ReadoutRead::kColumnTooFar;
  if (y > 9999) return ReadoutRead::kRowTooFar;
  if (x < 0 || x >= source.width) {
    rgb = {};
    return ReadoutRead::kRead;
  }
  const uint8_t* pixel = source.TopRow(static_cast<int>(y)) + x * 3;
  rgb = {pixel[2], pixel[1], pixel[0]};
  return ReadoutRead::kRead;
}

Measurement MeasureFrom(int64_t anchorX, int64_t anchorY, int64_t x, int64_t y) {
  const int64_t width = std::llabs(x - anchorX) + 1;
  const int64_t height = std::llabs(y - anchorY) + 1;
  // The factor is slightly below 180 / pi, and the rounding looks at the first decimal only.
  const double a = std::atan2(static_cast<double>(height - 1), static_cast<double>(width - 1)) * 57.22151401768144;
  int angle = static_cast<int>(a);
  if (static_cast<int>(a * 10) % 10 >= 6) ++angle;
  if (x < anchorX) angle = 180 - angle;
  Measurement result;
  result.width = width > 1999 ? 0 : static_cast<int>(width);
  result.height = height > 1999 ? 0 : static_cast<int>(height);
  result.angle = angle;
  result.above = y < anchorY;
  return result;
}

int ThumbOffset(int value, SettingRange range) {
  if (range.max <= range.min) return 0;
  return kThumbTravel * (range.Clamp(value) - range.min) / (range.max - range.min);
}

int TrackValue(PanelPage page, int x, int panelLeft, SettingRange range) {
  const int span = range.max - range.min;
  // The width page counts from the range's minimum; the pixel count page from zero, so
  // its lowest values are reached with the minus button or by dragging.
  if (page == PanelPage::kWidth) return range.min + (x - panelLeft - 31) * span / kThumbTravel;
  return (x - panelLeft - 26) * span / kThumbTravel;
}

PanelHit HitInspectorPanel(int x, int y, const InspectorLayout& layout, bool panelOpen, PanelPage page,
                           int thumbOffset) {
  const int end = layout.titleEnd;
  if (x > end - 32 && x < end - 16 && y >= 2 && y <= 13) return PanelHit::kSettingsButton;
  if (!panelOpen) return PanelHit::kNone;
  const int p = layout.panelLeft;
  const int t = layout.top;
  const bool leftColumn = x > p + 111 && x < p + 127;
  const bool rightColumn = x > p + 134 && x < p + 150;
  const bool upperRow = y > 22 && y < 35;
  const bool lowerRow = y > 39 && y < 52;
  if (leftColumn && upperRow) return PanelHit::kPixelCountPage;
  if (rightColumn && upperRow) return PanelHit::kWidthPage;
  if (leftColumn && lowerRow) return PanelHit::kReadoutPage;
  if (rightColumn && lowerRow) return PanelHit::kApply;
  if (page == PanelPage::kReadout) {
    if (y > t + 23 && y < t + 32) {
      if (x > p + 15 && x < p + 44) return PanelHit::kReadoutSwitch;
      if (x > p + 60 && x < p + 89) return PanelHit::kHexSwitch;
    }
    return PanelHit::kNone;
  }
  if (y > t + 22 && y < t + 32) {
    if (x > p + 13 && x < p + 24) return PanelHit::kMinus;
    if (x > p + 85 && x < p + 96) return PanelHit::kPlus;
    if (x > p + 27 && x < p + 83) {
      return x > p + 27 + thumbOffset && x < p + 36 + thumbOffset ? PanelHit::kThumb : PanelHit::kTrack;
    }
  }
  return PanelHit::kNone;
}

bool DragHoldsThumb(int x, int y, const InspectorLayout& layout, int thumbOffset) {
  const int p = layout.panelLeft;
  const int t = layout.top;
  return x > p + 26 && x < p + 84 && y > t + 22 && y < t + 32 && x > p + 26 + thumbOffset &&
         x < p + 36 + thumbOffset;
}

}  // namespace pictornx
