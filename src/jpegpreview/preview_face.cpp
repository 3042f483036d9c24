// PreviewFace: the gradient ground framed by the corner art, the emblem, the size box and
// the save and close buttons. Everything is drawn into the face once; paints only copy it.
#include <cstring>

#include "imagestore/image_buffers.h"
#include "jpegpreview/preview_state.h"
#include "pixels/stamp.h"
#include "resources/resource_ids.h"
#include "ui/draw.h"
#include "win/module.h"

namespace pictornx {
namespace {

constexpr int kCorner = 20;
constexpr int kFrameDepth = 7;
constexpr int kRampRows = 250;
constexpr COLORREF kSizeBoxBlue = 0x00A50005;
constexpr COLORREF kDigitColour = 0x00FFFFB4;
constexpr COLORREF kLabelShadow = 0x000A0A0A;
constexpr COLORREF kWhite = 0x00FFFFFF;

void SetPixelBytes(uint8_t* p, uint8_t b, uint8_t g, uint8_t r) {
  p[0] = b;
  p[1] = g;
  p[2] = r;
}

// The corners of the art at the face's corners, and each edge between them continued from
// the corner piece before it, so a frame 7 pixels deep runs round the window.
void DrawFrame(ImageView face, ConstImageView corners) {
  const int w = face.width, h = face.height;
  CopySprite(corners, {0, 0, kCorner, kCorner}, face, 0, 0, nullptr);
  CopySprite(corners, {kCorner, 0, 2 * kCorner, kCorner}, face, w - kCorner, 0, nullptr);
  CopySprite(corners, {0, kCorner, kCorner, 2 * kCorner}, face, 0, h - kCorner, nullptr);
  CopySprite(corners, {kCorner, kCorner, 2 * kCorner, 2 * kCorner}, face, w - kCorner, h - kCorner, nullptr);
  for (int d = 0; d < kFrameDepth; ++d) {
    for (const int y : {d, h - 1 - d}) {
      uint8_t* row = face.TopRow(y);
      for (int x = kCorner; x < w - kCorner; ++x) std::memcpy(row + x * 3, row + (kCorner - 1) * 3, 3);
    }
    for (int y = kCorner; y < h - kCorner; ++y) {
      for (const int x : {d, w - 1 - d})
        std::memcpy(face.TopRow(y) + x * 3, face.TopRow(kCorner - 1) + x * 3, 3);
    }
  }
}

// The ground (blue byte 1, or the reference pixel's blue and green) becomes the ramp,
// repeating every 250 rows upwards from the bottom edge.
void PaintGround(ImageView face, ConstImageView ramp) {
  const uint8_t* reference = face.TopRow(431) + 18 * 3;
  const uint8_t refBlue = reference[0], refGreen = reference[1];
  for (int y = 0; y < face.height; ++y) {
    uint8_t* p = face.TopRow(y);
    for (int x = 0; x < face.width; ++x, p += 3)
      if (p[0] == 0x01 || (p[0] == refBlue && p[1] == refGreen)) SetPixelBytes(p, 0x10, 0x10, 0x10);
  }
  for (int y = 0; y < face.height; ++y) {
    const int r = face.height - 1 - y;
    const uint8_t* colour = ramp.TopRow(r % std::min(kRampRows, ramp.height));
    uint8_t* p = face.TopRow(y);
    for (int x = 0; x < face.width; ++x, p += 3)
      if (p[0] == 0x10) std::memcpy(p, colour, 3);
  }
}

void Label(HDC dc, int x, int y, COLORREF colour, UINT id, int height) {
  wchar_t text[64];
  LoadResString(id, text, 64);
  DrawLabel(dc, x, y, colour, text, height, 0);
}

void ResetLabelFont() {
  LOGFONTW& font = LabelFont();
  font.lfCharSet = SHIFTJIS_CHARSET;
  font.lfWeight = FW_NORMAL;
  font.lfItalic = FALSE;
  font.lfWidth = 0;
  if (font.lfFaceName[0] == 0) LoadResString(IDS_LABEL_FONT_FACE, font.lfFaceName, LF_FACESIZE);
}

void DrawSizeDigits(HDC dc, const PreviewState& s) {
  DrawDigits(dc, s.imageWidth, 670, 186, 7, kDigitColour, DigitSize::kSmall);
  DrawDigits(dc, s.imageHeight, 670, 200, 7, kDigitColour, DigitSize::kSmall);
}

void DrawFileSizeField(HDC dc, const PreviewState& s) {
  FillRoundRect(dc, {612, 233, 692, 248}, kSizeBoxBlue, 6);
  FillRoundRect(dc, {FileSizeBlackStart(s.fileBytes), 233, 692, 248}, 0, 6);
  DrawDigits(dc, static_cast<int>(std::min<uint32_t>(s.fileBytes, 0x7FFFFFFF)), 682, 235, 7, kDigitColour,
             DigitSize::kLarge);
}

void DrawButton(PreviewState& s, int sourceX, int width, int x, bool pressed) {
  const ConstImageView art = s.saveClose.view;
  ImageView face = s.face.Pixels();
  CopySprite(art, {sourceX, 0, sourceX + width, 3}, face, x, 413, &kSpriteKey);
  CopySprite(art, {sourceX, 24, sourceX + width, 27}, face, x, 437, &kSpriteKey);
  const int top = pressed ? 30 : 3;
  CopySprite(art, {sourceX, top, sourceX + width, top + 21}, face, x, 416, nullptr);
}

}  // namespace

bool BuildPreviewFace(PreviewState& s) {
  if (!s.face.Create(s.window, kPreviewWidth, kPreviewHeight, Images().screenPalette.Get())) return false;
  const DibSection corners = LoadSpriteSheet(IDB_PREVIEW_CORNERS);
  const DibSection ramp = LoadSpriteSheet(IDB_PREVIEW_RAMP);
  s.saveClose = LoadSpriteSheet(IDB_PREVIEW_SAVE_CLOSE);
  if (!corners || !ramp || !s.saveClose) return false;
  ImageView face = s.face.Pixels();
  for (int y = 0; y < face.height; ++y) std::memset(face.Row(y), 0x01, static_cast<size_t>(face.width) * 3);
  DrawFrame(face, corners.view);
  PaintGround(face, ramp.view);
  return true;
}

void DrawSizeBox(PreviewState& s) {
  HDC dc = s.face.Dc();
  ResetLabelFont();
  BlitResourceBitmap(dc, IDB_EMBLEM, 622, 20, 71, 42, 0, 0);
  FillRoundRect(dc, {611, 164, 707, 258}, kWhite, 6);
  FillRoundRect(dc, {612, 165, 708, 259}, 0, 6);
  FillRoundRect(dc, {612, 165, 707, 258}, kSizeBoxBlue, 6);
  Label(dc, 660, 171, kLabelShadow, IDS_PREVIEW_IMAGE_SIZE, 10);
  Label(dc, 659, 170, kWhite, IDS_PREVIEW_IMAGE_SIZE, 10);
  Label(dc, 633, 186, kLabelShadow, IDS_PREVIEW_WIDTH, 12);
  Label(dc, 632, 185, kWhite, IDS_PREVIEW_WIDTH, 12);
  Label(dc, 633, 200, kLabelShadow, IDS_PREVIEW_HEIGHT, 12);
  Label(dc, 632, 199, kWhite, IDS_PREVIEW_HEIGHT, 12);
  DrawSizeDigits(dc, s);
  Label(dc, 692, 186, kWhite, IDS_PREVIEW_PIXELS, 10);
  Label(dc, 692, 200, kWhite, IDS_PREVIEW_PIXELS, 10);
  Label(dc, 661, 220, kLabelShadow, IDS_PREVIEW_FILE_SIZE, 10);
  Label(dc, 660, 219, kWhite, IDS_PREVIEW_FILE_SIZE, 10);
  // The divider brightens towards its middle: each shorter line lies over the longer ones.
  for (int k = 0; k < 35; ++k) {
    OwnedPen pen(CreatePen(PS_SOLID, 1, RGB(7 * k, 5 + 6 * k, 0xA5)));
    SelectionGuard selected(dc, pen.Get());
    MoveToEx(dc, 614 + k, 215, nullptr);
    LineTo(dc, 707 - k, 215);
  }
  DrawLabel(dc, 678, 246, 0x00FFFFC8, L"bytes", 10, 0);
  DrawFileSizeField(dc, s);

  LOGFONTW& font = LabelFont();
  font.lfItalic = TRUE;
  font.lfWidth = 4;
  Label(dc, 670, 61, 0, IDS_PREVIEW_FOR_JPG, 10);
  Label(dc, 671, 62, 0x0000FFFF, IDS_PREVIEW_FOR_JPG, 10);
  ResetLabelFont();
  Label(dc, 705, 5, kWhite, IDS_PREVIEW_PAT_MARK, 8);
}

void ShowRefreshedSizes(PreviewState& s) {
  HDC dc = s.face.Dc();
  FillRoundRect(dc, {642, 183, 679, 210}, 0x00A50205, 6);
  DrawSizeDigits(dc, s);
  DrawFileSizeField(dc, s);
  // The thread stays busy after a refresh: the new numbers are shown now.
  InvalidateFaceRect(s, 612, 165, 708, 259, true);
}

void DrawSaveCloseButtons(PreviewState& s) {
  DrawButton(s, 0, 62, 595, s.held == HeldButton::kSave);
  DrawButton(s, 62, 63, 657, s.held == HeldButton::kClose);
  InvalidateFaceRect(s, 595, 413, 720, 440, true);
}

void InvalidateFaceRect(const PreviewState& s, int left, int top, int right, int bottom, bool now) {
  if (!s.window) return;
  const RECT area{left, top, right, bottom};
  RedrawWindow(s.window, &area, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN | (now ? RDW_UPDATENOW : 0));
}

}  // namespace pictornx
