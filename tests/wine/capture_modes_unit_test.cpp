// The capture modes' timers (shortened through the timer seam), the delayed capture's
// wait, and what the range capture's window shows and does with keys.
#include <windows.h>

#include <gtest/gtest.h>

#include "capture/capture_modes.h"
#include "capture/range_capture_state.h"
#include "host/exports.h"
#include "ui/host_link.h"
#include "imagestore/image_buffers.h"
#include "inspector/pixel_inspector.h"
#include "ui/timers.h"
#include "viewer/viewer.h"
#include "win_test_support.h"

namespace pictornx {
namespace {

using wintest::PumpUntil;

class CaptureModesUnit : public ::testing::Test {
 protected:
  void SetUp() override { wintest::InitCommonControlsForHost(); }
  void TearDown() override {
    testing::SetTimerScale(1);
    if (HWND viewer = ViewerWindow()) SendMessageW(viewer, WM_CLOSE, 0, 0);
    for (HWND window : {RangeCaptureWindow(), WindowPickWindow()})
      if (window) SendMessageW(window, WM_CLOSE, 0, 0);
  }
  wintest::HostWindow host;
};

// Timer 110 at a 2000th of its period (60 ms): each capture window, even mid-drag, closes
// itself, lets go of the mouse and its DC, closes the inspector, frees the images and
// brings the host back.
TEST_F(CaptureModesUnit, CaptureWindowLeftAloneClosesItself) {
  testing::SetTimerScale(2000);
  for (int type : {11, 12}) {
    SCOPED_TRACE(type);
    ShowWindow(host.Get(), SW_MINIMIZE);
    ASSERT_EQ(RunToolRequest(host.Get(), type, 1), 0);
    HWND window = type == 11 ? RangeCaptureWindow() : WindowPickWindow();
    ASSERT_NE(window, nullptr);
    if (type == 11) {
      EXPECT_NE(PixelInspectorWindow(), nullptr);
      SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 40));
      EXPECT_EQ(GetCapture(), window);
      EXPECT_TRUE(RangeCapture().held);
    }
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(window); }, 2000));
    EXPECT_FALSE(RangeCapture().held);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(PixelInspectorWindow(), nullptr);
    EXPECT_EQ(GetImageBits(), nullptr);
    EXPECT_EQ(ViewerWindow(), nullptr);
    EXPECT_FALSE(IsIconic(host.Get()));
    EXPECT_EQ(RunToolRequest(host.Get(), 100, 1), 0);
  }
}

// A host that goes while a capture window shows takes the window with it, past the
// window's own ways out: its end still lets go of the mouse, its DC, the inspector and the
// images, and the mode starts again for the next host.
TEST_F(CaptureModesUnit, CaptureWindowEndsWithItsHost) {
  for (int type : {11, 12}) {
    SCOPED_TRACE(type);
    const auto modeWindow = [type] { return type == 11 ? RangeCaptureWindow() : WindowPickWindow(); };
    HWND window = nullptr;
    {
      wintest::HostWindow shortLived;
      ASSERT_EQ(RunToolRequest(shortLived.Get(), type, 1), 0);
      window = modeWindow();
      ASSERT_NE(window, nullptr);
      if (type == 11) SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 40));
    }
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(modeWindow(), nullptr);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_FALSE(RangeCapture().held);
    EXPECT_EQ(PixelInspectorWindow(), nullptr);
    EXPECT_EQ(GetImageBits(), nullptr);
    ASSERT_EQ(RunToolRequest(host.Get(), type, 1), 0);
    ASSERT_NE(modeWindow(), nullptr);
    SendMessageW(modeWindow(), WM_CLOSE, 0, 0);
    EXPECT_EQ(GetImageBits(), nullptr);
  }
}

