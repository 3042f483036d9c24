// The pixel inspector as a user meets it in the viewer: a press opens it, its settings
// panel turns the readout on, a drag shows the measurement and a release ends it.
#include <windows.h>

#include <gtest/gtest.h>

#include "win_test_support.h"

namespace {

SIZE WindowSize(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return {r.right - r.left, r.bottom - r.top};
}

void Press(HWND window, int x, int y) { SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); }
void Release(HWND window, int x, int y) { SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y)); }
void Click(HWND window, int x, int y) {
  Press(window, x, y);
  Release(window, x, y);
}

TEST(InspectorInTheViewer, PressOpensItAndADragShowsTheMeasurement) {
  wintest::LoadedLibrary lib;
  ASSERT_NE(lib.module, nullptr);
  wintest::HostWindow host;
  ASSERT_EQ(lib.runToolRequest(host.Get(), 10, 1), 0);
  HWND viewer = wintest::FindProcessWindow(L"#32770", host.Get());
  ASSERT_NE(viewer, nullptr);

  Click(viewer, 40, 40);
  HWND inspector = wintest::FindProcessWindow(L"#32770", viewer);
  ASSERT_NE(inspector, nullptr);
  EXPECT_TRUE(IsWindowVisible(inspector));
  EXPECT_EQ(WindowSize(inspector).cx, 250);
  EXPECT_EQ(WindowSize(inspector).cy, 267);
  EXPECT_TRUE(wintest::ChildWindows(inspector).empty());  // the readout is off by default

  // Settings button, readout page, readout switch, apply (wide layout: panel at x = 27).
  Click(inspector, 157, 8);
  Click(inspector, 27 + 118, 45);
  Click(inspector, 27 + 20, 19 + 27);
  Click(inspector, 27 + 140, 45);
  const auto children = wintest::ChildWindows(inspector);
  ASSERT_EQ(children.size(), 1u);
  HWND readout = children[0];
  EXPECT_EQ(WindowSize(readout).cx, 114);
  EXPECT_EQ(WindowSize(readout).cy, 16);

  // A press while the inspector is open measures: the long form until the release.
  Press(viewer, 60, 60);
  EXPECT_EQ(WindowSize(readout).cy, 30);
  SendMessageW(viewer, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(90, 75));
  EXPECT_EQ(WindowSize(readout).cy, 30);
  Release(viewer, 90, 75);
  EXPECT_EQ(WindowSize(readout).cy, 16);
  // Moves left of the image while captured read nothing outside it (the window stays).
  SendMessageW(viewer, WM_MOUSEMOVE, 0, MAKELPARAM(-30, -30));
  EXPECT_TRUE(IsWindow(inspector));

  // A right click in the viewer closes it.
  SendMessageW(viewer, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(60, 60));
  EXPECT_TRUE(wintest::PumpUntil([&] { return !IsWindow(inspector); }, 3000));
  SendMessageW(viewer, WM_CLOSE, 0, 0);
}

}  // namespace
