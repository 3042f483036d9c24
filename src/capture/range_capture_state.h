// The range capture's state, one instance; its window procedure owns it.
#pragma once

#include <windows.h>

#include "capture/capture_rules.h"
#include "capture/capture_window.h"
#include "viewer/viewer_rules.h"
#include "win/handles.h"

namespace pictornx {

struct RangeCaptureState : CaptureWindowState {
  bool dragging = false;
  IntPoint press;
  IntPoint current;
  WindowDc held;  // the window's DC from the press to the release
  IntPoint lastCrosshair;
  bool crosshairDrawn = false;
  FixedText<kCaptureSizeTextChars> sizeText;  // the last size text drawn during a drag
};

RangeCaptureState& RangeCapture();

}  // namespace pictornx
