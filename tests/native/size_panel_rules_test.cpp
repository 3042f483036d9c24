#include <gtest/gtest.h>

#include "imageops/size_panel_rules.h"
#include "pixels/resample.h"

namespace pictornx {
namespace {

TEST(SizePanelRules, RatioLockFromEitherSideWithTheCap) {
  const double ratio = 768.0 / 1024.0;
  struct Case {
    bool fromWidth;
    int typed;
    SizePair result;
  } const cases[] = {
      {true, 2000, {2000, 1500}},  {true, 6000, {6000, 4500}}, {false, 6000, {6000, 4500}},  // 8000 capped
      {false, 300, {400, 300}},    {true, 1, {1, 1}},          {true, 7, {7, 5}},
  };
  for (const Case& c : cases) {
    const SizePair size = c.fromWidth ? RatioFromWidth(c.typed, ratio) : RatioFromHeight(c.typed, ratio);
    EXPECT_EQ(size, c.result) << c.fromWidth << " " << c.typed;
  }
  // A very tall view: the width driven by the height cap, the height never below 1.
  EXPECT_EQ(RatioFromWidth(6000, 1.0 / 7000), (SizePair{6000, 1}));
  EXPECT_EQ(RatioFromWidth(100, 70.0), (SizePair{85, 6000}));
  // 3 x 0.1 is 0.30000000000000004 and 0.7 x 10 is 6.999999999999999: the nudge decides.
  EXPECT_EQ(RatioFromWidth(10, 0.7).height, 7);
}

TEST(SizePanelRules, TypedTextUpDownsAndEnter) {
  EXPECT_EQ(LeadingNumber(L"2000"), 2000);
  EXPECT_EQ(LeadingNumber(L"12ab3"), 12);
  EXPECT_EQ(LeadingNumber(L"x1"), 0);
  EXPECT_EQ(LeadingNumber(L"99999999999999"), 1000000000);
  EXPECT_EQ(ClampTypedSize(LeadingNumber(L"")), 1);
  EXPECT_EQ(ClampTypedSize(LeadingNumber(L"7000")), 6000);
  EXPECT_FALSE(EnterAccepts(6000));
  EXPECT_TRUE(EnterAccepts(5999));
  EXPECT_FALSE(EnterAccepts(0));
  // Width 10, one click down on the tens up-down: 0, raised to 1.
  EXPECT_EQ(SizeFromUpDowns(TensOf(10) - 1, OnesOf(10)), 1);
  EXPECT_EQ(SizeFromUpDowns(TensOf(1234), OnesOf(1234) + 1), 1235);
}

TEST(SizePanelRules, SlotThreeOnA1024x768Source) {
  const SlotZoom stretched = SlotFactors({300, 200}, {1024, 768}, false);
  const SlotZoom fixed = SlotFactors({300, 200}, {1024, 768}, true);
  EXPECT_EQ(ZoomedSize({1024, 768}, stretched.x, stretched.y), (PixelSize{300, 200}));
  EXPECT_EQ(ZoomedSize({1024, 768}, fixed.x, fixed.y), (PixelSize{300, 225}));
}

}  // namespace
}  // namespace pictornx
