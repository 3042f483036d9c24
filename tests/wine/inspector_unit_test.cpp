// The pixel inspector, its readout and its settings panel, driven as its callers and the
// user drive it, with the face's pixels read back.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "imagestore/image_buffers.h"
#include "pixels/magnify.h"
#include "inspector/inspector_state.h"
#include "inspector/pixel_inspector.h"
#include "win/dib.h"
#include "win_test_support.h"

namespace pictornx {
namespace {

// Every pixel says where it is: blue = x, green = y, red = `tag`.
void PaintPattern(ImageView image, uint8_t tag) {
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      uint8_t* p = image.TopRow(y) + x * 3;
      p[0] = static_cast<uint8_t>(x);
      p[1] = static_cast<uint8_t>(y);
      p[2] = tag;
    }
  }
}

SIZE WindowSize(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return {r.right - r.left, r.bottom - r.top};
}

void Click(HWND window, int x, int y) {
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

bool IsHatch(const uint8_t* p) {
  const bool hatchInk = p[0] == 0x00 && p[1] == 0xC8 && p[2] == 0xFF;
  const bool white = p[0] == 0xFF && p[1] == 0xFF && p[2] == 0xFF;
  return hatchInk || white;
}

// Checks every pixel of one view against the image pixel the magnification puts there.
// Returns how many view pixels lie beyond the image (and show the hatch).
int ExpectViewMatches(ConstImageView face, ConstImageView source, const MagnifierView& view, int px, int py, int n) {
  int beyond = 0;
  int wrong = 0;
  for (int k = 0; k < view.rows; ++k) {
    const int imageY = py + n / 2 - BlockOffset(k, n, view.width);
    for (int c = view.margin; c < view.width; ++c) {
      const int imageX = px - n / 2 + BlockOffset(c - view.margin, n, view.width);
      const uint8_t* shown = face.TopRow(view.bottom - k) + (view.left + c) * 3;
      if (imageX < 0 || imageX >= source.width || imageY < 0 || imageY >= source.height) {
        ++beyond;
        if (!IsHatch(shown)) ++wrong;
      } else {
        const uint8_t* expected = source.TopRow(imageY) + imageX * 3;
        if (shown[0] != expected[0] || shown[1] != expected[1] || shown[2] != expected[2]) ++wrong;
      }
    }
  }
  EXPECT_EQ(wrong, 0);
  return beyond;
}

class InspectorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Images().workImage.Create(40, 30));
    PaintPattern(Images().workImage.View(), 0x11);
  }
  void TearDown() override {
    OpenPixelInspector(nullptr, 0);
    wintest::PumpUntil([] { return PixelInspectorWindow() == nullptr; }, 2000);
    Images().workImage.Free();
  }
  HWND Open() {
    EXPECT_EQ(OpenPixelInspector(owner.Get(), 1), kInspectorOpened);
    return PixelInspectorWindow();
  }
  wintest::HostWindow owner;
};

TEST_F(InspectorTest, SingleViewShowsTheSourceBlockByBlockWithTheHatchBeyond) {
  HWND window = Open();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(WindowSize(window).cx, 250);
  EXPECT_EQ(WindowSize(window).cy, 267);
  EXPECT_EQ(OpenPixelInspector(owner.Get(), 1), kInspectorAlreadyOpen);
  OwnedRegion shape(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(window, shape.Get()), ERROR);
  EXPECT_FALSE(PtInRegion(shape.Get(), 0, 0));    // the tab's rounded corner
  EXPECT_FALSE(PtInRegion(shape.Get(), 200, 5));  // right of the title tab
  EXPECT_TRUE(PtInRegion(shape.Get(), 100, 100));

  const InspectorLayout& l = Inspector().layout;
  const MagnifierView view{3, l.bottom - 1, l.viewWidth, l.viewHeight, 0};
  // Column 0, and a row near the bottom: the left and lower parts of the view lie beyond.
  ASSERT_EQ(UpdatePixelInspector(Images().workImage.View(), 0, 27), kInspectorUpdated);
  EXPECT_GT(ExpectViewMatches(Inspector().face.Pixels(), Images().workImage.View(), view, 0, 27, 20), 0);
  // Far outside on every side, however large: only hatch, nothing read beyond the pixels.
  for (POINT p : {POINT{-5000, 10}, POINT{10, -70000}, POINT{2000000000, 2000000000}}) {
    ASSERT_EQ(UpdatePixelInspector(Images().workImage.View(), p.x, p.y), kInspectorUpdated);
    EXPECT_EQ(ExpectViewMatches(Inspector().face.Pixels(), Images().workImage.View(), view, p.x, p.y, 20),
              (view.width - view.margin) * view.rows);
  }
  // A view whose rows would overlap, or that has no pixels, is not read: only hatch.
  for (ConstImageView bad : {ConstImageView{Images().workImage.Bits(), 40, 30, 3}, ConstImageView{}}) {
    ASSERT_EQ(UpdatePixelInspector(bad, 20, 15), kInspectorUpdated);
    EXPECT_EQ(ExpectViewMatches(Inspector().face.Pixels(), Images().workImage.View(), view, -5000, 10, 20),
              (view.width - view.margin) * view.rows);
  }
  // An odd count inside the image: no hatch at all.
  InspectorSettingsValues().pixelCount = 5;
  ASSERT_EQ(UpdatePixelInspector(Images().workImage.View(), 20, 15), kInspectorUpdated);
  EXPECT_EQ(ExpectViewMatches(Inspector().face.Pixels(), Images().workImage.View(), view, 20, 15, 5), 0);

  // A width set but not applied leaves the view alone.
  InspectorSettingsValues().width = 300;
  EXPECT_EQ(UpdatePixelInspector(Images().workImage.View(), 20, 15), kInspectorWidthPending);
  InspectorSettingsValues() = {};
}

