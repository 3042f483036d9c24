// The range capture's state, one instance; its window procedure owns it.
#pragma once

#include <windows.h>

#include "capture/capture_rules.h"
#include "viewer/viewer_rules.h"
#include "win/handles.h"

namespace pictornx {

struct RangeCaptureState {
  HWND window = nullptr;
  bool timerRunning = false;  // timer 110
  bool dragging = false;
  IntPoint press;
  IntPoint current;
  WindowDc held;  // the window's DC from the press to the release
  IntPoint lastCrosshair;
  bool crosshairDrawn = false;
  bool keepImages = false;  // the window closes for a crop: the images stay
  FixedText<kCaptureSizeTextChars> sizeText;  // the last size text drawn during a drag
};

RangeCaptureState& RangeCapture();

}  // namespace pictornx
