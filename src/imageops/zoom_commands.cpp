#include "imageops/zoom_commands.h"

#include "imagestore/image_buffers.h"
#include "ui/popup.h"
#include "viewer/render_view.h"
#include "pixels/resample.h"
#include "resources/resource_ids.h"
#include "viewer/viewer.h"
#include "viewer/viewer_rules.h"

namespace pictornx {

void ApplyZoomPreset(HWND viewer, int preset) {
  const double factor = ZoomPresetFactor(preset);
  const SIZE source = Images().sourceSize;
  if (factor > 1.0 && !EnlargementFits({source.cx, source.cy}, factor)) {
    ShowPopupStrings(viewer, IDS_SIZE_TOO_LARGE, IDS_CANNOT_ENLARGE, 2);
    return;
  }
  SetZoomFactors(factor, factor, preset);
  RefreshZoomMenu();
  RenderView(1);
  SetRatioLock(true);
}

void ApplyResampleMode(HWND, int mode) {
  SetResampleMode(mode);
  RefreshZoomMenu();
  RenderView(1);
}

}  // namespace pictornx
