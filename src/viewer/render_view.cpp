#include "viewer/render_view.h"

#include <windows.h>
#include <commctrl.h>

#include "imagestore/image_buffers.h"
#include "win/module.h"
#include "ui/popup.h"
#include "pixels/resample.h"
#include "resources/resource_ids.h"
#include "ui/tool_windows.h"
#include "viewer/viewer.h"

namespace pictornx {
namespace {

// Centres the progress window on the viewer and shows it with the bar at 0 of `rows`.
void ShowProgress(HWND viewer, HWND progress, int rows) {
  RECT viewerRect{}, client{};
  GetWindowRect(viewer, &viewerRect);
  GetClientRect(progress, &client);
  const int x = viewerRect.left + (viewerRect.right - viewerRect.left) / 2 - client.right / 2;
  const int y = viewerRect.top + (viewerRect.bottom - viewerRect.top) / 2 - client.bottom / 2;
  SetWindowPos(progress, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(progress, SW_SHOWNA);
  UpdateWindow(progress);
  HWND bar = Viewer().progressBar;
  // 32-bit range: a view may be taller than the 65,535 rows PBM_SETRANGE holds.
  SendMessageW(bar, PBM_SETRANGE32, 0, rows);
  SendMessageW(bar, PBM_SETPOS, 0, 0);
  SendMessageW(bar, PBM_SETSTEP, 1, 0);
}

}  // namespace

HWND EnsureProgressWindow(HWND viewer) {
  HWND progress = ToolWindowHandle(ToolWindow::kProgress);
  if (!progress && viewer) {
    progress = CreateDialogParamW(ModuleInstance(), MAKEINTRESOURCEW(IDD_PROGRESS), viewer, DefaultToolProc, 0);
    SetToolWindowHandle(ToolWindow::kProgress, progress);
    Viewer().progressBar = progress ? GetDlgItem(progress, IDC_PROGRESS_BAR) : nullptr;
  }
  return progress;
}

int RenderView(int reset) {
  ImageBuffersState& images = Images();
  ViewerState& viewer = Viewer();
  HWND window = ViewerWindow();
  const PixelSize view = ZoomedSize({images.sourceSize.cx, images.sourceSize.cy}, viewer.zoomX, viewer.zoomY);
  const auto mode = static_cast<ResampleMode>(viewer.resampleMode);

  // The new view is made before the old one goes, so a failure leaves the user the image
  // they had.
  SharedImage rendered;
  if (!rendered.Create(view.width, view.height)) {
    ShowMemoryError(window);
    return -1;
  }
  HWND progress = nullptr;
  if (ReportsProgress(mode, view) && (progress = EnsureProgressWindow(window)) != nullptr)
    ShowProgress(window, progress, view.height);
  const RowDone stepBar{[](void* bar) { SendMessageW(static_cast<HWND>(bar), PBM_STEPIT, 0, 0); }, viewer.progressBar};
  const bool done = RenderZoomed(images.screenImage.View(), rendered.View(), mode, progress ? stepBar : RowDone{});
  if (progress) ShowWindow(progress, SW_HIDE);
  images.workImage = std::move(rendered);
  images.viewSize = {view.width, view.height};
  if (reset) ResetViewerView();
  if (!done) {
    // Working memory of a pass ran out; the view holds what was rendered before it.
    ShowMemoryError(window);
    return -1;
  }
  return 0;
}

}  // namespace pictornx
