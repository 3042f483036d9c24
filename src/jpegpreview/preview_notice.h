// The JPEG preview's notice boxes: a framed gradient box drawn straight into a DC, over
// which the caller writes its message.
#pragma once

#include <windows.h>

namespace pictornx {

// Style 0 is the yellow processing notice, style 1 the blue range notice.
void ShowNotice(HDC dc, int x, int y, int width, int height, int style);

// The processing notice on the image view, drawn before work that blocks the thread.
void ShowProcessingNotice(HDC viewDc);

}  // namespace pictornx
