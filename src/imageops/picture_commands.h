// Operations that change the picture itself (ScreenImage) and rebuild the view: flip and
// rotate, and the colour effects.
#pragma once

#include <windows.h>

namespace pictornx {

// Transforms ScreenImage by the viewer's TransformKind (1 mirror left-right, 2 mirror
// top-bottom, 3 turn clockwise, 4 turn counter-clockwise) and rebuilds the view at the
// current zoom. 0, or -1 when an image buffer could not be created.
int FlipRotate();

int InvertColours();
int Sepia();
int Grey();

}  // namespace pictornx