// Timer 112 at a 50th of its period (100 ms).
TEST_F(CaptureModesUnit, DelayedCaptureRefusesRequestsUntilTheViewerOpens) {
  testing::SetTimerScale(50);
  ASSERT_EQ(RunToolRequest(host.Get(), 14, 1), 0);
  EXPECT_TRUE(DelayedCapturePending());
  EXPECT_EQ(RunToolRequest(host.Get(), 10, 1), 2);
  EXPECT_EQ(RunToolRequest(host.Get(), 13, 1), 2);
  ASSERT_TRUE(PumpUntil([] { return ViewerWindow() != nullptr; }, 2000));
  EXPECT_FALSE(DelayedCapturePending());
  EXPECT_EQ(Images().sourceSize.cx, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(Images().sourceSize.cy, GetSystemMetrics(SM_CYSCREEN));
  EXPECT_NE(Images().cursorTile.Bits(), nullptr);  // the request's cursor tile is kept
}

// A host window destroyed while the delay runs takes timer 112 with it: the wait ends
// instead of refusing every later request.
TEST_F(CaptureModesUnit, DelayEndsWithItsHostWindow) {
  HWND gone = nullptr;
  {
    wintest::HostWindow shortLived;
    gone = shortLived.Get();
    ASSERT_EQ(RunToolRequest(gone, 14, 1), 0);
  }
  EXPECT_FALSE(IsWindow(gone));
  EXPECT_EQ(RunToolRequest(host.Get(), 10, 1), 0);
  EXPECT_NE(ViewerWindow(), nullptr);
}

TEST_F(CaptureModesUnit, ClosingTheViewerStopsAWaitingDelay) {
  // The viewer cannot open while the delay waits; its closing still stops a stray one.
  ASSERT_EQ(RunToolRequest(host.Get(), 10, 1), 0);
  ASSERT_EQ(StartDelayedCapture(), 0);
  SendMessageW(ViewerWindow(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(DelayedCapturePending());
  EXPECT_FALSE(KillTimer(host.Get(), kDelayedCaptureTimer));  // already gone
}

TEST_F(CaptureModesUnit, RangeWindowShowsTheCrossAndTheSizeOfTheDrag) {
  ASSERT_EQ(RunToolRequest(host.Get(), 11, 1), 0);
  HWND window = RangeCaptureWindow();
  ASSERT_NE(window, nullptr);
  SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_CROSS));
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(41, 25));
  SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 20));
  EXPECT_EQ(RangeCapture().sizeText.View(), L"X=32 ,Y=6");
  SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(41, 25));
  EXPECT_EQ(RangeCapture().sizeText.View(), L"X=1 ,Y=1");
  SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(41, 25));  // back at the press point: a cancel
  EXPECT_EQ(GetImageBits(), nullptr);

  ASSERT_EQ(RunToolRequest(host.Get(), 12, 1), 0);
  window = WindowPickWindow();
  SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
}

// Arrow keys move the real pointer by 1, or by 10 with the no-conversion key held, and
// stop at the screen's last pixel; other keys do nothing.
TEST_F(CaptureModesUnit, ArrowKeysMoveThePointerInsideTheRangeWindow) {
  ASSERT_EQ(RunToolRequest(host.Get(), 11, 1), 0);
  HWND window = RangeCaptureWindow();
  ASSERT_NE(window, nullptr);
  const int width = GetSystemMetrics(SM_CXSCREEN);
  BYTE keys[256]{};
  struct Case {
    POINT from;
    WPARAM key;
    bool fast;
    POINT to;
  };
  const Case cases[] = {
      {{200, 200}, VK_RIGHT, false, {201, 200}}, {{200, 200}, VK_UP, true, {200, 190}},
      {{200, 200}, VK_DOWN, false, {200, 201}},  {{5, 200}, VK_LEFT, true, {0, 200}},
      {{width - 3, 50}, VK_RIGHT, true, {width - 1, 50}}, {{200, 200}, VK_SHIFT, false, {200, 200}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.from.x << "," << c.from.y << " key " << c.key);
    SetCursorPos(c.from.x, c.from.y);
    keys[VK_NONCONVERT] = c.fast ? 0x80 : 0;
    SetKeyboardState(keys);
    SendMessageW(window, WM_KEYDOWN, c.key, 0);
    POINT now{};
    GetCursorPos(&now);
    EXPECT_EQ(now.x, c.to.x);
    EXPECT_EQ(now.y, c.to.y);
    EXPECT_TRUE(IsWindow(window));
  }
  keys[VK_NONCONVERT] = 0;
  SetKeyboardState(keys);
}

}  // namespace
}  // namespace pictornx
