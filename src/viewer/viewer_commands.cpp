// The viewer's menu commands: what every command does before it runs, the dispatch to
// the operations, reset and the external scope request.
#include <iterator>

#include "files/clipboard.h"
#include "files/save_image.h"
#include "imageops/colour_count_panel.h"
#include "imageops/cursor_stamp.h"
#include "imageops/posterise_panel.h"
#include "imageops/size_panel.h"
#include "host/host_state.h"
#include "host/image_buffers.h"
#include "imageops/picture_commands.h"
#include "ui/popup.h"
#include "imageops/render_view.h"
#include "resources/resource_ids.h"
#include "scopes/rgb_gauge.h"
#include "ui/tool_windows.h"
#include "viewer/selection.h"
#include "viewer/viewer.h"
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

}  // namespace

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

void RefreshZoomMenu() {
  const ViewerState& viewer = Viewer();
  if (!viewer.zoomMenu) return;
  static constexpr int kModeItems[] = {IDM_RESAMPLE_NONE, IDM_RESAMPLE_CORRECT, IDM_RESAMPLE_CORRECT_SHARPEN,
                                       IDM_RESAMPLE_AVERAGE, IDM_RESAMPLE_AVERAGE_SHARPEN};
  static constexpr int kPresetItems[] = {IDM_ZOOM_25,    IDM_ZOOM_50,    IDM_ZOOM_75,    IDM_ZOOM_100, IDM_ZOOM_150,
                                         IDM_ZOOM_200,   IDM_ZOOM_ANY_SIZE,   IDM_SIZE_SLOT1, IDM_SIZE_SLOT2,
                                         IDM_SIZE_SLOT3, IDM_SIZE_SLOT1_FIXED_WIDTH, IDM_SIZE_SLOT2_FIXED_WIDTH,
                                         IDM_SIZE_SLOT3_FIXED_WIDTH};
  auto setState = [&](int item, UINT state) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STATE;
    info.fState = state;
    SetMenuItemInfoW(viewer.zoomMenu, static_cast<UINT>(item), FALSE, &info);
  };
  for (int item : kModeItems) setState(item, MFS_UNCHECKED);
  for (int item : kPresetItems) setState(item, MFS_UNCHECKED);
  if (viewer.resampleMode >= 0 && viewer.resampleMode < static_cast<int>(std::size(kModeItems)))
    setState(kModeItems[viewer.resampleMode], MFS_CHECKED);
  if (viewer.zoomPreset >= 0 && viewer.zoomPreset < static_cast<int>(std::size(kPresetItems)))
    setState(kPresetItems[viewer.zoomPreset], MFS_CHECKED);
  RefreshSizeSlotLabels(viewer.zoomMenu);
}

}  // namespace pictornx
