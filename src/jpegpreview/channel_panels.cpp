#include "jpegpreview/channel_panels.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "pixels/jpeg_diff.h"
#include "resources/resource_ids.h"
#include "ui/draw.h"
#include "win/handles.h"
#include "win/module.h"
#include "win/paint.h"

namespace pictornx {
namespace {

constexpr int kPanelWidth = 128;
constexpr int kPanelHeight = 135;
// The plot, both ends included; every trace pixel is clipped to it.
constexpr int kPlotLeft = 4, kPlotTop = 27, kPlotRight = 121, kPlotBottom = 128;
// A trace value v is drawn on plot row v - 49: no difference (127) on the middle grid line.
constexpr int kValueToRow = 49;

struct Band {
  int left, top, right, bottom;  // both ends included
  COLORREF colour;
  int corner[3];  // pixels cut from each end of the band's first, second and third rows (and last ones)
};

// Nested title bands, brightest outside; the inner ones have rounder corners.
constexpr Band kBands[] = {
    {3, 3, 122, 25, 0xC8C8FF, {1, 0, 0}}, {4, 4, 121, 24, 0x9696DC, {1, 0, 0}},
    {5, 5, 120, 23, 0x6464C8, {2, 1, 0}}, {6, 7, 119, 22, 0x5050C8, {3, 1, 0}},
    {8, 9, 117, 21, 0x0000A0, {3, 1, 1}}, {10, 14, 115, 20, 0x000082, {3, 1, 0}},
};

constexpr UINT kTitleStrings[3] = {IDS_PANEL_RED_DIFFERENCE, IDS_PANEL_GREEN_DIFFERENCE, IDS_PANEL_BLUE_DIFFERENCE};
constexpr COLORREF kTitleShades[3] = {0x000005, 0x000000, 0x050000};

void PutPixel(ImageView v, int x, int y, COLORREF colour) {
  uint8_t* p = v.TopRow(y) + 3 * x;
  p[0] = GetBValue(colour), p[1] = GetGValue(colour), p[2] = GetRValue(colour);
}

// Columns left..right (both included) of picture row y.
void FillRow(ImageView v, int left, int right, int y, COLORREF colour) {
  for (int x = left; x <= right; ++x) PutPixel(v, x, y, colour);
}

void DrawBand(ImageView v, const Band& band) {
  const int rows = band.bottom - band.top + 1;
  for (int r = 0; r < rows; ++r) {
    const int fromEdge = std::min(r, rows - 1 - r);
    const int cut = fromEdge < 3 ? band.corner[fromEdge] : 0;
    FillRow(v, band.left + cut, band.right - cut, band.top + r, band.colour);
  }
}

// The red panel's picture: bevelled rounded frame, title band, sunken plot frame.
void DrawRedPicture(HDC dc, ImageView v) {
  FillSolid(dc, 0, 0, kPanelWidth, kPanelHeight, RGB(255, 255, 255));
  FillRoundRect(dc, {0, 0, 126, 133}, 0xB4B4B4, 10);
  FillRoundRect(dc, {3, 3, 126, 133}, 0x969696, 10);
  FillRoundRect(dc, {3, 3, 125, 132}, 0xDCDCDC, 10);
  FillRoundRect(dc, {0, 0, 124, 131}, 0xBEBEBE, 10);
  FillRoundRect(dc, {1, 1, 124, 131}, 0xD2D2D2, 8);
  FillRoundRect(dc, {3, 3, 123, 130}, 0xFFFFFF, 8);
  GdiFlush();
  for (const Band& band : kBands) DrawBand(v, band);
  FillRow(v, 3, 122, 25, 0x969696);
  // Sunken: dark above and left of the plot, light below and right.
  FillRow(v, 3, 122, 26, 0x000000);
  for (int y = 26; y <= 129; ++y) PutPixel(v, 3, y, 0x000000);
  for (int y = 27; y <= 129; ++y) PutPixel(v, 122, y, 0xAAAAAA);
  FillRow(v, 4, 122, 129, 0xAAAAAA);
}

// Copies the red picture and moves the red bytes of its title area to channel `into`
// (0 blue, 1 green in the blue-green-red bytes).
void CopyRecoloured(ImageView red, ImageView out, int into) {
  for (int y = 0; y < kPanelHeight; ++y) std::memcpy(out.Row(y), red.Row(y), static_cast<size_t>(red.width) * 3);
  for (int y = 1; y <= 24; ++y) {
    uint8_t* row = out.TopRow(y);
    for (int x = 1; x <= 125; ++x) std::swap(row[3 * x + 2], row[3 * x + into]);
  }
}

// An axis-aligned line from (x0, y0) up to but not including (x1, y1), as LineTo draws it,
// in black, clipped to the plot.
void PlotSegment(ImageView v, int x0, int y0, int x1, int y1) {
  const int dx = (x1 > x0) - (x1 < x0), dy = (y1 > y0) - (y1 < y0);
  for (int x = x0, y = y0; x != x1 || y != y1; x += dx, y += dy)
    if (x >= kPlotLeft && x <= kPlotRight && y >= kPlotTop && y <= kPlotBottom) PutPixel(v, x, y, 0);
}

void ClearPlot(ImageView v, bool ranged) {
  const COLORREF background = ranged ? 0x90FFFF : 0xFFFFFF;
  const COLORREF grid = ranged ? 0xFFAAAA : 0xBBBBFF;
  for (int y = kPlotTop; y <= kPlotBottom; ++y) FillRow(v, kPlotLeft, kPlotRight, y, background);
  const int height = kPlotBottom - kPlotTop + 2, width = kPlotRight - kPlotLeft + 2;  // 103 and 119
  for (int k = 1; k <= 3; ++k) {
    FillRow(v, kPlotLeft, kPlotRight, kPlotTop + height * k / 4, grid);
    for (int y = kPlotTop; y <= kPlotBottom; ++y) PutPixel(v, kPlotLeft + width * k / 4, y, grid);
  }
}

// One channel's n row traces drawn over each other. A region wider than 61 columns puts
// its samples 2 pixels apart as steps; a narrower one spreads its samples over 120 pixels.
void DrawTraces(ImageView v, const TraceSamples& t, int channel) {
  const bool wide = t.lastColumn > 61;
  // One sample spreads over the whole width instead of dividing by zero.
  const int spans = std::max(t.samples - 1, 1);
  for (int k = 0; k < t.rows; ++k) {
    const uint8_t* values = t.value[channel][k];
    for (int q = 0; q < t.samples; ++q) {
      const int y = values[q] - kValueToRow;
      const bool last = q + 1 == t.samples;
      const int yNext = last ? y : values[q + 1] - kValueToRow;
      int from, to;
      if (wide) {
        from = 5 + 2 * q - 2, to = 5 + 2 * q;
      } else {
        from = q * 120 / spans + 3, to = (q + 1) * 120 / spans + 4;
      }
      PlotSegment(v, from, y, to, y);
      if (!last) PlotSegment(v, to, y, to, yNext);
    }
  }
}

// Filled by DrawChannelPanels on the GUI thread only; too large for a window procedure's stack frame.
TraceSamples g_traces;

}  // namespace

bool BuildChannelPanelPictures(HWND owner, Surface (&panels)[3]) {
  for (Surface& panel : panels) {
    if (!panel.Create(owner, kPanelWidth, kPanelHeight)) {
      for (Surface& made : panels) made.Reset();
      return false;
    }
  }
  const ImageView red = panels[0].Pixels();
  DrawRedPicture(panels[0].Dc(), red);
  CopyRecoloured(red, panels[1].Pixels(), 1);
  CopyRecoloured(red, panels[2].Pixels(), 0);
  for (int c = 0; c < 3; ++c) {
    wchar_t title[64];
    LoadResString(kTitleStrings[c], title, 64);
    DrawLabel(panels[c].Dc(), 65, 9, kTitleShades[c], title, 12, 0);
    DrawLabel(panels[c].Dc(), 64, 8, RGB(255, 255, 255), title, 12, 0);
  }
  return true;
}

void DrawChannelPanels(Surface (&panels)[3], ConstImageView source, ConstImageView jpeg, const PixelRect* range, bool gain2) {
  const PixelRect region = range ? *range : PixelRect{0, 0, source.width, source.height};
  SampleChannelTraces(source, jpeg, region, gain2, g_traces);
  for (int c = 0; c < 3; ++c) {
    const ImageView v = panels[c].Pixels();
    if (v.Empty() || v.width < kPanelWidth || v.height < kPanelHeight) continue;
    ClearPlot(v, range != nullptr);
    DrawTraces(v, g_traces, c);
  }
}

void PaintChannelPanel(HWND control, const Surface& panel) {
  PaintScope paint(control);
  if (const HDC dc = paint.Dc()) {
    RECT client;
    GetClientRect(control, &client);
    // CreateRoundRectRgn leaves out its right column and bottom row.
    OwnedRegion clip(CreateRoundRectRgn(0, 0, client.right + 1, client.bottom + 1, 10, 10));
    SavedDcState saved(dc);
    if (clip) SelectClipRgn(dc, clip.Get());
    FillRect(dc, &paint.Paint().rcPaint, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    panel.CopyTo(dc, 0, 0);
  }
}

}  // namespace pictornx
