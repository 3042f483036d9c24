// The capture modes as a host meets them: requests 11 to 14 through the ordinals, driven
// as a user would on the full-screen windows, with a painted pattern on the screen.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "soak/soak_cycle.h"
#include "win_test_support.h"

namespace {

using wintest::PatternWindow;
using wintest::PumpUntil;

constexpr int kCloseViewerCommand = 32793;
const std::wstring kViewerTitlePrefix = L"\u753B\u50CF\u306E\u52A0\u5DE5";  // 画像の加工

SIZE Screen() { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

HWND FindViewer() {
  const auto found = wintest::ProcessWindows([](HWND window) {
    return IsWindowVisible(window) && wintest::WindowText(window).rfind(kViewerTitlePrefix, 0) == 0;
  });
  return found.empty() ? nullptr : found.front();
}

// A visible captionless dialog of this process covering the whole screen.
HWND FindCaptureWindow() {
  const auto found = wintest::ProcessWindows([](HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return IsWindowVisible(window) && wintest::WindowClass(window) == L"#32770" && r.left == 0 && r.top == 0 &&
           r.right == Screen().cx && r.bottom == Screen().cy;
  });
  return found.empty() ? nullptr : found.front();
}

HWND PatternHandle() { return wintest::FindProcessWindow(L"PictornxTestPattern"); }

COLORREF ScreenPixel(int x, int y) {
  HDC screen = GetDC(nullptr);
  const COLORREF colour = GetPixel(screen, x, y);
  ReleaseDC(nullptr, screen);
  return colour;
}

// Wine shows what a window draws a moment later: pumps until the screen shows `colour` at
// (x, y), for at most a second.
bool ScreenShows(int x, int y, COLORREF colour) {
  return PumpUntil([&] { return ScreenPixel(x, y) == colour; }, 1000);
}

// The real pointer goes to the same point first: Wine reports moves of its own (when a
// window is restacked), and those must agree with the ones sent here.
void Move(HWND window, int x, int y, WPARAM keys = 0) {
  POINT onScreen{x, y};
  ClientToScreen(window, &onScreen);
  SetCursorPos(onScreen.x, onScreen.y);
  SendMessageW(window, WM_MOUSEMOVE, keys, MAKELPARAM(x, y));
}
void Press(HWND window, int x, int y) { SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); }
void Release(HWND window, int x, int y) { SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y)); }

class CaptureModesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wintest::InitCommonControlsForHost();
    ASSERT_NE(lib.module, nullptr);
    lib.setHostNotifyWindow(notify.Window(), 0);
  }
  void TearDown() override {
    if (HWND viewer = FindViewer()) SendMessageW(viewer, WM_COMMAND, kCloseViewerCommand, 0);
    if (HWND capture = FindCaptureWindow()) SendMessageW(capture, WM_CHAR, 'q', 0);
  }

  SIZE ImageSize() const {
    const uint64_t size = lib.getImageSize();
    return {static_cast<LONG>(size & 0xFFFFFFFF), static_cast<LONG>(size >> 32)};
  }
  // The image's pixel at (x, y) from the top.
  COLORREF ImagePixel(int x, int y) const {
    const SIZE size = ImageSize();
    const auto* bits = static_cast<const uint8_t*>(lib.getImageBits());
    const int row = ((size.cx * 24 + 31) >> 3) & ~3;
    const uint8_t* p = bits + static_cast<size_t>(size.cy - 1 - y) * row + static_cast<size_t>(x) * 3;
    return RGB(p[2], p[1], p[0]);
  }
  // Pixels of the image that differ from the pattern's columns and rows starting at
  // (patternX, patternY).
  int PatternMismatches(int patternX, int patternY) const {
    const SIZE size = ImageSize();
    int mismatches = 0;
    for (int y = 0; y < size.cy; ++y)
      for (int x = 0; x < size.cx; ++x)
        if (ImagePixel(x, y) != PatternWindow::Colour(patternX + x, patternY + y)) ++mismatches;
    return mismatches;
  }
  HWND Start(int type) {
    EXPECT_EQ(lib.runToolRequest(host.Get(), type, 1), 0);
    return FindCaptureWindow();
  }

  wintest::LoadedLibrary lib;
  wintest::HostWindow host;
  wintest::NotifyRecorder notify;
};

