#include "jpegpreview/preview_notice.h"

#include "jpegpreview/preview_rules.h"
#include "resources/resource_ids.h"
#include "ui/draw.h"
#include "win/handles.h"
#include "win/module.h"

namespace pictornx {
namespace {

constexpr COLORREF kDark = 0x00050505;
constexpr COLORREF kYellow = 0x0005DEDE;

void Corners(HDC dc, int x, int y, int width, int height, int inset, int size, COLORREF colour) {
  const int right = x + width - inset - size;
  const int bottom = y + height - inset - size;
  for (const POINT at : {POINT{x + inset, y + inset}, POINT{right, y + inset}, POINT{x + inset, bottom},
                         POINT{right, bottom}})
    FillSolid(dc, at.x, at.y, at.x + size, at.y + size, colour);
}

}  // namespace

void ShowNotice(HDC dc, int x, int y, int width, int height, int style) {
  if (!dc || width <= 0 || height <= 0) return;
  for (int row = 0; row < height; ++row)
    FillSolid(dc, x, y + row, x + width, y + row + 1, NoticeRowColour(row, height, style));
  FrameBox(dc, x, y, width, height, kDark);
  FrameBox(dc, x + 2, y + 2, width - 4, height - 4, kDark);
  FrameBox(dc, x + 1, y + 1, width - 2, height - 2, kYellow);
  Corners(dc, x, y, width, height, 3, 2, kDark);
  Corners(dc, x, y, width, height, 1, 3, kYellow);
}

OwnedFont CreateProcessingNoticeFont() {
  LOGFONTW font = LabelFont();
  font.lfHeight = 14;
  font.lfWeight = FW_BOLD;
  font.lfItalic = FALSE;
  font.lfWidth = 0;
  return OwnedFont(CreateFontIndirectW(&font));
}

void ShowProcessingNotice(HDC viewDc, HFONT font) {
  if (!viewDc) return;
  ShowNotice(viewDc, 130, 200, 210, 35, 0);
  wchar_t text[64];
  const int length = LoadResString(IDS_PROCESSING_NOTICE, text, 64);
  SelectionGuard selected(viewDc, font);
  SetTextAlign(viewDc, TA_CENTER | TA_TOP);
  SetBkMode(viewDc, TRANSPARENT);
  SetTextColor(viewDc, 0x00FFFFFF);
  TextOutW(viewDc, 240, 210, text, length);
  SetTextColor(viewDc, 0x00050550);
  TextOutW(viewDc, 241, 211, text, length);
  GdiFlush();
}

}  // namespace pictornx
