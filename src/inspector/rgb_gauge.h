// The RGB gauge window: which of the 256 levels of each channel occur in WorkImage, as
// three vertical gauges with a line per level present, and how many levels each channel
// uses. A snapshot, computed when the window opens.
#pragma once

#include <windows.h>

namespace pictornx {

// Opens the window owned by `owner`: 0, or -1 when it is already open (nothing changes) or
// could not be made (the out-of-memory message is shown then).
int OpenRgbGauge(HWND owner);

// The viewer's command.
void RgbGaugeCommand(HWND viewer);

}  // namespace pictornx
