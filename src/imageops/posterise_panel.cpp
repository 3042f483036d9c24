#include "imageops/posterise_panel.h"

#include <commctrl.h>

#include <array>
#include <cstring>

#include "imagestore/image_buffers.h"
#include "imageops/colour_count_panel.h"
#include "viewer/render_view.h"
#include "pixels/posterise.h"
#include "resources/resource_ids.h"
#include "ui/panel_frame.h"
#include "ui/popup.h"
#include "ui/timers.h"
#include "ui/tool_windows.h"
#include "viewer/viewer.h"
#include "win/dib.h"
#include "win/module.h"
#include "win/paint.h"

namespace pictornx {
namespace {

// Larger views show their progress row by row.
constexpr int64_t kProgressPixels = 200000;
constexpr UINT kPreviewPauseMs = 300;

struct PosterPanelState {
  DibSection source;  // the snapshot of WorkImage, for the panel's life
  bool previewBusy = false;
};

PosterPanelState& Panel() {
  static PosterPanelState state;
  return state;
}

void ShowLevels(HWND panel) {
  wchar_t text[8];
  wsprintfW(text, L"%d", PosterSettings().levels);
  SetDlgItemTextW(panel, IDC_POSTER_LEVELS, text);
}

// The diagram: a white box, the top and bottom levels as lines two pixels inside, and a
// line for every level between, placed as the spacing places them.
void PaintDiagram(HWND diagram) {
  PaintScope paint(diagram);
  HDC dc = paint.Dc();
  if (!dc) return;
  RECT client{};
  GetClientRect(diagram, &client);
  const int width = client.right, height = client.bottom;
  {
    SelectionGuard pen(dc, GetStockObject(BLACK_PEN));
    SelectionGuard brush(dc, GetStockObject(WHITE_BRUSH));
    Rectangle(dc, 0, 0, width, height);
    auto across = [&](int y) {
      MoveToEx(dc, 1, y, nullptr);
      LineTo(dc, width - 1, y);
    };
    across(2);
    across(height - 3);
    std::array<int, kMaxPosterLevels> rows{};
    const PosteriseSettings& settings = PosterSettings();
    const int count = PosterDiagramRows(settings.levels, settings.gamma, height, rows);
    for (int i = 0; i < count; ++i) across(rows[i]);
  }
}

LRESULT CALLBACK DiagramProc(HWND diagram, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PaintDiagram(diagram);
    return 0;
  }
  return CallOldProc(diagram, message, wParam, lParam);
}

void RepaintDiagram(HWND panel) { InvalidateRect(GetDlgItem(panel, IDC_POSTER_DIAGRAM), nullptr, FALSE); }

void OnInitDialog(HWND panel) {
  ShapePanel(panel);
  CheckRadioButton(panel, IDC_POSTER_EVEN, IDC_POSTER_GAMMA,
                   PosterSettings().gamma ? IDC_POSTER_GAMMA : IDC_POSTER_EVEN);
  ShowLevels(panel);
  SubclassControl(GetDlgItem(panel, IDC_POSTER_DIAGRAM), DiagramProc);
  SetScrollRange(GetDlgItem(panel, IDC_POSTER_ONES), SB_CTL, 0, 9, FALSE);
  SetScrollRange(GetDlgItem(panel, IDC_POSTER_TENS), SB_CTL, 0, 6, FALSE);
}

// The bars are up/down buttons: their thumbs never move.
void OnScroll(HWND panel, WPARAM wParam, HWND bar) {
  const int step = LOWORD(wParam) == SB_LINEUP ? 1 : LOWORD(wParam) == SB_LINEDOWN ? -1 : 0;
  PosteriseSettings& settings = PosterSettings();
  settings.levels = StepPosterLevels(settings.levels, step, GetDlgCtrlID(bar) == IDC_POSTER_TENS);
  ShowLevels(panel);
  RepaintDiagram(panel);
}

void OnCommand(HWND panel, int id) {
  PosterPanelState& state = Panel();
  switch (id) {
    case IDC_POSTER_EVEN:
      PosterSettings().gamma = IsDlgButtonChecked(panel, IDC_POSTER_EVEN) != BST_CHECKED;
      RepaintDiagram(panel);
      break;
    case IDC_POSTER_GAMMA:
      PosterSettings().gamma = IsDlgButtonChecked(panel, IDC_POSTER_GAMMA) == BST_CHECKED;
      RepaintDiagram(panel);
      break;
    case IDC_POSTER_PREVIEW:
      // Clicks during the pause are dropped, so repeated clicks do not queue runs.
      if (state.previewBusy) break;
      state.previewBusy = true;
      Posterise();
      SetTimer(panel, kPosterPauseTimer, kPreviewPauseMs, nullptr);
      break;
    case IDC_POSTER_EXECUTE:
      Posterise();
      SendMessageW(panel, WM_CLOSE, 0, 0);
      break;
    case IDCANCEL:
      SendMessageW(panel, WM_CLOSE, 0, 0);
      break;
    default:
      break;
  }
}

void OnDestroy(HWND panel) {
  PosterPanelState& state = Panel();
  KillTimer(panel, kPosterPauseTimer);
  state.previewBusy = false;
  RemoveSubclass(GetDlgItem(panel, IDC_POSTER_DIAGRAM));
  state.source.Reset();
  SetToolWindowHandle(ToolWindow::kPosterise, nullptr);
}

INT_PTR CALLBACK PosterPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
  std::array<HintSpot, 5> hints{{{IDC_POSTER_DIAGRAM, {}, IDS_HINT_POSTER_DIAGRAM},
                                 {IDC_POSTER_LEVELS, {}, IDS_HINT_POSTER_LEVELS},
                                 {IDC_POSTER_ONES, {}, IDS_HINT_POSTER_ONES},
                                 {IDC_POSTER_TENS, {}, IDS_HINT_POSTER_TENS},
                                 {IDC_POSTER_COLOUR_COUNT, {}, IDS_HINT_COLOUR_COUNT}}};
  // The count's hint only while the count is shown.
  const bool countShown = IsWindowVisible(GetDlgItem(panel, IDC_POSTER_COLOUR_COUNT));
  if (PanelMessage(panel, message, std::span(hints).first(countShown ? 5 : 4))) return TRUE;
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog(panel);
      return TRUE;
    case WM_VSCROLL:
      OnScroll(panel, wParam, reinterpret_cast<HWND>(lParam));
      return TRUE;
    case WM_COMMAND:
      OnCommand(panel, LOWORD(wParam));
      return TRUE;
    case WM_TIMER:
      if (wParam == kPosterPauseTimer) {
        KillTimer(panel, kPosterPauseTimer);
        Panel().previewBusy = false;
      }
      return TRUE;
    case WM_CLOSE:
      DestroyWindow(panel);
      return TRUE;
    case WM_DESTROY:
      OnDestroy(panel);
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

PosteriseSettings& PosterSettings() {
  static PosteriseSettings settings;
  return settings;
}

void OpenPosterisePanel(HWND viewer) {
  CloseToolWindow(ToolWindow::kArbitrarySize);
  if (ToolWindowHandle(ToolWindow::kPosterise)) return;
  HWND panel = CreateDialogParamW(ModuleInstance(), MAKEINTRESOURCEW(IDD_POSTERISE), viewer, PosterPanelProc, 0);
  if (!panel) {
    ShowMemoryError(viewer);
    return;
  }
  SetToolWindowHandle(ToolWindow::kPosterise, panel);
  // The snapshot is made at the size of the plain rendering it copies, so it always holds
  // every row of WorkImage.
  PosterPanelState& state = Panel();
  const ImageBuffersState& images = Images();
  const bool rendered = RenderView(1) == 0;  // a failed rendering has said so already
  if (rendered) state.source = CreateDib24(images.workImage.Width(), images.workImage.Height());
  if (!state.source) {
    SendMessageW(panel, WM_CLOSE, 0, 0);
    if (rendered) ShowMemoryError(viewer);
    return;
  }
  const ImageView work = images.workImage.View();
  for (int y = 0; y < work.height; ++y) std::memcpy(state.source.view.Row(y), work.Row(y), RowBytes(work.width));
}

int Posterise() {
  PosterPanelState& state = Panel();
  HWND panel = ToolWindowHandle(ToolWindow::kPosterise);
  const ImageView source = state.source.view;
  const ImageView target = Images().workImage.View();
  if (source.Empty() || source.width != target.width || source.height != target.height) return 0;
  const PosteriseSettings& settings = PosterSettings();
  const PosterTable table = MakePosterTable(settings.levels, settings.gamma);
  HWND progress = panel ? GetDlgItem(panel, IDC_POSTER_PROGRESS) : nullptr;
  const bool showProgress = progress && int64_t{target.width} * target.height > kProgressPixels;
  if (showProgress) {
    SendMessageW(progress, PBM_SETRANGE32, 0, target.height);
    SendMessageW(progress, PBM_SETPOS, 0, 0);
    SendMessageW(progress, PBM_SETSTEP, 1, 0);
    ShowWindow(progress, SW_SHOWNA);
  }
  for (int y = 0; y < target.height; ++y) {
    PosteriseRow(source.Row(y), target.Row(y), target.width, table);
    if (showProgress) {
      SendMessageW(progress, PBM_STEPIT, 0, 0);
      if ((y & 31) == 31) UpdateWindow(progress);
    }
  }
  if (HWND viewer = ViewerWindow()) RedrawWindow(viewer, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE);
  if (showProgress) ShowWindow(progress, SW_HIDE);
  CountColours(kPosterisePanel);
  return 0;
}

}  // namespace pictornx
