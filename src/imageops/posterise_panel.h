// The posterisation panel: 2 to 64 levels per channel, evenly or gamma-2 spaced, previewed
// and applied to WorkImage from a snapshot taken when the panel opens. ScreenImage is not
// touched, so the next rendering of the view brings the plain image back.
#pragma once

#include <windows.h>

namespace pictornx {

struct PosteriseSettings {
  int levels = 3;
  bool gamma = false;
};
// Kept while the library stays loaded.
PosteriseSettings& PosterSettings();

// The viewer's command: closes the arbitrary-size panel, then opens this one with a fresh
// snapshot of the plain rendering unless it is already open.
void OpenPosterisePanel(HWND viewer);

// WorkImage from the snapshot with the current settings, the viewer repainted and the
// colour count shown in the panel. Returns 0.
int Posterise();

}  // namespace pictornx
