// The JPEG settings panel in a plain parent with counting callbacks, and the preview's tab,
// button and range-frame pictures drawn into surfaces.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "files/save_image.h"
#include "jpegpreview/jpeg_settings_panel.h"
#include "jpegpreview/preview_controls.h"
#include "resources/resource_ids.h"
#include "ui/surface.h"
#include "win/dib.h"
#include "win_test_support.h"

namespace pictornx {
namespace {

int SoakCycles() {
  const char* text = std::getenv("PICTORNX_SOAK_CYCLES");
  const int cycles = text ? std::atoi(text) : 0;
  return cycles > 0 ? cycles : 100;
}

// "p" for each preview refresh, "l" for each loupe refresh, in call order.
std::string g_calls;
void CountPreview() { g_calls += 'p'; }
void CountLoupe() { g_calls += 'l'; }

class JpegSettingsPanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wintest::InitCommonControlsForHost();
    JpegSettings() = {};
    g_calls.clear();
  }
  void TearDown() override {
    CloseJpegSettingsPanel();
    testing::FailDibSectionsAfter(-1);
  }
  HWND Open() {
    if (OpenJpegSettingsPanel(host.Get(), 10, 10, {CountPreview, CountLoupe}) != 0) return nullptr;
    wintest::PumpPending();
    return JpegSettingsPanelWindow();
  }
  // Presses at `from`, moves through `path` and releases at the last point.
  static void Drag(HWND panel, POINT from, std::initializer_list<POINT> path = {}) {
    SendMessageW(panel, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    POINT last = from;
    for (POINT at : path) {
      SendMessageW(panel, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(at.x, at.y));
      last = at;
    }
    SendMessageW(panel, WM_LBUTTONUP, 0, MAKELPARAM(last.x, last.y));
  }
  static void Click(HWND panel, int id) {
    SendMessageW(GetDlgItem(panel, id), BM_CLICK, 0, 0);
    wintest::PumpPending();
  }

  wintest::HostWindow host;
};

TEST_F(JpegSettingsPanelTest, SliderArrowsAndCheckBoxesChangeTheSettingsAndRefreshOnce) {
  HWND panel = Open();
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(GetParent(panel), host.Get());
  EXPECT_EQ(OpenJpegSettingsPanel(host.Get(), 0, 0, {CountPreview, CountLoupe}), 0);
  EXPECT_EQ(JpegSettingsPanelWindow(), panel);
  JpegOptions& settings = JpegSettings();

  struct Step {
    const char* what;
    void (*act)(HWND);
    int quality;
    const char* calls;  // the callbacks this step made
  };
  const Step steps[] = {
      {"click at the band's left end", [](HWND p) { Drag(p, {25, 60}); }, 1, "pl"},
      {"click at its right end", [](HWND p) { Drag(p, {99, 60}); }, 99, "pl"},
      {"up arrow", [](HWND p) { Click(p, IDC_JPEG_QUALITY_UP); }, 100, "pl"},
      {"up arrow at 100", [](HWND p) { Click(p, IDC_JPEG_QUALITY_UP); }, 100, ""},
      {"click at the left end again", [](HWND p) { Drag(p, {25, 60}); }, 1, "pl"},
      {"down arrow at 1", [](HWND p) { Click(p, IDC_JPEG_QUALITY_DOWN); }, 1, ""},
      // The drag ends where it leaves the band; coming back no longer moves the knob.
      {"drag out of the band", [](HWND p) { Drag(p, {60, 60}, {{70, 60}, {70, 70}, {90, 60}}); }, 60, "pl"},
      {"click off the band", [](HWND p) { Drag(p, {60, 100}); }, 60, ""},
      {"drag to the band's right end", [](HWND p) { Drag(p, {60, 60}, {{99, 60}, {130, 60}}); }, 99, "pl"},
      // The arrow re-encodes at 100; a slider drag that ends back at 99 must re-encode again.
      {"up arrow after a drag", [](HWND p) { Click(p, IDC_JPEG_QUALITY_UP); }, 100, "pl"},
      {"drag from 99 out of the band", [](HWND p) { Drag(p, {99, 60}, {{99, 80}}); }, 99, "pl"},
      // No release comes when another window takes the mouse mid-drag.
      {"capture taken mid-drag",
       [](HWND p) {
         SendMessageW(p, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 60));
         SetCapture(GetParent(p));
         ReleaseCapture();
       },
       47, "pl"},
  };
  for (const Step& step : steps) {
    g_calls.clear();
    step.act(panel);
    EXPECT_EQ(settings.quality, step.quality) << step.what;
    EXPECT_EQ(g_calls, step.calls) << step.what;
  }

