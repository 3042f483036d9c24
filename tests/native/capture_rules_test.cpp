#include "capture/capture_rules.h"

#include <gtest/gtest.h>

#include <climits>

namespace pictornx {
namespace {

TEST(CaptureRules, CropPlanNormalisesClipsAndRefuses) {
  struct Case {
    int x1, y1, x2, y2;
    int result;
    PixelRect rect;
  };
  // Screen 100 x 80.
  const Case cases[] = {
      {10, 20, 30, 50, kCropDone, {10, 20, 30, 50}},
      {30, 50, 10, 20, kCropDone, {10, 20, 30, 50}},       // corners in any order
      {0, 0, 100, 80, kCropDone, {0, 0, 100, 80}},         // the whole screen
      {5, 5, 5, 40, kCropEmpty, {}},                       // no width
      {5, 5, 40, 5, kCropEmpty, {}},                       // no height
      {0, 0, 101, 10, kCropLargerThanScreen, {}},
      {0, 0, 10, 81, kCropLargerThanScreen, {}},
      {90, 70, 120, 95, kCropDone, {90, 70, 100, 80}},     // released past the right and bottom edges
      {-15, -5, 20, 30, kCropDone, {0, 0, 20, 30}},        // a monitor left of and above the screen
      {150, 10, 190, 20, kCropEmpty, {}},                  // wholly off the screen
      {-32000, -32000, -31990, -31990, kCropEmpty, {}},    // a minimised window's parking place
      {INT_MIN, 0, INT_MAX, 10, kCropLargerThanScreen, {}},  // no overflow into a small width
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.x1 << "," << c.y1 << " " << c.x2 << "," << c.y2);
    const CropPlan plan = PlanScreenCrop(c.x1, c.y1, c.x2, c.y2, 100, 80);
    EXPECT_EQ(plan.result, c.result);
    if (c.result == kCropDone) {
      EXPECT_EQ(plan.rect, c.rect);
    }
  }
}

TEST(CaptureRules, DragIncludesBothCornersAndItsTextCountsThem) {
  struct Case {
    IntPoint press, current;
    PixelRect rect;
    const wchar_t* text;
    IntPoint anchor;
  };
  const Case cases[] = {
      {{100, 100}, {99, 99}, {99, 99, 101, 101}, L"X=2 ,Y=2", {99, 99}},
      {{10, 20}, {10, 20}, {10, 20, 11, 21}, L"X=1 ,Y=1", {10, 20}},
      {{10, 20}, {41, 25}, {10, 20, 42, 26}, L"X=32 ,Y=6", {25, 22}},
      {{41, 25}, {10, 20}, {10, 20, 42, 26}, L"X=32 ,Y=6", {25, 22}},
      {{5, 5}, {-4, 12}, {-4, 5, 6, 13}, L"X=10 ,Y=8", {0, 8}},  // pointer off the screen while captured
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DragRect(c.press, c.current), c.rect);
    FixedText<kCaptureSizeTextChars> text;
    CaptureSizeText(c.press, c.current, text);
    EXPECT_EQ(text.View(), c.text);
    EXPECT_EQ(CaptureTextAnchor(c.press, c.current), c.anchor);
  }
}

TEST(CaptureRules, ArrowKeysStepInsideTheWindowAndStopAtItsEdge) {
  using K = ArrowKey;
  const PixelRect window{0, 0, 100, 80};
  struct Case {
    IntPoint pointer;
    K key;
    int distance;
    std::optional<IntPoint> moved;
  };
  const Case cases[] = {
      {{50, 40}, K::kLeft, 1, IntPoint{49, 40}},  {{50, 40}, K::kRight, 10, IntPoint{60, 40}},
      {{50, 40}, K::kUp, 10, IntPoint{50, 30}},   {{50, 40}, K::kDown, 1, IntPoint{50, 41}},
      {{4, 40}, K::kLeft, 10, IntPoint{0, 40}},   {{95, 40}, K::kRight, 10, IntPoint{99, 40}},
      {{50, 75}, K::kDown, 10, IntPoint{50, 79}}, {{0, 40}, K::kLeft, 1, std::nullopt},
      {{99, 79}, K::kDown, 1, std::nullopt},      {{100, 40}, K::kLeft, 1, std::nullopt},  // outside
      {{-1, 40}, K::kRight, 1, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.pointer.x << "," << c.pointer.y << " key " << static_cast<int>(c.key));
    EXPECT_EQ(CaptureArrowMove(window, c.pointer, c.key, c.distance), c.moved);
  }
}

TEST(CaptureRules, ClampToScreenKeepsThePointOnAPixel) {
  EXPECT_EQ(ClampToScreen({-5, 90}, 100, 80), (IntPoint{0, 79}));
  EXPECT_EQ(ClampToScreen({100, -1}, 100, 80), (IntPoint{99, 0}));
  EXPECT_EQ(ClampToScreen({3, 3}, 0, 0), (IntPoint{0, 0}));
}

}  // namespace
}  // namespace pictornx
