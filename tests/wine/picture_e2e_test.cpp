// Flip, rotate, colour effects and the cursor stamp as the host sees them: the pixels it
// reads back through the ordinals after each command.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "resources/resource_ids.h"
#include "win_test_support.h"

namespace {

// The whole-screen image a host reads back: size and bytes copied out of the library.
struct HostImage {
  int width = 0;
  int height = 0;
  int rowBytes = 0;
  std::vector<uint8_t> bytes;

  static HostImage Read(const HostLibrary& lib) {
    HostImage image;
    const uint64_t size = lib.getImageSize();
    image.width = static_cast<int>(size & 0xFFFFFFFF);
    image.height = static_cast<int>(size >> 32);
    image.rowBytes = ((image.width * 24 + 31) >> 3) & ~3;
    const auto* bits = static_cast<const uint8_t*>(lib.getImageBits());
    if (bits) image.bytes.assign(bits, bits + static_cast<size_t>(image.rowBytes) * image.height);
    return image;
  }
  // The pixel at picture position (x, y), y counted from the top.
  const uint8_t* At(int x, int y) const {
    return bytes.data() + static_cast<size_t>(height - 1 - y) * rowBytes + static_cast<size_t>(x) * 3;
  }
};

class PictureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(lib.module, nullptr);
    ASSERT_EQ(lib.runToolRequest(host.Get(), 10, 1), 0);
    viewer = wintest::FindProcessWindow(L"#32770", host.Get());
    ASSERT_NE(viewer, nullptr);
    original = HostImage::Read(lib);
  }
  void TearDown() override {
    if (IsWindow(viewer)) SendMessageW(viewer, WM_COMMAND, IDM_CLOSE_VIEWER, 0);
  }
  void Command(int id) { SendMessageW(viewer, WM_COMMAND, id, 0); }

  // Counts sampled pixels where `after` at map(x, y) differs from the original at (x, y).
  template <typename Map>
  int Mismatches(const HostImage& after, Map map, int step = 13) const {
    int count = 0;
    for (int y = 0; y < original.height; y += step)
      for (int x = 0; x < original.width; x += step) {
        const auto [tx, ty] = map(x, y);
        if (!std::equal(original.At(x, y), original.At(x, y) + 3, after.At(tx, ty))) ++count;
      }
    return count;
  }

  wintest::LoadedLibrary lib;
  wintest::PatternWindow pattern{400, 300};  // gives the screen something to tell pixels apart
  wintest::HostWindow host;
  HWND viewer = nullptr;
  HostImage original;
};

TEST_F(PictureTest, MirrorsMovePixelsAndTwiceRestore) {
  const int w = original.width, h = original.height;
  Command(IDM_FLIP_LEFT_RIGHT);
  EXPECT_EQ(Mismatches(HostImage::Read(lib), [&](int x, int y) { return std::pair{w - 1 - x, y}; }), 0);
  Command(IDM_FLIP_LEFT_RIGHT);
  EXPECT_EQ(HostImage::Read(lib).bytes, original.bytes);
  Command(IDM_FLIP_UP_DOWN);
  EXPECT_EQ(Mismatches(HostImage::Read(lib), [&](int x, int y) { return std::pair{x, h - 1 - y}; }), 0);
}

TEST_F(PictureTest, QuarterTurnsSwapTheSizeAndTheTitleAndFourRestore) {
  const int w = original.width, h = original.height;
  Command(IDM_ROTATE_RIGHT);
  HostImage turned = HostImage::Read(lib);
  ASSERT_EQ(turned.width, h);
  ASSERT_EQ(turned.height, w);
  EXPECT_NE(wintest::WindowText(viewer).find(std::to_wstring(h) + L" x " + std::to_wstring(w)), std::wstring::npos);
  EXPECT_EQ(Mismatches(turned, [&](int x, int y) { return std::pair{h - 1 - y, x}; }), 0);
  Command(IDM_ROTATE_LEFT);
  Command(IDM_ROTATE_LEFT);
  turned = HostImage::Read(lib);
  EXPECT_EQ(Mismatches(turned, [&](int x, int y) { return std::pair{y, w - 1 - x}; }), 0);
  Command(IDM_ROTATE_LEFT);
  Command(IDM_ROTATE_LEFT);
  Command(IDM_ROTATE_LEFT);  // four left turns from the first right one: back to the start
  // Where the bytes differ, when they do: this has failed rarely, only late in a long run.
  const HostImage back = HostImage::Read(lib);
  size_t differing = 0, first = 0;
  for (size_t i = 0; i < std::min(back.bytes.size(), original.bytes.size()); ++i)
    if (back.bytes[i] != original.bytes[i] && differing++ == 0) first = i;
  EXPECT_TRUE(back.bytes == original.bytes) << differing << " bytes differ, the first in memory row "
                                            << first / original.rowBytes << " at pixel " << first % original.rowBytes / 3;
}