  g_calls.clear();
  Click(panel, IDC_JPEG_PROGRESSIVE);
  EXPECT_TRUE(settings.progressive);
  Click(panel, IDC_JPEG_GREY);
  EXPECT_FALSE(settings.colour);
  Click(panel, IDC_JPEG_GREY);
  EXPECT_TRUE(settings.colour);
  EXPECT_EQ(g_calls, "plplpl");

  // A reopened panel shows the settings as they were left.
  CloseJpegSettingsPanel();
  EXPECT_EQ(JpegSettingsPanelWindow(), nullptr);
  settings.colour = false;
  panel = Open();
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(IsDlgButtonChecked(panel, IDC_JPEG_PROGRESSIVE), BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(panel, IDC_JPEG_GREY), BST_CHECKED);
}

TEST_F(JpegSettingsPanelTest, ShapeCutsTheCorners) {
  HWND panel = Open();
  ASSERT_NE(panel, nullptr);
  RECT window{};
  GetWindowRect(panel, &window);
  EXPECT_EQ(window.right - window.left, 125);
  EXPECT_EQ(window.bottom - window.top, 140);
  OwnedRegion shape(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(panel, shape.Get()), ERROR);
  for (POINT corner : {POINT{0, 0}, POINT{124, 0}, POINT{0, 139}, POINT{124, 139}, POINT{1, 1}})
    EXPECT_FALSE(PtInRegion(shape.Get(), corner.x, corner.y)) << corner.x << "," << corner.y;
  for (POINT inside : {POINT{62, 0}, POINT{62, 70}, POINT{0, 70}, POINT{124, 100}, POINT{62, 139}})
    EXPECT_TRUE(PtInRegion(shape.Get(), inside.x, inside.y)) << inside.x << "," << inside.y;
}

TEST_F(JpegSettingsPanelTest, NoMemoryForThePictureLeavesNoPanel) {
  // A first whole opening makes what a process keeps (the dialog's and the labels' fonts).
  ASSERT_EQ(OpenJpegSettingsPanel(host.Get(), 10, 10, {CountPreview, CountLoupe}), 0);
  CloseJpegSettingsPanel();
  wintest::PumpPending();
  const int gdiBefore = wintest::CountGdiObjects();
  testing::FailDibSectionsAfter(0);
  EXPECT_EQ(OpenJpegSettingsPanel(host.Get(), 10, 10, {CountPreview, CountLoupe}), -1);
  testing::FailDibSectionsAfter(-1);
  wintest::PumpPending();
  EXPECT_EQ(JpegSettingsPanelWindow(), nullptr);
  EXPECT_EQ(wintest::CountGdiObjects(), gdiBefore);
  EXPECT_EQ(g_calls, "");
}

// --- The preview's pictures ------------------------------------------------------------------

Rgb PixelAt(const Surface& s, int x, int y) {
  const uint8_t* p = s.Pixels().TopRow(y) + 3 * x;
  return {p[2], p[1], p[0]};
}

std::vector<Rgb> Pixels(const Surface& s, PixelRect r) {
  std::vector<Rgb> out;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) out.push_back(PixelAt(s, x, y));
  return out;
}

constexpr Rgb kGround{20, 40, 60};

void FillGround(Surface& s) {
  const ImageView v = s.Pixels();
  for (int y = 0; y < v.height; ++y)
    for (int x = 0; x < v.width; ++x) {
      uint8_t* p = v.TopRow(y) + 3 * x;
      p[0] = kGround.blue, p[1] = kGround.green, p[2] = kGround.red;
    }
}