TEST_F(CaptureModesTest, BackwardsDragOfOnePixelGivesBothCornerPixels) {
  PatternWindow pattern(90, 90);
  ASSERT_TRUE(pattern.WaitUntilShown());
  HWND capture = Start(11);
  ASSERT_NE(capture, nullptr);
  Move(capture, 100, 100);
  Press(capture, 100, 100);
  Move(capture, 99, 99, MK_LBUTTON);
  Release(capture, 99, 99);
  EXPECT_FALSE(IsWindow(capture));
  ASSERT_NE(FindViewer(), nullptr);
  EXPECT_EQ(ImageSize().cx, 2);
  EXPECT_EQ(ImageSize().cy, 2);
  EXPECT_EQ(PatternMismatches(9, 9), 0);  // screen (99, 99) is the pattern's (9, 9)
  EXPECT_EQ(notify.Codes(), std::vector<int>{1});
}

// One drag as a user makes it: crosshair and inspector on the way, the dotted rectangle and
// its size text while the button is held, the pattern's pixels exactly at the end, and
// the host back from its minimised state.
TEST_F(CaptureModesTest, DragOverThePatternCapturesItsPixelsExactly) {
  const int left = 301, top = 203;
  PatternWindow pattern(left, top);
  ASSERT_TRUE(pattern.WaitUntilShown());
  ShowWindow(host.Get(), SW_MINIMIZE);
  HWND capture = Start(11);
  ASSERT_NE(capture, nullptr);
  EXPECT_EQ(GetWindowLongPtrW(capture, GWL_EXSTYLE) & WS_EX_TOPMOST, WS_EX_TOPMOST);
  HWND inspector = wintest::FindProcessWindow(L"#32770", capture);
  ASSERT_NE(inspector, nullptr);
  EXPECT_TRUE(IsWindowVisible(inspector));
  RECT inspectorRect{};
  GetWindowRect(inspector, &inspectorRect);
  // Above the topmost capture window.
  EXPECT_EQ(WindowFromPoint(POINT{inspectorRect.left + 5, inspectorRect.top + 5}), inspector);

  // The XOR crosshair: the frozen screen's colour inverted, gone again after the next move.
  const int crossX = Screen().cx - 200, crossY = Screen().cy - 150;
  const COLORREF frozen = ImagePixel(crossX + 40, crossY);  // WorkImage: the frozen screen
  ASSERT_TRUE(ScreenShows(crossX + 40, crossY, frozen));   // the window has painted it
  Move(capture, crossX, crossY);
  EXPECT_TRUE(ScreenShows(crossX + 40, crossY, frozen ^ 0xFFFFFF));
  Move(capture, crossX + 20, crossY + 20);
  EXPECT_TRUE(ScreenShows(crossX + 40, crossY, frozen));

  const int right = left + PatternWindow::kWidth - 1, bottom = top + PatternWindow::kHeight - 1;
  Move(capture, left, top);
  // The inspector is in sight over the frozen screen (GetImageBits reads it while the mode
  // runs), magnifying the pattern.
  RECT shown{};
  GetWindowRect(inspector, &shown);
  int covered = 0, samples = 0;
  const auto inSight = [&] {
    covered = samples = 0;
    for (int y = shown.top + 2; y < shown.bottom; y += 9)
      for (int x = shown.left + 2; x < shown.right; x += 9, ++samples) covered += ScreenPixel(x, y) != ImagePixel(x, y);
    return covered > samples / 5;
  };
  EXPECT_TRUE(PumpUntil(inSight, 2000)) << covered << " of " << samples;  // none when it stays behind
  Press(capture, left, top);
  Move(capture, right, bottom, MK_LBUTTON);
  // The dotted green rectangle along the top edge, and the text in the colour inverse to
  // the pattern's pixel at the midpoint, somewhere in the line below it.
  ScreenShows(left + 1, top, RGB(0, 255, 0));
  int green = 0;
  for (int x = left; x <= right; ++x) green += ScreenPixel(x, top) == RGB(0, 255, 0);
  EXPECT_GE(green, PatternWindow::kWidth / 3);
  const int midX = left + (right - left) / 2, midY = top + (bottom - top) / 2;
  const COLORREF inverse = PatternWindow::Colour(midX - left, midY - top) ^ 0xFFFFFF;
  int textPixels = 0;
  for (int y = midY; y < midY + 14; ++y)
    for (int x = midX - 30; x <= midX + 30; ++x) textPixels += ScreenPixel(x, y) == inverse;
  EXPECT_GT(textPixels, 10);

  Release(capture, right, bottom);
  EXPECT_FALSE(IsWindow(capture));
  EXPECT_FALSE(IsWindow(inspector));
  HWND viewer = FindViewer();
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(wintest::WindowText(viewer), kViewerTitlePrefix + L"    67 x 41");
  EXPECT_EQ(ImageSize().cx, PatternWindow::kWidth);
  EXPECT_EQ(ImageSize().cy, PatternWindow::kHeight);
  EXPECT_EQ(PatternMismatches(0, 0), 0);
  EXPECT_FALSE(IsIconic(host.Get()));
  // The cross was this window's own: the dialog class keeps its arrow.
  EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrW(viewer, GCLP_HCURSOR)), LoadCursorW(nullptr, IDC_ARROW));
}

