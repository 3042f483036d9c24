// Zoom seen by the host: what it reads back through the ordinals follows the zoom.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "resources/resource_ids.h"
#include "win_test_support.h"

namespace {

TEST(ZoomThroughTheHost, QuarterViewIsWhatTheHostReadsBack) {
  wintest::LoadedLibrary lib;
  ASSERT_NE(lib.module, nullptr);
  wintest::HostWindow host;
  ASSERT_EQ(lib.runToolRequest(host.Get(), 10, 1), 0);
  HWND viewer = wintest::FindProcessWindow(L"#32770", host.Get());
  ASSERT_NE(viewer, nullptr);
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  const auto* full = static_cast<const uint8_t*>(lib.getImageBits());
  const int fullRow = ((width * 24 + 31) >> 3) & ~3;
  const std::vector<uint8_t> screen(full, full + static_cast<size_t>(fullRow) * height);

  SendMessageW(viewer, WM_COMMAND, IDM_ZOOM_25, 0);
  const uint64_t size = lib.getImageSize();
  const int w = static_cast<int>(width * 0.25001 + 0.00001);
  const int h = static_cast<int>(height * 0.25001 + 0.00001);
  EXPECT_EQ(static_cast<int>(size & 0xFFFFFFFF), w);
  EXPECT_EQ(static_cast<int>(size >> 32), h);
  EXPECT_NE(wintest::WindowText(viewer).find(std::to_wstring(w) + L" x " + std::to_wstring(h)), std::wstring::npos);
  // Mode 0 keeps one source pixel of each 4 x 4 block: every view pixel is a screen pixel
  // of its block.
  const auto* view = static_cast<const uint8_t*>(lib.getImageBits());
  const int viewRow = ((w * 24 + 31) >> 3) & ~3;
  int outside = 0;
  for (int y = 0; y < h; y += 7)
    for (int x = 0; x < w; x += 5) {
      const uint8_t* p = view + static_cast<size_t>(y) * viewRow + x * 3;
      bool found = false;
      for (int sy = y * 4; sy < y * 4 + 4 && !found; ++sy)
        for (int sx = x * 4; sx < x * 4 + 4 && !found; ++sx)
          found = std::equal(p, p + 3, screen.data() + static_cast<size_t>(sy) * fullRow + sx * 3);
      if (!found) ++outside;
    }
  EXPECT_EQ(outside, 0);
  SendMessageW(viewer, WM_COMMAND, IDM_CLOSE_VIEWER, 0);
}

}  // namespace
