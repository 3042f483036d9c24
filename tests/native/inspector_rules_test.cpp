#include <gtest/gtest.h>

#include "pixels/image_buffer.h"
#include "inspector/inspector_rules.h"

namespace pictornx {
namespace {

TEST(InspectorLayout, SizesAndBoundsFollowTheWidthAndMode) {
  struct Case {
    int width;
    bool compare;
    int height, titleEnd, panelLeft, viewWidth, viewHeight;
  };
  const Case cases[] = {
      {250, false, 267, 181, 27, 243, 245},
      {250, true, 142, 181, 27, 120, 120},
      {199, false, 216, 89, 4, 192, 194},  // narrow: the tab ends early, the panel moves left
      {200, false, 217, 181, 27, 193, 195},
      {700, false, 717, 181, 27, 693, 695},
      {160, true, 97, 89, 4, 75, 75},
  };
  for (const Case& c : cases) {
    const InspectorLayout layout = LayoutInspector(c.width, c.compare);
    EXPECT_EQ(layout.height, c.height) << c.width;
    EXPECT_EQ(layout.titleEnd, c.titleEnd) << c.width;
    EXPECT_EQ(layout.panelLeft, c.panelLeft) << c.width;
    EXPECT_EQ(layout.viewWidth, c.viewWidth) << c.width;
    EXPECT_EQ(layout.viewHeight, c.viewHeight) << c.width;
  }
  const InspectorLayout compare = LayoutInspector(250, true);
  EXPECT_EQ(compare.centre, 124);
  EXPECT_EQ(compare.rightViewWidth, 121);  // from C + 2 to R inclusive
}

TEST(InspectorPlacement, OpensOnTheDesktopAndTheReadoutStaysInside) {
  const ScreenRect desktop{0, 0, 1280, 1024};
  EXPECT_EQ(InspectorOpenPosition({}, desktop, {100, 50}, 250, 267), (ScreenPoint{110, 60}));
  EXPECT_EQ(InspectorOpenPosition({-20, 5, 230, 272}, desktop, {100, 50}, 250, 267), (ScreenPoint{0, 5}));
  EXPECT_EQ(InspectorOpenPosition({1200, 900, 1450, 1167}, desktop, {}, 250, 267), (ScreenPoint{1030, 727}));

  const InspectorLayout layout = LayoutInspector(250, false);
  EXPECT_EQ(ReadoutOpenPosition({}, layout), (ScreenPoint{5, 20}));
  EXPECT_EQ(ReadoutOpenPosition({-4, 2, 110, 18}, layout), (ScreenPoint{0, 19}));
  EXPECT_EQ(ReadoutOpenPosition({200, 300, 314, 316}, layout), (ScreenPoint{136, 251}));
  struct Case {
    ScreenPoint at;
    int height;
    ScreenPoint expected;
  };
  for (const Case& c : {Case{{50, 100}, 16, {50, 100}}, Case{{1, 5}, 16, {3, 19}}, Case{{200, 260}, 16, {133, 248}},
                        Case{{20, 240}, 30, {20, 234}}}) {
    EXPECT_EQ(ConfineReadout(c.at, 114, c.height, layout), c.expected) << c.at.x << "," << c.at.y;
  }
}

TEST(InspectorDigits, UnitsDigitPlacement) {
  struct Case {
    int value, readout, measure;
  };
  for (const Case& c : {Case{5, 20, 23}, Case{45, 25, 27}, Case{255, 30, 30}, Case{1999, 30, 35}}) {
    EXPECT_EQ(ReadoutValueX(c.value, 30), c.readout) << c.value;
    EXPECT_EQ(MeasureValueX(c.value, 35), c.measure) << c.value;
  }
  EXPECT_EQ(AngleValueX(0), 93);
  EXPECT_EQ(AngleValueX(45), 96);
  EXPECT_EQ(AngleValueX(135), 98);
  EXPECT_EQ(TitleDigits(999, 87, 91).unitsX, 87);
  EXPECT_EQ(TitleDigits(999, 87, 91).pitch, 7);
  EXPECT_EQ(TitleDigits(1234, 87, 91).unitsX, 91);
  EXPECT_EQ(TitleDigits(1234, 87, 91).pitch, 6);
}

TEST(InspectorReadout, ReadsInsideAndNeverOutsideTheImage) {
  ImageBuffer image(3, 2);
  uint8_t* pixel = image.View().TopRow(1) + 2 * 3;  // (2, 1): blue 1, green 2, red 3
  pixel[0] = 1;
  pixel[1] = 2;
  pixel[2] = 3;
  struct Case {
    int64_t x, y;
    ReadoutRead result;
    Rgb rgb;
  };
  const Rgb kept{7, 7, 7};
  const Case cases[] = {
      {2, 1, ReadoutRead::kRead, {3, 2, 1}},
      {3, 1, ReadoutRead::kRead, {}},            // right of the image: zeros
      {-1, 1, ReadoutRead::kRead, {}},           // left of it, from a captured drag: zeros too
      {-100000, 0, ReadoutRead::kRead, {}},
      {1, 2, ReadoutRead::kBelowImage, kept},    // below: unchanged
      {1, -1, ReadoutRead::kBelowImage, kept},   // above: unchanged as well
      {10000, 0, ReadoutRead::kColumnTooFar, kept},
  };
  for (const Case& c : cases) {
    Rgb rgb = kept;
    EXPECT_EQ(ReadPointedPixel(image.View(), c.x, c.y, rgb), c.result) << c.x << "," << c.y;
    EXPECT_EQ(rgb, c.rgb) << c.x << "," << c.y;
  }
}

TEST(InspectorMeasure, SizesAndTheAngle) {
  struct Case {
    int x0, y0, x, y;
    int width, height, angle;
    bool above;
  };
  const Case cases[] = {
      {10, 10, 10, 10, 1, 1, 0, false},
      {10, 10, 0, 20, 11, 11, 135, false},  // 44.94: first decimal 9 rounds up, then 180 - 45
      {10, 10, 20, 0, 11, 11, 45, true},
      {0, 0, 2499, 0, 0, 1, 0, false},      // 2500 wide shows 0
      {0, 0, 0, 5, 1, 6, 90, false},        // 89.88 with the factor below 180 / pi, rounded up
      {0, 0, 10, 5, 11, 6, 26, false},      // 26.53: first decimal 5 stays down
      {5, 5, 4, 5, 2, 1, 180, false},
  };
  for (const Case& c : cases) {
    const Measurement m = MeasureFrom(c.x0, c.y0, c.x, c.y);
    EXPECT_EQ(m.width, c.width) << c.x << "," << c.y;
    EXPECT_EQ(m.height, c.height) << c.x << "," << c.y;
    EXPECT_EQ(m.angle, c.angle) << c.x << "," << c.y;
    EXPECT_EQ(m.above, c.above) << c.x << "," << c.y;
  }
}

TEST(InspectorPanel, ThumbAndTrackValues) {
  EXPECT_EQ(ThumbOffset(5, kPixelCountRange), 0);
  EXPECT_EQ(ThumbOffset(200, kPixelCountRange), 46);
  EXPECT_EQ(ThumbOffset(20, kPixelCountRange), 3);
  EXPECT_EQ(ThumbOffset(160, kInspectorWidthRange), 0);
  EXPECT_EQ(ThumbOffset(250, kInspectorWidthRange), 7);
  const int p = 27;
  EXPECT_EQ(TrackValue(PanelPage::kPixelCount, p + 28, p, kPixelCountRange), 8);
  EXPECT_EQ(kPixelCountRange.Clamp(TrackValue(PanelPage::kPixelCount, p + 28 - 2, p, kPixelCountRange)), 5);
  EXPECT_EQ(kPixelCountRange.Clamp(TrackValue(PanelPage::kPixelCount, p + 82, p, kPixelCountRange)), 200);
  EXPECT_EQ(TrackValue(PanelPage::kWidth, p + 31, p, kInspectorWidthRange), 160);
  EXPECT_EQ(TrackValue(PanelPage::kWidth, p + 54, p, kInspectorWidthRange), 430);
}

TEST(InspectorPanel, PressesHitThePaintedButtons) {
  const InspectorLayout wide = LayoutInspector(250, false);
  const InspectorLayout narrow = LayoutInspector(199, false);
  const int t = wide.top;
  struct Case {
    const InspectorLayout* layout;
    int x, y;
    bool open;
    PanelPage page;
    PanelHit hit;
  };
  const Case cases[] = {
      {&wide, 150, 8, false, PanelPage::kPixelCount, PanelHit::kSettingsButton},
      {&wide, 149, 8, false, PanelPage::kPixelCount, PanelHit::kNone},
      {&narrow, 60, 13, false, PanelPage::kPixelCount, PanelHit::kSettingsButton},
      {&wide, 27 + 120, 30, false, PanelPage::kPixelCount, PanelHit::kNone},  // panel closed
      {&wide, 27 + 120, 30, true, PanelPage::kPixelCount, PanelHit::kPixelCountPage},
      {&wide, 27 + 140, 30, true, PanelPage::kPixelCount, PanelHit::kWidthPage},
      {&wide, 27 + 120, 45, true, PanelPage::kPixelCount, PanelHit::kReadoutPage},
      {&wide, 27 + 140, 45, true, PanelPage::kPixelCount, PanelHit::kApply},
      {&wide, 27 + 127, 45, true, PanelPage::kPixelCount, PanelHit::kNone},
      {&wide, 27 + 20, t + 25, true, PanelPage::kWidth, PanelHit::kMinus},
      {&wide, 27 + 90, t + 25, true, PanelPage::kPixelCount, PanelHit::kPlus},
      {&wide, 27 + 31, t + 25, true, PanelPage::kPixelCount, PanelHit::kThumb},  // thumb at 3
      {&wide, 27 + 28, t + 25, true, PanelPage::kPixelCount, PanelHit::kTrack},
      {&wide, 27 + 20, t + 25, true, PanelPage::kReadout, PanelHit::kReadoutSwitch},
      {&wide, 27 + 70, t + 25, true, PanelPage::kReadout, PanelHit::kHexSwitch},
      {&narrow, 4 + 70, narrow.top + 25, true, PanelPage::kReadout, PanelHit::kHexSwitch},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HitInspectorPanel(c.x, c.y, *c.layout, c.open, c.page, 3), c.hit) << c.x << "," << c.y;
  }
  EXPECT_TRUE(DragHoldsThumb(27 + 30, t + 25, wide, 3));
  EXPECT_FALSE(DragHoldsThumb(27 + 40, t + 25, wide, 3));
}

}  // namespace
}  // namespace pictornx
