// The viewer window: opening, painting, scrolling, keys, placement and closing, with the
// shell linked in so the tests can see its state.
#include <windows.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "pixels/crop.h"
#include "host/exports.h"
#include "ui/host_link.h"
#include "imagestore/image_buffers.h"
#include "resources/resource_ids.h"
#include "viewer/selection.h"
#include "viewer/viewer.h"
#include "viewer/viewer_hooks.h"
#include "win_test_support.h"

namespace pictornx {
namespace {

SIZE ClientSize(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return {r.right, r.bottom};
}

SCROLLINFO BarInfo(HWND window, int bar) {
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  GetScrollInfo(window, bar, &info);
  return info;
}

// Reads the viewer's client area as the screen shows it, top-down rows of COLORREF.
std::vector<COLORREF> ReadClient(HWND window, SIZE size) {
  std::vector<COLORREF> pixels(static_cast<size_t>(size.cx) * size.cy);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), size.cx, -size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC windowDc = GetDC(window);
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC memory = CreateCompatibleDC(windowDc);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, size.cx, size.cy, windowDc, 0, 0, SRCCOPY);
  GdiFlush();
  const auto* p = static_cast<const uint8_t*>(bits);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = RGB(p[i * 4 + 2], p[i * 4 + 1], p[i * 4]);
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(bitmap);
  ReleaseDC(window, windowDc);
  return pixels;
}

class ViewerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wintest::InitCommonControlsForHost();
    SetHostNotifyWindow(notify.Window(), 1);
  }
  void TearDown() override {
    if (HWND viewer = ViewerWindow()) SendMessageW(viewer, WM_CLOSE, 0, 0);
  }

  // Captures the screen and opens the viewer on a `width` x `height` piece of it.
  HWND OpenOn(int width, int height) {
    if (!CaptureScreen()) return nullptr;
    ImageBuffersState& images = Images();
    ImageView packed{images.screenImage.Bits(), width, height, static_cast<int>(RowBytes(width))};
    if (!CopyRectangle(images.workImage.View(), 0, 0, width, height, packed)) return nullptr;
    images.screenImage.SetSize(width, height);
    images.sourceSize = {width, height};
    LinkHost(host.Get(), 1);
    return OpenViewer(host.Get()) == kViewerOpened ? ViewerWindow() : nullptr;
  }

  // Opens the viewer on the whole screen through the request protocol.
  HWND OpenWholeScreen() {
    return RunToolRequest(host.Get(), 10, 1) == 0 ? ViewerWindow() : nullptr;
  }

  void SetClientSize(HWND viewer, int width, int height) {
    RECT window{}, client{};
    GetWindowRect(viewer, &window);
    GetClientRect(viewer, &client);
    const int frameX = (window.right - window.left) - client.right;
    const int frameY = (window.bottom - window.top) - client.bottom;
    SetWindowPos(viewer, nullptr, 0, 0, width + frameX, height + frameY, SWP_NOMOVE | SWP_NOZORDER);
    wintest::PumpPending();
  }

  wintest::HostWindow host;
  wintest::NotifyRecorder notify;
};

