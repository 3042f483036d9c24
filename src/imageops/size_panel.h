// The arbitrary-size panel: an exact view size in pixels, optionally locked to the view's
// proportions, and three remembered sizes that the zoom menu's slot items also render.
#pragma once

#include <windows.h>

#include "imageops/size_panel_rules.h"

namespace pictornx {

struct SizePanelState {
  int targetWidth = 0;  // 0 until the panel first opens
  int targetHeight = 0;
  double targetRatio = 0.0;  // height / width of the size the panel opened with
  bool recordMode = false;
  SizePair slots[3] = {{100, 75}, {200, 150}, {300, 200}};
};
// Kept while the library stays loaded.
SizePanelState& SizePanel();

// The viewer's command 32799: closes the posterisation panel, refreshes the zoom menu and
// opens this panel unless it is open.
void OpenSizePanel(HWND viewer);

// The zoom menu's slot items: slot 0..2, stretched or at the slot's width with the source's
// proportions.
void RenderSizeSlot(HWND viewer, int slot, bool fixedWidth);

// Rewrites the six slot items' labels of `zoomMenu` from the slots.
void RefreshSizeSlotLabels(HMENU zoomMenu);

}  // namespace pictornx
