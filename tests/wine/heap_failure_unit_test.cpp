// Memory failing in the paths a user meets first: each heap allocation the library's code
// makes in the capture request, the zoom commands, the JPEG preview's refresh and the
// clipboard copy fails in turn. Each ends in the memory box or the path's own refusal with
// the host running, holds no GDI object more afterwards, and the path then works again.
#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <string>

#include "heap_seam.h"
#include "host/exports.h"
#include "imagestore/image_buffers.h"
#include "jpegpreview/jpeg_preview.h"
#include "open_test_support.h"
#include "res_string.h"
#include "resources/resource_ids.h"
#include "ui/host_link.h"
#include "ui/popup.h"
#include "viewer/viewer.h"
#include "win_test_support.h"

namespace pictornx {
namespace {

void Command(int id) { SendMessageW(ViewerWindow(), WM_COMMAND, id, 0); }

// A 240 x 150 picture in the viewer, as a capture leaves it: small, so every path is quick.
constexpr int kWidth = 240, kHeight = 150;
void SmallPicture(HWND host) {
  ASSERT_TRUE(CaptureScreen());
  Images().screenImage.SetSize(kWidth, kHeight);
  const ImageView view = Images().screenImage.View();
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth * 3; ++x) view.Row(y)[x] = static_cast<uint8_t>(x * 7 ^ y * 3);
  Images().sourceSize = {kWidth, kHeight};
  LinkHost(host, 1);
  ASSERT_EQ(OpenViewer(host), kViewerOpened);
}

// Each path: what it starts from, and the path itself, 0 when it did its work.
struct Flow {
  const char* name;
  void (*prepare)(HWND host);
  int (*run)(HWND host);
};
const Flow kFlows[] = {
    {"request 10", [](HWND) {},
     [](HWND host) {
       const bool opened = RunToolRequest(host, 10, 1) == 0 && ViewerWindow();
       if (ViewerWindow()) Command(IDM_CLOSE_VIEWER);
       return opened ? 0 : 1;
     }},
    // The averaging modes are the ones that need working rows.
    {"zoom commands", SmallPicture,
     [](HWND) {
       for (int id : {IDM_RESAMPLE_AVERAGE, IDM_ZOOM_50, IDM_RESAMPLE_AVERAGE_SHARPEN, IDM_ZOOM_75}) Command(id);
       const int width = static_cast<int>(GetImageSize() & 0xFFFFFFFF);
       Command(IDM_ZOOM_100);
       return width == kWidth * 3 / 4 ? 0 : 1;
     }},
    {"JPEG preview refresh",
     [](HWND host) {
       SmallPicture(host);
       Command(IDM_JPEG_PREVIEW);
     },
     [](HWND) { return RefreshJpegPreview(); }},
    {"clipboard copy", SmallPicture,
     [](HWND) {
       Command(IDM_COPY_WHOLE);
       const bool copied = OpenClipboard(nullptr) && IsClipboardFormatAvailable(CF_DIB);
       EmptyClipboard();
       CloseClipboard();
       return copied ? 0 : 1;
     }},
};

class HeapFailure : public ::testing::TestWithParam<Flow> {
 protected:
  void SetUp() override {
    wintest::InitCommonControlsForHost();
    SetHostNotifyWindow(notify.Window(), 1);
    ShowMemoryError(host.Get());  // the first box makes objects Wine keeps (docs/wine.md)
  }
  void TearDown() override {
    heapseam::FailAt(-1);
    if (ViewerWindow()) Command(IDM_CLOSE_VIEWER);
  }

  wintest::HostWindow host;
  wintest::NotifyRecorder notify;
  wintest::ModalAnswerer answerer;
};

TEST_P(HeapFailure, EachAllocationFailsIntoTheMemoryBoxOrARefusalAndThePathWorksAgain) {
  const Flow& flow = GetParam();
  ASSERT_NO_FATAL_FAILURE(flow.prepare(host.Get()));
  // Two clean runs: the second counts the path's allocations.
  ASSERT_EQ(flow.run(host.Get()), 0);
  const int64_t from = heapseam::Requested();
  ASSERT_EQ(flow.run(host.Get()), 0);
  const int64_t points = heapseam::Requested() - from;
  const std::wstring memoryText = LoadResString(IDS_MEMORY_ERROR);
  int boxes = 0, refusals = 0, unaffected = 0;
  int gdi = -1;  // after the first failure, which may leave objects Wine keeps for good
  for (int64_t k = 0; k < points; ++k) {
    SCOPED_TRACE(std::string(flow.name) + ", allocation " + std::to_string(k + 1) + " of " + std::to_string(points));
    const int boxesBefore = answerer.messageBoxesDismissed;
    heapseam::FailAt(heapseam::Requested() + k);
    const int result = flow.run(host.Get());
    heapseam::FailAt(-1);
    if (answerer.messageBoxesDismissed > boxesBefore && answerer.lastBoxText == memoryText)
      ++boxes;
    else if (result != 0 || PopupWindow())
      ++refusals;
    else
      ++unaffected;  // the allocation had a fallback
    ClosePopup();
    wintest::PumpPending();
    if (gdi < 0) gdi = wintest::CountGdiObjects();
    EXPECT_LE(wintest::CountGdiObjects(), gdi);
    EXPECT_EQ(flow.run(host.Get()), 0) << "the path did not work again";
  }
  std::printf("%s: %lld allocations; memory box %d, refusal %d, no effect %d\n", flow.name,
              static_cast<long long>(points), boxes, refusals, unaffected);
}

INSTANTIATE_TEST_SUITE_P(Paths, HeapFailure, ::testing::ValuesIn(kFlows), [](const auto& param) {
  std::string name = param.param.name;
  for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return name;
});

}  // namespace
}  // namespace pictornx
