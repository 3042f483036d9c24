// The request protocol as a host meets it: every request type and result, the
// notifications by host identity, and what the captured image holds.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "win_test_support.h"

namespace {

using wintest::LoadedLibrary;
using wintest::PumpUntil;

constexpr int kCloseViewerCommand = 32793;
const std::wstring kViewerTitlePrefix = L"\u753B\u50CF\u306E\u52A0\u5DE5";  // 画像の加工

HWND FindViewer() {
  const auto found = wintest::ProcessWindows([](HWND window) {
    return IsWindowVisible(window) && wintest::WindowText(window).rfind(kViewerTitlePrefix, 0) == 0;
  });
  return found.empty() ? nullptr : found.front();
}

// The message pop-up: a captionless dialog owned by `owner`.
HWND FindPopup(HWND owner) {
  const auto found = wintest::ProcessWindows([&](HWND window) {
    return IsWindowVisible(window) && wintest::WindowClass(window) == L"#32770" && GetWindow(window, GW_OWNER) == owner &&
           wintest::WindowText(window).empty();
  });
  return found.empty() ? nullptr : found.front();
}

class RequestTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wintest::InitCommonControlsForHost();
    ASSERT_NE(lib.module, nullptr);
    lib.setHostNotifyWindow(notify.Window(), 0);
  }
  void TearDown() override {
    if (HWND viewer = FindViewer()) SendMessageW(viewer, WM_COMMAND, kCloseViewerCommand, 0);
  }

  SIZE ImageSize() const {
    const uint64_t size = lib.getImageSize();
    return {static_cast<LONG>(size & 0xFFFFFFFF), static_cast<LONG>(size >> 32)};
  }

  LoadedLibrary lib;
  wintest::HostWindow host;
  wintest::NotifyRecorder notify;
};

TEST_F(RequestTest, QueryWithoutToolWindowAnswersZeroAndShowsNothing) {
  EXPECT_EQ(lib.runToolRequest(host.Get(), 100, 1), 0);
  EXPECT_TRUE(notify.Codes().empty());
  EXPECT_EQ(FindPopup(host.Get()), nullptr);
}

TEST_F(RequestTest, OldVersionRequestShowsThePopUpForFourSecondsAndRestoresTheHost) {
  ShowWindow(host.Get(), SW_MINIMIZE);
  ASSERT_TRUE(IsIconic(host.Get()));
  const ULONGLONG start = GetTickCount64();
  EXPECT_EQ(lib.runToolRequest(host.Get(), 5, 1), 0);
  EXPECT_FALSE(IsIconic(host.Get()));
  HWND popup = FindPopup(host.Get());
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(lib.getImageBits(), nullptr);  // nothing captured
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(popup); }, 6000));
  const ULONGLONG shown = GetTickCount64() - start;
  EXPECT_GE(shown, 3900u);
  EXPECT_LE(shown, 5000u);
  EXPECT_TRUE(notify.Codes().empty());
}

TEST_F(RequestTest, WholeScreenRequestOpensTheViewerOnTheScreenImage) {
  EXPECT_EQ(lib.runToolRequest(host.Get(), 10, 1), 0);
  EXPECT_EQ(notify.Codes(), std::vector<int>{1});
  HWND viewer = FindViewer();
  ASSERT_NE(viewer, nullptr);
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_EQ(wintest::WindowText(viewer),
            kViewerTitlePrefix + L"    " + std::to_wstring(width) + L" x " + std::to_wstring(height));
  EXPECT_EQ(ImageSize().cx, width);
  EXPECT_EQ(ImageSize().cy, height);
  EXPECT_NE(lib.getImageBits(), nullptr);
  EXPECT_EQ(GetWindow(viewer, GW_OWNER), host.Get());
}

