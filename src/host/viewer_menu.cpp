// The viewer's menu commands: what every command does before it runs, the dispatch to
// the operations, reset and the external scope request; and the other hooks by which the
// viewer reaches the operations above it.
#include "host/viewer_menu.h"

#include "capture/capture_modes.h"
#include "files/clipboard.h"
#include "files/save_image.h"
#include "imageops/colour_count_panel.h"
#include "imageops/cursor_stamp.h"
#include "imageops/posterise_panel.h"
#include "imageops/size_panel.h"
#include "ui/host_link.h"
#include "imagestore/image_buffers.h"
#include "imageops/picture_commands.h"
#include "ui/popup.h"
#include "viewer/render_view.h"
#include "resources/resource_ids.h"
#include "inspector/rgb_gauge.h"
#include "ui/tool_windows.h"
#include "viewer/selection.h"
#include "viewer/viewer.h"
#include "viewer/viewer_hooks.h"
#include "imageops/zoom_commands.h"
#include "jpegpreview/jpeg_preview.h"

namespace pictornx {
namespace {

void CloseViewer(HWND viewer) { SendMessageW(viewer, WM_CLOSE, 0, 0); }

// Back to the image as it was when the viewer opened, at 100 %.
void ResetImage(HWND viewer) {
  ImageBuffersState& images = Images();
  const int width = images.initialImage.Width();
  const int height = images.initialImage.Height();
  images.sourceSize = {width, height};
  if (!images.workImage.Create(width, height) || !images.screenImage.Reserve(width, height)) {
    ShowMemoryError(viewer);
    CloseViewer(viewer);
    return;
  }
  SetViewerTitle(width, height);
  CopyImage(images.workImage, images.initialImage);
  CopyImage(images.screenImage, images.initialImage);
  SetZoomFactors(1.0, 1.0, 3);
  SetResampleMode(0);
  RefreshZoomMenu();
  RenderView(1);
  SetRatioLock(true);
}

// "Orvix": the host shows the image in its external scope tool, when it has one.
void RequestExternalScope(HWND viewer) {
  const HostState& host = Host();
  if (LinkedHostIdentity() == 0) {
    ShowPopupStrings(viewer, IDS_SCOPE_BUILT_IN_LINE1, IDS_SCOPE_BUILT_IN_LINE2, 2);
  } else if (host.externalScopeFlag == 0) {
    ShowPopupStrings(viewer, IDS_SCOPE_MISSING_LINE1, IDS_SCOPE_MISSING_LINE2, 2);
  } else {
    NotifyHost(HostNotification::kExternalScope);
  }
}

struct CommandEntry {
  int command;
  void (*run)(HWND viewer);
};

// Commands whose operations exist; the others do nothing beyond the common prologue.
template <int kPreset>
void ZoomPreset(HWND viewer) {
  ApplyZoomPreset(viewer, kPreset);
}

template <int kMode>
void ResampleModeCommand(HWND viewer) {
  ApplyResampleMode(viewer, kMode);
}

template <int kKind>
void TransformCommand(HWND) {
  Viewer().transformKind = kKind;
  FlipRotate();
}

void SaveWholeImage(HWND viewer) { SaveImage(viewer, WholeWorkImage(), false); }
void TemporaryGifCommand(HWND) { CreateTemporaryGif(); }
template <int kSlot, bool kFixedWidth>
void SizeSlotCommand(HWND viewer) {
  RenderSizeSlot(viewer, kSlot, kFixedWidth);
}

template <int kCommand>
void RangeCommand(HWND viewer) {
  ArmRangeCommand(viewer, kCommand);
}

void InvertCommand(HWND) { InvertColours(); }
void SepiaCommand(HWND) { Sepia(); }
void GreyCommand(HWND) { Grey(); }

constexpr CommandEntry kCommands[] = {
    {IDM_CLOSE_VIEWER, CloseViewer},
    {IDM_RESET, ResetImage},
    {IDM_EXTERNAL_SCOPE, RequestExternalScope},
    {IDM_ZOOM_25, ZoomPreset<0>},
    {IDM_ZOOM_50, ZoomPreset<1>},
    {IDM_ZOOM_75, ZoomPreset<2>},
    {IDM_ZOOM_100, ZoomPreset<3>},
    {IDM_ZOOM_150, ZoomPreset<4>},
    {IDM_ZOOM_200, ZoomPreset<5>},
    {IDM_RESAMPLE_NONE, ResampleModeCommand<0>},
    {IDM_RESAMPLE_CORRECT, ResampleModeCommand<1>},
    {IDM_RESAMPLE_CORRECT_SHARPEN, ResampleModeCommand<2>},
    {IDM_RESAMPLE_AVERAGE, ResampleModeCommand<3>},
    {IDM_RESAMPLE_AVERAGE_SHARPEN, ResampleModeCommand<4>},
    {IDM_FLIP_LEFT_RIGHT, TransformCommand<1>},
    {IDM_FLIP_UP_DOWN, TransformCommand<2>},
    {IDM_ROTATE_RIGHT, TransformCommand<3>},
    {IDM_ROTATE_LEFT, TransformCommand<4>},
    {IDM_ADD_CURSOR, AddCursorCommand},
    {IDM_INVERT, InvertCommand},
    {IDM_SEPIA, SepiaCommand},
    {IDM_GREY, GreyCommand},
    {IDM_COPY_WHOLE, CopyWholeImageCommand},
    {IDM_SAVE_WHOLE, SaveWholeImage},
    {IDM_TEMP_FILE, TemporaryGifCommand},
    {IDM_ZOOM_ANY_SIZE, OpenSizePanel},
    {IDM_SIZE_SLOT1, SizeSlotCommand<0, false>},
    {IDM_SIZE_SLOT2, SizeSlotCommand<1, false>},
    {IDM_SIZE_SLOT3, SizeSlotCommand<2, false>},
    {IDM_SIZE_SLOT1_FIXED_WIDTH, SizeSlotCommand<0, true>},
    {IDM_SIZE_SLOT2_FIXED_WIDTH, SizeSlotCommand<1, true>},
    {IDM_SIZE_SLOT3_FIXED_WIDTH, SizeSlotCommand<2, true>},
    {IDM_POSTERISE, OpenPosterisePanel},
    {IDM_COUNT_COLOURS, CountColoursCommand},
    {IDM_RGB_GAUGE, RgbGaugeCommand},
    {IDM_COPY_RANGE, RangeCommand<IDM_COPY_RANGE>},
    {IDM_SHOW_RANGE, RangeCommand<IDM_SHOW_RANGE>},
    {IDM_SAVE_RANGE, RangeCommand<IDM_SAVE_RANGE>},
    {IDM_JPEG_PREVIEW, OpenJpegPreview},
};

// The colour count and the gauge are snapshots: their own command while they are open
// leaves them as they are instead of closing and recounting. The JPEG preview's own
// command while it is open does nothing.
ToolWindow KeptOpenBy(int command) {
  if (command == IDM_COUNT_COLOURS) return ToolWindow::kColourCount;
  if (command == IDM_RGB_GAUGE) return ToolWindow::kRgbGauge;
  if (command == IDM_JPEG_PREVIEW) return ToolWindow::kJpegPreview;
  return ToolWindow::kCount;
}

void RunViewerCommand(HWND viewer, int command) {
  CloseSubWindows(KeptOpenBy(command));
  NotifyHost(HostNotification::kViewerCommand);
  SetFocus(viewer);
  EndCursorPlacing();
  if (command != IDM_ZOOM_ANY_SIZE && command != IDM_POSTERISE) {
    CloseToolWindow(ToolWindow::kPosterise);
    CloseToolWindow(ToolWindow::kArbitrarySize);
  }
  for (const CommandEntry& entry : kCommands) {
    if (entry.command == command) {
      entry.run(viewer);
      return;
    }
  }
}

// A rectangle dragged in range mode: the clipboard, the new 100 % image, or a file.
int UseDraggedRange(HWND viewer, RangeUse use, PixelRect range) {
  switch (use) {
    case RangeUse::kCopy: return CopyOut(viewer, CopyTarget::kClipboard, range);
    case RangeUse::kShowAsImage: return CopyOut(viewer, CopyTarget::kShowAsImage, range);
    case RangeUse::kSave:
      return SaveImage(viewer, {range.left, range.top, range.Width(), range.Height()}, false) == kSaveDone ? 0 : -1;
  }
  return -1;
}

}  // namespace

void RegisterViewerMenu() {
  ViewerHooks hooks;
  hooks.runCommand = RunViewerCommand;
  hooks.labelSizeSlots = RefreshSizeSlotLabels;
  hooks.closing = CancelDelayedCapture;
  hooks.useRange = UseDraggedRange;
  hooks.cursorPlacing = CursorPlacing;
  hooks.moveCursorOutline = MoveCursorOutline;
  hooks.placeCursor = PlaceCursor;
  hooks.endCursorPlacing = EndCursorPlacing;
  RegisterViewerHooks(hooks);
}

}  // namespace pictornx
