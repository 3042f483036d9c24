// The JPEG preview's notice boxes: a framed gradient box drawn straight into a DC, over
// which the caller writes its message.
#pragma once

#include <windows.h>

#include "win/handles.h"

namespace pictornx {

// Style 0 is the yellow processing notice, style 1 the blue range notice.
void ShowNotice(HDC dc, int x, int y, int width, int height, int style);

// The font of the processing notice, made once per window: under Wine making a font costs
// more than drawing the whole notice.
OwnedFont CreateProcessingNoticeFont();
// The processing notice on the image view, drawn before work that blocks the thread.
void ShowProcessingNotice(HDC viewDc, HFONT font);

}  // namespace pictornx
