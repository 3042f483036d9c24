#include "imageops/size_panel.h"

#include <commctrl.h>

#include <algorithm>

#include "imagestore/image_buffers.h"
#include "viewer/render_view.h"
#include "resources/resource_ids.h"
#include "ui/panel_frame.h"
#include "ui/popup.h"
#include "ui/tool_windows.h"
#include "viewer/viewer.h"
#include "win/module.h"

namespace pictornx {
namespace {

constexpr int kUpDownMax = 600;
constexpr int kPresetAnySize = 6;
constexpr int kPresetFirstSlot = 7;
constexpr int kPresetFirstFixedWidthSlot = 10;

// The controls of one side of the size.
struct Side {
  int edit, tens, ones;
};
constexpr Side kWidthSide{IDC_SIZE_WIDTH_EDIT, IDC_SIZE_WIDTH_TENS, IDC_SIZE_WIDTH_ONES};
constexpr Side kHeightSide{IDC_SIZE_HEIGHT_EDIT, IDC_SIZE_HEIGHT_TENS, IDC_SIZE_HEIGHT_ONES};

bool IsWidth(const Side& side) { return side.edit == IDC_SIZE_WIDTH_EDIT; }
int& SizeOf(const Side& side) { return IsWidth(side) ? SizePanel().targetWidth : SizePanel().targetHeight; }

void ShowSide(HWND panel, const Side& side) {
  const int size = SizeOf(side);
  SendDlgItemMessageW(panel, side.tens, UDM_SETPOS32, 0, TensOf(size));
  SendDlgItemMessageW(panel, side.ones, UDM_SETPOS32, 0, OnesOf(size));
  SetDlgItemInt(panel, side.edit, static_cast<UINT>(size), FALSE);
}

// While the lock is checked, the other side follows `from`; a capped result moves `from`
// too.
void ApplyRatio(HWND panel, const Side& from) {
  if (IsDlgButtonChecked(panel, IDC_SIZE_RATIO_LOCK) != BST_CHECKED) return;
  SizePanelState& state = SizePanel();
  const SizePair size = IsWidth(from) ? RatioFromWidth(state.targetWidth, state.targetRatio)
                                      : RatioFromHeight(state.targetHeight, state.targetRatio);
  const bool capped = (IsWidth(from) ? size.width != state.targetWidth : size.height != state.targetHeight);
  state.targetWidth = size.width;
  state.targetHeight = size.height;
  if (capped) ShowSide(panel, from);
  ShowSide(panel, IsWidth(from) ? kHeightSide : kWidthSide);
}

void OnUpDown(HWND panel, HWND upDown) {
  const int id = GetDlgCtrlID(upDown);
  const Side& side = (id == IDC_SIZE_WIDTH_TENS || id == IDC_SIZE_WIDTH_ONES) ? kWidthSide : kHeightSide;
  const int tens = static_cast<int>(SendDlgItemMessageW(panel, side.tens, UDM_GETPOS32, 0, 0));
  const int ones = static_cast<int>(SendDlgItemMessageW(panel, side.ones, UDM_GETPOS32, 0, 0));
  SizeOf(side) = SizeFromUpDowns(tens, ones);
  ShowSide(panel, side);
  ApplyRatio(panel, side);
}

int EditNumber(HWND edit) {
  wchar_t text[32] = L"";
  GetWindowTextW(edit, text, 32);
  return LeadingNumber(text);
}

// Leaving an edit accepts and clamps any value; Enter accepts 1..5999 and otherwise puts
// the current size back.
LRESULT CALLBACK SizeEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND panel = GetParent(edit);
  const Side& side = GetDlgCtrlID(edit) == IDC_SIZE_WIDTH_EDIT ? kWidthSide : kHeightSide;
  switch (message) {
    case WM_KILLFOCUS:
      SizeOf(side) = ClampTypedSize(EditNumber(edit));
      ApplyRatio(panel, side);
      ShowSide(panel, side);
      break;
    case WM_GETDLGCODE:
      if (lParam && reinterpret_cast<const MSG*>(lParam)->wParam == VK_RETURN)
        return CallOldProc(edit, message, wParam, lParam) | DLGC_WANTALLKEYS;
      break;
    case WM_KEYDOWN:
      if (wParam == VK_RETURN) {
        const int typed = EditNumber(edit);
        const bool accepted = EnterAccepts(typed);
        if (accepted) SizeOf(side) = typed;
        ApplyRatio(panel, side);
        ShowSide(panel, side);
        if (accepted) return 0;
      }
      break;
    case WM_CHAR:
      if (wParam == L'\r') return 0;  // no beep for the Enter handled above
      break;
    default:
      break;
  }
  return CallOldProc(edit, message, wParam, lParam);
}

void OnInitDialog(HWND panel) {
  ShapePanel(panel);
  SizePanelState& state = SizePanel();
  const ImageBuffersState& images = Images();
  state.recordMode = false;
  SIZE start = images.viewSize;
  if (Viewer().zoomPreset == kPresetAnySize && (state.targetWidth == 0 || state.targetHeight == 0))
    start = images.sourceSize;
  state.targetWidth = std::max<int>(1, start.cx);
  state.targetHeight = std::max<int>(1, start.cy);
  state.targetRatio = static_cast<double>(state.targetHeight) / state.targetWidth;
  SubclassControl(GetDlgItem(panel, IDC_SIZE_WIDTH_EDIT), SizeEditProc);
  SubclassControl(GetDlgItem(panel, IDC_SIZE_HEIGHT_EDIT), SizeEditProc);
  CheckDlgButton(panel, IDC_SIZE_RATIO_LOCK, Viewer().ratioLock ? BST_CHECKED : BST_UNCHECKED);
  for (int id : {IDC_SIZE_WIDTH_TENS, IDC_SIZE_WIDTH_ONES, IDC_SIZE_HEIGHT_TENS, IDC_SIZE_HEIGHT_ONES})
    SendDlgItemMessageW(panel, id, UDM_SETRANGE32, 0, kUpDownMax);
  ShowSide(panel, kWidthSide);
  ShowSide(panel, kHeightSide);
}

void OnSlot(HWND panel, int slot) {
  SizePanelState& state = SizePanel();
  if (state.recordMode) {
    state.slots[slot] = {state.targetWidth, state.targetHeight};
    state.recordMode = false;
    CheckDlgButton(panel, IDC_SIZE_RECORD, BST_UNCHECKED);
    return;
  }
  state.targetWidth = state.slots[slot].width;
  state.targetHeight = state.slots[slot].height;
  ShowSide(panel, kWidthSide);
  ShowSide(panel, kHeightSide);
  // A recalled size has its own proportions: the lock stays off until checked again.
  CheckDlgButton(panel, IDC_SIZE_RATIO_LOCK, BST_UNCHECKED);
}

void OnExecute(HWND panel) {
  SizePanelState& state = SizePanel();
  state.targetWidth = std::max(1, state.targetWidth);
  state.targetHeight = std::max(1, state.targetHeight);
  const SIZE source = Images().sourceSize;
  const SlotZoom zoom = SlotFactors({state.targetWidth, state.targetHeight}, {source.cx, source.cy}, false);
  SetZoomFactors(zoom.x, zoom.y, kPresetAnySize);
  RefreshZoomMenu();
  RenderView(1);
  SendMessageW(panel, WM_CLOSE, 0, 0);
}

void OnCommand(HWND panel, int id) {
  switch (id) {
    case IDC_SIZE_RATIO_LOCK:
      SetRatioLock(IsDlgButtonChecked(panel, IDC_SIZE_RATIO_LOCK) == BST_CHECKED);
      break;
    case IDC_SIZE_RECORD:
      SizePanel().recordMode = IsDlgButtonChecked(panel, IDC_SIZE_RECORD) == BST_CHECKED;
      break;
    case IDC_SIZE_SLOT1:
    case IDC_SIZE_SLOT2:
    case IDC_SIZE_SLOT3:
      OnSlot(panel, id - IDC_SIZE_SLOT1);
      break;
    case IDC_SIZE_EXECUTE:
      OnExecute(panel);
      break;
    case IDC_SIZE_CANCEL:
    case IDCANCEL:
      SendMessageW(panel, WM_CLOSE, 0, 0);
      break;
    default:
      break;
  }
}

INT_PTR CALLBACK SizePanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
  static constexpr HintSpot kHints[] = {
      {IDC_SIZE_WIDTH_TENS, {}, IDS_HINT_STEP_10_PIXELS}, {IDC_SIZE_WIDTH_ONES, {}, IDS_HINT_STEP_1_PIXEL},
      {IDC_SIZE_HEIGHT_TENS, {}, IDS_HINT_STEP_10_PIXELS}, {IDC_SIZE_HEIGHT_ONES, {}, IDS_HINT_STEP_1_PIXEL},
      {IDC_SIZE_SLOT1, {}, IDS_HINT_SIZE_SLOT1},           {IDC_SIZE_SLOT2, {}, IDS_HINT_SIZE_SLOT2},
      {IDC_SIZE_SLOT3, {}, IDS_HINT_SIZE_SLOT3},           {IDC_SIZE_RECORD, {}, IDS_HINT_SIZE_RECORD},
      {IDC_SIZE_TITLE, {}, IDS_HINT_DRAG_PANEL}};
  if (PanelMessage(panel, message, kHints)) return TRUE;
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog(panel);
      return TRUE;
    case WM_VSCROLL:
      if (LOWORD(wParam) == SB_THUMBPOSITION) OnUpDown(panel, reinterpret_cast<HWND>(lParam));
      return TRUE;
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) OnCommand(panel, LOWORD(wParam));
      return TRUE;
    case WM_CLOSE:
      DestroyWindow(panel);
      return TRUE;
    case WM_DESTROY:
      ReleaseCapture();
      RemoveSubclass(GetDlgItem(panel, IDC_SIZE_WIDTH_EDIT));
      RemoveSubclass(GetDlgItem(panel, IDC_SIZE_HEIGHT_EDIT));
      SetToolWindowHandle(ToolWindow::kArbitrarySize, nullptr);
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

