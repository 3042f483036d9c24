// The magnifier's view: a square of image pixels around a pointed point, each image pixel
// grown into a block of view pixels, written straight into the rows of a 24-bit target
// image (the inspector's off-screen face). Also the marks and rulers drawn over the view.
#pragma once

#include <cstdint>

#include "pixels/image.h"

namespace pictornx {

// Where the view lies in the target image and how much of it is filled. View column c is
// target column `left + c`; view row k counts upwards from the view's bottom row, which is
// target row `bottom` (counted from the picture's top). Columns `margin` to `width - 1`
// and rows 0 to `rows - 1` are filled.
struct MagnifierView {
  int left = 0;
  int bottom = 0;
  int width = 0;  // W: the view's columns, margin included
  int rows = 0;   // rows filled, the ruler rows at the top excluded
  int margin = 0;
};

// The image offset shown at view position `index` (columns after the margin, or rows) when
// `pixelCount` image pixels span `viewSize` view pixels: floor(index * n / W + 0.0002).
int BlockOffset(int index, int pixelCount, int viewSize);

// Copies the image pixels of the region around (pointX, pointY) (picture coordinates,
// y from the top) into the view: view column c shows image column
// pointX - n/2 + BlockOffset(c - margin, n, width), view row k image row
// pointY + n/2 - BlockOffset(k, n, width). View pixels whose image pixel lies outside
// `source` keep what the target held, so a hatch drawn there beforehand stays. Any point,
// however far outside, reads only pixels of `source`. Parts of the view outside `target`
// are not written.
void MagnifyRegion(ConstImageView source, ImageView target, const MagnifierView& view, int64_t pointX,
                   int64_t pointY, int pixelCount);

// The pointed pixel's block: columns cx1 and cx2 (margin included) and rows cy1 and cy2
// (upwards from the bottom row) that bound it.
struct CentreBlock {
  int column1 = 0;
  int column2 = 0;
  int row1 = 0;
  int row2 = 0;
};
CentreBlock CentreBlockOf(int pixelCount, int viewWidth, int viewHeight, int margin);

enum class CentreMark {
  kNone,
  kCrosshair,  // four full lines, green and blue inverted
  kBox,        // the block's outline without corners, red and green inverted
};
void PaintCentreMark(ImageView target, const MagnifierView& view, const CentreBlock& block, CentreMark mark);

// The rulers along the view's top and left edges (margin wide). Ticks stand every image
// pixel, or every five image pixels when blocks are narrower than 3 view pixels, which
// also turns the ground from white to light pink.
struct RulerScale {
  double spacing = 0;  // view pixels between ticks
  bool pink = false;
};
RulerScale RulerScaleOf(int pixelCount, int viewWidth);

// Tick j (from 1) of a ruler: its position and how many pixels wide it is (1, 2 every
// fifth tick, 3 every tenth).
struct RulerTick {
  int position = 0;
  int thickness = 1;
};
RulerTick TopRulerTick(const RulerScale& scale, int margin, int j);
RulerTick LeftRulerTick(const RulerScale& scale, int j);

void PaintRulers(ImageView target, const MagnifierView& view, int pixelCount);

}  // namespace pictornx
