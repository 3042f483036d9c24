#include <gtest/gtest.h>

#include "viewer/selection_rules.h"

namespace pictornx {
namespace {

struct DragCase {
  const char* what;
  DragPoint press;
  DragPoint last;
  int offsetX, offsetY;
  PixelRect expected;  // in a 300 x 200 image
};

TEST(SelectionRules, DragGivesTheImageRectangleAndNeverReachesOutsideTheImage) {
  const DragCase cases[] = {
      {"both corners included", {10, 10}, {109, 59}, 0, 0, {10, 10, 110, 60}},
      {"scrolled view", {10, 10}, {109, 59}, 50, 20, {60, 30, 160, 80}},
      {"smallest range", {5, 7}, {6, 8}, 0, 0, {5, 7, 7, 9}},
      {"no drag", {5, 7}, {5, 7}, 0, 0, {}},
      {"up-left", {50, 50}, {20, 20}, 0, 0, {}},
      {"left but below", {50, 50}, {20, 80}, 0, 0, {}},
      {"straight right", {50, 50}, {80, 50}, 0, 0, {}},
      {"past the right and bottom edges", {250, 150}, {400, 300}, 0, 0, {250, 150, 300, 200}},
      {"far corner beyond, scrolled", {10, 10}, {290, 190}, 100, 100, {110, 110, 300, 200}},
      {"press off the image", {310, 10}, {400, 50}, 0, 0, {}},
      {"press read unsigned from a negative point", {65531, 10}, {65535, 50}, 0, 0, {}},
      {"16-bit extremes with large offsets", {0, 0}, {65535, 65535}, 2000000000, 2000000000, {}},
  };
  for (const DragCase& c : cases)
    EXPECT_EQ(DragImageRange(c.press, c.last, c.offsetX, c.offsetY, 300, 200), c.expected) << c.what;
  EXPECT_EQ(DragImageRange({0, 0}, {10, 10}, 0, 0, 0, 0), PixelRect{}) << "no image";
}

TEST(SelectionRules, MovesCountOnlyOverTheImageAndTheTitleCountsBothCorners) {
  EXPECT_TRUE(MoveOverImage({299, 199}, 0, 0, 300, 200));
  EXPECT_FALSE(MoveOverImage({300, 10}, 0, 0, 300, 200));
  EXPECT_FALSE(MoveOverImage({10, 200}, 0, 0, 300, 200));
  EXPECT_FALSE(MoveOverImage({250, 10}, 50, 0, 300, 200));
  EXPECT_TRUE(MoveOverImage({-40, -3}, 0, 0, 300, 200));  // left and above: handled, makes no range
  EXPECT_FALSE(MoveOverImage({32767, 0}, 2147483647, 0, 300, 200));  // no wrap-around

  FixedText<64> title;
  RangeTitle(L"P", L" X=", {10, 10}, {109, 59}, title);
  EXPECT_EQ(title.View(), L"P X=100/Y=50");
  title.Clear();
  RangeTitle(L"", L"X=", {0, 0}, {1, 1}, title);
  EXPECT_EQ(title.View(), L"X=2/Y=2");
  EXPECT_TRUE(DragMakesRange({10, 10}, {11, 11}));
  EXPECT_FALSE(DragMakesRange({10, 10}, {11, 10}));
}

}  // namespace
}  // namespace pictornx
