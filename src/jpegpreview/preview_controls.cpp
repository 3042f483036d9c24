#include "jpegpreview/preview_controls.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "pixels/stamp.h"
#include "resources/resource_ids.h"
#include "ui/draw.h"
#include "win/module.h"

namespace pictornx {
namespace {

constexpr int kTabWidth = 68;
constexpr int kTabHeight = 17;
constexpr int kTabX = 623;
constexpr std::array<int, 3> kTabY{101, 121, 138};
constexpr int kGroundWidth = 27;
constexpr int kGroundEnd = 13;  // columns of each ground end; the column between them stretches
constexpr int kMarkSize = 11;
constexpr int kMarkX = 7;
constexpr int kMarkY = 3;
constexpr int kLabelX = 42;
constexpr int kLabelY = 2;

constexpr int kButtonWidth = 23;
constexpr int kButtonHeight = 16;
constexpr int kButtonY = 427;
constexpr std::array<int, 3> kButtonX{489, 512, 543};  // whole, range, gain
constexpr int kGlyphWidth = 15;
constexpr int kGlyphHeight = 9;

constexpr int kPlateX = 480;
constexpr int kPlateY = 425;
constexpr int kPlateWidth = 93;
constexpr int kPlateHeight = 19;
constexpr int kPlateEnd = 7;

enum TabLook { kNormal, kSelected, kPressed };

void Put(ImageView view, int x, int y, Rgb c) {
  if (x < 0 || y < 0 || x >= view.width || y >= view.height) return;
  uint8_t* p = view.TopRow(y) + 3 * x;
  p[0] = c.blue;
  p[1] = c.green;
  p[2] = c.red;
}

Rgb Get(ConstImageView view, int x, int y) {
  const uint8_t* p = view.TopRow(y) + 3 * x;
  return {p[2], p[1], p[0]};
}

// The art marks transparent pixels by a blue byte of 255; the sheets hold them as the one
// key colour that CopySprite skips.
bool IsKey(Rgb c) { return c.blue == 255; }

uint8_t Scale(uint8_t v, int percent) { return static_cast<uint8_t>(v * percent / 100); }
Rgb Darker(Rgb c, int percent) { return {Scale(c.red, percent), Scale(c.green, percent), Scale(c.blue, percent)}; }

// --- Tabs -----------------------------------------------------------------------------------

void DrawTabCell(const Surface& sheet, ConstImageView grounds, ConstImageView marks, int tab, TabLook look) {
  const ImageView to = sheet.Pixels();
  const int cellX = kTabWidth * look;
  const int cellY = kTabHeight * tab;
  // The ground's ends as they are, its middle column repeated between them.
  const int groundX = kGroundWidth * look;
  CopySprite(grounds, {groundX, 0, groundX + kGroundEnd, kTabHeight}, to, cellX, cellY, nullptr);
  for (int x = kGroundEnd; x < kTabWidth - kGroundEnd; ++x)
    CopySprite(grounds, {groundX + kGroundEnd, 0, groundX + kGroundEnd + 1, kTabHeight}, to, cellX + x, cellY, nullptr);
  CopySprite(grounds, {groundX + kGroundWidth - kGroundEnd, 0, groundX + kGroundWidth, kTabHeight}, to,
             cellX + kTabWidth - kGroundEnd, cellY, nullptr);

  // The mark is bright only on the chosen tab.
  const int markX = tab == 0 ? 0 : kMarkSize;
  const int drop = look == kPressed ? 1 : 0;
  for (int y = 0; y < kMarkSize; ++y)
    for (int x = 0; x < kMarkSize; ++x) {
      const Rgb c = Get(marks, markX + x, y);
      if (IsKey(c)) continue;
      Put(to, cellX + kMarkX + x, cellY + kMarkY + y + drop, look == kSelected ? c : Darker(c, 45));
    }

  wchar_t text[32];
  if (LoadResString(IDS_TAB_IMAGE + tab, text, static_cast<int>(std::size(text))) <= 0) return;
  const COLORREF colour = look == kSelected ? RGB(255, 255, 255) : RGB(130, 130, 130);
  const COLORREF shadow = look == kSelected ? RGB(5, 5, 5) : RGB(230, 230, 230);
  HDC dc = sheet.Dc();
  const int x = cellX + kLabelX;
  const int y = cellY + kLabelY + drop;
  DrawLabel(dc, x + 1, y + 1, shadow, text, 12, 0);
  DrawLabel(dc, x, y, colour, text, 12, 0);
}

bool BuildTabSheet(HWND window, Surface& sheet) {
  const DibSection grounds = LoadSpriteSheet(IDB_PREVIEW_TABS);
  const DibSection marks = LoadSpriteSheet(IDB_PREVIEW_TAB_MARKS);
  if (!grounds || !marks || grounds.view.width < 3 * kGroundWidth || grounds.view.height < kTabHeight ||
      marks.view.width < 2 * kMarkSize || marks.view.height < kMarkSize)
    return false;
  if (!sheet.Create(window, 3 * kTabWidth, 3 * kTabHeight)) return false;
  LOGFONTW& font = LabelFont();
  font.lfCharSet = SHIFTJIS_CHARSET;
  font.lfWeight = FW_NORMAL;
  font.lfItalic = FALSE;
  font.lfWidth = 0;
  LoadResString(IDS_LABEL_FONT_FACE, font.lfFaceName, LF_FACESIZE);
  for (int tab = 0; tab < 3; ++tab)
    for (TabLook look : {kNormal, kSelected, kPressed}) DrawTabCell(sheet, grounds.view, marks.view, tab, look);
  GdiFlush();
  return true;
}

// Copies a cell without its four corner pixels, so the tab's corners show the face.
void CopyCutCorners(ConstImageView from, PixelRect cell, ImageView to, int x, int y) {
  CopySprite(from, {cell.left + 1, cell.top, cell.right - 1, cell.top + 1}, to, x + 1, y, nullptr);
  CopySprite(from, {cell.left, cell.top + 1, cell.right, cell.bottom - 1}, to, x, y + 1, nullptr);
  CopySprite(from, {cell.left + 1, cell.bottom - 1, cell.right - 1, cell.bottom}, to, x + 1, y + cell.Height() - 1,
             nullptr);
}

// Three lines of shrinking length that fade from the face colour left of the tab column
// towards blue, starting at `row` and going `direction` (1 down, -1 up).
void DrawStrokes(ImageView face, int row, int direction) {
  if (face.Empty() || kTabX - 1 >= face.width) return;
  for (int k = 0; k < 3; ++k) {
    const int y = row + direction * k;
    if (y < 0 || y >= face.height) continue;
    const Rgb start = Get(face, kTabX - 1, y);
    const Rgb c{static_cast<uint8_t>(std::max(0, start.red - 6 * (k + 1))),
                static_cast<uint8_t>(std::max(0, start.green - 6 * (k + 1))),
                static_cast<uint8_t>(std::min(255, start.blue + 8 * (k + 1)))};
    for (int x = kTabX + 2 * k; x < kTabX + kTabWidth - 2 * k; ++x) Put(face, x, y, c);
  }
}

// --- Buttons --------------------------------------------------------------------------------

enum ButtonLook { kLit, kPushed, kDimmed, kUnlit };

Rgb IconColour(ButtonLook look) {
  switch (look) {
    case kLit:
      return {255, 225, 74};
    case kPushed:
      return {255, 211, 107};
    case kDimmed:
      return {150, 150, 150};
    case kUnlit:
    default:
      return {120, 128, 146};
  }
}

// The face for one look, key pixels kept as they are so they stay transparent.
void DrawButtonGround(ConstImageView face, ImageView to, int cellX, int cellY, ButtonLook look) {
  for (int y = 0; y < kButtonHeight; ++y)
    for (int x = 0; x < kButtonWidth; ++x) {
      const bool turned = look == kPushed;
      Rgb c = turned ? Get(face, kButtonWidth - 1 - x, kButtonHeight - 1 - y) : Get(face, x, y);
      if (IsKey(c)) {
        c = kSpriteKey;
      } else {
        if (look == kDimmed) {
          const auto grey = static_cast<uint8_t>((c.red * 30 + c.green * 59 + c.blue * 11) / 100);
          c = {grey, grey, grey};
        } else if (look == kUnlit) {
          c = Darker(c, 70);
        }
      }
      Put(to, cellX + x, cellY + y, c);
    }
}

void DrawOutline(ImageView to, int left, int top, int right, int bottom, Rgb c, bool dotted) {
  for (int x = left; x <= right; ++x)
    if (!dotted || (x - left) % 2 == 0) Put(to, x, top, c), Put(to, x, bottom, c);
  for (int y = top; y <= bottom; ++y)
    if (!dotted || (y - top) % 2 == 0) Put(to, left, y, c), Put(to, right, y, c);
}

void DrawButtonIcon(ImageView to, ConstImageView glyphs, int column, int cellX, int cellY, ButtonLook look) {
  const Rgb c = IconColour(look);
  const int d = look == kPushed ? 1 : 0;
  const int x = cellX + d;
  const int y = cellY + d;
  switch (column) {
    case 0:  // the whole picture
      DrawOutline(to, x + 5, y + 3, x + 17, y + 12, c, false);
      DrawOutline(to, x + 7, y + 5, x + 15, y + 10, c, false);
      break;
    case 1:  // a part of the picture
      DrawOutline(to, x + 5, y + 3, x + 17, y + 12, c, true);
      DrawOutline(to, x + 8, y + 6, x + 13, y + 10, c, false);
      break;
    default: {  // x2 (column 2) or x1 (column 3)
      const int glyphX = column == 2 ? 0 : kGlyphWidth;
      for (int gy = 0; gy < kGlyphHeight; ++gy)
        for (int gx = 0; gx < kGlyphWidth; ++gx)
          if (!IsKey(Get(glyphs, glyphX + gx, gy))) Put(to, x + 4 + gx, y + 3 + gy, c);
      break;
    }
  }
}

bool BuildButtonSheet(HWND window, Surface& sheet) {
  const DibSection face = LoadSpriteSheet(IDB_PREVIEW_BUTTON_FACE);
  const DibSection glyphs = LoadSpriteSheet(IDB_PREVIEW_GAIN_GLYPHS);
  if (!face || !glyphs || face.view.width < kButtonWidth || face.view.height < kButtonHeight ||
      glyphs.view.width < 2 * kGlyphWidth || glyphs.view.height < kGlyphHeight)
    return false;
  if (!sheet.Create(window, 4 * kButtonWidth, 4 * kButtonHeight)) return false;
  const ImageView to = sheet.Pixels();
  for (int row = 0; row < 4; ++row)
    for (int column = 0; column < 4; ++column) {
      const auto look = static_cast<ButtonLook>(row);
      DrawButtonGround(face.view, to, column * kButtonWidth, row * kButtonHeight, look);
      DrawButtonIcon(to, glyphs.view, column, column * kButtonWidth, row * kButtonHeight, look);
    }
  return true;
}

bool BuildPlate(HWND window, Surface& plate) {
  const DibSection art = LoadSpriteSheet(IDB_PREVIEW_BUTTON_PLATE);
  if (!art || art.view.width <= kPlateEnd || art.view.height < kPlateHeight) return false;
  if (!plate.Create(window, kPlateWidth, kPlateHeight)) return false;
  const ImageView to = plate.Pixels();
  CopySprite(art.view, {0, 0, kPlateEnd, kPlateHeight}, to, 0, 0, nullptr);
  const int repeat = art.view.width - kPlateEnd;
  for (int x = kPlateEnd; x < kPlateWidth; x += repeat)
    CopySprite(art.view, {kPlateEnd, 0, art.view.width, kPlateHeight}, to, x, 0, nullptr);
  for (int y = 0; y < kPlateHeight; ++y)
    for (int x = 0; x < kPlateWidth; ++x)
      if (IsKey(Get(to, x, y))) Put(to, x, y, kSpriteKey);
  return true;
}

void CopyButton(ImageView face, const Surface& sheet, int column, int row, int x) {
  const int left = column * kButtonWidth;
  const int top = row * kButtonHeight;
  CopySprite(sheet.Pixels(), {left, top, left + kButtonWidth, top + kButtonHeight}, face, x, kButtonY, &kSpriteKey);
}

}  // namespace

bool BuildPreviewSprites(HWND window, PreviewSprites& out) {
  if (BuildTabSheet(window, out.tabs) && BuildButtonSheet(window, out.buttons) && BuildPlate(window, out.plate))
    return true;
  out.tabs.Reset();
  out.buttons.Reset();
  out.plate.Reset();
  return false;
}

void DrawTabs(Surface& face, const PreviewSprites& sprites, int selected, int pressed) {
  const ImageView to = face.Pixels();
  if (to.Empty() || !sprites.tabs) return;
  const ImageView sheet = sprites.tabs.Pixels();
  for (int tab = 0; tab < 3; ++tab) {
    const TabLook look = tab == pressed ? kPressed : tab == selected ? kSelected : kNormal;
    const PixelRect cell{kTabWidth * look, kTabHeight * tab, kTabWidth * (look + 1), kTabHeight * (tab + 1)};
    CopyCutCorners(sheet, cell, to, kTabX, kTabY[tab]);
  }
  DrawStrokes(to, kTabY[0] - 1, -1);
  DrawStrokes(to, kTabY[0] + kTabHeight, 1);
  DrawStrokes(to, kTabY[2] + kTabHeight, 1);
}

void DrawButtonPlate(Surface& face, const PreviewSprites& sprites) {
  if (!sprites.plate) return;
  CopySprite(sprites.plate.Pixels(), {0, 0, kPlateWidth, kPlateHeight}, face.Pixels(), kPlateX, kPlateY, &kSpriteKey);
}

void DrawDiffButtons(Surface& face, const PreviewSprites& sprites, int wholeLook, int rangeLook, int gainState) {
  if (!sprites.buttons) return;
  const ImageView to = face.Pixels();
  const int gainColumn = gainState >= 10 ? 2 : 3;
  CopyButton(to, sprites.buttons, 0, std::clamp(wholeLook, 0, 3), kButtonX[0]);
  CopyButton(to, sprites.buttons, 1, std::clamp(rangeLook, 0, 3), kButtonX[1]);
  CopyButton(to, sprites.buttons, gainColumn, std::clamp(gainState % 10, 0, 3), kButtonX[2]);
}

void DrawRangeFrame(HDC viewImageDc, PixelRect range, bool xorFirst) {
  if (!viewImageDc) return;
  SavedDcState saved(viewImageDc);
  const int l = range.left;
  const int t = range.top;
  const int w = range.Width();
  const int h = range.Height();
  // The inner line inverts on the photograph, so it shows on any picture; on the
  // difference images (mostly mid grey) a plain light line reads better.
  SetROP2(viewImageDc, xorFirst ? R2_XORPEN : R2_COPYPEN);
  FrameBox(viewImageDc, l, t, w, h, RGB(0xEE, 0xEE, 0xEE));
  SetROP2(viewImageDc, R2_COPYPEN);
  FrameBox(viewImageDc, l - 4, t - 4, w + 8, h + 8, 0x5D5045);
  FrameBox(viewImageDc, l - 3, t - 3, w + 7, h + 7, 0x555555);
  FrameBox(viewImageDc, l - 1, t - 1, w + 2, h + 2, 0xC7BFA3);
  FrameBox(viewImageDc, l - 2, t - 2, w + 4, h + 4, 0xC7BFA3);
  FrameBox(viewImageDc, l - 3, t - 3, w + 6, h + 6, 0x857336);
}

}  // namespace pictornx
