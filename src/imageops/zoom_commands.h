// The zoom and resampling commands of the viewer's menu.
#pragma once

#include <windows.h>

namespace pictornx {

// Zoom presets 0 to 5 (25 % to 200 %); 150 % and 200 % first check the enlarged size and
// only say so when it is too large.
void ApplyZoomPreset(HWND viewer, int preset);
// Resampling modes 0 to 4.
void ApplyResampleMode(HWND viewer, int mode);

}  // namespace pictornx
