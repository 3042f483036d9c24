#include "jpegpreview/jpeg_settings_panel.h"

namespace pictornx {

int OpenJpegSettingsPanel(HWND, int, int, JpegSettingsCallbacks) { return -1; }
void CloseJpegSettingsPanel() {}
HWND JpegSettingsPanelWindow() { return nullptr; }

}  // namespace pictornx
