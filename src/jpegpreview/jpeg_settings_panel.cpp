#include "jpegpreview/jpeg_settings_panel.h"

#include <windowsx.h>

#include <algorithm>
#include <array>
#include <cstdint>

#include "files/save_image.h"
#include "imagestore/image_buffers.h"
#include "jpegpreview/settings_panel_rules.h"
#include "pixels/stamp.h"
#include "resources/resource_ids.h"
#include "ui/draw.h"
#include "ui/hint.h"
#include "ui/surface.h"
#include "ui/tool_windows.h"
#include "ui/window_shape.h"
#include "win/dialog_result.h"
#include "win/module.h"

namespace pictornx {
namespace {

constexpr int kWidth = 125;
constexpr int kHeight = 140;
constexpr int kHeaderHeight = 25;

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kKeyBlue = RGB(0, 0, 255);
constexpr COLORREF kSliderColour = RGB(255, 190, 0);

// The slider groove, and the band in which presses and drags choose a quality.
constexpr RECT kSlider{23, 55, 103, 65};
constexpr RECT kBand{25, 56, 99, 64};  // all four edges included

constexpr POINT kDownArrow{12, 55};
constexpr POINT kUpArrow{103, 55};
constexpr int kArrowWidth = 11;
constexpr int kArrowHeight = 10;
constexpr int kPressedArrowColumn = 11;

// Grey levels of the body's brushed-metal texture, one per row, repeating.
constexpr std::array<uint8_t, 51> kTexture{230, 240, 235, 235, 230, 230, 227, 224, 222, 226, 230, 215, 218,
                                           224, 235, 230, 225, 220, 210, 220, 230, 235, 240, 230, 220, 225,
                                           210, 220, 215, 220, 225, 220, 235, 245, 240, 210, 220, 230, 240,
                                           220, 225, 230, 220, 240, 235, 220, 215, 215, 220, 225, 220};

struct BodyLayer {
  RECT rect;
  COLORREF colour;
  int corner;
};
// Light rims at the top left and dark ones at the bottom right: a raised body.
constexpr std::array<BodyLayer, 8> kBody{{
    {{0, 25, kWidth, kHeight}, RGB(253, 253, 253), 12},
    {{1, 26, kWidth, kHeight}, RGB(240, 240, 240), 10},
    {{2, 27, kWidth, kHeight}, RGB(230, 230, 230), 8},
    {{3, 28, kWidth, kHeight}, RGB(220, 220, 220), 6},
    {{4, 29, kWidth, kHeight}, RGB(5, 5, 5), 12},
    {{4, 29, kWidth - 1, kHeight - 1}, RGB(40, 40, 40), 10},
    {{4, 29, kWidth - 2, kHeight - 2}, RGB(130, 130, 130), 8},
    {{4, 29, kWidth - 3, kHeight - 3}, RGB(180, 180, 180), 6},
}};

struct SettingsPanelState {
  HWND panel = nullptr;
  Surface image;
  JpegSettingsCallbacks callbacks;
  // The quality the preview was last re-encoded at, whatever asked for it: a release
  // that leaves the quality there needs no new encoding.
  int refreshedQuality = 0;
  bool pressed = false;  // between a left press on the panel and its release
  bool dragging = false;
};

SettingsPanelState& State() {
  static SettingsPanelState state;
  return state;
}

int Quality() { return std::clamp(JpegSettings().quality, 1, 100); }

void SetLabelFont(LONG weight) {
  LOGFONTW& font = LabelFont();
  font.lfCharSet = SHIFTJIS_CHARSET;
  font.lfWeight = weight;
  font.lfItalic = FALSE;
  font.lfWidth = 0;
  LoadResString(IDS_LABEL_FONT_FACE, font.lfFaceName, LF_FACESIZE);
}

// White, then black one pixel right and down: an engraved label.
void DrawEngraved(HDC dc, UINT stringId, int x, int y, int height) {
  wchar_t text[64];
  if (LoadResString(stringId, text, static_cast<int>(std::size(text))) <= 0) return;
  DrawLabel(dc, x, y, kWhite, text, height, 0);
  DrawLabel(dc, x + 1, y + 1, kBlack, text, height, 0);
}

void DrawSlider(HDC dc, RECT r, COLORREF colour, int percent) {
  FillRoundRect(dc, {r.left, r.top, r.right - 1, r.bottom - 1}, RGB(5, 5, 5), 4);
  FillRoundRect(dc, {r.left + 1, r.top + 1, r.right, r.bottom}, kWhite, 2);
  FillRoundRect(dc, {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, colour, 2);
  const int xk = KnobCentre(r.left, r.right, percent);
  OwnedPen white(CreatePen(PS_SOLID, 1, kWhite));
  OwnedPen black(CreatePen(PS_SOLID, 1, kBlack));
  {
    SelectionGuard pen(dc, white.Get());
    MoveToEx(dc, xk + 3, r.top + 1, nullptr);
    LineTo(dc, xk - 3, r.top + 1);
    LineTo(dc, xk - 3, r.top + 8);
  }
  {
    SelectionGuard pen(dc, black.Get());
    LineTo(dc, xk + 3, r.top + 8);
    LineTo(dc, xk + 3, r.top + 1);
  }
  FillSolid(dc, xk - 2, r.top + 2, xk + 3, r.top + 8, kKeyBlue);
}

void DrawQualityNumber(HDC dc) {
  wchar_t text[8];
  wsprintfW(text, L"%d", Quality());
  SetLabelFont(FW_NORMAL);
  DrawLabel(dc, 39, 33, kWhite, text, 12, 1);
}

void ShowQuality() {
  SettingsPanelState& state = State();
  if (!state.image) return;
  DrawSlider(state.image.Dc(), kSlider, kSliderColour, Quality());
  DrawQualityNumber(state.image.Dc());
  if (state.panel) InvalidateRect(state.panel, nullptr, FALSE);
}

// Re-encodes the preview at the current settings, then lets the loupe show the result.
void Refresh() {
  SettingsPanelState& state = State();
  const JpegSettingsCallbacks callbacks = state.callbacks;
  state.refreshedQuality = Quality();
  if (callbacks.refreshPreview) callbacks.refreshPreview();
  if (callbacks.refreshLoupe) callbacks.refreshLoupe();
}

// Steps the quality by one; nothing happens at either end.
void StepQuality(int step) {
  const int quality = Quality();
  const int next = std::clamp(quality + step, 1, 100);
  if (next == quality) return;
  JpegSettings().quality = next;
  ShowQuality();
  Refresh();
}

// Every pixel whose blue byte is 255: the key of the header picture, and the blue rounded
// rectangle where the body's layers leave it showing. Such pixels are cut from the shape,
// so turning them all into the one key colour first changes nothing that shows.
OwnedRegion BlueKeyRegion(ImageView image) {
  for (int y = 0; y < image.height; ++y) {
    uint8_t* p = image.Row(y);
    for (int x = 0; x < image.width; ++x, p += 3)
      if (p[0] == 255) p[1] = p[2] = 0;
  }
  return MaskRegion(image, kSpriteKey, MaskKeeps::kKeyPixels);
}

// The picture, with the window's shape; false when the picture or the header cannot be made.
bool BuildPanelImage(HWND panel) {
  SettingsPanelState& state = State();
  if (!state.image.Create(panel, kWidth, kHeight, Images().screenPalette.Get())) return false;
  HDC dc = state.image.Dc();
  FillSolid(dc, 0, 0, kWidth, kHeight, kWhite);
  FillRoundRect(dc, {0, 0, kWidth, kHeight}, kKeyBlue, 12);
  // Outside the blue rounded rectangle everything is still white.
  OwnedRegion shape = MaskRegion(state.image.Pixels(), Rgb{255, 255, 255}, MaskKeeps::kOtherPixels);

  if (BlitResourceBitmap(dc, IDB_JPEG_SETTINGS_HEADER, 0, 0, kWidth, kHeaderHeight, 0, 0) != 0) return false;
  for (const BodyLayer& layer : kBody) FillRoundRect(dc, layer.rect, layer.colour, layer.corner);
  const ImageView pixels = state.image.Pixels();
  for (int y = 28; y <= kHeight - 5; ++y) {
    const uint8_t grey = kTexture[static_cast<size_t>(y - 28) % kTexture.size()];
    uint8_t* row = pixels.TopRow(y);
    std::fill(row + 3 * 3, row + 3 * (kWidth - 4), grey);
  }
  if (shape) {
    OwnedRegion cut = BlueKeyRegion(pixels);
    if (cut) CombineRgn(shape.Get(), shape.Get(), cut.Get(), RGN_DIFF);
    SetWindowShape(panel, std::move(shape), false);
  }

  FillRoundRect(dc, {15, 30, 109, 47}, kBlack, 16);
  FillRoundRect(dc, {16, 31, 110, 48}, kWhite, 16);
  FillRoundRect(dc, {16, 31, 109, 47}, RGB(195, 195, 255), 14);
  FillRoundRect(dc, {27, 32, 51, 45}, kBlack, 4);

  SetLabelFont(FW_BOLD);
  DrawEngraved(dc, IDS_JPEG_QUALITY, 80, 33, 12);
  DrawQualityNumber(dc);
  DrawEngraved(dc, IDS_JPEG_LOW_QUALITY, 24, 70, 10);
  DrawEngraved(dc, IDS_JPEG_HIGH_QUALITY, 101, 70, 10);
  SetLabelFont(FW_SEMIBOLD);
  DrawEngraved(dc, IDS_JPEG_PROGRESSIVE, 70, 94, 12);
  DrawEngraved(dc, IDS_JPEG_GREY, 72, 114, 12);
  SetLabelFont(FW_NORMAL);

  for (POINT at : {kDownArrow, kUpArrow})
    BlitResourceBitmap(dc, IDB_JPEG_ARROW_BUTTON, at.x, at.y, kArrowWidth, kArrowHeight, 0, 0);
  DrawSlider(dc, kSlider, kSliderColour, Quality());
  return true;
}

void PlaceControls(HWND panel) {
  MoveWindow(GetDlgItem(panel, IDC_JPEG_QUALITY_DOWN), kDownArrow.x, kDownArrow.y, kArrowWidth, kArrowHeight, FALSE);
  MoveWindow(GetDlgItem(panel, IDC_JPEG_QUALITY_UP), kUpArrow.x, kUpArrow.y, kArrowWidth, kArrowHeight, FALSE);
  MoveWindow(GetDlgItem(panel, IDC_JPEG_PROGRESSIVE), 15, 95, 10, 10, FALSE);
  MoveWindow(GetDlgItem(panel, IDC_JPEG_GREY), 15, 115, 10, 10, FALSE);
  const JpegOptions& settings = JpegSettings();
  CheckDlgButton(panel, IDC_JPEG_PROGRESSIVE, settings.progressive ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(panel, IDC_JPEG_GREY, settings.colour ? BST_UNCHECKED : BST_CHECKED);
}

void DrawArrowButton(const DRAWITEMSTRUCT& item) {
  // The pressed picture follows the button's state, so a release draws it up again.
  const int column = (item.itemState & ODS_SELECTED) ? kPressedArrowColumn : 0;
  BlitResourceBitmap(item.hDC, IDB_JPEG_ARROW_BUTTON, item.rcItem.left, item.rcItem.top,
                     item.rcItem.right - item.rcItem.left, item.rcItem.bottom - item.rcItem.top, column, 0);
}

void OnPaint(HWND panel) {
  State().image.Paint(panel);
  // The picture covers the check boxes' places: they paint themselves over it again.
  for (int id : {IDC_JPEG_PROGRESSIVE, IDC_JPEG_GREY}) InvalidateRect(GetDlgItem(panel, id), nullptr, TRUE);
}

void OnCommand(HWND panel, int id, int code) {
  JpegOptions& settings = JpegSettings();
  const bool click = code == BN_CLICKED || code == BN_DOUBLECLICKED;
  switch (id) {
    case IDC_JPEG_PROGRESSIVE:
      if (code != BN_CLICKED) return;
      settings.progressive = IsDlgButtonChecked(panel, IDC_JPEG_PROGRESSIVE) == BST_CHECKED;
      Refresh();
      break;
    case IDC_JPEG_GREY:
      if (code != BN_CLICKED) return;
      settings.colour = IsDlgButtonChecked(panel, IDC_JPEG_GREY) != BST_CHECKED;
      Refresh();
      break;
    case IDC_JPEG_QUALITY_DOWN:
      if (click) StepQuality(-1);
      break;
    case IDC_JPEG_QUALITY_UP:
      if (click) StepQuality(1);
      break;
    default:
      break;
  }
}

bool InBand(int x, int y) { return x >= kBand.left && x <= kBand.right && y >= kBand.top && y <= kBand.bottom; }

void SetSliderQuality(int x, int maxQuality) {
  const int quality = QualityFromSliderX(x, maxQuality);
  if (quality == JpegSettings().quality) return;
  JpegSettings().quality = quality;
  ShowQuality();
}

void OnButtonDown(HWND panel, int x, int y) {
  State().pressed = true;
  SetCapture(panel);
  if (!InBand(x, y)) return;
  // A press may choose 100 only in principle: the band's right end gives 99.
  SetSliderQuality(x, 100);
  State().dragging = true;
}

void OnMouseMove(int x, int y) {
  CloseHint();
  SettingsPanelState& state = State();
  if (!state.dragging) return;
  if (!InBand(x, y)) {
    state.dragging = false;  // the capture stays until the release
    return;
  }
  SetSliderQuality(x, 99);
}

void OnButtonUp(HWND panel) {
  SettingsPanelState& state = State();
  const bool dragged = state.dragging;
  state.dragging = false;
  state.pressed = false;
  if (dragged || Quality() != state.refreshedQuality) Refresh();
  if (state.panel) InvalidateRect(panel, nullptr, FALSE);
  if (GetCapture() == panel) ReleaseCapture();
}

void OnDestroy() {
  SettingsPanelState& state = State();
  state.image.Reset();
  state.dragging = false;
  state.panel = nullptr;
  state.callbacks = {};
  SetToolWindowHandle(ToolWindow::kJpegSettings, nullptr);
}

INT_PTR CALLBACK SettingsPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_ERASEBKGND:
      // The picture covers the whole client area.
      return DialogResult(panel, 1);
    case WM_PAINT:
      OnPaint(panel);
      return TRUE;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (!item || item->CtlType != ODT_BUTTON) return FALSE;
      DrawArrowButton(*item);
      return TRUE;
    }
    case WM_COMMAND:
      OnCommand(panel, LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_LBUTTONDOWN:
      OnButtonDown(panel, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return TRUE;
    case WM_MOUSEMOVE:
      OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return TRUE;
    case WM_LBUTTONUP:
      OnButtonUp(panel);
      return TRUE;
    case WM_CAPTURECHANGED:
      // Another window took the mouse mid-press (a menu, a system key): no release will
      // come, so the quality chosen so far is encoded now, as a release would.
      if (State().pressed && reinterpret_cast<HWND>(lParam) != panel) OnButtonUp(panel);
      return TRUE;
    case WM_CLOSE:
      DestroyWindow(panel);
      return TRUE;
    case WM_DESTROY:
      OnDestroy();
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

int OpenJpegSettingsPanel(HWND preview, int x, int y, JpegSettingsCallbacks callbacks) {
  if (JpegSettingsPanelWindow()) return 0;
  HWND panel =
      CreateDialogParamW(ModuleInstance(), MAKEINTRESOURCEW(IDD_JPEG_SETTINGS), preview, SettingsPanelProc, 0);
  if (!panel) return -1;
  SettingsPanelState& state = State();
  state.panel = panel;
  state.callbacks = callbacks;
  // The preview encodes at these settings as soon as it opens.
  state.refreshedQuality = Quality();
  state.dragging = false;
  SetToolWindowHandle(ToolWindow::kJpegSettings, panel);
  // The picture is the whole window, its own bevel the edge, and its shape is cut in window
  // coordinates: a border would move the picture a pixel off its shape and clip its
  // bottom-right bevel.
  SetWindowLongPtrW(panel, GWL_STYLE, GetWindowLongPtrW(panel, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_BORDER));
  SetWindowPos(panel, nullptr, x, y, kWidth, kHeight, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  if (!BuildPanelImage(panel)) {
    DestroyWindow(panel);
    return -1;
  }
  PlaceControls(panel);
  ShowWindow(panel, SW_SHOWNA);
  InvalidateRect(panel, nullptr, TRUE);
  return 0;
}

void ApplyJpegQuality(int quality) {
  const int next = std::clamp(quality, 1, 100);
  if (next == JpegSettings().quality) return;
  JpegSettings().quality = next;
  ShowQuality();
  Refresh();
}

void CloseJpegSettingsPanel() {
  if (HWND panel = JpegSettingsPanelWindow()) SendMessageW(panel, WM_CLOSE, 0, 0);
}

HWND JpegSettingsPanelWindow() { return ToolWindowHandle(ToolWindow::kJpegSettings); }

}  // namespace pictornx
