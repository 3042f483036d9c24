// ViewerWindow: the library's main tool window, showing WorkImage at the current zoom
// with scroll bars; its menu is the entry to every image operation.
#pragma once

#include <windows.h>

#include "ui/tool_windows.h"

namespace pictornx {

struct ViewerState {
  HWND window = nullptr;
  double zoomX = 1.0;
  double zoomY = 1.0;
  int zoomPreset = 3;    // the zoom menu item carrying the check mark (3 = 100 %)
  int resampleMode = 0;  // 0 to 4
  int transformKind = 0;
  int offsetX = 0;  // the WorkImage pixel at the client area's top-left corner
  int offsetY = 0;
  SCROLLINFO horizontal{};
  SCROLLINFO vertical{};
  WINDOWPLACEMENT savedPlacement{};  // kept for the life of the library
  bool ratioLock = true;
  HMENU zoomMenu = nullptr;
  HWND progressBar = nullptr;  // control 1038 of ProgressWindow
};

ViewerState& Viewer();

// The viewer window if it exists.
HWND ViewerWindow();

enum OpenViewerResult : int {
  kViewerOpened = 0,
  kViewerAlreadyOpen = 1,
  kViewerImagesMissing = 2,
  kViewerNotCreated = 3,
  kViewerOutOfMemory = -1,
};

// Opens the viewer on ScreenImage, owned by `owner`.
int OpenViewer(HWND owner);

// Title: "画像の加工", four spaces, width " x " height.
void SetViewerTitle(int width, int height);
// Check marks of the resampling mode and zoom preset, and the size-slot labels.
void RefreshZoomMenu();
// Closes the cursor picker, colour-count, RGB gauge and JPEG preview windows, all but `keep`.
void CloseSubWindows(ToolWindow keep = ToolWindow::kCount);
// After WorkImage changed size: scroll to the top-left, scroll ranges from ViewSize,
// repaint, and ViewSize in the title.
void ResetViewerView();

// The zoom state has one owner, the viewer; the zoom, flip, reset and size commands change
// it through these. The preset is the zoom menu item that carries the check mark.
void SetZoomFactors(double zoomX, double zoomY, int preset);
void SetResampleMode(int mode);
// A quarter turn exchanges the factors of the two axes.
void SwapZoomAxes();
void SetRatioLock(bool locked);

}  // namespace pictornx
