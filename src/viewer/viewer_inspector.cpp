#include "viewer/viewer_inspector.h"

#include <algorithm>

#include "imagestore/image_buffers.h"
#include "inspector/pixel_inspector.h"
#include "viewer/selection.h"
#include "viewer/viewer.h"

namespace pictornx {
namespace {

// Hands the inspector WorkImage and redraws it at client point (x, y); false when the
// point lies right of or below the image (such moves change nothing).
bool UpdateAt(int x, int y) {
  const ViewerState& viewer = Viewer();
  const ImageBuffersState& images = Images();
  const int imageX = x + viewer.offsetX;
  const int imageY = y + viewer.offsetY;
  if (imageX >= images.viewSize.cx || imageY >= images.viewSize.cy) return false;
  if (!PixelInspectorWindow() || InspectorPanelOpen()) return true;
  UpdatePixelInspector(images.workImage.View(), imageX, imageY);
  return true;
}

}  // namespace

void FeedInspectorOnMove(HWND, int x, int y) {
  if (!UpdateAt(x, y)) return;
  if (Selection().dragging && PixelInspectorWindow() && !InspectorPanelOpen())
    UpdateMeasureReadout(x + Viewer().offsetX, y + Viewer().offsetY);
}

bool InspectorOnLeftDown(HWND viewer, int x, int y) {
  if (PixelInspectorWindow()) {
    BeginMeasureReadout(1, std::max(x, 0) + Viewer().offsetX, std::max(y, 0) + Viewer().offsetY);
    return true;
  }
  SetInspectorCompareMode(false);
  return OpenPixelInspector(viewer, 1) == 0;
}

void InspectorOnLeftUp() {
  SetInspectorCrosshair(false);
  BeginMeasureReadout(0, 0, 0);
}

void RefreshInspectorAtPointer(HWND viewer) {
  POINT pointer{};
  if (!GetCursorPos(&pointer) || !ScreenToClient(viewer, &pointer)) return;
  UpdateAt(pointer.x, pointer.y);
}

}  // namespace pictornx
