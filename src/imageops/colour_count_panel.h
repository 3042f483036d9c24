// The number of distinct colours of the displayed image (WorkImage), shown in the colour
// count's own small panel or in the posterisation panel after a run.
#pragma once

#include <windows.h>

namespace pictornx {

enum ColourCountPanel : int { kOwnCountPanel = 0, kPosterisePanel = 1 };

enum CountColoursResult : int {
  kColoursCounted = 0,
  kCountPanelAlreadyOpen = 1,  // nothing is counted, whichever panel asked
  kCountPanelNotCreated = 2,
  kColourSetNotCreated = 3,
};

// Counts WorkImage's colours and writes the number into the chosen panel. The failures
// show the out-of-memory message, owned by the viewer.
int CountColours(int panelVariant);

// The viewer's command: the own panel.
void CountColoursCommand(HWND viewer);

}  // namespace pictornx
