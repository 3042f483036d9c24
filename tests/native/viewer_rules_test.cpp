#include <gtest/gtest.h>

#include "viewer/viewer_rules.h"

namespace pictornx {
namespace {

TEST(ViewerScroll, StepsByLineAndPageWithinTheRange) {
  EXPECT_EQ(ScrollMaximum(1280, 500), 780);
  EXPECT_EQ(ScrollMaximum(300, 500), 0);
  EXPECT_EQ(ScrollStep(ScrollRequest::kLineForward, 0, 10, 100), 1);
  EXPECT_EQ(ScrollStep(ScrollRequest::kLineBack, 0, 10, 100), -1);
  EXPECT_EQ(ScrollStep(ScrollRequest::kPageForward, 0, 10, 100), 20);
  EXPECT_EQ(ScrollStep(ScrollRequest::kPageForward, 0, 90, 100), 10);  // clamped at the maximum
  EXPECT_EQ(ScrollStep(ScrollRequest::kPageBack, 0, 5, 100), -5);      // clamped at 0
  EXPECT_EQ(ScrollStep(ScrollRequest::kLineBack, 0, 0, 100), 0);
  EXPECT_EQ(ScrollStep(ScrollRequest::kOther, 50, 10, 100), 0);
  EXPECT_EQ(ScrollStep(ScrollRequest::kLineForward, 0, 0, 0), 0);  // nothing to scroll
}

TEST(ViewerScroll, ThumbNearTheEndReachesTheTrueBottom) {
  // The bar's own thumb stops at maximum - page + 1 = 81.
  EXPECT_EQ(ScrollStep(ScrollRequest::kThumb, 40, 10, 100), 30);
  EXPECT_EQ(ScrollStep(ScrollRequest::kThumb, 80, 0, 100), 80);  // exactly a page short: not yet past
  EXPECT_EQ(ScrollStep(ScrollRequest::kThumb, 81, 0, 100), 100);
  EXPECT_EQ(ScrollStep(ScrollRequest::kThumb, 81, 60, 100), 40);
  EXPECT_EQ(ScrollStep(ScrollRequest::kThumb, 0, 60, 100), -60);
}

TEST(ViewerKeys, ArrowKeysMoveThePointerOnlyInsideTheVisibleImage) {
  const IntRect visible{100, 50, 110, 60};  // 10 x 10 pixels
  using K = ArrowKey;
  EXPECT_EQ(ArrowKeyPointerMove(visible, {105, 55}, K::kRight, 1), (IntPoint{106, 55}));
  EXPECT_EQ(ArrowKeyPointerMove(visible, {105, 55}, K::kUp, 1), (IntPoint{105, 54}));
  EXPECT_EQ(ArrowKeyPointerMove(visible, {100, 50}, K::kLeft, 1), std::nullopt);   // would pass the left edge
  EXPECT_EQ(ArrowKeyPointerMove(visible, {109, 55}, K::kRight, 1), std::nullopt);  // would reach the right edge
  EXPECT_EQ(ArrowKeyPointerMove(visible, {105, 59}, K::kDown, 1), std::nullopt);
  EXPECT_EQ(ArrowKeyPointerMove(visible, {101, 55}, K::kRight, 10), std::nullopt);
  EXPECT_EQ(ArrowKeyPointerMove(visible, {100, 55}, K::kRight, 9), (IntPoint{109, 55}));
  // Edges count as inside for the pointer, so from the right edge it may move left.
  EXPECT_EQ(ArrowKeyPointerMove(visible, {110, 55}, K::kLeft, 1), (IntPoint{109, 55}));
  EXPECT_EQ(ArrowKeyPointerMove(visible, {111, 55}, K::kLeft, 1), std::nullopt);
  EXPECT_EQ(ArrowKeyPointerMove(visible, {99, 55}, K::kRight, 1), std::nullopt);
}

TEST(ViewerPlacement, SavedRectangleIsMovedBackInsideTheDesktop) {
  const IntRect desktop{0, 0, 1280, 1024};
  EXPECT_EQ(KeepOnDesktop({-30, 10, 470, 310}, desktop), (IntRect{0, 10, 500, 310}));
  EXPECT_EQ(KeepOnDesktop({10, -5, 510, 295}, desktop), (IntRect{10, 0, 510, 300}));
  EXPECT_EQ(KeepOnDesktop({1000, 900, 1500, 1200}, desktop), (IntRect{780, 724, 1280, 1024}));
  EXPECT_EQ(KeepOnDesktop({20, 30, 520, 330}, desktop), (IntRect{20, 30, 520, 330}));
}

TEST(ViewerZoom, PresetFactors) {
  EXPECT_DOUBLE_EQ(ZoomPresetFactor(0), 0.25001);
  EXPECT_DOUBLE_EQ(ZoomPresetFactor(1), 0.50001);
  EXPECT_DOUBLE_EQ(ZoomPresetFactor(3), 1.0);
  EXPECT_DOUBLE_EQ(ZoomPresetFactor(5), 2.0);
  EXPECT_DOUBLE_EQ(ZoomPresetFactor(6), 0.0);
}

}  // namespace
}  // namespace pictornx