TEST_F(InspectorTest, CompareViewsShowTheirOwnImageOfTheSameRegion) {
  SetInspectorCompareMode(true);
  HWND window = Open();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(WindowSize(window).cy, 142);
  std::vector<uint8_t> second(static_cast<size_t>(RowBytes(40)) * 30);
  const ImageView secondView{second.data(), 40, 30, static_cast<int>(RowBytes(40))};
  PaintPattern(secondView, 0x77);

  ASSERT_EQ(UpdatePixelInspector(Images().workImage.View(), 38, 3), kInspectorUpdated);
  ASSERT_EQ(UpdateCompareView(secondView, 38, 3), kInspectorUpdated);
  const InspectorLayout& l = Inspector().layout;
  const ConstImageView face = Inspector().face.Pixels();
  EXPECT_GT(ExpectViewMatches(face, Images().workImage.View(), {3, l.bottom - 1, l.viewWidth, l.viewHeight, 0}, 38, 3,
                              20),
            0);
  EXPECT_GT(ExpectViewMatches(face, secondView, {l.centre + 2, l.bottom - 1, l.rightViewWidth, l.viewHeight, 0}, 38,
                              3, 20),
            0);
  // The divider stands between them: white in the middle, orange on both sides.
  const uint8_t* middle = face.TopRow(l.top + 10) + l.centre * 3;
  EXPECT_EQ(middle[0] & middle[1] & middle[2], 0xFF);
  EXPECT_EQ(middle[3], 0x00);  // orange: blue 0, green 0xAA, red 0xFF
  EXPECT_EQ(middle[4], 0xAA);
  SetInspectorCompareMode(false);
  EXPECT_EQ(UpdateCompareView(secondView, 0, 0), kInspectorUpdated);
}

TEST_F(InspectorTest, ReadoutShowsTheMeasurementWhileMeasuring) {
  InspectorSettingsValues().readout = true;
  ASSERT_NE(Open(), nullptr);
  HWND readout = Inspector().readout.window;
  ASSERT_NE(readout, nullptr);
  EXPECT_EQ(WindowSize(readout).cx, 114);
  EXPECT_EQ(WindowSize(readout).cy, 16);
  ASSERT_EQ(UpdatePixelInspector(Images().workImage.View(), -3, 5), kInspectorUpdated);
  // The measurement from (10, 10): the angle is white when the pointer is below the
  // anchor and pink above it.
  BeginMeasureReadout(1, 10, 10);
  EXPECT_EQ(WindowSize(readout).cy, 30);
  const auto angleInk = [&] {
    const ConstImageView face = Inspector().readout.face.Pixels();
    int white = 0;
    int pink = 0;
    for (int y = 17; y < 27; ++y)
      for (int x = 87; x < 105; ++x) {
        const uint8_t* p = face.TopRow(y) + x * 3;
        white += p[0] == 0xFF && p[1] == 0xFF && p[2] == 0xFF;
        pink += p[0] == 0xFF && p[1] == 0xAA && p[2] == 0xFF;
      }
    return std::pair{white, pink};
  };
  UpdateMeasureReadout(0, 20);
  EXPECT_GT(angleInk().first, 0);
  EXPECT_EQ(angleInk().second, 0);
  UpdateMeasureReadout(20, 0);
  EXPECT_EQ(angleInk().first, 0);
  EXPECT_GT(angleInk().second, 0);
  BeginMeasureReadout(0, 0, 0);
  EXPECT_EQ(WindowSize(readout).cy, 16);
  InspectorSettingsValues() = {};
}

