// The pixel inspector's module-level state, shared by its window (pixel_inspector.cpp),
// its readout child (inspector_readout.cpp) and its settings panel (inspector_panel.cpp).
#pragma once

#include <windows.h>

#include <cstdint>

#include "pixels/image.h"
#include "inspector/inspector_rules.h"
#include "inspector/pixel_inspector.h"
#include "ui/surface.h"

namespace pictornx {

struct ReadoutState {
  HWND window = nullptr;
  Surface face;  // 114 x 32: the short form in rows 0-15, the long form down to row 29
  bool longForm = false;
  int anchorX = 0;
  int anchorY = 0;
  ScreenRect remembered;  // the last normal rectangle, in the inspector's client pixels
};

struct PanelState {
  bool open = false;
  PanelPage page = PanelPage::kPixelCount;
  bool dragging = false;  // the thumb is held
  bool clicked = false;   // a minus or plus click happened since the press
};

struct InspectorState {
  HWND window = nullptr;
  bool compare = false;
  bool crosshair = false;
  CompareSourceFn compareSource = nullptr;
  int lastX = 0;  // the image point of the last update, redrawn after an apply
  int lastY = 0;
  Surface face;
  InspectorLayout layout;
  ScreenRect remembered;  // screen rectangle at the last closing
  InspectorSettings settings;
  PanelState panel;
  ReadoutState readout;
};

InspectorState& Inspector();

// `image` when its rows can be read as it says, else an empty view (which shows as hatching).
ConstImageView UsableView(ConstImageView image);

// Window side (pixel_inspector.cpp).
// Draws the title, the shape, the frames and the divider for the current width; false
// (and the window closing) when the title art is missing.
bool DrawInspectorFrame();
void DrawCompareDivider();
// The settings panel's apply: a new face and size when the width changed, then the views
// and the readout redrawn.
void ApplyInspectorSettings();
void InvalidateFace(int left, int top, int right, int bottom, bool now);

// Readout side (inspector_readout.cpp).
enum CreateReadoutResult : int { kReadoutCreated = 0, kReadoutNotCreated = 2, kReadoutNoImage = 3 };
int CreateInspectorReadout();
void DestroyInspectorReadout();
// 0, or 1 to 3 when the values are left unchanged (below or above the image, beyond 9999).
int UpdateReadoutRgb(ConstImageView source, int x, int y);
// Back inside the inspector at its short size, shown.
void ResetReadoutPlacement();
RECT ReadoutClientRect();

// Panel side (inspector_panel.cpp).
void DrawSettingsButton(bool pressed);
// True when the press hit the settings button or one of the open panel's controls.
bool PanelLeftDown(int x, int y);
void PanelMouseMove(int x, int y);
void PanelLeftUp();

}  // namespace pictornx