SizePanelState& SizePanel() {
  static SizePanelState state;
  return state;
}

void OpenSizePanel(HWND viewer) {
  CloseToolWindow(ToolWindow::kPosterise);
  RefreshZoomMenu();
  if (ToolWindowHandle(ToolWindow::kArbitrarySize)) return;
  HWND panel = CreateDialogParamW(ModuleInstance(), MAKEINTRESOURCEW(IDD_ANY_SIZE), viewer, SizePanelProc, 0);
  if (!panel) {
    ShowMemoryError(viewer);
    return;
  }
  SetToolWindowHandle(ToolWindow::kArbitrarySize, panel);
}

void RenderSizeSlot(HWND, int slot, bool fixedWidth) {
  const SIZE source = Images().sourceSize;
  const SlotZoom zoom = SlotFactors(SizePanel().slots[slot], {source.cx, source.cy}, fixedWidth);
  SetZoomFactors(zoom.x, zoom.y, (fixedWidth ? kPresetFirstFixedWidthSlot : kPresetFirstSlot) + slot);
  RefreshZoomMenu();
  RenderView(1);
  SetRatioLock(true);
}

void RefreshSizeSlotLabels(HMENU zoomMenu) {
  static constexpr int kStretched[] = {IDM_SIZE_SLOT1, IDM_SIZE_SLOT2, IDM_SIZE_SLOT3};
  static constexpr int kFixedWidth[] = {IDM_SIZE_SLOT1_FIXED_WIDTH, IDM_SIZE_SLOT2_FIXED_WIDTH,
                                        IDM_SIZE_SLOT3_FIXED_WIDTH};
  wchar_t pixels[32], fixedWidth[32];
  LoadResString(IDS_PIXELS_SUFFIX, pixels, 32);
  LoadResString(IDS_FIXED_WIDTH_SUFFIX, fixedWidth, 32);
  auto setLabel = [&](int item, const wchar_t* label) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<wchar_t*>(label);
    SetMenuItemInfoW(zoomMenu, static_cast<UINT>(item), FALSE, &info);
  };
  for (int slot = 0; slot < 3; ++slot) {
    const SizePair size = SizePanel().slots[slot];
    wchar_t label[96];
    wsprintfW(label, L"%d x %d%s", size.width, size.height, pixels);
    setLabel(kStretched[slot], label);
    wsprintfW(label, L"%d%s%s", size.width, pixels, fixedWidth);
    setLabel(kFixedWidth[slot], label);
  }
}

}  // namespace pictornx
