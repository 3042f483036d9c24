// The channel panels drawn from known differences: the title bands recoloured per channel,
// the trace of equal images on the middle grid line, the x2 trace twice as far from it, the
// range's yellow plot, and no DIB or GDI object left behind when memory runs out.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "jpegpreview/channel_panels.h"
#include "pixels/image_buffer.h"
#include "win/dib.h"
#include "win_test_support.h"

namespace pictornx {
namespace {

COLORREF PixelAt(const Surface& panel, int x, int y) {
  const uint8_t* p = panel.Pixels().TopRow(y) + 3 * x;
  return RGB(p[2], p[1], p[0]);
}

bool BlackInColumn(const Surface& panel, int x, int y) { return PixelAt(panel, x, y) == 0; }

ImageBuffer Uniform(int width, int height, uint8_t value) {
  ImageBuffer image(width, height);
  std::fill(image.Bytes().begin(), image.Bytes().end(), value);
  return image;
}

class ChannelPanelsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 128, 135, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(BuildChannelPanelPictures(window, panels));
  }
  void TearDown() override {
    for (Surface& panel : panels) panel.Reset();
    DestroyWindow(window);
  }
  HWND window = nullptr;
  Surface panels[3];
};

TEST_F(ChannelPanelsTest, TitleBandsTakeTheirChannelsColour) {
  EXPECT_EQ(PixelAt(panels[0], 12, 12), 0x0000A0u);
  EXPECT_EQ(PixelAt(panels[1], 12, 12), 0x00A000u);
  EXPECT_EQ(PixelAt(panels[2], 12, 12), 0xA00000u);
  EXPECT_EQ(PixelAt(panels[1], 60, 25), 0x969696u);  // the row under the band stays grey
}

TEST_F(ChannelPanelsTest, EqualImagesTraceTheMiddleLine) {
  const ImageBuffer image = Uniform(300, 250, 90);
  DrawChannelPanels(panels, image.View(), image.View(), nullptr, false);
  for (const Surface& panel : panels) {
    EXPECT_EQ(PixelAt(panel, 50, 40), 0xFFFFFFu);  // plot background
    EXPECT_EQ(PixelAt(panel, 33, 40), 0xBBBBFFu);  // a vertical grid line
    for (const int x : {4, 50, 121}) EXPECT_TRUE(BlackInColumn(panel, x, 78)) << x;
    EXPECT_EQ(PixelAt(panel, 50, 77), 0xFFFFFFu);
    EXPECT_EQ(PixelAt(panel, 122, 78), 0xAAAAAAu);  // the trace is clipped to the plot
  }
}

TEST_F(ChannelPanelsTest, GainTwoMovesTheTraceTwiceAsFar) {
  // The JPEG 20 brighter in red only: x1 value 117 (row 68), x2 value 107 (row 58).
  const ImageBuffer source = Uniform(200, 120, 100);
  ImageBuffer jpeg = source;
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 200; ++x) jpeg.View().Row(y)[3 * x + 2] = 120;
  DrawChannelPanels(panels, source.View(), jpeg.View(), nullptr, false);
  EXPECT_TRUE(BlackInColumn(panels[0], 60, 68));
  EXPECT_FALSE(BlackInColumn(panels[0], 60, 58));
  EXPECT_TRUE(BlackInColumn(panels[1], 60, 78));
  DrawChannelPanels(panels, source.View(), jpeg.View(), nullptr, true);
  EXPECT_TRUE(BlackInColumn(panels[0], 60, 58));
  EXPECT_FALSE(BlackInColumn(panels[0], 60, 68));
  EXPECT_TRUE(BlackInColumn(panels[2], 60, 78));
}

TEST_F(ChannelPanelsTest, RangeClearsToYellowAndSamplesOnlyTheRange) {
  const ImageBuffer source = Uniform(200, 120, 100);
  ImageBuffer jpeg = source;
  // A difference outside the range must not show: the left half of the JPEG is brighter.
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 100; ++x) jpeg.View().Row(y)[3 * x + 1] = 160;
  const PixelRect range{120, 10, 181, 40};
  DrawChannelPanels(panels, source.View(), jpeg.View(), &range, false);
  EXPECT_EQ(PixelAt(panels[1], 50, 40), 0x90FFFFu);
  EXPECT_EQ(PixelAt(panels[1], 33, 40), 0xFFAAAAu);
  EXPECT_TRUE(BlackInColumn(panels[1], 50, 78));
  // A single-pixel-wide image draws one flat trace across the plot.
  const ImageBuffer narrow = Uniform(1, 5, 50);
  DrawChannelPanels(panels, narrow.View(), narrow.View(), nullptr, false);
  EXPECT_TRUE(BlackInColumn(panels[0], 4, 78));
  EXPECT_TRUE(BlackInColumn(panels[0], 121, 78));
}

TEST(ChannelPanels, OutOfMemoryLeavesNothingBehind) {
  const HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 128, 135, nullptr, nullptr, nullptr, nullptr);
  {
    // The shared label font is made once per process by the first build: count after it.
    Surface warmUp[3];
    ASSERT_TRUE(BuildChannelPanelPictures(window, warmUp));
  }
  const int before = wintest::CountGdiObjects();
  for (int successes = 0; successes < 3; ++successes) {
    Surface panels[3];
    testing::FailDibSectionsAfter(successes);
    EXPECT_FALSE(BuildChannelPanelPictures(window, panels)) << successes;
    testing::FailDibSectionsAfter(-1);
    for (const Surface& panel : panels) EXPECT_FALSE(static_cast<bool>(panel));
  }
  EXPECT_EQ(wintest::CountGdiObjects(), before);
  DestroyWindow(window);
}

TEST(ChannelPanels, PaintingLeavesNoObjectBehind) {
  const HWND control = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 128, 135, nullptr, nullptr, nullptr, nullptr);
  Surface panels[3];
  ASSERT_TRUE(BuildChannelPanelPictures(control, panels));
  const int before = wintest::CountGdiObjects();
  for (int i = 0; i < 5; ++i) {
    InvalidateRect(control, nullptr, FALSE);
    PaintChannelPanel(control, panels[0]);
  }
  EXPECT_EQ(wintest::CountGdiObjects(), before);
  // The picture reached the screen inside the rounded clip.
  HDC dc = GetDC(control);
  EXPECT_EQ(GetPixel(dc, 12, 12), 0x0000A0u);
  ReleaseDC(control, dc);
  DestroyWindow(control);
}

}  // namespace
}  // namespace pictornx
