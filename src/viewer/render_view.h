// Rendering ScreenImage into WorkImage at the viewer's zoom factors and resampling mode.
#pragma once

#include <windows.h>

namespace pictornx {

// ProgressWindow (hidden until a long rendering), made with the viewer as owner when it
// does not exist; its bar's handle is kept in the viewer's state.
HWND EnsureProgressWindow(HWND viewer);

// Rebuilds WorkImage and ViewSize; 0, or -1 when a DIB section cannot be created. A
// non-zero `reset` also resets the viewer's view to the new size.
int RenderView(int reset);

}  // namespace pictornx
