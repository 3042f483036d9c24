// The painted-window base on a real window: the face painted to the screen, the shapes
// handed to SetWindowRgn, subclassing undone, sprite sheets from the resources, and no GDI
// object left behind by a window's life.
#include <gtest/gtest.h>

#include <utility>

#include "pixels/stamp.h"
#include "resources/resource_ids.h"
#include "ui/painted_window.h"
#include "ui/surface.h"
#include "ui/window_shape.h"
#include "win_test_support.h"

namespace pictornx {
namespace {

constexpr int kWidth = 60, kHeight = 40;
constexpr COLORREF kLeft = RGB(200, 30, 40), kRight = RGB(10, 180, 90);

// A topmost pop-up whose face is two colour halves written through the pixel view.
class PaintedWindow {
 public:
  PaintedWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"PaintedWindowTest";
    RegisterClassW(&wc);  // the second registration fails harmlessly
    window_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 40,
                              40, kWidth, kHeight, nullptr, nullptr, wc.hInstance, this);
  }
  ~PaintedWindow() {
    if (window_) DestroyWindow(window_);
  }
  HWND Get() const { return window_; }
  Surface face;

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
      SetWindowLongPtrW(window, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<PaintedWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_CREATE) {
      if (!self->face.Create(window, kWidth, kHeight)) return -1;
      const ImageView pixels = self->face.Pixels();
      for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
          const COLORREF c = x < kWidth / 2 ? kLeft : kRight;
          uint8_t* p = pixels.TopRow(y) + x * 3;
          p[0] = GetBValue(c), p[1] = GetGValue(c), p[2] = GetRValue(c);
        }
      return 0;
    }
    if (message == WM_PAINT && self) {
      self->face.Paint(window);
      return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }
  HWND window_ = nullptr;
};

TEST(PaintedWindow, PaintCopiesTheFaceToTheWindow) {
  PaintedWindow window;
  ASSERT_NE(window.Get(), nullptr);
  UpdateWindow(window.Get());
  wintest::PumpPending();
  WindowDc dc(window.Get());
  for (POINT at : {POINT{0, 0}, POINT{29, 39}, POINT{30, 0}, POINT{59, 39}})
    EXPECT_EQ(GetPixel(dc.Get(), at.x, at.y), at.x < 30 ? kLeft : kRight) << at.x << "," << at.y;

  // A moved face keeps its pixels; the moved-from one has none.
  Surface moved = std::move(window.face);
  EXPECT_FALSE(window.face);
  EXPECT_TRUE(window.face.Pixels().Empty());
  EXPECT_EQ(GetPixel(moved.Dc(), 59, 0), kRight);
  ASSERT_TRUE(moved.Resize(7, 5));
  EXPECT_EQ(moved.Width(), 7);
  EXPECT_EQ(moved.Pixels().stride, 24);
}

TEST(PaintedWindow, ShapesAreHandedToTheWindow) {
  PaintedWindow window;
  ASSERT_TRUE(SetWindowShape(window.Get(), RoundRectRegion(kWidth, kHeight, kHeight)));
  OwnedRegion shape(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(window.Get(), shape.Get()), ERROR);
  RECT box{};
  GetRgnBox(shape.Get(), &box);
  EXPECT_EQ(box.right - box.left, kWidth);
  EXPECT_EQ(box.bottom - box.top, kHeight);
  EXPECT_FALSE(PtInRegion(shape.Get(), 1, 1));
  EXPECT_FALSE(PtInRegion(shape.Get(), kWidth - 2, kHeight - 2));
  EXPECT_TRUE(PtInRegion(shape.Get(), 20, 0));
  EXPECT_TRUE(PtInRegion(shape.Get(), 1, kHeight / 2));

  // The key cuts the header's top corners: the mask region leaves them out.
  const DibSection header = LoadSpriteSheet(IDB_JPEG_SETTINGS_HEADER);
  ASSERT_TRUE(header);
  EXPECT_EQ(header.view.width, 125);
  OwnedRegion cut = MaskRegion(header.view, kSpriteKey, MaskKeeps::kOtherPixels, 10, 5);
  ASSERT_TRUE(cut);
  EXPECT_FALSE(PtInRegion(cut.Get(), 10, 5));
  EXPECT_TRUE(PtInRegion(cut.Get(), 10 + 62, 5 + 24));
  EXPECT_FALSE(PtInRegion(cut.Get(), 10 + 125, 5 + 24));

  // A refused region is deleted, not leaked.
  const int before = wintest::CountGdiObjects();
  EXPECT_FALSE(SetWindowShape(reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7ffe)), RoundRectRegion(9, 9, 4)));
  EXPECT_EQ(wintest::CountGdiObjects(), before);
}

int g_subclassed = 0;
LRESULT CALLBACK CountingProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  ++g_subclassed;
  return CallOldProc(control, message, wParam, lParam);
}

TEST(PaintedWindow, SubclassingPutsTheOldProcedureBack) {
  PaintedWindow window;
  HWND child = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, window.Get(), nullptr, nullptr, nullptr);
  const LONG_PTR original = GetWindowLongPtrW(child, GWLP_WNDPROC);
  ASSERT_TRUE(SubclassControl(child, CountingProc));
  EXPECT_FALSE(SubclassControl(child, CountingProc));
  g_subclassed = 0;
  SetWindowTextW(child, L"text");
  EXPECT_GT(g_subclassed, 0);
  EXPECT_EQ(wintest::WindowText(child), L"text");
  RemoveSubclass(child);
  EXPECT_EQ(GetWindowLongPtrW(child, GWLP_WNDPROC), original);
  EXPECT_EQ(GetPropW(child, L"pictornx.oldproc"), nullptr);
  // Destroyed while subclassed: the old procedure sees WM_NCDESTROY.
  ASSERT_TRUE(SubclassControl(child, CountingProc));
  EXPECT_TRUE(DestroyWindow(child));
}

TEST(PaintedWindow, AWindowsLifeLeavesNoGdiObject) {
  auto life = [] {
    PaintedWindow window;
    UpdateWindow(window.Get());
    SetWindowShape(window.Get(), MaskRegion(LoadSpriteSheet(IDB_JPEG_ARROW_BUTTON).view, kSpriteKey,
                                             MaskKeeps::kOtherPixels));
    window.face.Resize(kWidth * 2, kHeight);
    wintest::PumpPending();
  };
  life();
  const int before = wintest::CountGdiObjects();
  for (int i = 0; i < 50; ++i) life();
  EXPECT_EQ(wintest::CountGdiObjects(), before);
}

}  // namespace
}  // namespace pictornx
