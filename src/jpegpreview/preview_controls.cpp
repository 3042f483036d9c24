#include "jpegpreview/preview_controls.h"

namespace pictornx {

bool BuildPreviewSprites(HWND, PreviewSprites&) { return false; }
void DrawTabs(Surface&, const PreviewSprites&, int, int) {}
void DrawButtonPlate(Surface&, const PreviewSprites&) {}
void DrawDiffButtons(Surface&, const PreviewSprites&, int, int, int) {}
void DrawRangeFrame(HDC, PixelRect, bool) {}

}  // namespace pictornx
