// What the viewer hands up to the layers above it. Those layers include the viewer, so it
// reaches them only through these hooks, which the library registers when it starts
// (host/viewer_menu.cpp). A hook that is not registered does nothing.
#pragma once

#include <windows.h>

#include "pixels/image.h"

namespace pictornx {

// What a rectangle dragged over the viewer is for.
enum class RangeUse { kCopy, kShowAsImage, kSave };

struct ViewerHooks {
  // A menu command: the low word of WM_COMMAND.
  void (*runCommand)(HWND viewer, int command) = nullptr;
  // Writes the size-slot items' labels into the zoom menu.
  void (*labelSizeSlots)(HMENU zoomMenu) = nullptr;
  // The viewer is closing and about to free the images.
  void (*closing)() = nullptr;
  // A dragged rectangle of WorkImage in picture coordinates: 0 when done, -1 when refused
  // or failed (the user has been told why).
  int (*useRange)(HWND viewer, RangeUse use, PixelRect range) = nullptr;
  // The add-cursor tool: whether it is placing a picture, the pointer over the image
  // (client coordinates), the click that stamps the picture, and the end of placing.
  bool (*cursorPlacing)() = nullptr;
  void (*moveCursorOutline)(HWND viewer, int x, int y) = nullptr;
  void (*placeCursor)(HWND viewer) = nullptr;
  void (*endCursorPlacing)() = nullptr;
};

void RegisterViewerHooks(const ViewerHooks& hooks);
const ViewerHooks& RegisteredViewerHooks();

}  // namespace pictornx