TEST_F(InspectorTest, ApplyingANewWidthResizesAndRedrawsTheWindow) {
  HWND window = Open();
  ASSERT_NE(window, nullptr);
  ASSERT_EQ(UpdatePixelInspector(Images().workImage.View(), 20, 15), kInspectorUpdated);
  const InspectorLayout wide = Inspector().layout;
  Click(window, wide.titleEnd - 24, 8);  // the settings button opens the panel
  EXPECT_TRUE(InspectorPanelOpen());
  const int p = wide.panelLeft;
  Click(window, p + 140, 30);  // the width page
  for (int i = 0; i < 3; ++i) Click(window, p + 20, wide.top + 27);  // minus
  EXPECT_EQ(InspectorSettingsValues().width, 247);
  Click(window, p + 31, wide.top + 27);  // the track's start: the least width
  EXPECT_EQ(InspectorSettingsValues().width, 160);
  EXPECT_EQ(UpdatePixelInspector(Images().workImage.View(), 20, 15), kInspectorWidthPending);
  Click(window, p + 140, 45);  // apply: redrawn from WorkImage
  EXPECT_FALSE(InspectorPanelOpen());
  EXPECT_EQ(WindowSize(window).cx, 160);
  EXPECT_EQ(WindowSize(window).cy, 177);
  const InspectorLayout& narrow = Inspector().layout;
  EXPECT_EQ(narrow.titleEnd, 89);
  // The view was redrawn at the last point at the new size.
  EXPECT_EQ(ExpectViewMatches(Inspector().face.Pixels(), Images().workImage.View(),
                              {3, narrow.bottom - 1, narrow.viewWidth, narrow.viewHeight, 0}, 20, 15, 20),
            0);
  // The readout option takes effect at apply, with the rulers.
  Click(window, narrow.titleEnd - 24, 8);
  Click(window, narrow.panelLeft + 118, 45);                // the readout page
  Click(window, narrow.panelLeft + 20, narrow.top + 27);    // the readout switch
  EXPECT_EQ(Inspector().readout.window, nullptr);
  Click(window, narrow.panelLeft + 140, 45);
  EXPECT_NE(Inspector().readout.window, nullptr);
  EXPECT_EQ(WindowSize(window).cx, 160);
  InspectorSettingsValues() = {};
}

TEST_F(InspectorTest, OpenAndCloseCyclesKeepTheGdiObjectCount) {
  InspectorSettingsValues().readout = true;
  ASSERT_NE(Open(), nullptr);
  UpdatePixelInspector(Images().workImage.View(), 5, 5);
  OpenPixelInspector(nullptr, 0);
  ASSERT_TRUE(wintest::PumpUntil([] { return PixelInspectorWindow() == nullptr; }, 2000));
  const int before = wintest::CountGdiObjects();
  for (int i = 0; i < 100; ++i) {
    ASSERT_EQ(OpenPixelInspector(owner.Get(), 1), kInspectorOpened);
    UpdatePixelInspector(Images().workImage.View(), i % 40, i % 30);
    BeginMeasureReadout(1, 0, 0);
    UpdateMeasureReadout(i, i);
    BeginMeasureReadout(0, 0, 0);
    OpenPixelInspector(nullptr, 0);
    ASSERT_TRUE(wintest::PumpUntil([] { return PixelInspectorWindow() == nullptr; }, 2000));
  }
  EXPECT_EQ(wintest::CountGdiObjects(), before);
  InspectorSettingsValues() = {};
}

TEST_F(InspectorTest, NoFaceMeansNoWindow) {
  testing::FailDibSectionsAfter(0);
  EXPECT_EQ(OpenPixelInspector(owner.Get(), 1), kInspectorNoImage);
  testing::FailDibSectionsAfter(-1);
  EXPECT_EQ(PixelInspectorWindow(), nullptr);
  EXPECT_EQ(UpdatePixelInspector(Images().workImage.View(), 1, 1), kInspectorNoFace);
}

}  // namespace
}  // namespace pictornx
