// Rendering ScreenImage into WorkImage at the viewer's zoom factors and resampling mode.
#pragma once

namespace pictornx {

// Rebuilds WorkImage and ViewSize; 0, or -1 when a DIB section cannot be created. A
// non-zero `reset` also resets the viewer's view to the new size.
int RenderView(int reset);

}  // namespace pictornx
