// The floating panels with the shell linked in: posterisation previews and applies the
// formula from its snapshot, the counts agree with counts made here, the gauge reads a
// single colour as one level per channel, and many open/close cycles leave no GDI object.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <vector>

#include "host/exports.h"
#include "imagestore/image_buffers.h"
#include "imageops/colour_count_panel.h"
#include "imageops/posterise_panel.h"
#include "imageops/size_panel.h"
#include "pixels/posterise.h"
#include "resources/resource_ids.h"
#include "ui/host_link.h"
#include "ui/tool_windows.h"
#include "viewer/viewer.h"
#include "win/dib.h"
#include "res_string.h"
#include "win/module.h"
#include "win_test_support.h"

namespace pictornx {
namespace {

// PICTORNX_SOAK_CYCLES shortens the open/close loops (make check may set it).
int SoakCycles() {
  const char* text = std::getenv("PICTORNX_SOAK_CYCLES");
  const int cycles = text ? std::atoi(text) : 0;
  return cycles > 0 ? cycles : 100;
}

std::vector<uint8_t> Bytes(const SharedImage& image) {
  return {image.Bits(), image.Bits() + image.ContentBytes()};
}

size_t ColoursOf(const SharedImage& image) {
  std::set<uint32_t> colours;
  const ImageView view = image.View();
  for (int y = 0; y < view.height; ++y)
    for (int x = 0; x < view.width; ++x) {
      const uint8_t* p = view.Row(y) + 3 * x;
      colours.insert(p[2] << 16 | p[1] << 8 | p[0]);
    }
  return colours.size();
}

void Click(HWND panel, int id) {
  SendMessageW(panel, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(panel, id)));
}

class PanelsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wintest::InitCommonControlsForHost();
    SetHostNotifyWindow(notify.Window(), 1);
  }
  void TearDown() override {
    if (HWND viewer = ViewerWindow()) SendMessageW(viewer, WM_CLOSE, 0, 0);
  }

  // Opens the viewer on a width x height picture drawn by `paint(x, y, bgr)`.
  template <typename Paint>
  HWND OpenOn(int width, int height, Paint paint) {
    if (!CaptureScreen()) return nullptr;
    ImageBuffersState& images = Images();
    images.screenImage.SetSize(width, height);
    const ImageView view = images.screenImage.View();
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) paint(x, y, view.TopRow(y) + 3 * x);
    images.sourceSize = {width, height};
    LinkHost(host.Get(), 1);
    return OpenViewer(host.Get()) == kViewerOpened ? ViewerWindow() : nullptr;
  }
  HWND OpenOnGradient(int width, int height) {
    return OpenOn(width, height, [](int x, int y, uint8_t* p) {
      p[0] = static_cast<uint8_t>(x * 7 + y), p[1] = static_cast<uint8_t>(y * 3), p[2] = static_cast<uint8_t>(x);
    });
  }

  wintest::HostWindow host;
  wintest::NotifyRecorder notify;
};

