// The bitmaps, icons and cursors as the library loads them: sizes, and the pure-blue key
// pixels exactly where the windows cut them out of their shapes or skip them.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

#include "win/handles.h"
#include "win/module.h"
#include "resources/resource_ids.h"
#include "resources_test_support.h"

namespace pictornx {
namespace {

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb&) const = default;
  bool PureBlue() const { return r == 0 && g == 0 && b == 255; }
};

// A bitmap resource loaded as a DIB section, read pixel by pixel (x right, y down).
class ResourceBitmap {
 public:
  explicit ResourceBitmap(int id)
      : bitmap_(static_cast<HBITMAP>(
            LoadImageW(ModuleInstance(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))) {
    if (bitmap_.Get()) GetObjectW(bitmap_.Get(), sizeof(info_), &info_);
  }
  bool Loaded() const { return info_.dsBm.bmBits != nullptr; }
  int Width() const { return info_.dsBm.bmWidth; }
  int Height() const { return info_.dsBm.bmHeight; }
  int Bits() const { return info_.dsBm.bmBitsPixel; }
  Rgb At(int x, int y) const {
    const auto* bits = static_cast<const BYTE*>(info_.dsBm.bmBits);
    const BYTE* p = bits + static_cast<ptrdiff_t>(Height() - 1 - y) * info_.dsBm.bmWidthBytes + 3 * x;
    return {p[2], p[1], p[0]};
  }
  // Every pixel whose blue byte is 255 passes `allowed` and is pure blue; returns the count.
  int KeyPixels(const std::function<bool(int, int)>& allowed) const {
    int keys = 0;
    for (int y = 0; y < Height(); ++y)
      for (int x = 0; x < Width(); ++x) {
        const Rgb c = At(x, y);
        if (c.b != 255) continue;
        EXPECT_TRUE(c.PureBlue()) << "blue 255 on a colour that is not the key at " << x << "," << y;
        EXPECT_TRUE(allowed(x, y)) << "key pixel at " << x << "," << y;
        ++keys;
      }
    return keys;
  }
  bool ColumnsEqual(int a, int b) const {
    for (int y = 0; y < Height(); ++y)
      if (!(At(a, y) == At(b, y))) return false;
    return true;
  }

 private:
  GdiObject<HBITMAP> bitmap_;
  DIBSECTION info_{};
};

const std::map<int, SIZE>& BitmapSizes() {
  static const std::map<int, SIZE> sizes = {
      {IDB_EMBLEM, {71, 42}},
      {IDB_GAUGE_CLOSE_BUTTON, {63, 53}},
      {IDB_PREVIEW_CORNERS, {40, 40}},
      {IDB_PREVIEW_RAMP, {1, 250}},
      {IDB_JPEG_SETTINGS_HEADER, {125, 25}},
      {IDB_JPEG_ARROW_BUTTON, {22, 10}},
      {IDB_PREVIEW_SAVE_CLOSE, {125, 54}},
      {IDB_PREVIEW_TABS, {81, 17}},
      {IDB_PREVIEW_TAB_MARKS, {22, 11}},
      {IDB_PREVIEW_BUTTON_PLATE, {15, 19}},
      {IDB_PREVIEW_BUTTON_FACE, {23, 16}},
      {IDB_PREVIEW_GAIN_GLYPHS, {30, 9}},
      {IDB_INSPECTOR_TITLE, {124, 17}},
      {IDB_INSPECTOR_PAGE_BUTTONS, {76, 30}},
      {IDB_INSPECTOR_PANEL, {29, 37}},
      {IDB_INSPECTOR_SETTINGS_BUTTON, {13, 20}},
      {IDB_INSPECTOR_SLIDER, {34, 10}},
      {IDB_INSPECTOR_SWITCHES, {29, 46}},
      {IDB_READOUT_PLATE, {36, 16}},
      {IDB_INSPECTOR_THUMB, {20, 6}},
  };
  return sizes;
}

TEST(ResourceArt, EveryBitmapLoadsWithItsSize) {
  const auto ids = restest::ResourceIdsWithPrefix("IDB_");
  ASSERT_EQ(ids.size(), BitmapSizes().size());
  for (const auto& id : ids) {
    ASSERT_EQ(BitmapSizes().count(id.value), 1u) << id.name;
    ResourceBitmap bitmap(id.value);
    ASSERT_TRUE(bitmap.Loaded()) << id.name;
    EXPECT_EQ(bitmap.Bits(), 24) << id.name;
    EXPECT_EQ(bitmap.Width(), BitmapSizes().at(id.value).cx) << id.name;
    EXPECT_EQ(bitmap.Height(), BitmapSizes().at(id.value).cy) << id.name;
  }
}

TEST(ResourceArt, PicturesWithoutKeyHaveNoBlue255) {
  for (int id : {IDB_EMBLEM, IDB_GAUGE_CLOSE_BUTTON, IDB_PREVIEW_CORNERS, IDB_PREVIEW_RAMP, IDB_JPEG_ARROW_BUTTON,
                 IDB_PREVIEW_TABS, IDB_INSPECTOR_PAGE_BUTTONS, IDB_INSPECTOR_PANEL, IDB_INSPECTOR_SETTINGS_BUTTON,
                 IDB_INSPECTOR_SLIDER, IDB_INSPECTOR_SWITCHES, IDB_READOUT_PLATE, IDB_INSPECTOR_THUMB}) {
    SCOPED_TRACE(id);
    EXPECT_EQ(ResourceBitmap(id).KeyPixels([](int, int) { return false; }), 0);
  }
}

// The JPEG settings panel removes every pixel with blue 255 from its shape after painting
// the header: the key must round the two top corners (radius 6) and nothing else.
TEST(ResourceArt, SettingsHeaderKeyRoundsOnlyItsTopCorners) {
  ResourceBitmap header(IDB_JPEG_SETTINGS_HEADER);
  const int keys = header.KeyPixels([](int x, int y) { return y < 6 && (x < 6 || x >= 119); });
  EXPECT_GE(keys, 2 * 8);
  for (int x : {0, 124}) EXPECT_TRUE(header.At(x, 0).PureBlue()) << x;
  for (int x : {6, 62, 118}) EXPECT_FALSE(header.At(x, 0).PureBlue()) << x;
  for (int x : {0, 124}) EXPECT_FALSE(header.At(x, 6).PureBlue()) << x;
  EXPECT_FALSE(header.At(5, 5).PureBlue());
  EXPECT_FALSE(header.At(119, 5).PureBlue());
}

// The inspector cuts the pure blue of its title tab's last 11 columns: the tab's end
// slopes from the top down to the full width at its bottom row, where the frame begins.
TEST(ResourceArt, InspectorTitleKeyShapesOnlyTheTabEnd) {
  ResourceBitmap title(IDB_INSPECTOR_TITLE);
  EXPECT_GT(title.KeyPixels([](int x, int) { return x >= 113; }), 20);
  for (int y = 0; y < 17; ++y) {
    bool seenKey = false;
    for (int x = 113; x < 124; ++x) {
      const bool key = title.At(x, y).PureBlue();
      EXPECT_TRUE(!seenKey || key) << "the cut-out reaches the right edge without a gap, row " << y;
      seenKey = seenKey || key;
    }
  }
  EXPECT_TRUE(title.At(123, 0).PureBlue());
  EXPECT_FALSE(title.At(123, 16).PureBlue());
  EXPECT_FALSE(title.At(112, 0).PureBlue());
}

// Only the rims above and below the save and close faces skip pure blue; the faces are
// copied whole.
TEST(ResourceArt, SaveCloseKeyOnlyInTheRims) {
  ResourceBitmap buttons(IDB_PREVIEW_SAVE_CLOSE);
  EXPECT_GT(buttons.KeyPixels([](int, int y) { return y <= 2 || (y >= 24 && y <= 26); }), 100);
  EXPECT_FALSE(buttons.At(30, 13).PureBlue());   // save face, up
  EXPECT_FALSE(buttons.At(93, 40).PureBlue());   // close face, pressed
  EXPECT_FALSE(buttons.At(61, 10) == buttons.At(62, 10) && buttons.At(30, 10) == buttons.At(93, 10));
}

TEST(ResourceArt, SmallButtonPiecesKeepTheirKeyAtTheCorners) {
  ResourceBitmap face(IDB_PREVIEW_BUTTON_FACE);
  face.KeyPixels([](int, int) { return true; });
  for (auto [x, y] : {std::pair{0, 0}, {22, 0}, {0, 15}, {22, 15}}) EXPECT_TRUE(face.At(x, y).PureBlue()) << x << "," << y;
  EXPECT_FALSE(face.At(11, 8).PureBlue());

  ResourceBitmap plate(IDB_PREVIEW_BUTTON_PLATE);
  plate.KeyPixels([](int x, int) { return x < 7; });  // the left end; the rest repeats
  EXPECT_TRUE(plate.At(0, 0).PureBlue());
  EXPECT_TRUE(plate.At(0, 18).PureBlue());
  for (int x = 8; x < 15; ++x) EXPECT_TRUE(plate.ColumnsEqual(7, x)) << x;

  // Marks and glyphs are drawn on key: their ground stays transparent.
  for (int id : {IDB_PREVIEW_TAB_MARKS, IDB_PREVIEW_GAIN_GLYPHS}) {
    ResourceBitmap glyphs(id);
    EXPECT_GT(glyphs.KeyPixels([](int, int) { return true; }), glyphs.Width() * glyphs.Height() / 3) << id;
  }
}

// The preview's frame is recognised by colour: the ground inside the corners is 0x010101
// (repainted with the ramp), and no frame pixel may look like it.
TEST(ResourceArt, PreviewCornersMarkOnlyTheirInsideAsGround) {
  ResourceBitmap corners(IDB_PREVIEW_CORNERS);
  const Rgb reference = corners.At(18, 21);  // the reference pixel (18, 431) of the window
  EXPECT_EQ(reference, (Rgb{1, 1, 1}));
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) {
      const Rgb c = corners.At(x, y);
      const bool ground = c.b == 0x01 || c.b == 0x10 || (c.b == reference.b && c.g == reference.g);
      const bool inside = x >= 7 && x < 33 && y >= 7 && y < 33;
      EXPECT_EQ(ground, inside) << x << "," << y;
    }
}

