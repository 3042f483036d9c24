// The portable rules under the painted windows: button hits and clicks, window shapes from
// a mask, and sprite copies that skip the key colour.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pixels/stamp.h"
#include "ui/painted_button_rules.h"
#include "ui/window_shape_rules.h"

namespace pictornx {
namespace {

// A bottom-up 24-bit image drawn from rows of characters (top row first): '#' is the key
// colour (pure blue), '.' white.
struct Art {
  std::vector<uint8_t> bytes;
  ImageView view;
  explicit Art(const std::vector<std::string>& rows) {
    const int width = static_cast<int>(rows[0].size()), height = static_cast<int>(rows.size());
    const int stride = static_cast<int>(RowBytes(width));
    bytes.assign(static_cast<size_t>(stride) * height, 0);
    view = {bytes.data(), width, height, stride};
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        uint8_t* p = view.TopRow(y) + x * 3;
        const bool key = rows[y][x] == '#';
        p[0] = 255, p[1] = key ? 0 : 255, p[2] = key ? 0 : 255;
      }
  }
  char At(int x, int y) const { return kSpriteKey.Matches(view.TopRow(y) + x * 3) ? '#' : '.'; }
};

TEST(PaintedButtons, AClickCountsOnlyWhenReleasedOverThePressedButton) {
  struct Case {
    const char* name;
    int down, move, up;
    int clicked;
  } cases[] = {
      {"released over it", 1, 1, 1, 1},    {"released over another", 1, 0, 0, -1},
      {"slid off and back", 1, 0, 1, 1},   {"pressed on the body", -1, 1, 1, -1},
      {"capture lost", 1, 1, -1, -1},
  };
  for (const Case& c : cases) {
    ButtonPress press;
    press.Down(c.down);
    press.Move(c.move);
    EXPECT_EQ(press.Up(c.up), c.clicked) << c.name;
    EXPECT_EQ(press.Pressed(), -1) << c.name;
  }
}

TEST(PaintedButtons, HitsLooksAndCells) {
  PaintedButton buttons[3];
  buttons[0].hit = {0, 0, 10, 10};
  buttons[1].hit = {10, 0, 20, 10};
  buttons[2].hit = {0, 0, 20, 10};  // under both; only reachable while they are disabled
  EXPECT_EQ(HitButton(buttons, 9, 9), 0);
  EXPECT_EQ(HitButton(buttons, 10, 0), 1);
  EXPECT_EQ(HitButton(buttons, 20, 5), -1);  // right and bottom edges are outside
  EXPECT_EQ(HitButton(buttons, 5, 10), -1);
  buttons[0].enabled = false;
  EXPECT_EQ(HitButton(buttons, 5, 5), 2);

  ButtonPress press;
  press.Move(1);
  EXPECT_EQ(press.Look(buttons[1], 1), ButtonLook::kHover);
  EXPECT_EQ(press.Look(buttons[0], 0), ButtonLook::kDisabled);
  press.Down(1);
  EXPECT_EQ(press.Look(buttons[1], 1), ButtonLook::kPressed);
  press.Move(2);  // held elsewhere: neither button looks pressed or hovered
  EXPECT_EQ(press.Look(buttons[1], 1), ButtonLook::kReleased);
  EXPECT_EQ(press.Look(buttons[2], 2), ButtonLook::kReleased);

  EXPECT_EQ(StripCell(1, 2, 22, 10), (PixelRect{11, 0, 22, 10}));
  EXPECT_TRUE(StripCell(2, 2, 22, 10).Empty());
  EXPECT_TRUE(StripCell(0, 0, 22, 10).Empty());
}

TEST(MaskRectangles, CoverExactlyTheKeptPixelsWithoutOverlap) {
  const std::vector<std::vector<std::string>> masks = {
      {"#"},
      {"...."},
      {".##.", "####", "####", ".##."},
      {"#.#", "#.#", "###", "..#"},
      {"##..##", "##..##", "######", "#....#"},
  };
  for (const auto& rows : masks) {
    const Art art(rows);
    for (MaskKeeps keeps : {MaskKeeps::kKeyPixels, MaskKeeps::kOtherPixels}) {
      const char kept = keeps == MaskKeeps::kKeyPixels ? '#' : '.';
      std::vector<int> covered(rows.size() * rows[0].size(), 0);
      for (const PixelRect& r : MaskRectangles(art.view, kSpriteKey, keeps)) {
        ASSERT_FALSE(r.Empty());
        for (int y = r.top; y < r.bottom; ++y)
          for (int x = r.left; x < r.right; ++x) ++covered[y * rows[0].size() + x];
      }
      for (int y = 0; y < art.view.height; ++y)
        for (int x = 0; x < art.view.width; ++x)
          EXPECT_EQ(covered[y * rows[0].size() + x], art.At(x, y) == kept ? 1 : 0)
              << rows[0] << " pixel " << x << "," << y;
    }
  }
  // Equal runs of successive rows merge into one rectangle.
  const Art capsule({".##.", "####", "####", ".##."});
  EXPECT_EQ(MaskRectangles(capsule.view, kSpriteKey, MaskKeeps::kKeyPixels).size(), 3u);
}

TEST(CopySprite, SkipsTheKeyAndClipsBothViews) {
  const Art sprite({"#..#", ".##.", "#..#"});
  struct Case {
    PixelRect source;
    int x, y;
    bool keyed;
    std::vector<std::string> expected;  // the target, all key-coloured before the copy
  } cases[] = {
      {{0, 0, 4, 3}, 0, 0, true, {"#..#", ".##.", "#..#"}},
      {{0, 0, 4, 3}, 0, 0, false, {"#..#", ".##.", "#..#"}},
      {{1, 0, 3, 3}, -1, 1, false, {"####", ".###", "####"}},  // off the left and bottom
      {{-2, -1, 2, 2}, 1, 0, false, {"####", "####", "###."}},  // source clipped: lands at (3, 1)
      {{-2, -1, 2, 2}, 0, 0, false, {"####", "###.", "##.#"}},
      {{0, 0, 4, 3}, 3, 2, false, {"####", "####", "####"}},  // one key pixel lands at (3, 2)
      {{0, 0, 4, 3}, 2147483600, -2147483600, true, {"####", "####", "####"}},
  };
  for (const Case& c : cases) {
    Art target({"####", "####", "####"});
    CopySprite(sprite.view, c.source, target.view, c.x, c.y, c.keyed ? &kSpriteKey : nullptr);
    for (int y = 0; y < 3; ++y) {
      std::string row;
      for (int x = 0; x < 4; ++x) row += target.At(x, y);
      EXPECT_EQ(row, c.expected[y]) << "case at " << c.x << "," << c.y << " row " << y;
    }
  }
  // Keyed onto white: the key pixels of the sprite leave the target alone.
  Art white({"....", "....", "...."});
  CopySprite(sprite.view, {0, 0, 4, 3}, white.view, 0, 0, &kSpriteKey);
  EXPECT_EQ(white.At(0, 0), '.');
  EXPECT_EQ(white.At(1, 1), '.');
}

}  // namespace
}  // namespace pictornx