TEST_F(PanelsTest, PosterisationPreviewsFromItsSnapshotCountsAndAReRenderBringsTheOriginalBack) {
  HWND viewer = OpenOnGradient(301, 120);  // odd width: rows end in padding
  ASSERT_NE(viewer, nullptr);
  const std::vector<uint8_t> original = Bytes(Images().workImage);
  PosterSettings() = {};
  SendMessageW(viewer, WM_COMMAND, IDM_POSTERISE, 0);
  HWND panel = ToolWindowHandle(ToolWindow::kPosterise);
  ASSERT_NE(panel, nullptr);
  SendMessageW(viewer, WM_COMMAND, IDM_POSTERISE, 0);
  EXPECT_EQ(ToolWindowHandle(ToolWindow::kPosterise), panel);
  HRGN outline = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(panel, outline), COMPLEXREGION);  // the capsule
  DeleteObject(outline);

  // 3 + 10 from the tens bar, then gamma spacing.
  SendMessageW(panel, WM_VSCROLL, SB_LINEUP, reinterpret_cast<LPARAM>(GetDlgItem(panel, IDC_POSTER_TENS)));
  EXPECT_EQ(wintest::WindowText(GetDlgItem(panel, IDC_POSTER_LEVELS)), L"13");
  CheckRadioButton(panel, IDC_POSTER_EVEN, IDC_POSTER_GAMMA, IDC_POSTER_GAMMA);
  Click(panel, IDC_POSTER_GAMMA);
  EXPECT_TRUE(PosterSettings().gamma);
  HWND count = GetDlgItem(panel, IDC_POSTER_COLOUR_COUNT);
  EXPECT_FALSE(IsWindowVisible(count));

  Click(panel, IDC_POSTER_PREVIEW);
  const PosterTable table = MakePosterTable(13, true);
  std::vector<uint8_t> expected = original;
  const int row = static_cast<int>(RowBytes(301));
  for (size_t i = 0; i < expected.size(); ++i)
    if (static_cast<int>(i % row) < 301 * 3) expected[i] = table[expected[i]];
  EXPECT_EQ(Bytes(Images().workImage), expected);
  EXPECT_TRUE(IsWindowVisible(count));
  EXPECT_EQ(wintest::WindowText(count), std::to_wstring(ColoursOf(Images().workImage)));

  // A second preview inside the pause is dropped; once the pause is over it runs again,
  // from the snapshot (levels 2 give black or white whatever came before).
  for (int i = 0; i < 2; ++i)  // 13 - 10, then held at 2
    SendMessageW(panel, WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(GetDlgItem(panel, IDC_POSTER_TENS)));
  EXPECT_EQ(wintest::WindowText(GetDlgItem(panel, IDC_POSTER_LEVELS)), L"2");
  const DWORD start = GetTickCount();
  Click(panel, IDC_POSTER_PREVIEW);
  EXPECT_EQ(Bytes(Images().workImage), expected);
  ASSERT_TRUE(wintest::PumpUntil([&] {
    Click(panel, IDC_POSTER_PREVIEW);
    return Bytes(Images().workImage) != expected;
  }));
  EXPECT_GE(GetTickCount() - start, 250u);
  const PosterTable two = MakePosterTable(2, true);
  for (size_t i = 0; i < expected.size(); ++i)
    if (static_cast<int>(i % row) < 301 * 3) expected[i] = two[original[i]];
  EXPECT_EQ(Bytes(Images().workImage), expected);
  EXPECT_LE(ColoursOf(Images().workImage), 8u);

  Click(panel, IDC_POSTER_EXECUTE);
  EXPECT_EQ(ToolWindowHandle(ToolWindow::kPosterise), nullptr);
  EXPECT_EQ(Bytes(Images().workImage), expected);
  SendMessageW(viewer, WM_COMMAND, IDM_ZOOM_100, 0);
  EXPECT_EQ(Bytes(Images().workImage), original);
  EXPECT_EQ(PosterSettings().levels, 2);  // kept after closing
}

TEST_F(PanelsTest, LargeRunsShowTheProgressBarAndHideItAfterwards) {
  HWND viewer = OpenOnGradient(500, 401);  // 200,500 pixels
  ASSERT_NE(viewer, nullptr);
  SendMessageW(viewer, WM_COMMAND, IDM_POSTERISE, 0);
  HWND panel = ToolWindowHandle(ToolWindow::kPosterise);
  ASSERT_NE(panel, nullptr);
  HWND progress = GetDlgItem(panel, IDC_POSTER_PROGRESS);
  Click(panel, IDC_POSTER_PREVIEW);
  EXPECT_EQ(SendMessageW(progress, PBM_GETPOS, 0, 0), 401);
  EXPECT_FALSE(IsWindowVisible(progress));
  // Any other viewer command closes the panel and leaves the last preview.
  const std::vector<uint8_t> previewed = Bytes(Images().workImage);
  SendMessageW(viewer, WM_COMMAND, IDM_COUNT_COLOURS, 0);
  EXPECT_EQ(ToolWindowHandle(ToolWindow::kPosterise), nullptr);
  EXPECT_EQ(Bytes(Images().workImage), previewed);
}