// With the mouse captured a release may lie beyond the screen's edge: the rectangle is
// cut at the edge and nothing outside the frozen screen is read.
TEST_F(CaptureModesTest, ReleaseBeyondTheScreenEdgeIsCutAtTheEdge) {
  const SIZE screen = Screen();
  PatternWindow pattern(screen.cx - PatternWindow::kWidth, screen.cy - PatternWindow::kHeight);
  ASSERT_TRUE(pattern.WaitUntilShown());
  HWND capture = Start(11);
  ASSERT_NE(capture, nullptr);
  Press(capture, screen.cx - 10, screen.cy - 6);
  Move(capture, screen.cx + 300, screen.cy + 200, MK_LBUTTON);
  Release(capture, screen.cx + 300, screen.cy + 200);
  ASSERT_NE(FindViewer(), nullptr);
  EXPECT_EQ(ImageSize().cx, 10);
  EXPECT_EQ(ImageSize().cy, 6);
  EXPECT_EQ(PatternMismatches(PatternWindow::kWidth - 10, PatternWindow::kHeight - 6), 0);
}

TEST_F(CaptureModesTest, EveryCancelFreesTheImagesAndRestoresTheHost) {
  struct Cancel {
    int type;
    const char* name;
    std::function<void(HWND)> act;
  };
  const auto post = [](UINT message, WPARAM wParam) {
    return [=](HWND window) {
      PostMessageW(window, message, wParam, 0);
      PumpUntil([&] { return !IsWindow(window); }, 2000);
    };
  };
  const Cancel cancels[] = {
      {11, "click without movement", [](HWND w) { Press(w, 50, 50); Release(w, 50, 50); }},
      {11, "escape", post(WM_KEYDOWN, VK_ESCAPE)},
      {11, "character", post(WM_CHAR, 'a')},
      {11, "system character", post(WM_SYSCHAR, 'x')},
      {11, "right click", [](HWND w) { SendMessageW(w, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5)); }},
      {11, "close", [](HWND w) { SendMessageW(w, WM_CLOSE, 0, 0); }},
      {12, "escape", post(WM_KEYDOWN, VK_ESCAPE)},
      {12, "character", post(WM_CHAR, 'a')},
      {12, "right click", [](HWND w) { SendMessageW(w, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5)); }},
  };
  for (const Cancel& cancel : cancels) {
    SCOPED_TRACE(::testing::Message() << "request " << cancel.type << ", " << cancel.name);
    ShowWindow(host.Get(), SW_MINIMIZE);
    HWND capture = Start(cancel.type);
    ASSERT_NE(capture, nullptr);
    EXPECT_NE(lib.getImageBits(), nullptr);  // the frozen screen while the mode runs
    // The mode's pointer is its window's own: the class every dialog of the host shares
    // keeps its arrow, so no path out of the mode can leave a cross behind.
    EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrW(capture, GCLP_HCURSOR)), LoadCursorW(nullptr, IDC_ARROW));
    // A stray release with no press (the host's own click) does not end the range capture.
    Release(capture, 30, 30);
    EXPECT_TRUE(IsWindow(capture));
    cancel.act(capture);
    EXPECT_FALSE(IsWindow(capture));
    EXPECT_EQ(lib.getImageBits(), nullptr);
    EXPECT_EQ(lib.getImageSize(), 0u);
    EXPECT_EQ(FindViewer(), nullptr);
    EXPECT_EQ(FindCaptureWindow(), nullptr);
    EXPECT_FALSE(IsIconic(host.Get()));
  }
  EXPECT_TRUE(notify.Codes().empty());  // a cancelled mode opens no viewer
}

