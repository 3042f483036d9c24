#include "ui/window_shape.h"

#include <cstdlib>

namespace pictornx {

OwnedRegion RoundRectRegion(int width, int height, int cornerDiameter) {
  if (width <= 0 || height <= 0) return {};
  // CreateRoundRectRgn leaves out the right column and bottom row of its rectangle.
  return OwnedRegion(CreateRoundRectRgn(0, 0, width + 1, height + 1, cornerDiameter, cornerDiameter));
}

OwnedRegion MaskRegion(ConstImageView mask, Rgb key, MaskKeeps keeps, int x, int y) {
  const MaskRectangleList rectangles = MaskRectangles(mask, key, keeps);
  if (rectangles.empty()) return {};
  const size_t bytes = sizeof(RGNDATAHEADER) + rectangles.size() * sizeof(RECT);
  auto* data = static_cast<RGNDATA*>(std::malloc(bytes));
  if (!data) return {};
  data->rdh = {};
  data->rdh.dwSize = sizeof(RGNDATAHEADER);
  data->rdh.iType = RDH_RECTANGLES;
  data->rdh.nCount = static_cast<DWORD>(rectangles.size());
  data->rdh.rcBound = {x, y, x + mask.width, y + mask.height};
  RECT* out = reinterpret_cast<RECT*>(data->Buffer);
  for (const PixelRect& r : rectangles) *out++ = {x + r.left, y + r.top, x + r.right, y + r.bottom};
  OwnedRegion region(ExtCreateRegion(nullptr, static_cast<DWORD>(bytes), data));
  std::free(data);
  return region;
}

bool SetWindowShape(HWND window, OwnedRegion region, bool redraw) {
  if (!SetWindowRgn(window, region.Get(), redraw)) return false;  // `region` deletes it
  region.Release();
  return true;
}

}  // namespace pictornx