TEST_F(PanelsTest, ColourCountPanelShowsTheCountOnceAndASecondCommandChangesNothing) {
  HWND viewer = OpenOnGradient(256, 97);
  ASSERT_NE(viewer, nullptr);
  SendMessageW(viewer, WM_COMMAND, IDM_COUNT_COLOURS, 0);
  HWND panel = ToolWindowHandle(ToolWindow::kColourCount);
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(wintest::WindowText(GetDlgItem(panel, IDC_COUNT_VALUE)), std::to_wstring(ColoursOf(Images().workImage)));
  SetDlgItemTextW(panel, IDC_COUNT_VALUE, L"marker");
  SendMessageW(viewer, WM_COMMAND, IDM_COUNT_COLOURS, 0);
  EXPECT_EQ(ToolWindowHandle(ToolWindow::kColourCount), panel);
  EXPECT_EQ(wintest::WindowText(GetDlgItem(panel, IDC_COUNT_VALUE)), L"marker");
  EXPECT_EQ(CountColours(kPosterisePanel), kCountPanelAlreadyOpen);
  Click(panel, IDC_COUNT_CLOSE);
  EXPECT_EQ(ToolWindowHandle(ToolWindow::kColourCount), nullptr);
  EXPECT_FALSE(IsWindow(panel));
}

TEST_F(PanelsTest, GaugeOfASingleColourShowsOneLevelPerChannel) {
  HWND viewer = OpenOn(64, 48, [](int, int, uint8_t* p) { p[0] = 200, p[1] = 100, p[2] = 30; });
  ASSERT_NE(viewer, nullptr);
  SendMessageW(viewer, WM_COMMAND, IDM_RGB_GAUGE, 0);
  HWND gauge = ToolWindowHandle(ToolWindow::kRgbGauge);
  ASSERT_NE(gauge, nullptr);
  EXPECT_TRUE(IsWindowVisible(gauge));
  RECT bounds{};
  GetWindowRect(gauge, &bounds);
  EXPECT_EQ(bounds.right - bounds.left, 180);
  EXPECT_EQ(bounds.bottom - bounds.top, 285);
  wintest::PumpPending();
  UpdateWindow(gauge);
  // The counts are drawn into the face; read them back as the gauges draw them: one
  // coloured row in each gauge, at 255 - level.
  auto colouredRows = [](HWND control, COLORREF colour) {
    std::vector<int> rows;
    HDC dc = GetDC(control);
    for (int y = 0; y < 257; ++y)
      if (GetPixel(dc, 5, y) == colour) rows.push_back(y);
    ReleaseDC(control, dc);
    return rows;
  };
  EXPECT_EQ(colouredRows(GetDlgItem(gauge, IDC_GAUGE_RED), RGB(238, 0, 0)), std::vector<int>{225});
  EXPECT_EQ(colouredRows(GetDlgItem(gauge, IDC_GAUGE_GREEN), RGB(0, 238, 0)), std::vector<int>{155});
  EXPECT_EQ(colouredRows(GetDlgItem(gauge, IDC_GAUGE_BLUE), RGB(0, 0, 238)), std::vector<int>{55});
  // A second command while open changes nothing, even after the image changed.
  std::memset(Images().workImage.Bits(), 0x40, Images().workImage.ContentBytes());
  SendMessageW(viewer, WM_COMMAND, IDM_RGB_GAUGE, 0);
  EXPECT_EQ(ToolWindowHandle(ToolWindow::kRgbGauge), gauge);
  EXPECT_EQ(colouredRows(GetDlgItem(gauge, IDC_GAUGE_RED), RGB(238, 0, 0)), std::vector<int>{225});
  Click(gauge, IDC_GAUGE_CLOSE);
  EXPECT_FALSE(IsWindow(gauge));
}