// Pieces that the code repeats sideways must repeat without a seam, and the slider's thumb
// erases itself with the same track the slider shows.
TEST(ResourceArt, RepeatedColumnsAreUniform) {
  ResourceBitmap panel(IDB_INSPECTOR_PANEL);
  for (int x = 13; x < 29; ++x) EXPECT_TRUE(panel.ColumnsEqual(12, x)) << x;
  ResourceBitmap readout(IDB_READOUT_PLATE);
  for (int x = 12; x < 36; ++x) EXPECT_TRUE(readout.ColumnsEqual(11, x)) << x;
  ResourceBitmap slider(IDB_INSPECTOR_SLIDER);
  for (int x = 28; x < 34; ++x) EXPECT_TRUE(slider.ColumnsEqual(27, x)) << x;
  ResourceBitmap thumb(IDB_INSPECTOR_THUMB);
  for (int y = 0; y < 6; ++y)
    for (int x = 10; x < 20; ++x) EXPECT_EQ(thumb.At(x, y), slider.At(27, y + 2)) << x << "," << y;
}

TEST(ResourceArt, PressedImagesDifferFromReleasedOnes) {
  auto differ = [](const ResourceBitmap& b, int x0, int y0, int x1, int y1, int w, int h) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (!(b.At(x0 + x, y0 + y) == b.At(x1 + x, y1 + y))) return true;
    return false;
  };
  ResourceBitmap pages(IDB_INSPECTOR_PAGE_BUTTONS);
  for (int k = 0; k < 4; ++k) EXPECT_TRUE(differ(pages, 19 * k, 0, 19 * k, 15, 19, 15)) << k;
  EXPECT_TRUE(differ(ResourceBitmap(IDB_GAUGE_CLOSE_BUTTON), 0, 0, 0, 27, 63, 26));
  EXPECT_TRUE(differ(ResourceBitmap(IDB_JPEG_ARROW_BUTTON), 0, 0, 11, 0, 11, 10));
  EXPECT_TRUE(differ(ResourceBitmap(IDB_INSPECTOR_SETTINGS_BUTTON), 0, 0, 0, 10, 13, 10));
  EXPECT_TRUE(differ(ResourceBitmap(IDB_PREVIEW_SAVE_CLOSE), 0, 3, 0, 30, 125, 21));
  ResourceBitmap switches(IDB_INSPECTOR_SWITCHES);
  for (int a = 0; a < 5; ++a)
    for (int b = a + 1; b < 5; ++b) EXPECT_TRUE(differ(switches, 0, 9 * a, 0, 9 * b, 29, 9)) << a << "," << b;
}

