// The zoom menu's check marks and the size-slot items' labels.
#include <iterator>

#include "resources/resource_ids.h"
#include "viewer/viewer.h"
#include "viewer/viewer_hooks.h"

namespace pictornx {

void RefreshZoomMenu() {
  const ViewerState& viewer = Viewer();
  if (!viewer.zoomMenu) return;
  static constexpr int kModeItems[] = {IDM_RESAMPLE_NONE, IDM_RESAMPLE_CORRECT, IDM_RESAMPLE_CORRECT_SHARPEN,
                                       IDM_RESAMPLE_AVERAGE, IDM_RESAMPLE_AVERAGE_SHARPEN};
  static constexpr int kPresetItems[] = {IDM_ZOOM_25,    IDM_ZOOM_50,    IDM_ZOOM_75,    IDM_ZOOM_100, IDM_ZOOM_150,
                                         IDM_ZOOM_200,   IDM_ZOOM_ANY_SIZE,   IDM_SIZE_SLOT1, IDM_SIZE_SLOT2,
                                         IDM_SIZE_SLOT3, IDM_SIZE_SLOT1_FIXED_WIDTH, IDM_SIZE_SLOT2_FIXED_WIDTH,
                                         IDM_SIZE_SLOT3_FIXED_WIDTH};
  auto setState = [&](int item, UINT state) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STATE;
    info.fState = state;
    SetMenuItemInfoW(viewer.zoomMenu, static_cast<UINT>(item), FALSE, &info);
  };
  for (int item : kModeItems) setState(item, MFS_UNCHECKED);
  for (int item : kPresetItems) setState(item, MFS_UNCHECKED);
  if (viewer.resampleMode >= 0 && viewer.resampleMode < static_cast<int>(std::size(kModeItems)))
    setState(kModeItems[viewer.resampleMode], MFS_CHECKED);
  if (viewer.zoomPreset >= 0 && viewer.zoomPreset < static_cast<int>(std::size(kPresetItems)))
    setState(kPresetItems[viewer.zoomPreset], MFS_CHECKED);
  if (const auto label = RegisteredViewerHooks().labelSizeSlots) label(viewer.zoomMenu);
}

}  // namespace pictornx
