#include "zoom_commands.h"

#include "image_buffers.h"
#include "popup.h"
#include "render_view.h"
#include "resample.h"
#include "resource_ids.h"
#include "viewer.h"
#include "viewer_rules.h"

namespace pictornx {

void ApplyZoomPreset(HWND viewer, int preset) {
  const double factor = ZoomPresetFactor(preset);
  const SIZE source = Images().sourceSize;
  if (factor > 1.0 && !EnlargementFits({source.cx, source.cy}, factor)) {
    ShowPopupStrings(viewer, IDS_SIZE_TOO_LARGE, IDS_CANNOT_ENLARGE, 2);
    return;
  }
  ViewerState& state = Viewer();
  state.zoomX = state.zoomY = factor;
  state.zoomPreset = preset;
  RefreshZoomMenu();
  RenderView(1);
  state.ratioLock = true;
}

void ApplyResampleMode(HWND, int mode) {
  Viewer().resampleMode = mode;
  RefreshZoomMenu();
  RenderView(1);
}

}  // namespace pictornx