TEST_F(ViewerTest, ScrollsByLinePageAndThumbWithinItsMaximum) {
  HWND viewer = OpenWholeScreen();
  ASSERT_NE(viewer, nullptr);
  SetClientSize(viewer, 600, 400);
  const SIZE client = ClientSize(viewer);
  const SIZE view = Images().viewSize;
  const SCROLLINFO vertical = BarInfo(viewer, SB_VERT);
  EXPECT_EQ(vertical.nMax, view.cy - client.cy);
  EXPECT_EQ(vertical.nPage, 20u);
  EXPECT_EQ(BarInfo(viewer, SB_HORZ).nMax, view.cx - client.cx);

  const ViewerState& state = Viewer();
  SendMessageW(viewer, WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(state.offsetY, 1);
  SendMessageW(viewer, WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(state.offsetY, 21);
  SendMessageW(viewer, WM_VSCROLL, SB_LINEUP, 0);
  EXPECT_EQ(state.offsetY, 20);
  SendMessageW(viewer, WM_HSCROLL, SB_PAGEUP, 0);  // already at the left edge
  EXPECT_EQ(state.offsetX, 0);
  SendMessageW(viewer, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 100), 0);
  EXPECT_EQ(state.offsetX, 100);
  EXPECT_EQ(BarInfo(viewer, SB_HORZ).nPos, 100);

  // A thumb dragged to within a page of the end reaches the true bottom.
  const int maximum = vertical.nMax;
  SendMessageW(viewer, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, maximum - 19), 0);
  EXPECT_EQ(state.offsetY, maximum);
  SendMessageW(viewer, WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(state.offsetY, maximum);

  // Resizing returns to the top-left corner.
  SetClientSize(viewer, 620, 420);
  EXPECT_EQ(state.offsetX, 0);
  EXPECT_EQ(state.offsetY, 0);
  EXPECT_EQ(BarInfo(viewer, SB_VERT).nMax, view.cy - ClientSize(viewer).cy);
}

TEST_F(ViewerTest, ScrolledPaintShowsTheImageAtTheOffset) {
  wintest::PatternWindow pattern(500, 300);
  ASSERT_TRUE(pattern.WaitUntilShown());
  HWND viewer = OpenWholeScreen();
  ASSERT_NE(viewer, nullptr);
  SetClientSize(viewer, 500, 300);
  SetWindowPos(viewer, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SendMessageW(viewer, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 480), 0);
  SendMessageW(viewer, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 290), 0);
  RedrawWindow(viewer, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  const std::vector<COLORREF> client = ReadClient(viewer, ClientSize(viewer));
  // Screen pixel (500 + x, 300 + y) is at client (20 + x, 10 + y).
  const int width = ClientSize(viewer).cx;
  int mismatches = 0;
  for (int y = 0; y < wintest::PatternWindow::kHeight; ++y)
    for (int x = 0; x < wintest::PatternWindow::kWidth; ++x)
      if (client[static_cast<size_t>(10 + y) * width + 20 + x] != wintest::PatternWindow::Colour(x, y)) ++mismatches;
  EXPECT_EQ(mismatches, 0);
}

TEST_F(ViewerTest, AreaBeyondASmallImageIsCrossHatchedInAmber) {
  HWND viewer = OpenOn(200, 120);
  ASSERT_NE(viewer, nullptr);
  SetClientSize(viewer, 500, 300);
  SetWindowPos(viewer, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(BarInfo(viewer, SB_VERT).nMax, 0);
  EXPECT_EQ(BarInfo(viewer, SB_HORZ).nMax, 0);
  RedrawWindow(viewer, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  const SIZE size = ClientSize(viewer);
  const std::vector<COLORREF> client = ReadClient(viewer, size);
  const COLORREF amber = RGB(255, 200, 0);
  int amberRight = 0, amberBelow = 0, amberInImage = 0, imageMismatches = 0;
  const ImageView work = Images().workImage.View();
  for (int y = 0; y < size.cy; ++y)
    for (int x = 0; x < size.cx; ++x) {
      const COLORREF c = client[static_cast<size_t>(y) * size.cx + x];
      if (x < 200 && y < 120) {
        const uint8_t* p = work.TopRow(y) + x * 3;
        if (c != RGB(p[2], p[1], p[0])) ++imageMismatches;
        if (c == amber) ++amberInImage;
      } else if (c == amber) {
        (x >= 200 ? amberRight : amberBelow)++;
      }
    }
  EXPECT_EQ(imageMismatches, 0);
  EXPECT_GT(amberRight, 1000);
  EXPECT_GT(amberBelow, 1000);
  // The hatch draws lines on its background; every uncovered pixel is one of the two.
  const COLORREF corner = client[static_cast<size_t>(size.cy - 1) * size.cx + size.cx - 1];
  EXPECT_TRUE(corner == amber || corner == RGB(255, 255, 255));
}

TEST_F(ViewerTest, ArrowKeysMoveThePointerInsideTheVisibleImageOnly) {
  HWND viewer = OpenOn(200, 120);
  ASSERT_NE(viewer, nullptr);
  SetClientSize(viewer, 500, 300);
  POINT origin{0, 0};
  ClientToScreen(viewer, &origin);
  auto pointer = [] {
    POINT p{};
    GetCursorPos(&p);
    return p;
  };
  SetCursorPos(origin.x + 50, origin.y + 50);
  SendMessageW(viewer, WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(pointer().x, origin.x + 51);
  SendMessageW(viewer, WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(pointer().y, origin.y + 49);

  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_NONCONVERT] = 0x80;
  SetKeyboardState(keys);
  SendMessageW(viewer, WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(pointer().y, origin.y + 59);
  keys[VK_NONCONVERT] = 0;
  SetKeyboardState(keys);

  // At the image's last column a move right would reach its edge: not made.
  SetCursorPos(origin.x + 199, origin.y + 50);
  SendMessageW(viewer, WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(pointer().x, origin.x + 199);
  // Outside the visible image (on the hatch) the keys do nothing.
  SetCursorPos(origin.x + 300, origin.y + 50);
  SendMessageW(viewer, WM_KEYDOWN, VK_LEFT, 0);
  EXPECT_EQ(pointer().x, origin.x + 300);
}

TEST_F(ViewerTest, ReopeningPutsAViewerMovedOffTheDesktopBackInside) {
  HWND viewer = OpenWholeScreen();
  ASSERT_NE(viewer, nullptr);
  RECT before{};
  GetWindowRect(viewer, &before);
  const int width = before.right - before.left;
  const int height = before.bottom - before.top;
  MoveWindow(viewer, -120, -40, width, height, TRUE);
  SendMessageW(viewer, WM_COMMAND, IDM_CLOSE_VIEWER, 0);
  ASSERT_EQ(ViewerWindow(), nullptr);

  viewer = OpenWholeScreen();
  ASSERT_NE(viewer, nullptr);
  RECT after{};
  GetWindowRect(viewer, &after);
  EXPECT_EQ(after.left, 0);
  EXPECT_EQ(after.top, 0);
  EXPECT_EQ(after.right - after.left, width);
  EXPECT_EQ(after.bottom - after.top, height);

  // Past the bottom-right corner it comes back to end at the desktop's edges.
  RECT desktop{};
  GetWindowRect(GetDesktopWindow(), &desktop);
  MoveWindow(viewer, desktop.right - 50, desktop.bottom - 30, width, height, TRUE);
  SendMessageW(viewer, WM_CLOSE, 0, 0);
  viewer = OpenWholeScreen();
  ASSERT_NE(viewer, nullptr);
  GetWindowRect(viewer, &after);
  EXPECT_EQ(after.right, desktop.right);
  EXPECT_EQ(after.bottom, desktop.bottom);
}

TEST_F(ViewerTest, KeepsItsMinimumTrackingSize) {
  HWND viewer = OpenWholeScreen();
  ASSERT_NE(viewer, nullptr);
  MINMAXINFO limits{};
  SendMessageW(viewer, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  EXPECT_EQ(limits.ptMinTrackSize.x, 460);
  EXPECT_EQ(limits.ptMinTrackSize.y, 250);
}

// The viewer reaches its menu, the range's targets and the add-cursor tool only through
// hooks: with none registered it still opens, drags and closes, and does nothing more.
TEST_F(ViewerTest, WithoutItsHooksTheViewerIgnoresCommandsAndRangesAndStillCloses) {
  const ViewerHooks registered = RegisteredViewerHooks();
  RegisterViewerHooks({});
  HWND viewer = OpenOn(64, 48);
  ASSERT_NE(viewer, nullptr);
  SendMessageW(viewer, WM_COMMAND, IDM_CLOSE_VIEWER, 0);
  EXPECT_EQ(ViewerWindow(), viewer);
  Selection().rangeMode = true;
  SendMessageW(viewer, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  SendMessageW(viewer, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(30, 20));
  SendMessageW(viewer, WM_LBUTTONUP, 0, MAKELPARAM(30, 20));
  EXPECT_FALSE(Selection().rangeMode);
  EXPECT_EQ(ViewerWindow(), viewer);
  SendMessageW(viewer, WM_CLOSE, 0, 0);
  EXPECT_EQ(ViewerWindow(), nullptr);
  EXPECT_FALSE(Images().workImage);
  RegisterViewerHooks(registered);
}

TEST_F(ViewerTest, ResetRestoresTheOpeningImage) {
  HWND viewer = OpenWholeScreen();
  ASSERT_NE(viewer, nullptr);
  ImageBuffersState& images = Images();
  const std::vector<uint8_t> opened(images.workImage.Bits(),
                                    images.workImage.Bits() + images.workImage.ContentBytes());
  std::memset(images.screenImage.Bits(), 0x5A, static_cast<size_t>(images.screenImage.ContentBytes()));
  std::memset(images.workImage.Bits(), 0x5A, static_cast<size_t>(images.workImage.ContentBytes()));
  Viewer().zoomPreset = 1;
  notify.Clear();
  SendMessageW(viewer, WM_COMMAND, IDM_RESET, 0);
  EXPECT_EQ(notify.Codes(), std::vector<int>{3});
  ASSERT_EQ(images.workImage.ContentBytes(), static_cast<int64_t>(opened.size()));
  EXPECT_EQ(0, std::memcmp(images.workImage.Bits(), opened.data(), opened.size()));
  EXPECT_EQ(0, std::memcmp(images.screenImage.Bits(), opened.data(), opened.size()));
  EXPECT_EQ(Viewer().zoomPreset, 3);
}

TEST_F(ViewerTest, ExternalScopeCommandByIdentityAndFlag) {
  HWND viewer = OpenWholeScreen();
  ASSERT_NE(viewer, nullptr);
  SetHostNotifyWindow(notify.Window(), 0);  // the host has no external scope tool
  notify.Clear();
  SendMessageW(viewer, WM_COMMAND, IDM_EXTERNAL_SCOPE, 0);
  EXPECT_TRUE(notify.Codes().empty());
  SetHostNotifyWindow(notify.Window(), 1);
  notify.Clear();
  SendMessageW(viewer, WM_COMMAND, IDM_EXTERNAL_SCOPE, 0);
  EXPECT_EQ(notify.Codes(), (std::vector<int>{3, 2}));
  LinkHost(LinkedHostWindow(), 0);  // the capture host has no external scope: a pop-up says so
  notify.Clear();
  SendMessageW(viewer, WM_COMMAND, IDM_EXTERNAL_SCOPE, 0);
  EXPECT_TRUE(notify.Codes().empty());
}

SIZE_T PrivateBytes() {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof(counters);
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof(counters));
  return counters.PagefileUsage;  // what Wine fills in (from the process's data size)
}

// 200 cycles, or PICTORNX_SOAK_CYCLES (make check runs 20: exact GDI and window counts
// catch a leak on the first cycle; the long run is for the memory trend).
int SoakCycles() {
  const char* text = std::getenv("PICTORNX_SOAK_CYCLES");
  const int cycles = text ? std::atoi(text) : 0;
  return cycles > 0 ? cycles : 200;
}

TEST_F(ViewerTest, TwoHundredOpenAndCloseCyclesLeaveNothingBehind) {
  // One warm-up cycle: Wine and the dialog manager create some objects once.
  ASSERT_NE(OpenWholeScreen(), nullptr);
  SendMessageW(ViewerWindow(), WM_COMMAND, IDM_CLOSE_VIEWER, 0);
  wintest::PumpPending();
  const int gdiBefore = wintest::CountGdiObjects();
  const int windowsBefore = wintest::CountWindows();
  const SIZE_T memoryBefore = PrivateBytes();
  const int cycles = SoakCycles();
  for (int i = 0; i < cycles; ++i) {
    HWND viewer = OpenWholeScreen();
    ASSERT_NE(viewer, nullptr) << "cycle " << i;
    SendMessageW(viewer, WM_COMMAND, IDM_CLOSE_VIEWER, 0);
    wintest::PumpPending();
  }
  EXPECT_EQ(wintest::CountGdiObjects(), gdiBefore);
  EXPECT_EQ(wintest::CountWindows(), windowsBefore);
  const SIZE_T memoryAfter = PrivateBytes();
  // The memory trend is for the long run: over a few cycles of whole-screen images, Wine's
  // heap still grows by several megabytes before it settles, without any leak.
  if (cycles >= 100) {
    EXPECT_LT(memoryAfter, memoryBefore + 2 * 1024 * 1024) << memoryBefore << " -> " << memoryAfter;
  }
  std::printf("%d cycles: GDI objects %d, windows %d, private bytes %lu -> %lu\n", cycles, gdiBefore, windowsBefore,
              static_cast<unsigned long>(memoryBefore), static_cast<unsigned long>(memoryAfter));
}

}  // namespace
}  // namespace pictornx