// A whole-screen request while a capture window shows opens the viewer on a new capture;
// the capture window's end, a cancel or a drag, leaves the viewer's image alone.
TEST_F(CaptureModesTest, ViewerOpenedMeanwhileKeepsItsImage) {
  for (int type : {11, 12}) {
    SCOPED_TRACE(type);
    HWND capture = Start(type);
    ASSERT_NE(capture, nullptr);
    ASSERT_EQ(lib.runToolRequest(host.Get(), 10, 1), 0);
    HWND viewer = FindViewer();
    ASSERT_NE(viewer, nullptr);
    if (type == 11) {
      Press(capture, 10, 10);
      Move(capture, 20, 20, MK_LBUTTON);
      Release(capture, 20, 20);
    } else {
      SendMessageW(capture, WM_CHAR, 'a', 0);
    }
    EXPECT_FALSE(IsWindow(capture));
    EXPECT_NE(lib.getImageBits(), nullptr);
    EXPECT_EQ(ImageSize().cx, Screen().cx);
    EXPECT_EQ(ImageSize().cy, Screen().cy);
    SendMessageW(viewer, WM_COMMAND, kCloseViewerCommand, 0);
  }
}

TEST_F(CaptureModesTest, WindowPickOutlinesAndCapturesTheWindowUnderThePointer) {
  const int left = 480, top = 320;
  PatternWindow pattern(left, top);
  ASSERT_TRUE(pattern.WaitUntilShown());
  HWND capture = Start(12);
  ASSERT_NE(capture, nullptr);
  Move(capture, left + 30, top + 20);
  // The 3-pixel green outline on the window's edges, the frozen screen beyond it.
  EXPECT_TRUE(ScreenShows(left, top + 20, RGB(0, 238, 0)));
  EXPECT_TRUE(ScreenShows(left + 30, top + PatternWindow::kHeight - 1, RGB(0, 238, 0)));
  EXPECT_TRUE(ScreenShows(left + 30, top + 20, PatternWindow::Colour(30, 20)));
  Press(capture, left + 30, top + 20);
  EXPECT_FALSE(IsWindow(capture));
  ASSERT_NE(FindViewer(), nullptr);
  EXPECT_EQ(ImageSize().cx, PatternWindow::kWidth);
  EXPECT_EQ(ImageSize().cy, PatternWindow::kHeight);
  EXPECT_EQ(PatternMismatches(0, 0), 0);
}

// The capture window is owned by the host's window and cannot be restacked below it; the
// host's window is still found under the pointer.
TEST_F(CaptureModesTest, WindowPickFindsTheHostsOwnWindow) {
  RECT hostRect{};
  GetWindowRect(host.Get(), &hostRect);
  HWND capture = Start(12);
  ASSERT_NE(capture, nullptr);
  EXPECT_EQ(GetWindow(capture, GW_OWNER), host.Get());
  Move(capture, hostRect.left + 50, hostRect.top + 60);
  Press(capture, hostRect.left + 50, hostRect.top + 60);
  ASSERT_NE(FindViewer(), nullptr);
  EXPECT_EQ(ImageSize().cx, hostRect.right - hostRect.left);
  EXPECT_EQ(ImageSize().cy, hostRect.bottom - hostRect.top);
}

TEST_F(CaptureModesTest, WindowPartlyOffTheScreenIsCutAtTheEdge) {
  const SIZE screen = Screen();
  const int visible = 30;
  PatternWindow pattern(screen.cx - visible, 500);
  HWND capture = Start(12);
  ASSERT_NE(capture, nullptr);
  Press(capture, screen.cx - 10, 510);  // no move before the click: the click's point decides
  ASSERT_NE(FindViewer(), nullptr);
  EXPECT_EQ(ImageSize().cx, visible);
  EXPECT_EQ(ImageSize().cy, PatternWindow::kHeight);
  EXPECT_EQ(PatternMismatches(0, 0), 0);
}

TEST_F(CaptureModesTest, ForegroundWindowRequestCapturesItsRectangle) {
  PatternWindow pattern(211, 157);
  ASSERT_TRUE(pattern.WaitUntilShown());
  SetForegroundWindow(PatternHandle());
  ASSERT_TRUE(PumpUntil([] { return GetForegroundWindow() == PatternHandle(); }, 2000));
  EXPECT_EQ(lib.runToolRequest(host.Get(), 13, 1), 0);
  ASSERT_NE(FindViewer(), nullptr);
  EXPECT_EQ(ImageSize().cx, PatternWindow::kWidth);
  EXPECT_EQ(ImageSize().cy, PatternWindow::kHeight);
  EXPECT_EQ(PatternMismatches(0, 0), 0);
  EXPECT_TRUE(IsWindowVisible(host.Get()));  // hidden for the look, shown again
  EXPECT_EQ(notify.Codes(), std::vector<int>{1});
}

