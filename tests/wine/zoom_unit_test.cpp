// The zoom and resampling commands in the viewer: sizes, titles, check marks, the
// enlargement limit and the progress window.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "host/exports.h"
#include "ui/host_link.h"
#include "imagestore/image_buffers.h"
#include "res_string.h"
#include "win/module.h"
#include "imageops/cursor_stamp.h"
#include "imageops/picture_commands.h"
#include "ui/popup.h"
#include "viewer/render_view.h"
#include "resources/resource_ids.h"
#include "ui/tool_windows.h"
#include "viewer/viewer.h"
#include "win_test_support.h"

namespace pictornx {
namespace {

class ZoomTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(RunToolRequest(host.Get(), 10, 1), 0);
    viewer = ViewerWindow();
    ASSERT_NE(viewer, nullptr);
  }
  void TearDown() override {
    if (ViewerWindow()) SendMessageW(ViewerWindow(), WM_CLOSE, 0, 0);
  }
  void Command(int id) { SendMessageW(viewer, WM_COMMAND, id, 0); }
  SIZE ImageSize() const {
    const uint64_t size = GetImageSize();
    return {static_cast<LONG>(size & 0xFFFFFFFF), static_cast<LONG>(size >> 32)};
  }
  bool Checked(int id) const {
    return (GetMenuState(GetMenu(viewer), static_cast<UINT>(id), MF_BYCOMMAND) & MF_CHECKED) != 0;
  }

  wintest::HostWindow host;
  HWND viewer = nullptr;
};

TEST_F(ZoomTest, PresetsChangeTheImageTheTitleAndTheCheckMark) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_TRUE(Checked(IDM_ZOOM_100));
  EXPECT_TRUE(Checked(IDM_RESAMPLE_NONE));
  struct Case {
    int command;
    double factor;
  };
  for (const Case c : {Case{IDM_ZOOM_25, 0.25001}, Case{IDM_ZOOM_50, 0.50001}, Case{IDM_ZOOM_75, 0.75},
                       Case{IDM_ZOOM_150, 1.5}, Case{IDM_ZOOM_200, 2.0}, Case{IDM_ZOOM_100, 1.0}}) {
    Command(c.command);
    const int w = static_cast<int>(width * c.factor + 0.00001);
    const int h = static_cast<int>(height * c.factor + 0.00001);
    EXPECT_EQ(ImageSize().cx, w) << c.command;
    EXPECT_EQ(ImageSize().cy, h) << c.command;
    EXPECT_EQ(wintest::WindowText(viewer),
              LoadResString(IDS_VIEWER_TITLE) + L"    " + std::to_wstring(w) + L" x " + std::to_wstring(h));
    for (int other : {IDM_ZOOM_25, IDM_ZOOM_50, IDM_ZOOM_75, IDM_ZOOM_100, IDM_ZOOM_150, IDM_ZOOM_200})
      EXPECT_EQ(Checked(other), other == c.command) << c.command << " / " << other;
  }
}

TEST_F(ZoomTest, ModesMoveTheirCheckMarkAndKeepTheSize) {
  Command(IDM_ZOOM_50);
  const SIZE half = ImageSize();
  for (int mode : {IDM_RESAMPLE_CORRECT, IDM_RESAMPLE_CORRECT_SHARPEN, IDM_RESAMPLE_AVERAGE,
                   IDM_RESAMPLE_AVERAGE_SHARPEN, IDM_RESAMPLE_NONE}) {
    Command(mode);
    EXPECT_TRUE(Checked(mode));
    EXPECT_TRUE(Checked(IDM_ZOOM_50));
    EXPECT_EQ(ImageSize().cx, half.cx);
    EXPECT_EQ(ImageSize().cy, half.cy);
  }
  EXPECT_FALSE(Checked(IDM_RESAMPLE_AVERAGE));
}

TEST_F(ZoomTest, AveragingAboveTwoHundredThousandPixelsStepsTheProgressBarPerRow) {
  Command(IDM_RESAMPLE_AVERAGE);  // at 100 %: a full screen of rows
  HWND bar = Viewer().progressBar;
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), GetSystemMetrics(SM_CYSCREEN));
  EXPECT_FALSE(IsWindowVisible(ToolWindowHandle(ToolWindow::kProgress)));
  // 25 % is 320 x 256 = 81,920 pixels: no progress shown, the bar stays where it was reset.
  SendMessageW(bar, PBM_SETPOS, 7, 0);
  Command(IDM_ZOOM_25);
  EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 7);
}

