// The viewer's mouse: the rectangle dragged for the range commands (copy, show, save),
// the pixel inspector fed and measuring while the left button is held, the add-cursor
// placement click, and the right-button cancel.
#pragma once

#include <windows.h>

#include "viewer/selection_rules.h"

namespace pictornx {

enum class RangeTarget { kClipboard = 0, kWholeImage = 1, kFile = 2 };

struct SelectionState {
  bool rangeMode = false;  // armed by a range command until the range is used or cancelled
  RangeTarget target = RangeTarget::kClipboard;
  bool showRange = false;   // the clipboard target shows the range as the image instead
  bool dragging = false;    // the left button went down on the viewer and has not come up
  bool rangeValid = false;  // the last point lies right of and below the press point
  DragPoint press;          // client coordinates
  DragPoint last;           // far corner of the rubber band on the screen
};

SelectionState& Selection();

// Commands 32846 (copy range), 32847 (show range), 32865 (save range): arm range mode and
// open the inspector with its crosshair.
void ArmRangeCommand(HWND viewer, int command);

// The viewer's mouse messages (lParam as the message carries it).
void SelectionOnMouseMove(HWND viewer, LPARAM position);
void SelectionOnLeftDown(HWND viewer, LPARAM position);
void SelectionOnLeftUp(HWND viewer, LPARAM position);
void SelectionOnRightDown(HWND viewer);

}  // namespace pictornx
