// The inspector's settings panel: drawn over the top of the view when the settings button
// in the title tab is clicked; three pages (pixel count, width, readout options) and apply.
#include <algorithm>
#include <array>

#include "pixels/stamp.h"
#include "resources/resource_ids.h"
#include "inspector/inspector_state.h"
#include "ui/draw.h"
#include "ui/hint.h"
#include "ui/painted_window.h"
#include "win/module.h"

namespace pictornx {
namespace {

constexpr int kPanelWidth = 154;
constexpr int kPanelHeight = 37;
constexpr COLORREF kWhite = 0x00FFFFFF;
constexpr COLORREF kShadow = 0x000A0A0A;
constexpr COLORREF kMist = 0x00DED1C9;
constexpr COLORREF kAmberLight = 0x006BD3FF;

void Sprite(uint16_t id, PixelRect cell, int x, int y) {
  const DibSection sheet = LoadSpriteSheet(id);
  if (sheet) CopySprite(sheet.view, cell, Inspector().face.Pixels(), x, y, nullptr);
}

int PanelLeft() { return Inspector().layout.panelLeft; }
int PanelTop() { return Inspector().layout.top; }

SettingRange RangeOf(PanelPage page) {
  return page == PanelPage::kWidth ? kInspectorWidthRange : kPixelCountRange;
}
int& ValueOf(PanelPage page) {
  InspectorSettings& settings = Inspector().settings;
  return page == PanelPage::kWidth ? settings.width : settings.pixelCount;
}

// Page buttons: pixel count, width, readout, apply; source columns 0, 19, 38, 57.
struct PageButton {
  PanelHit hit;
  int dx;
  int y;
  UINT hint;
};
constexpr std::array<PageButton, 4> kPageButtons{{
    {PanelHit::kPixelCountPage, 110, 21, IDS_HINT_INSPECTOR_PIXEL_COUNT},
    {PanelHit::kWidthPage, 131, 21, IDS_HINT_INSPECTOR_WIDTH},
    {PanelHit::kReadoutPage, 110, 38, IDS_HINT_INSPECTOR_READOUT},
    {PanelHit::kApply, 131, 38, IDS_HINT_INSPECTOR_APPLY},
}};

void DrawPageButtons(PanelHit pressed) {
  const DibSection sheet = LoadSpriteSheet(IDB_INSPECTOR_PAGE_BUTTONS);
  if (!sheet) return;
  for (size_t i = 0; i < kPageButtons.size(); ++i) {
    const PageButton& b = kPageButtons[i];
    const int column = 19 * static_cast<int>(i);
    const int row = b.hit == pressed ? 15 : 0;
    CopySprite(sheet.view, {column, row, column + 19, row + 15}, Inspector().face.Pixels(), PanelLeft() + b.dx, b.y,
               nullptr);
  }
}

// The panel's body: the art's left end, then its middle and right end stretched by
// overlapping strips, all inside the panel's 154 columns. A page redraws only the part
// left of the page buttons.
void DrawPanelBody(bool whole) {
  const DibSection sheet = LoadSpriteSheet(IDB_INSPECTOR_PANEL);
  if (!sheet) return;
  const ImageView face = Inspector().face.Pixels();
  const int p = PanelLeft();
  const int t = PanelTop();
  const int stripWidth = whole ? 18 : 9;
  CopySprite(sheet.view, {0, 0, whole ? 29 : 20, kPanelHeight}, face, p, t, nullptr);
  for (int x = 12; x <= 98; ++x) CopySprite(sheet.view, {12, 0, 12 + stripWidth, kPanelHeight}, face, p + x, t, nullptr);
  if (!whole) return;
  for (int x = 110; x <= 151; ++x) {
    const int width = std::min(5, kPanelWidth - x);
    CopySprite(sheet.view, {26, 0, 26 + width, kPanelHeight}, face, p + x, t, nullptr);
  }
}

void DrawShadowedLabel(UINT stringId, int x, int y) {
  HDC dc = Inspector().face.Dc();
  FixedText<kTitleChars> text;
  AddResString(text, stringId);
  DrawLabel(dc, x, y, kShadow, text.Text(), 10, 0);
  DrawLabel(dc, x + 1, y - 1, kWhite, text.Text(), 10, 0);
}

void DrawValue(int value) {
  HDC dc = Inspector().face.Dc();
  const int p = PanelLeft();
  const int t = PanelTop();
  FillRoundRect(dc, {p + 65, t + 6, p + 95, t + 19}, 0, 2);
  if (value < 100)
    DrawDigits(dc, value, p + 82, t + 8, 9, kWhite, DigitSize::kSmall);
  else
    DrawDigits(dc, value, p + 84, t + 8, 7, kWhite, DigitSize::kSmall);
}

void DrawThumb(int offset, bool erase) {
  Sprite(IDB_INSPECTOR_THUMB, erase ? PixelRect{10, 0, 20, 6} : PixelRect{0, 0, 10, 6}, PanelLeft() + 26 + offset,
         PanelTop() + 24);
}

// Minus (or plus: the minus image with an upright bar through its middle column).
void DrawStepButton(bool plus, bool pressed) {
  const int x = PanelLeft() + (plus ? 85 : 13);
  const int y = PanelTop() + 22;
  Sprite(IDB_INSPECTOR_SLIDER, pressed ? PixelRect{11, 0, 22, 10} : PixelRect{0, 0, 11, 10}, x, y);
  if (!plus) return;
  HDC dc = Inspector().face.Dc();
  const int drop = pressed ? 1 : 0;
  OwnedBrush ink(CreateSolidBrush(pressed ? kAmberLight : kMist));
  const RECT bar{x + 5, y + 2 + drop, x + 6, y + 7 + drop};
  if (ink) FillRect(dc, &bar, ink.Get());
}

void DrawValuePage(PanelPage page) {
  const int p = PanelLeft();
  const int t = PanelTop();
  DrawPanelBody(false);
  if (page == PanelPage::kPixelCount)
    DrawShadowedLabel(IDS_INSPECTOR_PIXEL_COUNT, p + 32, t + 7);
  else
    DrawShadowedLabel(IDS_INSPECTOR_WIDTH, p + 34, t + 7);
  HDC dc = Inspector().face.Dc();
  FillRoundRect(dc, {p + 64, t + 5, p + 96, t + 20}, kWhite, 2);
  const int value = ValueOf(page);
  DrawValue(value);
  const DibSection slider = LoadSpriteSheet(IDB_INSPECTOR_SLIDER);
  if (slider) {
    const ImageView face = Inspector().face.Pixels();
    CopySprite(slider.view, {22, 0, 33, 12}, face, p + 24, t + 22, nullptr);
    for (int x = p + 29; x <= p + 78; ++x) CopySprite(slider.view, {27, 0, 34, 12}, face, x, t + 22, nullptr);
  }
  DrawStepButton(false, false);
  DrawStepButton(true, false);
  DrawThumb(ThumbOffset(value, RangeOf(page)), false);
}

void DrawSwitches(PanelHit pressed) {
  const InspectorSettings& settings = Inspector().settings;
  const int p = PanelLeft();
  const int t = PanelTop();
  const int readoutRow = pressed == PanelHit::kReadoutSwitch ? 27 : (settings.readout ? 18 : 36);
  const int hexRow = pressed == PanelHit::kHexSwitch ? 27 : (settings.hexadecimal ? 9 : 0);
  Sprite(IDB_INSPECTOR_SWITCHES, {0, readoutRow, 29, readoutRow + 9}, p + 15, t + 23);
  Sprite(IDB_INSPECTOR_SWITCHES, {0, hexRow, 29, hexRow + 9}, p + 60, t + 23);
}

void DrawReadoutPage() {
  const int p = PanelLeft();
  const int t = PanelTop();
  DrawPanelBody(false);
  DrawShadowedLabel(IDS_INSPECTOR_READOUT, p + 29, t + 7);
  DrawShadowedLabel(IDS_INSPECTOR_HEX, p + 74, t + 7);
  DrawSwitches(PanelHit::kNone);
}

void ShowPage(PanelPage page) {
  Inspector().panel.page = page;
  if (page == PanelPage::kReadout)
    DrawReadoutPage();
  else
    DrawValuePage(page);
}

void RepaintPanel() {
  InvalidateFace(PanelLeft(), PanelTop(), PanelLeft() + kPanelWidth, PanelTop() + kPanelHeight, true);
}

void OpenPanel() {
  Inspector().panel.open = true;
  DrawPanelBody(true);
  DrawPageButtons(PanelHit::kNone);
  ShowPage(PanelPage::kPixelCount);
  RepaintPanel();
}

// Sets the current value page's value, moving the thumb and rewriting the value box.
void ChangeValue(int value) {
  const PanelPage page = Inspector().panel.page;
  const SettingRange range = RangeOf(page);
  int& current = ValueOf(page);
  value = range.Clamp(value);
  DrawThumb(ThumbOffset(current, range), true);
  current = value;
  DrawThumb(ThumbOffset(current, range), false);
  DrawValue(current);
}

void ToggleSwitch(PanelHit which) {
  DrawSwitches(which);
  RepaintPanel();
  InspectorSettings& settings = Inspector().settings;
  if (which == PanelHit::kReadoutSwitch)
    settings.readout = !settings.readout;
  else
    settings.hexadecimal = !settings.hexadecimal;
  DrawSwitches(PanelHit::kNone);
  RepaintPanel();
}

// Hints while the panel is open and the pointer rests on a page button; elsewhere none.
void TrackPageHints(int x, int y) {
  const InspectorState& s = Inspector();
  if (!s.panel.open) return;
  std::array<HintSpot, kPageButtons.size()> spots{};
  bool onButton = false;
  for (size_t i = 0; i < kPageButtons.size(); ++i) {
    const PageButton& b = kPageButtons[i];
    // The hit rectangles leave a pixel of each button's edge out.
    const int left = PanelLeft() + b.dx + (b.dx == 110 ? 2 : 4);
    const int top = b.y + 2;
    spots[i] = {0, {left, top, left + 15, top + 12}, b.hint};
    onButton = onButton || HitInspectorPanel(x, y, s.layout, true, s.panel.page, 0) == b.hit;
  }
  TrackHints(s.window, spots);
  if (!onButton && HintWindow()) CloseHint();
}

}  // namespace

void DrawSettingsButton(bool pressed) {
  const int row = pressed ? 10 : 0;
  Sprite(IDB_INSPECTOR_SETTINGS_BUTTON, {0, row, 13, row + 10}, Inspector().layout.titleEnd - 29, 4);
}

bool PanelLeftDown(int x, int y) {
  InspectorState& s = Inspector();
  PanelState& panel = s.panel;
  panel.dragging = false;
  panel.clicked = false;
  const PanelHit hit =
      HitInspectorPanel(x, y, s.layout, panel.open, panel.page, ThumbOffset(ValueOf(panel.page), RangeOf(panel.page)));
  switch (hit) {
    case PanelHit::kNone:
      return false;
    case PanelHit::kSettingsButton:
      DrawSettingsButton(true);
      InvalidateFace(s.layout.titleEnd - 29, 4, s.layout.titleEnd - 16, 14, true);
      if (!panel.open) OpenPanel();
      break;
    case PanelHit::kPixelCountPage:
    case PanelHit::kWidthPage:
    case PanelHit::kReadoutPage:
      DrawPageButtons(hit);
      ShowPage(hit == PanelHit::kPixelCountPage ? PanelPage::kPixelCount
                                                : (hit == PanelHit::kWidthPage ? PanelPage::kWidth : PanelPage::kReadout));
      RepaintPanel();
      break;
    case PanelHit::kApply:
      ApplyInspectorSettings();
      break;
    case PanelHit::kMinus:
    case PanelHit::kPlus:
      DrawStepButton(hit == PanelHit::kPlus, true);
      ChangeValue(ValueOf(panel.page) + (hit == PanelHit::kPlus ? 1 : -1));
      panel.clicked = true;
      RepaintPanel();
      break;
    case PanelHit::kTrack:
      ChangeValue(TrackValue(panel.page, x, PanelLeft(), RangeOf(panel.page)));
      panel.dragging = true;
      RepaintPanel();
      break;
    case PanelHit::kThumb:
      panel.dragging = true;
      break;
    case PanelHit::kReadoutSwitch:
    case PanelHit::kHexSwitch:
      ToggleSwitch(hit);
      break;
  }
  if (s.window) SetCapture(s.window);
  return true;
}

void PanelMouseMove(int x, int y) {
  InspectorState& s = Inspector();
  TrackPageHints(x, y);
  PanelState& panel = s.panel;
  if (!panel.open || !panel.dragging || panel.page == PanelPage::kReadout) return;
  const SettingRange range = RangeOf(panel.page);
  if (!DragHoldsThumb(x, y, s.layout, ThumbOffset(ValueOf(panel.page), range))) return;
  const int value = range.Clamp(TrackValue(panel.page, x, PanelLeft(), range));
  if (value == ValueOf(panel.page)) return;
  ChangeValue(value);
  InvalidateFace(PanelLeft() + 26, PanelTop() + 7, PanelLeft() + 94, PanelTop() + 32, true);
}

void PanelLeftUp() {
  InspectorState& s = Inspector();
  PanelState& panel = s.panel;
  if (!s.window || !s.face) return;
  if (panel.dragging || panel.clicked) {
    if (panel.clicked) {
      DrawStepButton(false, false);
      DrawStepButton(true, false);
    }
    InvalidateFace(PanelLeft() + 13, PanelTop() + 6, PanelLeft() + 96, PanelTop() + 32, true);
  } else {
    DrawSettingsButton(false);
    InvalidateFace(s.layout.titleEnd - 29, 4, s.layout.titleEnd - 16, 14, true);
    // Only an open panel has page buttons to release: after an apply the view is back.
    if (panel.open) {
      DrawPageButtons(PanelHit::kNone);
      InvalidateFace(PanelLeft() + 110, 22, PanelLeft() + 151, 53, true);
    }
  }
  panel.dragging = false;
  panel.clicked = false;
}

}  // namespace pictornx