TEST_F(PanelsTest, ManyOpenAndCloseCyclesOfEachPanelLeaveNoGdiObject) {
  HWND viewer = OpenOnGradient(320, 200);
  ASSERT_NE(viewer, nullptr);
  struct Panel {
    int command;
    ToolWindow window;
  } const panels[] = {{IDM_POSTERISE, ToolWindow::kPosterise},
                      {IDM_COUNT_COLOURS, ToolWindow::kColourCount},
                      {IDM_RGB_GAUGE, ToolWindow::kRgbGauge},
                      {IDM_ZOOM_ANY_SIZE, ToolWindow::kArbitrarySize}};
  auto cycle = [&](const Panel& panel) {
    SendMessageW(viewer, WM_COMMAND, panel.command, 0);
    HWND window = ToolWindowHandle(panel.window);
    if (panel.window == ToolWindow::kPosterise) Click(window, IDC_POSTER_PREVIEW);
    wintest::PumpPending();
    SendMessageW(window, WM_CLOSE, 0, 0);
    wintest::PumpPending();
    return window != nullptr;
  };
  for (const Panel& panel : panels) ASSERT_TRUE(cycle(panel));  // warm-up
  const int gdiBefore = wintest::CountGdiObjects();
  const int windowsBefore = wintest::CountWindows();
  const int cycles = SoakCycles();
  for (const Panel& panel : panels)
    for (int i = 0; i < cycles; ++i) ASSERT_TRUE(cycle(panel)) << panel.command << " cycle " << i;
  EXPECT_EQ(wintest::CountGdiObjects(), gdiBefore);
  EXPECT_EQ(wintest::CountWindows(), windowsBefore);
}

// No memory for the snapshot or for the gauge's face: the memory message, and no window
// stays open.
TEST_F(PanelsTest, OutOfMemoryShowsTheMessageAndLeavesNoPanelOpen) {
  HWND viewer = OpenOnGradient(200, 100);
  ASSERT_NE(viewer, nullptr);
  const std::wstring memoryError = LoadResString(IDS_MEMORY_ERROR);
  int refused = 0;
  for (int successes = 0; successes < 4; ++successes) {
    testing::FailDibSectionsAfter(successes);
    wintest::MessageBoxWatcher watcher(1500);
    SendMessageW(viewer, WM_COMMAND, IDM_POSTERISE, 0);
    testing::FailDibSectionsAfter(-1);
    const wintest::SeenMessageBox box = watcher.Result();
    if (HWND panel = ToolWindowHandle(ToolWindow::kPosterise)) {
      EXPECT_FALSE(box.seen);
      SendMessageW(panel, WM_CLOSE, 0, 0);
      break;
    }
    ++refused;
    EXPECT_EQ(box.text, memoryError) << successes;
  }
  EXPECT_GE(refused, 1);

  testing::FailDibSectionsAfter(0);
  wintest::MessageBoxWatcher watcher;
  SendMessageW(viewer, WM_COMMAND, IDM_RGB_GAUGE, 0);
  testing::FailDibSectionsAfter(-1);
  EXPECT_EQ(watcher.Result().text, memoryError);
  EXPECT_EQ(ToolWindowHandle(ToolWindow::kRgbGauge), nullptr);
}

std::wstring MenuLabel(int item) {
  wchar_t label[96] = L"";
  GetMenuStringW(Viewer().zoomMenu, static_cast<UINT>(item), label, 96, MF_BYCOMMAND);
  return label;
}

