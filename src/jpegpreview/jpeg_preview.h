// JpegPreviewWindow: shows what the current JPEG settings would do to the image before it
// is saved. Each opening and each settings change writes WorkImage as a temporary JPEG,
// reads it back, measures and deletes the file, and shows the decoded image beside its
// difference from the source.
#pragma once

#include <windows.h>

namespace pictornx {

enum RefreshPreviewResult : int {
  kRefreshDone = 0,
  kRefreshNoWindow = -1,
  kRefreshNoImage = 1,
  kRefreshNoTempFolder = 2,
  kRefreshWriteFailed = 3,
  kRefreshNoMemory = 4,
  kRefreshReadFailed = 5,
  kRefreshNotMeasured = 6,
};

// The viewer's command: opens the preview owned by `viewer` and runs its first refresh;
// does nothing while it is open. A failure closes it again and says why.
void OpenJpegPreview(HWND viewer);
// Writes, reads back and measures the JPEG and shows it. A failed refresh leaves the window
// showing what it showed before, and never leaves the temporary file behind.
int RefreshJpegPreview();
// Redraws the loupe's two halves at its last point from the current images.
void RefreshLoupe();
HWND JpegPreviewWindow();

}  // namespace pictornx
