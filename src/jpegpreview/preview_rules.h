// The JPEG preview's layout arithmetic: where the window opens, how much of the image the
// view shows and how a drag scrolls it, the file-size field and the notice gradient.
// Portable (no windows.h), so the native tests check it.
#pragma once

#include <cstdint>

namespace pictornx {

inline constexpr int kPreviewWidth = 730;
inline constexpr int kPreviewHeight = 450;
// The view control's client area: 450 x 434 less its edge and a margin of one pixel.
inline constexpr int kMaxVisibleWidth = 446;
inline constexpr int kMaxVisibleHeight = 430;
// Images above these sizes get the processing notice before the work starts.
inline constexpr int64_t kRefreshNoticePixels = 600000;
inline constexpr int64_t kDiffBNoticePixels = 3500000;

struct PreviewRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool Any() const { return left != 0 || top != 0 || right != 0 || bottom != 0; }
};

struct PreviewPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const PreviewPoint&, const PreviewPoint&) = default;
};

// Top-left of the window: where it was closed last (`saved`, all zero before the first
// close) pulled inside the desktop, else 735 left of its right edge and 490 above its bottom.
PreviewPoint PreviewOpenPosition(const PreviewRect& saved, const PreviewRect& desktop);

struct ViewGeometry {
  int visibleWidth = 0;
  int visibleHeight = 0;
  int limitX = 0;  // largest scroll offset per axis; 0 when the image fits
  int limitY = 0;
};
ViewGeometry ViewGeometryFor(int imageWidth, int imageHeight);

// One mouse move of a scrolling drag: the image follows the pointer, each offset kept
// within 0 to its limit.
struct ScrollStep {
  PreviewPoint offset;
  bool changed = false;  // the view must be refilled
  bool clamped = false;  // the pointer moved further than the image could follow
};
ScrollStep DragScroll(PreviewPoint offset, const ViewGeometry& view, PreviewPoint from, PreviewPoint to);

// The column the view copy starts at: never so far right that the visible width runs
// past the image.
int ViewCopyColumn(int offsetX, int imageWidth, int visibleWidth);

// The file-size field is blue with a black right part wide enough for the digits; its
// left edge in window coordinates.
int FileSizeBlackStart(uint32_t fileBytes);

// The notices' vertical gradient: intensity of box row `row` of a box `height` rows tall.
int NoticeIntensity(int row, int height);
// The row's colour as 0x00BBGGRR: style 0 yellow, style 1 blue.
uint32_t NoticeRowColour(int row, int height, int style);

}  // namespace pictornx
