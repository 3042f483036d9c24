#include "jpegpreview/channel_panels.h"

namespace pictornx {

bool BuildChannelPanelPictures(HWND, Surface (&)[3]) { return false; }

void DrawChannelPanels(Surface (&)[3], ConstImageView, ConstImageView, const PixelRect*, bool) {}

void PaintChannelPanel(HWND, const Surface&) {}

}  // namespace pictornx