TEST_F(JpegSettingsPanelTest, TabsButtonsAndTheRangeFrameDrawIntoTheFace) {
  PreviewSprites sprites;
  ASSERT_TRUE(BuildPreviewSprites(host.Get(), sprites));
  Surface face;
  ASSERT_TRUE(face.Create(host.Get(), 730, 450));
  FillGround(face);

  DrawTabs(face, sprites, 0, -1);
  // Tab 1 is selected, tab 2 normal: the same place of each differs; tab 3 looks like tab 2
  // there except for its label and mark, far from the left end.
  EXPECT_NE(PixelAt(face, 623 + 3, 101 + 12), PixelAt(face, 623 + 3, 121 + 12));
  EXPECT_EQ(PixelAt(face, 623 + 3, 121 + 12), PixelAt(face, 623 + 3, 138 + 12));
  // The corners of each tab are cut: the face shows through.
  for (POINT corner : {POINT{623, 101}, POINT{690, 101}, POINT{623, 117}, POINT{690, 154}})
    EXPECT_EQ(PixelAt(face, corner.x, corner.y), kGround) << corner.x << "," << corner.y;
  EXPECT_NE(PixelAt(face, 624, 101), kGround);
  const Rgb normalTab2 = PixelAt(face, 623 + 3, 121 + 12);
  DrawTabs(face, sprites, 1, 1);
  EXPECT_NE(PixelAt(face, 623 + 3, 121 + 12), normalTab2);  // pressed now
  EXPECT_NE(PixelAt(face, 630, 99), kGround);                 // the strokes above tab 1

  // The plate's rounded left end and the buttons' corners are key: not copied.
  DrawButtonPlate(face, sprites);
  EXPECT_EQ(PixelAt(face, 480, 425), kGround);
  EXPECT_NE(PixelAt(face, 530, 435), kGround);
  DrawDiffButtons(face, sprites, 0, 3, 0);
  const Rgb lit = PixelAt(face, 489 + 5, 427 + 3);    // on the whole button's icon
  const Rgb unlit = PixelAt(face, 512 + 5, 427 + 7);  // on the range button's dotted outline
  const std::vector<Rgb> gainX1 = Pixels(face, {543, 427, 566, 443});
  EXPECT_NE(lit, unlit);
  DrawDiffButtons(face, sprites, 3, 0, 10);
  EXPECT_NE(PixelAt(face, 489 + 5, 427 + 3), lit);
  EXPECT_EQ(PixelAt(face, 512 + 5, 427 + 7), lit);
  EXPECT_NE(Pixels(face, {543, 427, 566, 443}), gainX1);
  // The button's rounded corner keeps the plate under it.
  const Rgb underCorner = PixelAt(face, 489, 427);
  DrawDiffButtons(face, sprites, 1, 1, 1);
  EXPECT_EQ(PixelAt(face, 489, 427), underCorner);

  // The range frame: the inner line inverts the view when asked, the outer boxes are plain.
  Surface view;
  ASSERT_TRUE(view.Create(host.Get(), 200, 150));
  for (bool xorFirst : {true, false}) {
    FillGround(view);
    DrawRangeFrame(view.Dc(), {50, 40, 120, 80}, xorFirst);
    const Rgb inner = xorFirst ? Rgb{0xEE ^ kGround.red, 0xEE ^ kGround.green, 0xEE ^ kGround.blue}
                               : Rgb{0xEE, 0xEE, 0xEE};
    EXPECT_EQ(PixelAt(view, 50, 60), inner) << xorFirst;
    EXPECT_EQ(PixelAt(view, 120, 80), inner) << xorFirst;
    EXPECT_EQ(PixelAt(view, 46, 60), (Rgb{0x45, 0x50, 0x5D}));
    EXPECT_EQ(PixelAt(view, 47, 60), (Rgb{0x36, 0x73, 0x85}));   // drawn over the 0x555555 box
    EXPECT_EQ(PixelAt(view, 124, 60), (Rgb{0x55, 0x55, 0x55}));  // one column beyond the last box
    EXPECT_EQ(PixelAt(view, 48, 60), (Rgb{0xA3, 0xBF, 0xC7}));
    EXPECT_EQ(PixelAt(view, 60, 60), kGround);
    EXPECT_EQ(GetROP2(view.Dc()), R2_COPYPEN);
  }
}

TEST_F(JpegSettingsPanelTest, OpenCloseCyclesLeaveNoGdiObject) {
  auto cycle = [&] {
    HWND panel = Open();
    if (!panel) return false;
    Drag(panel, {40, 60});
    Click(panel, IDC_JPEG_QUALITY_UP);
    SendMessageW(panel, WM_PAINT, 0, 0);
    CloseJpegSettingsPanel();
    PreviewSprites sprites;
    Surface face;
    if (!BuildPreviewSprites(host.Get(), sprites) || !face.Create(host.Get(), 730, 450)) return false;
    DrawTabs(face, sprites, 2, -1);
    DrawButtonPlate(face, sprites);
    DrawDiffButtons(face, sprites, 2, 2, 12);
    DrawRangeFrame(face.Dc(), {10, 10, 80, 30}, true);
    wintest::PumpPending();
    return JpegSettingsPanelWindow() == nullptr;
  };
  ASSERT_TRUE(cycle());  // warm-up
  const int gdiBefore = wintest::CountGdiObjects();
  const int windowsBefore = wintest::CountWindows();
  for (int i = 0; i < SoakCycles(); ++i) ASSERT_TRUE(cycle()) << "cycle " << i;
  EXPECT_EQ(wintest::CountGdiObjects(), gdiBefore);
  EXPECT_EQ(wintest::CountWindows(), windowsBefore);
}

}  // namespace
}  // namespace pictornx
