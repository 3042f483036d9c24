// The timed pop-up and the hint window.
#include <windows.h>

#include <gtest/gtest.h>

#include "win/handles.h"
#include "ui/hint.h"
#include "res_string.h"
#include "win/module.h"
#include "ui/popup.h"
#include "ui/timers.h"
#include "resources/resource_ids.h"
#include "win_test_support.h"

namespace pictornx {
namespace {

SIZE MeasureWithPopupFont(const wchar_t* text, int* lineHeight) {
  LOGFONTW logical{};
  logical.lfHeight = 14;
  logical.lfCharSet = SHIFTJIS_CHARSET;
  LoadResString(IDS_POPUP_FONT_FACE, logical.lfFaceName, LF_FACESIZE);
  OwnedFont font(CreateFontIndirectW(&logical));
  WindowDc dc(nullptr);
  SelectionGuard select(dc.Get(), font.Get());
  SIZE size{};
  GetTextExtentPoint32W(dc.Get(), text, static_cast<int>(wcslen(text)), &size);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc.Get(), &metrics);
  *lineHeight = metrics.tmHeight;
  return size;
}

SIZE WindowSize(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return {r.right - r.left, r.bottom - r.top};
}

// The timed windows' tests run their timers 20 times faster; one test of each timer keeps
// real time. Waits that must end before a timer fires are scaled; waits for something to
// happen keep generous real limits, which only a failure uses up.
constexpr UINT kFastTimers = 20;

DWORD Scaled(DWORD realMilliseconds) { return realMilliseconds / testing::TimerScale(); }

class TimedWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::SetTimerScale(kFastTimers); }
  void TearDown() override { testing::SetTimerScale(1); }
};

class PopupTest : public TimedWindowTest {
 protected:
  void TearDown() override {
    ClosePopup();
    TimedWindowTest::TearDown();
  }
  wintest::HostWindow owner;
};