TEST_F(ZoomTest, EnlargingBeyondThirtySixMillionPixelsIsRefusedAndChangesNothing) {
  SendMessageW(viewer, WM_CLOSE, 0, 0);
  // A 5000 x 4000 source: 150 % would be 45,000,000 pixels.
  ASSERT_TRUE(CaptureScreen());
  ImageBuffersState& images = Images();
  ASSERT_TRUE(images.screenImage.Create(5000, 4000));
  images.sourceSize = {5000, 4000};
  LinkHost(host.Get(), LinkedHostIdentity());
  ASSERT_EQ(OpenViewer(host.Get()), kViewerOpened);
  viewer = ViewerWindow();
  Command(IDM_ZOOM_75);
  const SIZE before = ImageSize();
  for (int command : {IDM_ZOOM_150, IDM_ZOOM_200}) {
    Command(command);
    EXPECT_EQ(std::wstring(PopupLine1()), LoadResString(IDS_SIZE_TOO_LARGE));
    EXPECT_EQ(std::wstring(PopupLine2()), LoadResString(IDS_CANNOT_ENLARGE));
    EXPECT_EQ(ImageSize().cx, before.cx);
    EXPECT_EQ(ImageSize().cy, before.cy);
    EXPECT_TRUE(Checked(IDM_ZOOM_75));
    EXPECT_FALSE(Checked(command));
    ClosePopup();
  }
  Command(IDM_ZOOM_100);
  EXPECT_EQ(ImageSize().cx, 5000);
}

TEST_F(ZoomTest, AFailedRenderingKeepsTheImageOnDisplay) {
  void* bits = GetImageBits();
  const SIZE before = ImageSize();
  testing::FailDibSectionsAfter(0);
  wintest::MessageBoxWatcher watcher;
  Command(IDM_ZOOM_50);
  testing::FailDibSectionsAfter(-1);
  EXPECT_TRUE(watcher.Result().seen);
  EXPECT_EQ(GetImageBits(), bits);
  EXPECT_EQ(ImageSize().cx, before.cx);
}

TEST_F(ZoomTest, AQuarterTurnExchangesTheZoomFactors) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  ViewerState& state = Viewer();
  state.zoomX = 0.5;  // a size-slot zoom that halves the width only
  state.zoomY = 1.0;
  state.zoomPreset = 7;
  ASSERT_EQ(RenderView(1), 0);
  EXPECT_EQ(ImageSize().cx, width / 2);
  Command(IDM_ROTATE_RIGHT);
  EXPECT_DOUBLE_EQ(state.zoomX, 1.0);
  EXPECT_DOUBLE_EQ(state.zoomY, 0.5);
  EXPECT_EQ(ImageSize().cx, height);
  EXPECT_EQ(ImageSize().cy, width / 2);
  EXPECT_EQ(Images().sourceSize.cx, height);
  EXPECT_EQ(Images().sourceSize.cy, width);
}

TEST_F(ZoomTest, AddCursorAwayFromOneHundredPercentOnlySaysSo) {
  Command(IDM_ZOOM_75);
  Command(IDM_ADD_CURSOR);
  EXPECT_EQ(std::wstring(PopupLine1()), LoadResString(IDS_ZOOM_CHANGED));
  EXPECT_EQ(std::wstring(PopupLine2()), LoadResString(IDS_SET_ZOOM_100));
  EXPECT_EQ(ToolWindowHandle(ToolWindow::kCursorPicker), nullptr);
  ClosePopup();
}

TEST_F(ZoomTest, ThePickerReleasesItsPictureAndAnyCommandEndsPlacement) {
  Command(IDM_ADD_CURSOR);
  ASSERT_NE(ToolWindowHandle(ToolWindow::kCursorPicker), nullptr);
  SendMessageW(ToolWindowHandle(ToolWindow::kCursorPicker), WM_CLOSE, 0, 0);
  wintest::CountGdiObjects();
  const int before = wintest::CountGdiObjects();
  for (int i = 0; i < 10; ++i) {
    Command(IDM_ADD_CURSOR);
    HWND picker = ToolWindowHandle(ToolWindow::kCursorPicker);
    ASSERT_NE(picker, nullptr);
    SendMessageW(picker, WM_MOUSEMOVE, 0, MAKELPARAM(60, 60));
    SendMessageW(picker, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 60));
    EXPECT_TRUE(CursorPlacing());
    EXPECT_EQ(CursorShape(), 4);
    Command(IDM_ZOOM_100);  // any command ends the placement
    EXPECT_FALSE(CursorPlacing());
  }
  EXPECT_EQ(wintest::CountGdiObjects(), before);
  // The right button ends it too.
  Command(IDM_ADD_CURSOR);
  SendMessageW(ToolWindowHandle(ToolWindow::kCursorPicker), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 60));
  SendMessageW(viewer, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(50, 50));
  EXPECT_FALSE(CursorPlacing());
}

}  // namespace
}  // namespace pictornx
