// The JPEG preview's failure paths with the shell linked in: a refresh that fails keeps
// what the window showed and never leaves the temporary file; an opening that fails says
// why and leaves no window.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/exports.h"
#include "imagestore/image_buffers.h"
#include "jpegpreview/jpeg_preview.h"
#include "resources/resource_ids.h"
#include "ui/host_link.h"
#include "viewer/viewer.h"
#include "win/dib.h"
#include "res_string.h"
#include "win/module.h"
#include "win_test_support.h"

namespace pictornx {
namespace {

std::wstring TempJpeg() {
  wchar_t temp[MAX_PATH + 1];
  GetTempPathW(MAX_PATH + 1, temp);
  return std::wstring(temp) + L"pictrnck.jpg";
}
bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The view's pixels as the window shows them now.
std::vector<COLORREF> ViewPixels(HWND preview) {
  HWND view = GetDlgItem(preview, IDC_PREVIEW_VIEW);
  std::vector<COLORREF> pixels;
  HDC dc = GetDC(view);
  for (int y = 0; y < 100; y += 9)
    for (int x = 0; x < 200; x += 13) pixels.push_back(GetPixel(dc, x, y));
  ReleaseDC(view, dc);
  return pixels;
}

// Restores an environment variable at the end of a test.
class EnvironmentOverride {
 public:
  EnvironmentOverride(const wchar_t* name, const std::wstring& value) : name_(name) {
    wchar_t old[4096];
    const DWORD length = GetEnvironmentVariableW(name, old, 4096);
    had_ = length > 0 && length < 4096;
    if (had_) old_ = old;
    SetEnvironmentVariableW(name, value.c_str());
  }
  ~EnvironmentOverride() { SetEnvironmentVariableW(name_, had_ ? old_.c_str() : nullptr); }

 private:
  const wchar_t* name_;
  std::wstring old_;
  bool had_ = false;
};

class JpegPreviewUnitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wintest::InitCommonControlsForHost();
    SetHostNotifyWindow(notify.Window(), 1);
    ASSERT_TRUE(CaptureScreen());
    ImageBuffersState& images = Images();
    images.screenImage.SetSize(240, 150);
    const ImageView view = images.screenImage.View();
    for (int y = 0; y < view.height; ++y)
      for (int x = 0; x < view.width; ++x) {
        uint8_t* p = view.TopRow(y) + 3 * x;
        p[0] = static_cast<uint8_t>(x * 7 ^ y * 3), p[1] = static_cast<uint8_t>(y * 5), p[2] = static_cast<uint8_t>(x);
      }
    images.sourceSize = {240, 150};
    LinkHost(host.Get(), 1);
    ASSERT_EQ(OpenViewer(host.Get()), kViewerOpened);
    viewer = ViewerWindow();
    DeleteFileW(TempJpeg().c_str());
  }
  void TearDown() override {
    testing::FailDibSectionsAfter(-1);
    if (HWND v = ViewerWindow()) SendMessageW(v, WM_CLOSE, 0, 0);
  }

  wintest::HostWindow host;
  wintest::NotifyRecorder notify;
  HWND viewer = nullptr;
};

TEST_F(JpegPreviewUnitTest, AFailedRefreshKeepsWhatTheWindowShowedAndRemovesTheFile) {
  SendMessageW(viewer, WM_COMMAND, IDM_JPEG_PREVIEW, 0);
  HWND preview = JpegPreviewWindow();
  ASSERT_NE(preview, nullptr);
  ASSERT_TRUE(wintest::PumpUntilPainted(preview));
  const std::vector<COLORREF> before = ViewPixels(preview);

  // No memory for the decoded picture: the file was written, and is gone again.
  testing::FailDibSectionsAfter(0);
  EXPECT_EQ(RefreshJpegPreview(), kRefreshNoMemory);
  testing::FailDibSectionsAfter(-1);
  EXPECT_FALSE(FileExists(TempJpeg()));
  // Room for the picture but not for its difference image.
  testing::FailDibSectionsAfter(1);
  EXPECT_EQ(RefreshJpegPreview(), kRefreshNoMemory);
  testing::FailDibSectionsAfter(-1);
  EXPECT_FALSE(FileExists(TempJpeg()));
  {
    // A temporary folder that does not exist: the writer fails.
    EnvironmentOverride tmp(L"TMP", L"C:\\pictornx-missing-folder\\");
    EnvironmentOverride temp(L"TEMP", L"C:\\pictornx-missing-folder\\");
    EXPECT_EQ(RefreshJpegPreview(), kRefreshWriteFailed);
  }
  ASSERT_TRUE(wintest::PumpUntilPainted(preview));
  EXPECT_EQ(ViewPixels(preview), before);
  EXPECT_TRUE(IsWindow(preview));
  // The difference views still read the last good images.
  SendMessageW(preview, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(650, 128));
  SendMessageW(preview, WM_LBUTTONUP, 0, MAKELPARAM(650, 128));
  ASSERT_TRUE(wintest::PumpUntilPainted(preview));
  EXPECT_NE(ViewPixels(preview), before);
  EXPECT_EQ(RefreshJpegPreview(), kRefreshDone);
  EXPECT_FALSE(FileExists(TempJpeg()));
}

TEST_F(JpegPreviewUnitTest, OpeningWithoutATemporaryFolderSaysSoAndLeavesNoWindow) {
  const std::wstring tooLong = L"C:\\" + std::wstring(300, L'x') + L"\\";
  EnvironmentOverride tmp(L"TMP", tooLong);
  EnvironmentOverride temp(L"TEMP", tooLong);
  EnvironmentOverride profile(L"USERPROFILE", tooLong);
  wintest::MessageBoxWatcher watcher;
  SendMessageW(viewer, WM_COMMAND, IDM_JPEG_PREVIEW, 0);
  const wintest::SeenMessageBox box = watcher.Result();
  EXPECT_TRUE(box.seen);
  EXPECT_EQ(box.text, LoadResString(IDS_PREVIEW_NOT_WRITABLE));
  EXPECT_EQ(JpegPreviewWindow(), nullptr);
  EXPECT_FALSE(GetMenuState(GetMenu(viewer), 1, MF_BYPOSITION) & MF_GRAYED);
}

TEST_F(JpegPreviewUnitTest, OpeningWithoutMemoryShowsTheMemoryBoxAndLeavesNoWindow) {
  // Each DIB section of the opening in turn fails.
  for (int successes = 0; successes < 6; ++successes) {
    SCOPED_TRACE(successes);
    wintest::MessageBoxWatcher watcher(3000);
    testing::FailDibSectionsAfter(successes);
    SendMessageW(viewer, WM_COMMAND, IDM_JPEG_PREVIEW, 0);
    testing::FailDibSectionsAfter(-1);
    const bool opened = JpegPreviewWindow() != nullptr;
    if (opened) {
      SendMessageW(JpegPreviewWindow(), WM_CLOSE, 0, 0);
      break;
    }
    EXPECT_TRUE(watcher.Result().seen);
    EXPECT_FALSE(FileExists(TempJpeg()));
    EXPECT_FALSE(GetMenuState(GetMenu(viewer), 1, MF_BYPOSITION) & MF_GRAYED);
  }
}

}  // namespace
}  // namespace pictornx
