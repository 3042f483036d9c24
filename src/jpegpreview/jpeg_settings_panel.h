// The JPEG settings panel: a painted child window inside the JPEG preview in which the
// user sets the quality (slider and arrow buttons), progressive output and grey output of
// JpegSettings() (files/save_image.h). Every change re-encodes the preview at once.
#pragma once

#include <windows.h>

namespace pictornx {

struct JpegSettingsCallbacks {
  void (*refreshPreview)() = nullptr;  // RefreshJpegPreview
  void (*refreshLoupe)() = nullptr;    // RefreshLoupe
};

// Template 167 as a child of `preview` at (x, y), 125 x 140. 0 done or already open; -1 when
// its image or bitmap 168 could not be made (then it is closed again).
int OpenJpegSettingsPanel(HWND preview, int x, int y, JpegSettingsCallbacks callbacks);
void CloseJpegSettingsPanel();
// Sets the quality (1 to 100) as the slider does: the panel shows it and, when it changed,
// the preview re-encodes and the loupe follows.
void ApplyJpegQuality(int quality);
HWND JpegSettingsPanelWindow();

}  // namespace pictornx