TEST_F(PictureTest, ColourEffectsAndResetAsTheHostReadsThem) {
  Command(IDM_INVERT);
  HostImage after = HostImage::Read(lib);
  int wrong = 0;
  for (size_t i = 0; i < after.bytes.size(); i += 997)
    if (i % after.rowBytes < static_cast<size_t>(after.width) * 3 && after.bytes[i] != 255 - original.bytes[i]) ++wrong;
  EXPECT_EQ(wrong, 0);
  Command(IDM_RESET);
  EXPECT_EQ(HostImage::Read(lib).bytes, original.bytes);

  Command(IDM_GREY);
  after = HostImage::Read(lib);
  const uint8_t* p = after.At(400 + 10, 300 + 10);
  EXPECT_TRUE(p[0] == p[1] && p[1] == p[2]);
  const COLORREF c = wintest::PatternWindow::Colour(10, 10);
  EXPECT_EQ(p[0], static_cast<int>(0.587 * GetGValue(c) + 0.288 * GetRValue(c) + 0.114 * GetBValue(c)));
  Command(IDM_RESET);
  Command(IDM_SEPIA);
  after = HostImage::Read(lib);
  const int v = static_cast<int>(0.3 * GetRValue(c) + 0.6 * GetGValue(c) + 0.1 * GetBValue(c));
  p = after.At(410, 310);
  EXPECT_EQ(p[2], std::min(v + 40, 255));
  EXPECT_EQ(p[1], v);
  EXPECT_EQ(p[0], std::max(v - 20, 0));
}

TEST_F(PictureTest, AddCursorIsRefusedAwayFromOneHundredPercent) {
  Command(IDM_ZOOM_50);
  Command(IDM_ADD_CURSOR);
  // No picker: the only window the viewer owns is the pop-up, without controls or picture.
  for (HWND owned : wintest::ProcessWindows([&](HWND w) { return GetWindow(w, GW_OWNER) == viewer && IsWindowVisible(w); })) {
    RECT r{};
    GetWindowRect(owned, &r);
    EXPECT_NE(r.right - r.left, 127) << "the cursor picker opened";
  }
}

// Draws the picker's picture 13 (the asterisk icon) on the key colour, as the stamp does.
std::vector<COLORREF> ExpectedStamp() {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 64, -64, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP tile = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, tile);
  HBRUSH key = CreateSolidBrush(RGB(0x87, 0x01, 0x55));
  RECT all{0, 0, 64, 64};
  FillRect(dc, &all, key);
  DrawIcon(dc, 0, 0, LoadIconW(nullptr, IDI_ASTERISK));
  GdiFlush();
  std::vector<COLORREF> pixels(64 * 64);
  const auto* p = static_cast<const uint8_t*>(bits);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = RGB(p[i * 4 + 2], p[i * 4 + 1], p[i * 4]);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(key);
  DeleteObject(tile);
  return pixels;
}

TEST_F(PictureTest, PickingAPictureAndClickingStampsItAtTheClick) {
  Command(IDM_ADD_CURSOR);
  const auto owned = wintest::ProcessWindows([&](HWND w) { return GetWindow(w, GW_OWNER) == viewer && IsWindowVisible(w); });
  ASSERT_EQ(owned.size(), 1u);
  HWND picker = owned.front();
  RECT pickerRect{};
  GetWindowRect(picker, &pickerRect);
  POINT origin{0, 0};
  ClientToScreen(viewer, &origin);
  EXPECT_EQ(pickerRect.left, origin.x + 220);
  EXPECT_EQ(pickerRect.top, origin.y);
  EXPECT_EQ(pickerRect.right - pickerRect.left, 127);
  EXPECT_EQ(pickerRect.bottom - pickerRect.top, 229);

  // The picker follows the viewer.
  RECT viewerRect{};
  GetWindowRect(viewer, &viewerRect);
  SetWindowPos(viewer, nullptr, viewerRect.left + 30, viewerRect.top + 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  GetWindowRect(picker, &pickerRect);
  origin = {0, 0};
  ClientToScreen(viewer, &origin);
  EXPECT_EQ(pickerRect.left, origin.x + 220);

  // Cell (column 1, row 4) is picture 13; a click in the picker picks it and closes it.
  const LPARAM cell = MAKELPARAM(5 + 37 * 1 + 10, 3 + 36 * 4 + 10);
  SendMessageW(picker, WM_MOUSEMOVE, 0, cell);
  SendMessageW(picker, WM_LBUTTONDOWN, MK_LBUTTON, cell);
  EXPECT_FALSE(IsWindow(picker));

  // The outline follows the pointer; the click stamps the picture's top-left there.
  SendMessageW(viewer, WM_MOUSEMOVE, 0, MAKELPARAM(90, 60));
  SendMessageW(viewer, WM_MOUSEMOVE, 0, MAKELPARAM(100, 80));
  SendMessageW(viewer, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 80));
  const HostImage stamped = HostImage::Read(lib);
  const std::vector<COLORREF> tile = ExpectedStamp();
  const COLORREF keyColour = RGB(0x87, 0x01, 0x55);
  int picturePixels = 0, wrong = 0;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) {
      const COLORREF t = tile[static_cast<size_t>(y) * 64 + x];
      const uint8_t* p = stamped.At(100 + x, 80 + y);
      const COLORREF got = RGB(p[2], p[1], p[0]);
      const uint8_t* o = original.At(100 + x, 80 + y);
      const COLORREF before = RGB(o[2], o[1], o[0]);
      if (t != keyColour) {
        ++picturePixels;
        if (got != t) ++wrong;
      } else if (got != before) {
        ++wrong;
      }
    }
  EXPECT_GT(picturePixels, 100);
  EXPECT_EQ(wrong, 0);
}

}  // namespace