TEST_F(PopupTest, SizeFollowsTheMeasuredTextAndTheRegionIsRounded) {
  SetPopupLines(IDS_MEMORY_ERROR, IDS_HOST_NAME_MURAFEX);
  ASSERT_EQ(ShowPopup(owner.Get(), 2), kPopupShown);
  HWND popup = PopupWindow();
  ASSERT_NE(popup, nullptr);
  EXPECT_TRUE(IsWindowVisible(popup));
  EXPECT_TRUE(GetWindowLongW(popup, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(GetWindow(popup, GW_OWNER), owner.Get());
  int lineHeight = 0;
  const SIZE line1 = MeasureWithPopupFont(PopupLine1(), &lineHeight);
  const SIZE line2 = MeasureWithPopupFont(PopupLine2(), &lineHeight);
  const SIZE size = WindowSize(popup);
  EXPECT_EQ(size.cx, std::max(line1.cx, line2.cx) + 40);
  EXPECT_EQ(size.cy, 3 * line2.cy + 3);
  OwnedRegion region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(popup, region.Get()), ERROR);
  EXPECT_FALSE(PtInRegion(region.Get(), 0, 0));  // a rounded corner is cut
  EXPECT_TRUE(PtInRegion(region.Get(), size.cx / 2, size.cy / 2));
}

TEST_F(PopupTest, AnEmptySecondLineStillCountsAsALine) {
  SetPopupLines(IDS_HOST_NAME_PICTORN, 0);
  ASSERT_EQ(ShowPopup(owner.Get(), 2), kPopupShown);
  int lineHeight = 0;
  MeasureWithPopupFont(L"", &lineHeight);
  EXPECT_EQ(WindowSize(PopupWindow()).cy, 3 * lineHeight + 3);
}

TEST_F(PopupTest, ClosesItselfAfterItsSecondsInRealTime) {
  testing::SetTimerScale(1);
  SetPopupLines(IDS_HOST_NAME_PICTORN, IDS_HOST_NAME_MURAFEX);
  const ULONGLONG start = GetTickCount64();
  ASSERT_EQ(ShowPopup(owner.Get(), 2), kPopupShown);
  HWND popup = PopupWindow();
  EXPECT_TRUE(wintest::PumpUntil([&] { return !IsWindow(popup); }, 4000));
  const ULONGLONG shown = GetTickCount64() - start;
  EXPECT_GE(shown, 1900u);
  EXPECT_LE(shown, 2800u);
}

TEST_F(PopupTest, EachPopupClosesAfterItsOwnSeconds) {
  SetPopupLines(IDS_HOST_NAME_PICTORN, IDS_HOST_NAME_MURAFEX);
  for (int seconds : {5, 2, 3}) {
    const ULONGLONG start = GetTickCount64();
    ASSERT_EQ(ShowPopup(owner.Get(), seconds), kPopupShown) << seconds;
    HWND popup = PopupWindow();
    ASSERT_TRUE(wintest::PumpUntil([&] { return !IsWindow(popup); }, 2000u * seconds)) << seconds;
    const ULONGLONG shown = GetTickCount64() - start;
    EXPECT_GE(shown, Scaled(950u * seconds)) << seconds;
    EXPECT_EQ(PopupWindow(), nullptr);
  }
}

TEST_F(PopupTest, ASecondCallClosesTheFirstAndShowsNothing) {
  SetPopupLines(IDS_HOST_NAME_PICTORN, IDS_HOST_NAME_MURAFEX);
  ASSERT_EQ(ShowPopup(owner.Get(), 5), kPopupShown);
  HWND first = PopupWindow();
  EXPECT_EQ(ShowPopup(owner.Get(), 5), kPopupClosedEarlierOne);
  EXPECT_FALSE(IsWindow(first));
  EXPECT_EQ(PopupWindow(), nullptr);
  EXPECT_TRUE(wintest::ProcessWindows([&](HWND w) { return GetWindow(w, GW_OWNER) == owner.Get(); }).empty());
}

TEST_F(PopupTest, LinesAreLoadedWithTheirLimits) {
  SetPopupLines(IDS_MEMORY_ERROR, IDS_MEMORY_ERROR, 5);
  EXPECT_EQ(wcslen(PopupLine1()), 4u);  // 5 characters of room, one for the terminator
  EXPECT_EQ(std::wstring(PopupLine2()), LoadResString(IDS_MEMORY_ERROR).substr(0, 49));
}

// A foreground window with one button (id 1044) to hint.
class HintTest : public TimedWindowTest {
 protected:
  void SetUp() override {
    TimedWindowTest::SetUp();
    window = CreateWindowExW(0, L"#32770", L"hinted", WS_POPUP | WS_VISIBLE | WS_CAPTION, 300, 300, 300, 200, nullptr,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
    button = CreateWindowExW(0, L"BUTTON", L"x", WS_CHILD | WS_VISIBLE, 20, 30, 80, 24, window,
                             reinterpret_cast<HMENU>(1044), GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(window);
    wintest::PumpUntil([&] { return GetForegroundWindow() == window; }, 2000);
    GetWindowRect(button, &buttonRect);
  }
  void TearDown() override {
    CloseHint();
    DestroyWindow(window);
    TimedWindowTest::TearDown();
  }
  POINT Inside() const { return {buttonRect.left + 10, buttonRect.top + 10}; }
  POINT Outside() const { return {buttonRect.right + 20, buttonRect.top + 10}; }
  void Track(POINT p) { TrackHint(window, 1044, IDS_HOST_NAME_MURAFEX, p.x, p.y); }

  HWND window = nullptr;
  HWND button = nullptr;
  RECT buttonRect{};
};

TEST_F(HintTest, ShowsUnderTheControlAfterHalfASecondAndHidesAtTwoAndAHalfInRealTime) {
  testing::SetTimerScale(1);
  ASSERT_EQ(GetForegroundWindow(), window);
  const ULONGLONG start = GetTickCount64();
  Track(Inside());
  ASSERT_TRUE(wintest::PumpUntil([] { return HintWindow() != nullptr; }, 2000));
  EXPECT_GE(GetTickCount64() - start, 450u);
  HWND hint = HintWindow();
  EXPECT_EQ(wintest::WindowClass(hint), L"TLPICTRN");
  RECT r{};
  GetWindowRect(hint, &r);
  EXPECT_EQ(r.left, buttonRect.left);
  EXPECT_EQ(r.top, buttonRect.bottom + 5);
  EXPECT_EQ(r.bottom - r.top, 17);
  EXPECT_EQ(GetForegroundWindow(), window);  // the hint never takes the focus
  ASSERT_TRUE(wintest::PumpUntil([] { return HintWindow() == nullptr; }, 4000));
  const ULONGLONG hidden = GetTickCount64() - start;
  EXPECT_GE(hidden, 2400u);
  EXPECT_LE(hidden, 3200u);
}

TEST_F(HintTest, LeavingBeforeHalfASecondShowsNothingAndComingBackStartsAfresh) {
  Track(Inside());
  Track(Outside());
  EXPECT_FALSE(wintest::PumpUntil([] { return HintWindow() != nullptr; }, Scaled(800)));
  // Still disarmed while outside; back inside the cycle starts again.
  const ULONGLONG back = GetTickCount64();
  Track(Inside());
  ASSERT_TRUE(wintest::PumpUntil([] { return HintWindow() != nullptr; }, 2000));
  EXPECT_GE(GetTickCount64() - back, Scaled(450));
}

TEST_F(HintTest, RestingAgainWithoutLeavingDoesNotRestartTheCycle) {
  Track(Inside());
  ASSERT_TRUE(wintest::PumpUntil([] { return HintWindow() != nullptr; }, 2000));
  ASSERT_TRUE(wintest::PumpUntil([] { return HintWindow() == nullptr; }, 4000));
  Track(Inside());
  EXPECT_FALSE(wintest::PumpUntil([] { return HintWindow() != nullptr; }, Scaled(800)));
}

TEST_F(HintTest, NoHintForAWindowNotInTheForeground) {
  wintest::HostWindow other(L"other");
  SetForegroundWindow(other.Get());
  ASSERT_TRUE(wintest::PumpUntil([&] { return GetForegroundWindow() == other.Get(); }, 2000));
  Track(Inside());
  EXPECT_FALSE(wintest::PumpUntil([] { return HintWindow() != nullptr; }, Scaled(800)));
}

TEST_F(HintTest, AHotSpotHintNearTheRightEdgeIsShiftedOntoTheScreen) {
  RECT desktop{};
  GetWindowRect(GetDesktopWindow(), &desktop);
  const int x = desktop.right - 3;
  TrackHint(window, kHintHotSpot, IDS_MEMORY_ERROR, x, 400);
  ASSERT_TRUE(wintest::PumpUntil([] { return HintWindow() != nullptr; }, 2000));
  RECT r{};
  GetWindowRect(HintWindow(), &r);
  EXPECT_LT(r.left, x);
  EXPECT_LE(r.right, desktop.right + 3);  // the text width + 10 ends at the edge
  EXPECT_EQ(r.top, 416);
}

}  // namespace
}  // namespace pictornx