SIZE IconSize(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return {0, 0};
  BITMAP colour{};
  GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(colour), &colour);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return {colour.bmWidth, info.hbmColor ? colour.bmHeight : colour.bmHeight / 2};
}

TEST(ResourceArt, IconsLoadAtTheirSizes) {
  const auto ids = restest::ResourceIdsWithPrefix("IDI_");
  ASSERT_EQ(ids.size(), 4u);
  for (const auto& id : ids) {
    auto icon = static_cast<HICON>(LoadImageW(ModuleInstance(), MAKEINTRESOURCEW(id.value), IMAGE_ICON, 32, 32, 0));
    ASSERT_NE(icon, nullptr) << id.name;
    const SIZE size = IconSize(icon);
    EXPECT_EQ(size.cx, 32) << id.name;
    EXPECT_EQ(size.cy, 32) << id.name;
    DestroyIcon(icon);
  }
  for (int id : {IDI_MURAFEX, IDI_PICTORN}) {  // class icons: a small image for the caption too
    auto small = static_cast<HICON>(LoadImageW(ModuleInstance(), MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, 0));
    ASSERT_NE(small, nullptr) << id;
    EXPECT_EQ(IconSize(small).cx, 16) << id;
    DestroyIcon(small);
  }
}

TEST(ResourceArt, CursorsLoadWithTheirHotSpots) {
  const std::map<int, POINT> hotSpots = {{IDCUR_HAND, {16, 15}},      {IDCUR_GRAB, {16, 17}},
                                         {IDCUR_RANGE_CROSS, {15, 15}}, {IDCUR_NO_SCROLL, {16, 17}},
                                         {IDCUR_CROSS_OUTSIDE, {15, 15}}, {IDCUR_HAND_RELEASED, {16, 15}}};
  const auto ids = restest::ResourceIdsWithPrefix("IDCUR_");
  ASSERT_EQ(ids.size(), hotSpots.size());
  for (const auto& id : ids) {
    HCURSOR cursor = LoadCursorW(ModuleInstance(), MAKEINTRESOURCEW(id.value));
    ASSERT_NE(cursor, nullptr) << id.name;
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(cursor, &info)) << id.name;
    EXPECT_FALSE(info.fIcon) << id.name;
    EXPECT_EQ(info.xHotspot, static_cast<DWORD>(hotSpots.at(id.value).x)) << id.name;
    EXPECT_EQ(info.yHotspot, static_cast<DWORD>(hotSpots.at(id.value).y)) << id.name;
    if (info.hbmColor) DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    EXPECT_EQ(IconSize(cursor).cx, 32) << id.name;
  }
}

}  // namespace
}  // namespace pictornx
