#include "imageops/colour_count_panel.h"

#include "imagestore/image_buffers.h"
#include "pixels/colour_count.h"
#include "resources/resource_ids.h"
#include "ui/panel_frame.h"
#include "ui/popup.h"
#include "ui/tool_windows.h"
#include "viewer/viewer.h"
#include "win/module.h"

namespace pictornx {
namespace {

INT_PTR CALLBACK CountPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM) {
  if (PanelMessage(panel, message, {})) return TRUE;
  switch (message) {
    case WM_INITDIALOG:
      ShapePanel(panel);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_COUNT_CLOSE || LOWORD(wParam) == IDCANCEL) SendMessageW(panel, WM_CLOSE, 0, 0);
      return TRUE;
    case WM_CLOSE:
      DestroyWindow(panel);
      return TRUE;
    case WM_DESTROY:
      SetToolWindowHandle(ToolWindow::kColourCount, nullptr);
      if (HWND viewer = ViewerWindow()) BringWindowToTop(viewer);
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

int CountColours(int panelVariant) {
  if (ToolWindowHandle(ToolWindow::kColourCount)) return kCountPanelAlreadyOpen;
  HWND posterPanel = ToolWindowHandle(ToolWindow::kPosterise);
  if (posterPanel) ShowWindow(GetDlgItem(posterPanel, IDC_POSTER_COLOUR_COUNT), SW_HIDE);
  HWND viewer = ViewerWindow();
  HWND ownPanel = nullptr;
  if (panelVariant == kOwnCountPanel) {
    ownPanel = CreateDialogParamW(ModuleInstance(), MAKEINTRESOURCEW(IDD_COLOUR_COUNT), viewer, CountPanelProc, 0);
    if (!ownPanel) {
      ShowMemoryError(viewer);
      return kCountPanelNotCreated;
    }
    SetToolWindowHandle(ToolWindow::kColourCount, ownPanel);
  }
  const int64_t count = CountDistinctColours(Images().workImage.View());
  if (count < 0) {
    ShowMemoryError(viewer);
    return kColourSetNotCreated;
  }
  wchar_t text[16];
  wsprintfW(text, L"%d", static_cast<int>(count));  // at most 2^24
  if (panelVariant == kOwnCountPanel) {
    SetDlgItemTextW(ownPanel, IDC_COUNT_VALUE, text);
    InvalidateRect(GetDlgItem(ownPanel, IDC_COUNT_VALUE), nullptr, TRUE);
  } else if (posterPanel) {
    HWND shown = GetDlgItem(posterPanel, IDC_POSTER_COLOUR_COUNT);
    SetWindowTextW(shown, text);
    ShowWindow(shown, SW_SHOWNA);
  }
  return kColoursCounted;
}

void CountColoursCommand(HWND) { CountColours(kOwnCountPanel); }

}  // namespace pictornx