TEST_F(RequestTest, RequestsWhileTheViewerIsOpenAreRefused) {
  ASSERT_EQ(lib.runToolRequest(host.Get(), 10, 1), 0);
  void* bits = lib.getImageBits();
  EXPECT_EQ(lib.runToolRequest(host.Get(), 10, 1), 1);
  EXPECT_EQ(notify.Codes(), (std::vector<int>{1, 1}));
  EXPECT_NE(FindPopup(host.Get()), nullptr);
  EXPECT_EQ(lib.getImageBits(), bits);  // the open cycle's image is untouched
  EXPECT_EQ(lib.runToolRequest(host.Get(), 100, 1), 1);
  EXPECT_EQ(notify.Codes().size(), 2u);  // the query sends nothing
}

TEST_F(RequestTest, UnrecognisedTypeCapturesThenFailsWithNotification) {
  EXPECT_EQ(lib.runToolRequest(host.Get(), 16, 1), 2);
  EXPECT_EQ(notify.Codes(), std::vector<int>{1});
  EXPECT_EQ(FindViewer(), nullptr);
  // The failed request ends its capture cycle: nothing is left for the host to read.
  EXPECT_EQ(lib.getImageBits(), nullptr);
  EXPECT_EQ(lib.runToolRequest(host.Get(), 101, 1), 2);
  EXPECT_EQ(lib.runToolRequest(host.Get(), 99, 1), 2);
  EXPECT_EQ(notify.Codes().size(), 3u);
}

TEST_F(RequestTest, OnlyIdentityOneIsNotified) {
  for (int identity : {0, 2, -1}) {
    EXPECT_EQ(lib.runToolRequest(host.Get(), 16, identity), 2);
    ASSERT_EQ(lib.runToolRequest(host.Get(), 10, identity), 0);
    ASSERT_NE(FindViewer(), nullptr);
    SendMessageW(FindViewer(), WM_COMMAND, kCloseViewerCommand, 0);
    EXPECT_TRUE(notify.Codes().empty()) << "identity " << identity;
  }
}

TEST_F(RequestTest, ClosingNotifiesWhileTheImageCanStillBeRead) {
  lib.setHostNotifyWindow(notify.Window(), 1);
  ASSERT_EQ(lib.runToolRequest(host.Get(), 10, 1), 0);
  HWND viewer = FindViewer();
  ASSERT_NE(viewer, nullptr);
  const SIZE opened = ImageSize();
  SIZE readInHandler{};
  bool bitsInHandler = false;
  notify.onNotify = [&](int code) {
    if (code != 3) return;
    readInHandler = ImageSize();
    bitsInHandler = lib.getImageBits() != nullptr;
  };
  ShowWindow(host.Get(), SW_MINIMIZE);
  SendMessageW(viewer, WM_COMMAND, kCloseViewerCommand, 0);
  // The command itself sends notification 3, and so does the closing.
  EXPECT_EQ(notify.Codes(), (std::vector<int>{1, 3, 3}));
  EXPECT_TRUE(bitsInHandler);
  EXPECT_EQ(readInHandler.cx, opened.cx);
  EXPECT_EQ(readInHandler.cy, opened.cy);
  EXPECT_FALSE(IsWindow(viewer));
  EXPECT_EQ(lib.getImageBits(), nullptr);
  EXPECT_EQ(lib.getImageSize(), 0u);
  EXPECT_FALSE(IsIconic(host.Get()));
}

TEST_F(RequestTest, NotificationThreeNeedsTheScopeFlagExactlyOne) {
  lib.setHostNotifyWindow(notify.Window(), 2);
  ASSERT_EQ(lib.runToolRequest(host.Get(), 10, 1), 0);
  SendMessageW(FindViewer(), WM_COMMAND, kCloseViewerCommand, 0);
  EXPECT_EQ(notify.Codes(), std::vector<int>{1});
}

TEST_F(RequestTest, CapturedPixelsMatchThePaintedScreenExactly) {
  const int left = 701;
  const int top = 603;
  wintest::PatternWindow pattern(left, top);
  ASSERT_EQ(lib.runToolRequest(host.Get(), 10, 1), 0);
  const auto* bits = static_cast<const uint8_t*>(lib.getImageBits());
  ASSERT_NE(bits, nullptr);
  const SIZE size = ImageSize();
  EXPECT_EQ(pattern.CountMismatches(bits, ((size.cx * 24 + 31) >> 3) & ~3, size.cy), 0);
}

}  // namespace
