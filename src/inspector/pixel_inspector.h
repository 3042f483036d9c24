// PixelInspector: a borderless pop-up that shows the image pixels around the pointed point
// strongly magnified, with the pointer's coordinates in its title tab, optional rulers
// and the RGB readout (InspectorReadout), and a settings panel drawn inside it. Its
// callers (the viewer, the range capture, the JPEG preview) set the mode, open it, and
// feed it the image they show with the pointed point on every mouse move.
#pragma once

#include <windows.h>

#include <cstdint>

#include "inspector/inspector_rules.h"
#include "pixels/image.h"

namespace pictornx {

// Settings kept while the library is loaded.
InspectorSettings& InspectorSettingsValues();

// State the callers set before opening or updating.
void SetInspectorCompareMode(bool compare);
void SetInspectorCrosshair(bool crosshair);
// Compare mode: where the apply of the settings panel gets the right view's image (the one
// the comparing window currently shows); an empty view when there is none.
using CompareSourceFn = ConstImageView (*)();
void SetInspectorCompareSource(CompareSourceFn source);

enum OpenInspectorResult : int {
  kInspectorOpened = 0,
  kInspectorAlreadyOpen = 1,
  kInspectorNotCreated = 2,
  kInspectorNoImage = 3,
  kInspectorNoDc = 4,
  kInspectorNoTitleArt = 5,
};
// open == 1 opens the inspector owned by `owner`; anything else closes it (result 0).
int OpenPixelInspector(HWND owner, int open);

enum UpdateInspectorResult : int {
  kInspectorUpdated = 0,
  kInspectorNoFace = 1,
  kInspectorWidthPending = 2,  // a new width is set but not yet applied
};
// Redraws the (left) view around point (x, y) of `image`, the title coordinates, the rulers
// and the RGB readout. Points outside the image, and an empty image, show as hatching.
int UpdatePixelInspector(ConstImageView image, int x, int y);
// Compare mode: redraws the right view around (x, y) of `image` (0 at once in single mode).
int UpdateCompareView(ConstImageView image, int x, int y);

HWND PixelInspectorWindow();
// While the settings panel is open the viewer and the JPEG preview send no updates.
bool InspectorPanelOpen();

// The measurement shown in the readout's long form, from the anchor (x0, y0) to the
// current image point. Nothing happens while the readout window does not exist.
void BeginMeasureReadout(int begin, int x0, int y0);
void UpdateMeasureReadout(int x, int y);

}  // namespace pictornx