// The one real-time check of the 5-second delay; the unit tests shorten it.
TEST_F(CaptureModesTest, DelayedCaptureRefusesRequestsThenShowsTheScreenAfterFiveSeconds) {
  const ULONGLONG start = GetTickCount64();
  ASSERT_EQ(lib.runToolRequest(host.Get(), 14, 1), 0);
  EXPECT_EQ(FindViewer(), nullptr);
  for (int type : {10, 11, 14, 15}) EXPECT_EQ(lib.runToolRequest(host.Get(), type, 1), 2) << type;
  EXPECT_TRUE(notify.Codes().empty());
  // Painted after the request, the pattern is in the delayed capture.
  PatternWindow pattern(640, 480);
  ASSERT_TRUE(PumpUntil([] { return FindViewer() != nullptr; }, 8000));
  const ULONGLONG elapsed = GetTickCount64() - start;
  EXPECT_GE(elapsed, 4900u);
  EXPECT_LE(elapsed, 6500u);
  EXPECT_EQ(ImageSize().cx, Screen().cx);
  EXPECT_EQ(ImageSize().cy, Screen().cy);
  EXPECT_EQ(ImagePixel(640, 480), PatternWindow::Colour(0, 0));
  EXPECT_EQ(ImagePixel(640 + 66, 480 + 40), PatternWindow::Colour(66, 40));
  EXPECT_EQ(GetForegroundWindow(), FindViewer());
  EXPECT_EQ(notify.Codes(), std::vector<int>{1});
  EXPECT_EQ(lib.runToolRequest(host.Get(), 10, 1), 1);  // the viewer, not the delay, now refuses
}

// Cycles of one mode in one process (100, or PICTORNX_SOAK_CYCLES: the exact counts catch a
// leak on the first cycle after the warm-up), ending by every path in turn; one in five
// crops and opens the viewer. Each request's screen capture takes most of the time, so the
// two modes run as two tests.
class CaptureLoopTest : public CaptureModesTest {
 protected:
  void ExpectNoLeaks(const std::function<void(int)>& mode) {
    PatternWindow pattern(160, 140);
    ASSERT_TRUE(pattern.WaitUntilShown());
    const auto cycle = [&](int i) {
      mode(i);
      if (HWND viewer = FindViewer()) SendMessageW(viewer, WM_COMMAND, kCloseViewerCommand, 0);
    };
    for (int i = 0; i < 5; ++i) cycle(i);
    wintest::PumpPending();
    const int gdi = wintest::CountGdiObjects();
    const int windows = wintest::CountWindows();
    const int cycles = soak::SoakCycles(100);
    const ULONGLONG start = GetTickCount64();
    for (int i = 0; i < cycles; ++i) cycle(i);
    wintest::PumpPending();
    std::printf("%d capture cycles: %llu ms\n", cycles, static_cast<unsigned long long>(GetTickCount64() - start));
    EXPECT_EQ(wintest::CountGdiObjects(), gdi);
    EXPECT_EQ(wintest::CountWindows(), windows);
    EXPECT_EQ(lib.getImageBits(), nullptr);
  }
};

TEST_F(CaptureLoopTest, RepeatedRangeCapturesLeaveTheGdiCountUnchanged) {
  ExpectNoLeaks([&](int i) {
    HWND capture = Start(11);
    if (!capture) return;
    Move(capture, 150 + i % 7, 130);
    Press(capture, 150 + i % 7, 130);
    switch (i % 5) {
      case 0:
        Move(capture, 220, 175, MK_LBUTTON);
        Release(capture, 220, 175);
        break;
      case 1:
        Release(capture, 150 + i % 7, 130);  // a click: no rectangle
        break;
      case 2:
        Move(capture, 220, 175, MK_LBUTTON);
        SendMessageW(capture, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(220, 175));
        break;
      default:
        SendMessageW(capture, i % 2 ? WM_CHAR : WM_SYSCHAR, 'z', 0);
    }
  });
}

TEST_F(CaptureLoopTest, RepeatedWindowPicksLeaveTheGdiCountUnchanged) {
  ExpectNoLeaks([&](int i) {
    HWND capture = Start(12);
    if (!capture) return;
    Move(capture, 170 + i % 11, 150);
    if (i % 5 == 0)
      Press(capture, 170 + i % 11, 150);
    else
      SendMessageW(capture, i % 2 ? WM_KEYDOWN : WM_RBUTTONDOWN, VK_ESCAPE, 0);
  });
}

}  // namespace
