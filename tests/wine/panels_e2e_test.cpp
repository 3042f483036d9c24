// The panels as a host sees them: commands to the viewer, pixels read back through the
// ordinals, and the numbers the panels show beside counts made here.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "win_test_support.h"

namespace {

// The even spacing with 3 levels: c = 127, top = 254, one half rounds down.
int EvenThreeLevels(int v) {
  const double q = v / 127.0;
  int k = static_cast<int>(q);
  if (q - k > 0.5) ++k;
  return k * 127 >= 254 ? 255 : k * 127;
}

size_t DistinctColours(const uint8_t* bits, int width, int height) {
  const int row = ((width * 24 + 31) >> 3) & ~3;
  std::vector<bool> seen(size_t{1} << 24);
  size_t count = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const uint8_t* p = bits + static_cast<size_t>(y) * row + 3 * x;
      const size_t value = size_t{p[2]} << 16 | size_t{p[1]} << 8 | p[0];
      if (!seen[value]) seen[value] = true, ++count;
    }
  return count;
}

// The window owned by `owner` that has a control `id`.
HWND OwnedWindowWith(HWND owner, int id) {
  for (HWND window : wintest::ProcessWindows())
    if (GetWindow(window, GW_OWNER) == owner && GetDlgItem(window, id)) return window;
  return nullptr;
}

TEST(PanelsThroughTheHost, PosteriseCountAndGaugeOnTheCapturedScreen) {
  wintest::LoadedLibrary lib;
  ASSERT_NE(lib.module, nullptr);
  wintest::HostWindow host;
  ASSERT_EQ(lib.runToolRequest(host.Get(), 10, 1), 0);
  HWND viewer = wintest::FindProcessWindow(L"#32770", host.Get());
  ASSERT_NE(viewer, nullptr);
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  const int row = ((width * 24 + 31) >> 3) & ~3;
  const size_t bytes = static_cast<size_t>(row) * height;
  const auto* bits = static_cast<const uint8_t*>(lib.getImageBits());
  const std::vector<uint8_t> original(bits, bits + bytes);

  SendMessageW(viewer, WM_COMMAND, IDM_POSTERISE, 0);
  HWND panel = OwnedWindowWith(viewer, IDC_POSTER_PREVIEW);
  ASSERT_NE(panel, nullptr);
  SendMessageW(panel, WM_COMMAND, MAKEWPARAM(IDC_POSTER_PREVIEW, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(panel, IDC_POSTER_PREVIEW)));
  bits = static_cast<const uint8_t*>(lib.getImageBits());
  int wrong = 0;
  for (int y = 0; y < height; ++y)
    for (int i = 0; i < width * 3; ++i) {
      const size_t at = static_cast<size_t>(y) * row + i;
      if (bits[at] != EvenThreeLevels(original[at])) ++wrong;
    }
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(wintest::WindowText(GetDlgItem(panel, IDC_POSTER_COLOUR_COUNT)),
            std::to_wstring(DistinctColours(bits, width, height)));

  // Another command closes the panel; a re-render brings the screen back.
  SendMessageW(viewer, WM_COMMAND, IDM_ZOOM_100, 0);
  EXPECT_FALSE(IsWindow(panel));
  bits = static_cast<const uint8_t*>(lib.getImageBits());
  EXPECT_EQ(std::memcmp(bits, original.data(), bytes), 0);

  SendMessageW(viewer, WM_COMMAND, IDM_COUNT_COLOURS, 0);
  HWND count = OwnedWindowWith(viewer, IDC_COUNT_VALUE);
  ASSERT_NE(count, nullptr);
  EXPECT_EQ(wintest::WindowText(GetDlgItem(count, IDC_COUNT_VALUE)),
            std::to_wstring(DistinctColours(original.data(), width, height)));

  SendMessageW(viewer, WM_COMMAND, IDM_RGB_GAUGE, 0);
  EXPECT_FALSE(IsWindow(count));
  HWND gauge = OwnedWindowWith(viewer, IDC_GAUGE_CLOSE);
  ASSERT_NE(gauge, nullptr);
  SendMessageW(viewer, WM_COMMAND, IDM_RGB_GAUGE, 0);
  EXPECT_EQ(OwnedWindowWith(viewer, IDC_GAUGE_CLOSE), gauge);
  SendMessageW(viewer, WM_COMMAND, IDM_CLOSE_VIEWER, 0);
  EXPECT_FALSE(IsWindow(gauge));
}

}  // namespace
