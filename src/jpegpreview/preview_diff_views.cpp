// The comparison side of the JPEG preview: the three view tabs, the whole / range / gain
// buttons and their modes, the range chosen with a rubber band, the channel panels and
// the pixel inspector as a loupe.
#include "imagestore/image_buffers.h"
#include "jpegpreview/channel_panels.h"
#include "jpegpreview/diff_controls_rules.h"
#include "jpegpreview/jpeg_preview.h"
#include "jpegpreview/preview_controls.h"
#include "jpegpreview/preview_notice.h"
#include "jpegpreview/preview_state.h"
#include "pixels/jpeg_diff.h"
#include "resources/resource_ids.h"
#include "inspector/pixel_inspector.h"
#include "ui/draw.h"
#include "ui/painted_window.h"
#include "ui/timers.h"
#include "win/module.h"

namespace pictornx {
namespace {

constexpr int kRangeMinWidth = 80;  // images this narrow or low take no range
constexpr int kRangeMinHeight = 20;
constexpr int kPanelIds[3] = {IDC_PREVIEW_RED_PANEL, IDC_PREVIEW_GREEN_PANEL, IDC_PREVIEW_BLUE_PANEL};

enum class DiffButton { kNone, kWhole, kRange, kGain };

struct DiffViewState {
  PreviewSprites sprites;
  Surface panels[3];
  DiffMode mode = DiffMode::kWhole;
  bool gain2 = false;
  DiffButton pressed = DiffButton::kNone;
  bool tabHeld = false;
  bool rangeSet = false;
  PixelRect range;  // view coordinates
  bool rubberBand = false;
  PreviewPoint anchor;
  PreviewPoint corner;
  PreviewPoint loupe;  // the loupe's last image point
};

DiffViewState& Diff() {
  static DiffViewState state;
  return state;
}

ConstImageView WorkView() { return Images().workImage.View(); }

// The loupe's left half: WorkImage.
void FeedLoupe(int x, int y) { UpdatePixelInspector(WorkView(), x, y); }

void DrawButtons(PreviewState& s, bool now) {
  DiffViewState& d = Diff();
  ButtonLooks looks = LooksFor(d.mode, d.gain2);
  switch (d.pressed) {
    case DiffButton::kWhole: looks.whole = 1; break;
    case DiffButton::kRange: looks.range = 1; break;
    // The pressed gain button already shows the face it is changing to.
    case DiffButton::kGain: looks.gainState = d.gain2 ? 11 : 1; break;
    case DiffButton::kNone: break;
  }
  DrawDiffButtons(s.face, d.sprites, looks.whole, looks.range, looks.gainState);
  InvalidateFaceRect(s, 489, 427, 566, 443, now);
}

void DrawTabColumn(PreviewState& s, int selected, int pressed) {
  DrawTabs(s.face, Diff().sprites, selected, pressed);
  InvalidateFaceRect(s, 623, 101, 692, 156);
}

PixelRect PictureRange(const PreviewState& s) {
  const PixelRect& r = Diff().range;
  return {r.left + s.offset.x, r.top + s.offset.y, r.right + s.offset.x, r.bottom + s.offset.y};
}

void RedrawChannelPanels(PreviewState& s) {
  DiffViewState& d = Diff();
  if (!s.jpegImage) return;
  const PixelRect range = PictureRange(s);
  DrawChannelPanels(d.panels, WorkView(), s.jpegImage.view, d.rangeSet ? &range : nullptr, d.gain2);
  for (HWND panel : s.panels)
    if (panel) RedrawWindow(panel, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

bool BuildDiffB(PreviewState& s) {
  if (s.diffBCurrent) return true;
  if (!s.jpegImage) return false;
  const ImageView jpeg = s.jpegImage.view;
  if (!s.diffB || s.diffB.view.width != jpeg.width || s.diffB.view.height != jpeg.height)
    s.diffB = CreateDib24(jpeg.width, jpeg.height);
  if (!s.diffB) return false;
  BuildDiffImage(WorkView(), jpeg, s.diffB.view, 4);
  s.diffBCurrent = true;
  return true;
}

void ShowImageOfMode(PreviewState& s) {
  CopyToViewImage(s, ShownImage(s));
  if (Diff().rangeSet && s.viewImage) {
    DrawRangeFrame(s.viewImage.Dc(), Diff().range, s.viewMode == 0);
  }
  InvalidateView(s);
}

void ClearRange(PreviewState& s) {
  DiffViewState& d = Diff();
  if (!d.rangeSet) return;
  d.rangeSet = false;
  UpdateQualityHint(s);
  ShowImageOfMode(s);
}

// The rubber band's outline, drawn twice to erase it.
void XorOutline(const PreviewState& s) {
  const DiffViewState& d = Diff();
  const WindowDc viewDc = MainViewDc(s);
  HDC dc = viewDc.Get();
  if (!dc) return;
  OwnedPen pen(CreatePen(PS_SOLID, 1, s.viewMode == 0 ? 0x00FFFFFF : 0x00888888));
  SelectionGuard selected(dc, pen.Get());
  const int mode = SetROP2(dc, R2_XORPEN);
  const POINT outline[5] = {{d.anchor.x, d.anchor.y}, {d.anchor.x, d.corner.y}, {d.corner.x, d.corner.y},
                            {d.corner.x, d.anchor.y}, {d.anchor.x, d.anchor.y}};
  Polyline(dc, outline, 5);
  SetROP2(dc, mode);
}

void OpenLoupe(PreviewState& s) {
  SetInspectorCompareMode(true);
  OpenPixelInspector(s.window, 1);
}

void ShowRangeTooSmall(PreviewState& s) {
  const WindowDc viewDc = MainViewDc(s);
  HDC dc = viewDc.Get();
  ShowNotice(dc, 50, 300, 340, 32, 1);
  wchar_t text[80];
  LoadResString(IDS_RANGE_TOO_SMALL, text, 80);
  DrawLabel(dc, 221, 311, 0x00050550, text, 12, 0);
  DrawLabel(dc, 220, 310, 0x00FFFFFF, text, 12, 0);
  SetTimer(s.view, kRangeNoticeTimer, TimerPeriod(1000), nullptr);
}

void PressTab(PreviewState& s, int tab) {
  DiffViewState& d = Diff();
  d.tabHeld = true;
  SetCapture(s.window);
  if (tab == s.viewMode) return;
  DrawTabColumn(s, tab, tab);
  const int previous = s.viewMode;
  s.viewMode = tab;
  if (tab == 2) {
    if (int64_t{s.imageWidth} * s.imageHeight > kDiffBNoticePixels) ShowProcessingNotice(MainViewDc(s).Get(), s.noticeFont.Get());
    if (!BuildDiffB(s)) {
      // Without memory for difference B the view keeps what it showed.
      s.viewMode = previous;
      return;
    }
  }
  ShowImageOfMode(s);
  RefreshLoupe();
}

void PressRange(PreviewState& s) {
  DiffViewState& d = Diff();
  if (s.imageWidth <= kRangeMinWidth || s.imageHeight <= kRangeMinHeight) {
    ShowRangeTooSmall(s);
    return;
  }
  SetCapture(s.window);
  d.pressed = DiffButton::kRange;
  DrawButtons(s, true);
  d.mode = d.mode == DiffMode::kSelecting ? DiffMode::kWhole : DiffMode::kSelecting;
  ClearRange(s);
}

void PressWhole(PreviewState& s) {
  DiffViewState& d = Diff();
  if (d.mode == DiffMode::kSelecting) return;
  SetCapture(s.window);
  d.pressed = DiffButton::kWhole;
  DrawButtons(s, true);
  d.mode = DiffMode::kWhole;
  if (d.rangeSet) {
    ClearRange(s);
    RedrawChannelPanels(s);
  }
}

void PressGain(PreviewState& s) {
  DiffViewState& d = Diff();
  if (d.mode == DiffMode::kSelecting) return;
  SetCapture(s.window);
  d.gain2 = !d.gain2;
  d.pressed = DiffButton::kGain;
  DrawButtons(s, true);
  RedrawChannelPanels(s);
}

bool OnImage(const PreviewState& s, PreviewPoint p) {
  return p.x >= 0 && p.y >= 0 && p.x < s.imageWidth && p.y < s.imageHeight;
}

}  // namespace

bool SelectingRange() { return Diff().mode == DiffMode::kSelecting; }
bool RangeIsSet() { return Diff().rangeSet; }
bool RubberBandActive() { return Diff().rubberBand; }
bool TabHeld() { return Diff().tabHeld; }

bool SelectedRange(const PreviewState& s, PixelRect& range) {
  if (!Diff().rangeSet) return false;
  range = PictureRange(s);
  return true;
}

bool OpenDiffViews(PreviewState& s) {
  DiffViewState& d = Diff();
  d = DiffViewState{};
  s.viewMode = 0;
  if (!BuildPreviewSprites(s.window, d.sprites)) return false;
  DrawTabs(s.face, d.sprites, 0, -1);
  DrawButtonPlate(s.face, d.sprites);
  DrawButtons(s, false);
  return BuildChannelPanelPictures(s.window, d.panels);
}

void CloseDiffViews(PreviewState&) { Diff() = DiffViewState{}; }

ConstImageView ShownImage(PreviewState& s) {
  if (!s.jpegImage) return WorkView();
  if (s.viewMode == 1 && s.diffA) return s.diffA.view;
  if (s.viewMode == 2 && BuildDiffB(s)) return s.diffB.view;
  return s.jpegImage.view;
}

void AfterRefresh(PreviewState& s) {
  UpdateQualityHint(s);
  ShowImageOfMode(s);
  RedrawChannelPanels(s);
  if (s.firstRefresh) {
    s.firstRefresh = false;
    OpenLoupe(s);
  }
}

void RefreshLoupe() {
  PreviewState& s = Preview();
  if (!s.window || !PixelInspectorWindow() || InspectorPanelOpen()) return;
  const DiffViewState& d = Diff();
  FeedLoupe(d.loupe.x, d.loupe.y);
  UpdateCompareView(ShownImage(s), d.loupe.x, d.loupe.y);
}

bool DiffLeftDown(PreviewState& s, int x, int y) {
  DiffViewState& d = Diff();
  switch (HitTestPreview(x, y)) {
    case PreviewHit::kTab1: PressTab(s, 0); return true;
    case PreviewHit::kTab2: PressTab(s, 1); return true;
    case PreviewHit::kTab3: PressTab(s, 2); return true;
    case PreviewHit::kTabGap: return true;
    case PreviewHit::kWhole: PressWhole(s); return true;
    case PreviewHit::kRange: PressRange(s); return true;
    case PreviewHit::kGain: PressGain(s); return true;
    default: break;
  }
  if (d.mode != DiffMode::kSelecting || !InViewArea(x, y)) return false;
  const PreviewPoint at{x - kViewClientLeft, y - kViewClientTop};
  if (OnImage(s, at)) {
    d.rubberBand = true;
    d.anchor = d.corner = at;
    SetCapture(s.window);
    XorOutline(s);
  }
  ViewMouseMove(s, x, y, true);
  return true;
}

bool DiffMouseMove(PreviewState& s, int x, int y, WPARAM keys) {
  DiffViewState& d = Diff();
  const PreviewPoint at{x - kViewClientLeft, y - kViewClientTop};
  if (d.rubberBand && InViewArea(x, y) && OnImage(s, at)) {
    XorOutline(s);
    d.corner = at;
    XorOutline(s);
  }
  const bool leftDown = (keys & MK_LBUTTON) != 0;
  if (InViewArea(x, y) && PixelInspectorWindow() && !InspectorPanelOpen() &&
      !(leftDown && d.mode == DiffMode::kWhole)) {
    SetInspectorCrosshair(d.mode == DiffMode::kSelecting);
    const PreviewPoint point{at.x + s.offset.x, at.y + s.offset.y};
    if (OnImage(s, point)) {
      d.loupe = point;
      FeedLoupe(point.x, point.y);
      UpdateCompareView(ShownImage(s), point.x, point.y);
    }
  }
  return false;
}

void DiffLeftUp(PreviewState& s, int, int) {
  DiffViewState& d = Diff();
  if (d.tabHeld) {
    d.tabHeld = false;
    DrawTabColumn(s, s.viewMode, -1);
    ReleaseCapture();
  }
  if (d.rubberBand) {
    d.rubberBand = false;
    d.mode = DiffMode::kRangeSet;
    DrawButtons(s, false);
    d.range = RangeRectFrom(d.anchor.x, d.anchor.y, d.corner.x, d.corner.y, s.geometry.visibleWidth,
                            s.geometry.visibleHeight);
    d.rangeSet = true;
    UpdateQualityHint(s);
    if (s.viewImage) DrawRangeFrame(s.viewImage.Dc(), d.range, s.viewMode == 0);
    InvalidateView(s);
    RedrawChannelPanels(s);
    ReleaseCapture();
  }
  if (d.pressed != DiffButton::kNone) {
    d.pressed = DiffButton::kNone;
    DrawButtons(s, false);
    ReleaseCapture();
  }
}

void DiffLeftDoubleClick(PreviewState& s, int x, int y) {
  if (InViewArea(x, y) && !PixelInspectorWindow()) OpenLoupe(s);
}

void DiffRightDown(PreviewState& s, int x, int y) {
  DiffViewState& d = Diff();
  if (!InViewArea(x, y)) return;
  if (!d.rangeSet) OpenPixelInspector(s.window, 0);
  SetPreviewCursor(s, IDCUR_HAND);
  if (d.rubberBand) {
    d.rubberBand = false;
    if (GetCapture() == s.window) ReleaseCapture();
  }
  if (d.mode == DiffMode::kRangeSet) ClearRange(s);
  RedrawChannelPanels(s);
}

void DiffRightUp(PreviewState& s, int x, int y) {
  DiffViewState& d = Diff();
  if (!InViewArea(x, y)) return;
  SetPreviewCursor(s, IDCUR_HAND);
  if (d.pressed == DiffButton::kRange) return;
  d.mode = DiffMode::kWhole;
  DrawButtons(s, false);
  d.rubberBand = false;
  if (d.rangeSet) ClearRange(s);
  InvalidateView(s);
}

void DiffViewTimer(PreviewState& s) {
  KillTimer(s.view, kRangeNoticeTimer);
  InvalidateView(s);
}

LRESULT CALLBACK ChannelPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    const int id = GetDlgCtrlID(panel);
    for (int k = 0; k < 3; ++k)
      if (kPanelIds[k] == id) PaintChannelPanel(panel, Diff().panels[k]);
    return 0;
  }
  if (message == WM_ERASEBKGND) return 1;
  return CallOldProc(panel, message, wParam, lParam);
}

}  // namespace pictornx
