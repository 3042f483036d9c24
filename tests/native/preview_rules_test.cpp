#include <gtest/gtest.h>

#include "jpegpreview/preview_rules.h"

namespace pictornx {
namespace {

TEST(PreviewRules, OpensAtTheDesktopCornerThenWhereItWasPulledInside) {
  const PreviewRect desktop{0, 0, 1280, 1024};
  struct Case {
    PreviewRect saved;
    PreviewPoint at;
  } const cases[] = {
      {{}, {1280 - 735, 1024 - 490}},                // never closed yet
      {{100, 200, 830, 650}, {100, 200}},            // where it was
      {{-40, -3, 690, 447}, {0, 0}},                 // dragged off the top-left
      {{900, 800, 1630, 1250}, {1280 - 730, 1024 - 480}},  // off the bottom-right
      {{0, 0, 0, 1}, {0, 0}},                        // any non-zero value counts as saved
  };
  for (const Case& c : cases) EXPECT_EQ(PreviewOpenPosition(c.saved, desktop), c.at) << c.saved.left;
}

TEST(PreviewRules, VisibleSizeAndScrollLimits) {
  struct Case {
    int width, height;
    ViewGeometry g;
  } const cases[] = {
      {1920, 1080, {446, 430, 1474, 650}},
      {446, 430, {446, 430, 0, 0}},
      {447, 431, {446, 430, 1, 1}},
      {100, 2000, {100, 430, 0, 1570}},
      {1, 1, {1, 1, 0, 0}},
  };
  for (const Case& c : cases) {
    const ViewGeometry g = ViewGeometryFor(c.width, c.height);
    EXPECT_EQ(g.visibleWidth, c.g.visibleWidth) << c.width;
    EXPECT_EQ(g.visibleHeight, c.g.visibleHeight) << c.height;
    EXPECT_EQ(g.limitX, c.g.limitX) << c.width;
    EXPECT_EQ(g.limitY, c.g.limitY) << c.height;
  }
  EXPECT_EQ(ViewCopyColumn(2000, 1920, 446), 1474);
  EXPECT_EQ(ViewCopyColumn(10, 1920, 446), 10);
}

TEST(PreviewRules, TheImageFollowsTheDragAndStopsAtItsEdges) {
  const ViewGeometry g = ViewGeometryFor(1000, 600);  // limits 554 x 170
  // Right and down by (5, 3) from (10, 10): the image follows, the offsets fall.
  ScrollStep step = DragScroll({20, 20}, g, {10, 10}, {15, 13});
  EXPECT_EQ(step.offset, (PreviewPoint{15, 17}));
  EXPECT_TRUE(step.changed);
  EXPECT_FALSE(step.clamped);
  // Left and up past the far edge: clamped to the limits, and still shown.
  step = DragScroll({550, 160}, g, {200, 200}, {100, 150});
  EXPECT_EQ(step.offset, (PreviewPoint{554, 170}));
  EXPECT_TRUE(step.clamped);
  EXPECT_TRUE(step.changed);
  // Already at the origin, dragging further right and down changes nothing.
  step = DragScroll({0, 0}, g, {10, 10}, {40, 40});
  EXPECT_EQ(step.offset, (PreviewPoint{0, 0}));
  EXPECT_FALSE(step.changed);
  // An image that fits cannot move.
  EXPECT_FALSE(DragScroll({0, 0}, ViewGeometryFor(300, 200), {10, 10}, {0, 0}).changed);
}

TEST(PreviewRules, FileSizeFieldLeavesRoomForTheDigits) {
  const struct {
    uint32_t bytes;
    int start;
  } cases[] = {{0, 632}, {999999, 632}, {1000000, 626}, {9999999, 626}, {10000000, 620},
               {99999999, 620}, {100000000, 613}, {0xFFFFFFFFu, 613}};
  for (const auto& c : cases) EXPECT_EQ(FileSizeBlackStart(c.bytes), c.start) << c.bytes;
}

TEST(PreviewRules, NoticeGradientRunsDownTheRampOrStretchesIt) {
  // Up to 45 rows: one ramp entry per row.
  EXPECT_EQ(NoticeIntensity(0, 35), 135);
  EXPECT_EQ(NoticeIntensity(34, 35), 46);
  EXPECT_EQ(NoticeIntensity(44, 45), 3);
  // Taller boxes stretch it: 90 rows take each entry twice, the last row the last entry.
  EXPECT_EQ(NoticeIntensity(0, 90), 135);
  EXPECT_EQ(NoticeIntensity(1, 90), 135);
  EXPECT_EQ(NoticeIntensity(2, 90), 133);
  EXPECT_EQ(NoticeIntensity(89, 90), 3);
  // Yellow: red = green = t + 100; blue: blue = 245 - t.
  EXPECT_EQ(NoticeRowColour(0, 35, 0), 0x0000EBEBu);
  EXPECT_EQ(NoticeRowColour(0, 32, 1), static_cast<uint32_t>(245 - 135) << 16);
  // Every row of any height stays inside the ramp.
  for (int height : {1, 45, 46, 47, 1000})
    for (int row = 0; row < height; ++row) ASSERT_GE(NoticeIntensity(row, height), 3) << height << " " << row;
}

}  // namespace
}  // namespace pictornx