TEST_F(PanelsTest, ArbitrarySizeLocksTheRatioRecordsAndRecallsSlotsAndRendersThem) {
  HWND viewer = OpenOnGradient(1024, 768);
  ASSERT_NE(viewer, nullptr);
  const std::wstring pixels = LoadResString(IDS_PIXELS_SUFFIX);
  EXPECT_EQ(MenuLabel(IDM_SIZE_SLOT1), L"100 x 75" + pixels);
  EXPECT_EQ(MenuLabel(IDM_SIZE_SLOT3_FIXED_WIDTH), L"300" + pixels + LoadResString(IDS_FIXED_WIDTH_SUFFIX));

  SendMessageW(viewer, WM_COMMAND, IDM_POSTERISE, 0);
  SendMessageW(viewer, WM_COMMAND, IDM_ZOOM_ANY_SIZE, 0);
  EXPECT_EQ(ToolWindowHandle(ToolWindow::kPosterise), nullptr);
  HWND panel = ToolWindowHandle(ToolWindow::kArbitrarySize);
  ASSERT_NE(panel, nullptr);
  HWND width = GetDlgItem(panel, IDC_SIZE_WIDTH_EDIT), height = GetDlgItem(panel, IDC_SIZE_HEIGHT_EDIT);
  EXPECT_EQ(wintest::WindowText(width), L"1024");
  EXPECT_EQ(wintest::WindowText(height), L"768");
  EXPECT_EQ(IsDlgButtonChecked(panel, IDC_SIZE_RATIO_LOCK), BST_CHECKED);

  // Leaving the width field with 2000 gives 1500; Enter with 6000 in the height is refused
  // and puts 1500 back; Enter with 300 takes it (the width follows: 400).
  SetWindowTextW(width, L"2000");
  SendMessageW(width, WM_KILLFOCUS, 0, 0);
  EXPECT_EQ(wintest::WindowText(height), L"1500");
  SetWindowTextW(height, L"6000");
  SendMessageW(height, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(wintest::WindowText(height), L"1500");
  SetWindowTextW(height, L"300");
  SendMessageW(height, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(wintest::WindowText(width), L"400");
  // The tens up-down of the width one step down: 390, and the height follows.
  SendDlgItemMessageW(panel, IDC_SIZE_WIDTH_TENS, UDM_SETPOS32, 0, 39);
  SendMessageW(panel, WM_VSCROLL, SB_THUMBPOSITION, reinterpret_cast<LPARAM>(GetDlgItem(panel, IDC_SIZE_WIDTH_TENS)));
  EXPECT_EQ(wintest::WindowText(width), L"390");
  EXPECT_EQ(wintest::WindowText(height), L"292");

  // "●" then the second slot stores the size and releases the button.
  CheckDlgButton(panel, IDC_SIZE_RECORD, BST_CHECKED);
  Click(panel, IDC_SIZE_RECORD);
  Click(panel, IDC_SIZE_SLOT2);
  EXPECT_EQ(IsDlgButtonChecked(panel, IDC_SIZE_RECORD), BST_UNCHECKED);
  EXPECT_EQ(SizePanel().slots[1], (SizePair{390, 292}));
  // The third slot recalls 300 x 200 and unlocks; executing renders it.
  Click(panel, IDC_SIZE_SLOT3);
  EXPECT_EQ(wintest::WindowText(width), L"300");
  EXPECT_EQ(wintest::WindowText(height), L"200");
  EXPECT_EQ(IsDlgButtonChecked(panel, IDC_SIZE_RATIO_LOCK), BST_UNCHECKED);
  Click(panel, IDC_SIZE_EXECUTE);
  EXPECT_EQ(ToolWindowHandle(ToolWindow::kArbitrarySize), nullptr);
  EXPECT_EQ(Images().viewSize.cx, 300);
  EXPECT_EQ(Images().viewSize.cy, 200);
  EXPECT_EQ(Viewer().zoomPreset, 6);
  EXPECT_EQ(MenuLabel(IDM_SIZE_SLOT2), L"390 x 292" + pixels);

  SendMessageW(viewer, WM_COMMAND, IDM_SIZE_SLOT3_FIXED_WIDTH, 0);
  EXPECT_EQ(Images().viewSize.cx, 300);
  EXPECT_EQ(Images().viewSize.cy, 225);
  EXPECT_EQ(Viewer().zoomPreset, 12);
  EXPECT_TRUE(Viewer().ratioLock);
}

}  // namespace
}  // namespace pictornx
