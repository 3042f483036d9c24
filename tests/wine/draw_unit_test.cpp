// The drawing helpers, drawn by GDI into a 24-bit DIB section and checked pixel by pixel.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <ostream>
#include <set>
#include <utility>
#include <vector>

#include "bmp_file.h"
#include "win/dib.h"
#include "pixels/digit_font.h"
#include "ui/draw.h"
#include "win/handles.h"
#include "pixels/image_buffer.h"
#include "win_test_support.h"

namespace pictornx {
namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kPaleCyan = 0xFFFFB4;

using Pixels = std::set<std::pair<int, int>>;  // (x, y), y counted from the top

// A 24-bit DIB section filled with one colour and selected into a memory DC, which also
// holds a pen, brush and font of the test's own, as a window's off-screen DC would.
class Canvas {
 public:
  Canvas(int width, int height, COLORREF ground = kWhite)
      : dib_(CreateDib24(width, height)),
        dc_(OwnedDc::Compatible(nullptr)),
        bitmapSelected_(dc_.Get(), dib_.bitmap.Get()),
        pen_(CreatePen(PS_DASH, 1, RGB(1, 2, 3))),
        brush_(CreateSolidBrush(RGB(4, 5, 6))),
        font_(CreateFontW(20, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma")),
        penSelected_(dc_.Get(), pen_.Get()),
        brushSelected_(dc_.Get(), brush_.Get()),
        fontSelected_(dc_.Get(), font_.Get()),
        ground_(ground) {
    Clear();
  }

  HDC Dc() const { return dc_.Get(); }
  void Clear() {
    OwnedBrush fill(CreateSolidBrush(ground_));
    RECT all{0, 0, Width(), Height()};
    FillRect(dc_.Get(), &all, fill.Get());
  }
  int Width() const { return dib_.view.width; }
  int Height() const { return dib_.view.height; }
  const ImageView& View() const { return dib_.view; }

  COLORREF Pixel(int x, int y) const {
    GdiFlush();
    return ColourAt(x, y);
  }
  // Every pixel that is no longer the ground colour.
  Pixels Painted() const {
    GdiFlush();
    Pixels painted;
    for (int y = 0; y < Height(); ++y) {
      for (int x = 0; x < Width(); ++x) {
        if (ColourAt(x, y) != ground_) painted.insert({x, y});
      }
    }
    return painted;
  }
  // The painted pixels that are exactly `colour`.
  Pixels PaintedIn(COLORREF colour) const {
    Pixels painted;
    for (const auto& p : Painted()) {
      if (ColourAt(p.first, p.second) == colour) painted.insert(p);
    }
    return painted;
  }
  std::vector<uint8_t> Bytes() const {
    GdiFlush();
    return {dib_.view.bits, dib_.view.bits + dib_.view.stride * dib_.view.height};
  }

 private:
  COLORREF ColourAt(int x, int y) const {
    const uint8_t* p = dib_.view.TopRow(y) + x * 3;
    return RGB(p[2], p[1], p[0]);
  }

  DibSection dib_;
  OwnedDc dc_;
  SelectionGuard bitmapSelected_;
  OwnedPen pen_;
  OwnedBrush brush_;
  OwnedFont font_;
  SelectionGuard penSelected_;
  SelectionGuard brushSelected_;
  SelectionGuard fontSelected_;
  COLORREF ground_;
};

struct Selected {
  HGDIOBJ pen, brush, font, bitmap;
  friend bool operator==(const Selected&, const Selected&) = default;
};

Selected SelectedIn(HDC dc) {
  return {GetCurrentObject(dc, OBJ_PEN), GetCurrentObject(dc, OBJ_BRUSH), GetCurrentObject(dc, OBJ_FONT),
          GetCurrentObject(dc, OBJ_BITMAP)};
}

struct Box {
  int left, top, right, bottom;  // inclusive
  friend bool operator==(const Box&, const Box&) = default;
  friend void PrintTo(const Box& b, std::ostream* out) {
    *out << "{" << b.left << ", " << b.top << ", " << b.right << ", " << b.bottom << "}";
  }
};

// The smallest box holding every pixel.
Box BoundsOf(const Pixels& pixels) {
  Box box{1 << 30, 1 << 30, -(1 << 30), -(1 << 30)};
  for (const auto& [x, y] : pixels) {
    box.left = std::min(box.left, x);
    box.right = std::max(box.right, x);
    box.top = std::min(box.top, y);
    box.bottom = std::max(box.bottom, y);
  }
  return box;
}

Pixels RowOf(const Pixels& pixels, int row) {
  Pixels out;
  for (const auto& p : pixels) {
    if (p.second == row) out.insert(p);
  }
  return out;
}

TEST(DrawDigits, EightPaintsSevenBarsAndNoCorner) {
  struct Case {
    DigitSize size;
    int width, height, pixels;
  };
  for (const Case& c : {Case{DigitSize::kLarge, 6, 11, 28}, Case{DigitSize::kSmall, 5, 9, 21}}) {
    Canvas canvas(20, 20);
    EXPECT_EQ(DrawDigits(canvas.Dc(), 8, 7, 4, 7, kPaleCyan, c.size), 0);
    const Pixels painted = canvas.Painted();
    EXPECT_EQ(painted.size(), static_cast<size_t>(c.pixels));
    EXPECT_EQ(canvas.PaintedIn(kPaleCyan), painted);
    const Box cell{7, 4, 7 + c.width - 1, 4 + c.height - 1};
    EXPECT_EQ(BoundsOf(painted), cell);
    for (int y : {cell.top, 4 + c.height / 2, cell.bottom}) {  // top, middle and bottom bars
      EXPECT_FALSE(painted.count({cell.left, y})) << "corner at row " << y;
      EXPECT_FALSE(painted.count({cell.right, y})) << "corner at row " << y;
    }
  }
}

TEST(DrawDigits, GdiPaintsExactlyTheFontsStrokes) {
  const int values[] = {0, 1, 42, 999, 1000, 65535, 1234567, 2147483647};
  Canvas canvas(120, 16, RGB(0, 0, 0));
  for (DigitSize size : {DigitSize::kLarge, DigitSize::kSmall}) {
    for (int pitch : {6, 7, 9}) {
      for (int value : values) {
        canvas.Clear();
        DrawDigits(canvas.Dc(), value, 110, 2, pitch, kWhite, size);
        ImageBuffer expected(120, 16);
        PaintStrokes(expected.View(), NumberStrokesOf(value, 110, 2, pitch, size).View(), 255, 255, 255);
        ASSERT_EQ(canvas.Bytes(), expected.Bytes()) << "value " << value << " pitch " << pitch;
      }
    }
  }
}

TEST(DrawDigits, PlacesDigitsAndSeparators) {
  {  // 0: one glyph whose left column is x
    Canvas canvas(80, 20);
    DrawDigits(canvas.Dc(), 0, 50, 3, 7, RGB(255, 0, 0), DigitSize::kLarge);
    EXPECT_EQ(BoundsOf(canvas.Painted()), (Box{50, 3, 55, 13}));
  }
  {  // 999: three glyphs, nothing below the glyph rows
    Canvas canvas(80, 20);
    DrawDigits(canvas.Dc(), 999, 50, 3, 7, RGB(255, 0, 0), DigitSize::kLarge);
    EXPECT_EQ(BoundsOf(canvas.Painted()), (Box{50 - 14, 3, 55, 12}));  // a 9 has no bottom bar
  }
  {  // 1000: the separator 4 columns left of the hundreds digit on the two rows below it,
     // the 1 in the centre column of a cell moved left by pitch plus 6
    Canvas canvas(80, 20);
    DrawDigits(canvas.Dc(), 1000, 50, 3, 7, RGB(255, 0, 0), DigitSize::kLarge);
    const Pixels painted = canvas.Painted();
    EXPECT_EQ(RowOf(painted, 14), (Pixels{{32, 14}}));
    EXPECT_TRUE(painted.count({32, 13}));
    EXPECT_EQ(BoundsOf(painted), (Box{50 - 21 - 6 + 3, 3, 55, 14}));
  }
  {  // 1234567, small glyphs: two separators 2 columns left of the hundreds and the
     // hundred-thousands digits, each later digit 3 further left
    Canvas canvas(80, 20);
    DrawDigits(canvas.Dc(), 1234567, 70, 3, 7, RGB(255, 0, 0), DigitSize::kSmall);
    const Pixels painted = canvas.Painted();
    EXPECT_EQ(RowOf(painted, 12), (Pixels{{70 - 14 - 2, 12}, {70 - 35 - 3 - 2, 12}}));
    EXPECT_EQ(BoundsOf(painted).left, 70 - 42 - 6 + 2);  // the 1 stands in its cell's centre column
  }
  {  // negative values are never meant to be drawn
    Canvas canvas(20, 20);
    EXPECT_EQ(DrawDigits(canvas.Dc(), -5, 10, 3, 7, RGB(255, 0, 0), DigitSize::kLarge), 0);
    EXPECT_TRUE(canvas.Painted().empty());
  }
}

TEST(FrameBox, CoversBothEndsOfEachSide) {
  Canvas canvas(12, 12);
  EXPECT_EQ(FrameBox(canvas.Dc(), 5, 6, 0, 0, RGB(0, 0, 255)), 0);
  EXPECT_EQ(canvas.PaintedIn(RGB(0, 0, 255)), (Pixels{{5, 6}}));
  EXPECT_EQ(canvas.Painted().size(), 1u);

  Canvas frame(12, 12);
  FrameBox(frame.Dc(), 2, 3, 3, 2, RGB(0, 128, 0));
  Pixels expected;
  for (int x = 2; x <= 5; ++x) expected.insert({{x, 3}, {x, 5}});
  expected.insert({{2, 4}, {5, 4}});
  EXPECT_EQ(frame.PaintedIn(RGB(0, 128, 0)), expected);
  EXPECT_EQ(frame.Painted().size(), 10u);

  Canvas line(12, 12);
  FrameBox(line.Dc(), 2, 3, 0, 4, RGB(0, 128, 0));
  EXPECT_EQ(line.PaintedIn(RGB(0, 128, 0)), (Pixels{{2, 3}, {2, 4}, {2, 5}, {2, 6}, {2, 7}}));
}

TEST(FillRoundRect, FillsOutlineAndInteriorInOneColour) {
  Canvas square(20, 20);
  EXPECT_EQ(FillRoundRect(square.Dc(), RECT{3, 4, 9, 8}, RGB(200, 10, 10), 0), 0);
  Pixels expected;
  for (int y = 4; y < 8; ++y) {
    for (int x = 3; x < 9; ++x) expected.insert({x, y});
  }
  EXPECT_EQ(square.Painted(), expected);
  EXPECT_EQ(square.PaintedIn(RGB(200, 10, 10)), expected);

  Canvas rounded(30, 30);
  FillRoundRect(rounded.Dc(), RECT{2, 3, 22, 17}, RGB(200, 10, 10), 8);
  const Pixels painted = rounded.Painted();
  EXPECT_EQ(rounded.PaintedIn(RGB(200, 10, 10)), painted);
  EXPECT_EQ(BoundsOf(painted), (Box{2, 3, 21, 16}));
  for (const auto& corner : Pixels{{2, 3}, {21, 3}, {2, 16}, {21, 16}}) EXPECT_FALSE(painted.count(corner));
  for (const auto& inside : Pixels{{12, 3}, {12, 16}, {2, 10}, {21, 10}, {12, 10}}) EXPECT_TRUE(painted.count(inside));
}

TEST(BlitResourceBitmap, UnknownIdDrawsNothing) {
  Canvas canvas(16, 16);
  const Selected before = SelectedIn(canvas.Dc());
  EXPECT_EQ(BlitResourceBitmap(canvas.Dc(), 0xFFF7, 0, 0, 16, 16, 0, 0), -1);
  EXPECT_EQ(BlitResourceBitmap(canvas.Dc(), 0, 0, 0, 16, 16, 0, 0), -1);
  EXPECT_TRUE(canvas.Painted().empty());
  EXPECT_EQ(SelectedIn(canvas.Dc()), before);
}

TEST(DrawLabel, BackingIsABlackBoxCentredOnX) {
  Canvas canvas(120, 40);
  LabelFont().lfCharSet = SHIFTJIS_CHARSET;
  EXPECT_EQ(DrawLabel(canvas.Dc(), 60, 10, RGB(255, 255, 0), L"AB", 16, 1), 0);
  const Pixels black = canvas.PaintedIn(RGB(0, 0, 0));
  ASSERT_FALSE(black.empty());
  // As tall as the font and as wide as the five Shift-JIS bytes of two ideographic spaces
  // and a NUL, measured in the same font.
  SIZE backing{};
  {
    OwnedFont font(CreateFontIndirectW(&LabelFont()));
    SelectionGuard selected(canvas.Dc(), font.Get());
    GetTextExtentPoint32A(canvas.Dc(), "\x81\x40\x81\x40", 5, &backing);
  }
  ASSERT_GT(backing.cx, 2 * 12);
  const Box box = BoundsOf(black);
  EXPECT_EQ(box.top, 10);
  EXPECT_EQ(box.bottom - box.top + 1, backing.cy);
  EXPECT_EQ(box.right - box.left + 1, backing.cx);
  EXPECT_NEAR(box.left + box.right, 2 * 60, 1);  // centred on x
  // The label itself is drawn over the backing.
  EXPECT_FALSE(canvas.PaintedIn(RGB(255, 255, 0)).empty());

  // Afterwards the DC keeps what the next label is drawn with.
  EXPECT_EQ(GetTextAlign(canvas.Dc()), static_cast<UINT>(TA_CENTER | TA_TOP));
  EXPECT_EQ(GetBkMode(canvas.Dc()), TRANSPARENT);
  EXPECT_EQ(GetTextColor(canvas.Dc()), RGB(255, 255, 0));
  EXPECT_EQ(GetBkColor(canvas.Dc()), RGB(0, 0, 0));
}

TEST(DrawLabel, OnlyTheLowByteOfBackingCounts) {
  Canvas canvas(120, 40);
  SetBkColor(canvas.Dc(), RGB(9, 9, 9));
  DrawLabel(canvas.Dc(), 60, 10, RGB(255, 0, 0), L"AB", 16, 0x100);
  EXPECT_TRUE(canvas.PaintedIn(RGB(0, 0, 0)).empty());
  EXPECT_FALSE(canvas.Painted().empty());
  EXPECT_EQ(GetBkColor(canvas.Dc()), RGB(9, 9, 9));
  EXPECT_EQ(GetBkMode(canvas.Dc()), TRANSPARENT);
}

TEST(DrawLabel, WithoutAFaceNameTheSystemPicksAShiftJisFont) {
  LabelFont() = {};
  LabelFont().lfCharSet = SHIFTJIS_CHARSET;
  LabelFont().lfWeight = FW_BOLD;
  Canvas canvas(160, 40);
  DrawLabel(canvas.Dc(), 80, 8, RGB(0, 0, 0), L"画像の加工", 18, 0);
  const Box box = BoundsOf(canvas.Painted());
  EXPECT_GE(box.top, 8);
  EXPECT_LE(box.bottom, 8 + 18 - 1);
  EXPECT_GE(box.right - box.left, 4 * 14);  // five full-width characters
  EXPECT_NEAR(box.left + box.right, 2 * 80, 4);
  // Only the height is the label's own; the window's settings stay.
  EXPECT_EQ(LabelFont().lfHeight, 18);
  EXPECT_EQ(LabelFont().lfWeight, FW_BOLD);
  EXPECT_EQ(LabelFont().lfCharSet, SHIFTJIS_CHARSET);
  EXPECT_EQ(LabelFont().lfFaceName[0], L'\0');
}

TEST(Drawing, EveryRoutineRestoresTheSelectionsAndDeletesWhatItMade) {
  const std::vector<std::pair<const char*, std::function<void(HDC)>>> routines = {
      {"DrawLabel", [](HDC dc) { DrawLabel(dc, 30, 2, kWhite, L"ラベル", 14, 1); }},
      {"FillRoundRect", [](HDC dc) { FillRoundRect(dc, RECT{1, 1, 30, 20}, kPaleCyan, 6); }},
      {"FrameBox", [](HDC dc) { FrameBox(dc, 1, 1, 20, 10, kPaleCyan); }},
      {"FrameBox 0 x 0", [](HDC dc) { FrameBox(dc, 1, 1, 0, 0, kPaleCyan); }},
      {"BlitResourceBitmap", [](HDC dc) { BlitResourceBitmap(dc, 0xFFF7, 0, 0, 8, 8, 0, 0); }},
      {"DrawDigits", [](HDC dc) { DrawDigits(dc, 1234567, 50, 2, 7, kPaleCyan, DigitSize::kSmall); }},
  };
  Canvas canvas(60, 24);
  for (const auto& [name, draw] : routines) {
    draw(canvas.Dc());  // warm-up: Wine makes some objects lazily on first use
    const Selected before = SelectedIn(canvas.Dc());
    const int live = wintest::CountGdiObjects();
    draw(canvas.Dc());
    EXPECT_EQ(SelectedIn(canvas.Dc()), before) << name;
    EXPECT_EQ(wintest::CountGdiObjects(), live) << name;
  }
}

// Draws labels, boxes and numbers in both digit sizes on the dark ground of the painted
// windows. With PICTORNX_GALLERY naming a file, the picture is saved there as a BMP for a
// person to look at (`make gallery`).
TEST(Drawing, Gallery) {
  Canvas canvas(320, 200, RGB(24, 32, 48));
  HDC dc = canvas.Dc();
  LabelFont() = {};
  LabelFont().lfCharSet = SHIFTJIS_CHARSET;
  wcscpy(LabelFont().lfFaceName, L"ＭＳ Ｐゴシック");

  FillRoundRect(dc, RECT{8, 8, 152, 92}, RGB(48, 64, 96), 12);
  FrameBox(dc, 8, 100, 143, 91, RGB(120, 140, 170));
  FrameBox(dc, 160, 8, 151, 83, kPaleCyan);
  FrameBox(dc, 164, 12, 0, 0, kWhite);

  DrawLabel(dc, 80, 12, kWhite, L"画質", 14, 0);
  LabelFont().lfWeight = FW_BOLD;
  DrawLabel(dc, 80, 28, RGB(255, 220, 80), L"元の画像", 16, 0);
  LabelFont().lfWeight = FW_NORMAL;
  // A backing keeps a short label readable over a busy picture.
  const COLORREF stripes[] = {RGB(230, 80, 60), RGB(240, 200, 60), RGB(90, 190, 90), RGB(70, 140, 230)};
  for (int i = 0; i < 4; ++i) FillRoundRect(dc, RECT{20 + i * 30, 48, 52 + i * 30, 68}, stripes[i], 6);
  DrawLabel(dc, 80, 51, kWhite, L"差分", 14, 1);
  LabelFont().lfItalic = 1;
  LabelFont().lfWidth = 4;
  DrawLabel(dc, 80, 72, kPaleCyan, L"JPEG 65", 14, 0x100);
  LabelFont().lfItalic = 0;
  LabelFont().lfWidth = 0;

  int y = 16;
  for (int value : {0, 7, 999, 1000, 65535, 1234567}) {
    DrawDigits(dc, value, 300, y, 7, kPaleCyan, DigitSize::kLarge);
    DrawDigits(dc, value, 226, y + 2, 7, kWhite, DigitSize::kSmall);
    y += 12;
  }
  int x = 20;
  for (int digit = 0; digit < 10; ++digit, x += 12) {
    DrawDigits(dc, digit, x, 108, 7, kPaleCyan, DigitSize::kLarge);
    DrawDigits(dc, digit, x, 124, 7, kWhite, DigitSize::kSmall);
  }
  DrawDigits(dc, 2147483647, 138, 144, 9, RGB(255, 160, 160), DigitSize::kSmall);
  DrawDigits(dc, 2147483647, 138, 160, 6, RGB(160, 255, 160), DigitSize::kSmall);
  DrawDigits(dc, 4096, 138, 176, 7, kWhite, DigitSize::kLarge);

  EXPECT_EQ(canvas.PaintedIn(kWhite).count({164, 12}), 1u);
  const char* path = std::getenv("PICTORNX_GALLERY");
  if (!path || !*path) return;
  const std::vector<uint8_t> file = EncodeBmp24(canvas.View());
  FILE* out = std::fopen(path, "wb");
  ASSERT_NE(out, nullptr) << path;
  EXPECT_EQ(std::fwrite(file.data(), 1, file.size(), out), file.size());
  std::fclose(out);
}

}  // namespace
}  // namespace pictornx
