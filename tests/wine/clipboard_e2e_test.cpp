// The clipboard as another program sees it: the copy commands through the real DLL, and a
// second process (clipboard-reader.exe) reading the block back or holding the clipboard.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "win_test_support.h"

namespace {

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

// Runs clipboard-reader with `arguments`; returns its process handle (the caller closes it).
HANDLE StartReader(const std::wstring& arguments) {
  std::wstring command = L"\"" + ProgramFolder() + L"clipboard-reader.exe\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return nullptr;
  CloseHandle(process.hThread);
  return process.hProcess;
}

// The CF_DIB block as another process reads it; empty when it could not.
std::vector<uint8_t> ReadClipboardElsewhere() {
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  const std::wstring file = std::wstring(folder) + L"pictornx-clipboard.bin";
  DeleteFileW(file.c_str());
  HANDLE reader = StartReader(L"read \"" + file + L"\"");
  if (!reader) return {};
  DWORD code = 1;
  if (WaitForSingleObject(reader, 10000) == WAIT_OBJECT_0) GetExitCodeProcess(reader, &code);
  CloseHandle(reader);
  if (code != 0) return {};
  std::ifstream in(file.c_str(), std::ios::binary);  // MinGW's ifstream takes a wide path
  std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  in.close();
  DeleteFileW(file.c_str());
  return bytes;
}

int RowBytes(int width) { return ((width * 24 + 31) >> 3) & ~3; }

class ClipboardThroughTheHost : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(lib.module, nullptr);
    ASSERT_EQ(lib.runToolRequest(host.Get(), 10, 1), 0);
    viewer = wintest::FindProcessWindow(L"#32770", host.Get());
    ASSERT_NE(viewer, nullptr);
  }
  void TearDown() override {
    if (viewer) SendMessageW(viewer, WM_COMMAND, IDM_CLOSE_VIEWER, 0);
  }
  void Command(int id) { SendMessageW(viewer, WM_COMMAND, id, 0); }

  wintest::LoadedLibrary lib;
  wintest::HostWindow host;
  HWND viewer = nullptr;
};

TEST_F(ClipboardThroughTheHost, WholeViewIsOneDibBlockThatAnotherProcessReadsAsTheHostDoes) {
  Command(IDM_ZOOM_25);  // an odd width somewhere is likely; the padding must come out right
  const uint64_t size = lib.getImageSize();
  const int width = static_cast<int>(size & 0xFFFFFFFF);
  const int height = static_cast<int>(size >> 32);
  const int stride = RowBytes(width);
  const DWORD before = GetClipboardSequenceNumber();
  Command(IDM_COPY_WHOLE);
  EXPECT_NE(GetClipboardSequenceNumber(), before);

  const std::vector<uint8_t> block = ReadClipboardElsewhere();
  ASSERT_EQ(block.size(), 40u + static_cast<size_t>(stride) * height);
  BITMAPINFOHEADER header;
  std::memcpy(&header, block.data(), sizeof(header));
  EXPECT_EQ(header.biSize, 40u);
  EXPECT_EQ(header.biWidth, width);
  EXPECT_EQ(header.biHeight, height);
  EXPECT_EQ(header.biPlanes, 1);
  EXPECT_EQ(header.biBitCount, 24);
  EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));
  EXPECT_EQ(header.biSizeImage, static_cast<DWORD>(stride * height));
  EXPECT_EQ(header.biXPelsPerMeter | header.biYPelsPerMeter | header.biClrUsed | header.biClrImportant, 0u);
  const auto* seen = static_cast<const uint8_t*>(lib.getImageBits());
  for (int y = 0; y < height; ++y)
    ASSERT_EQ(std::memcmp(block.data() + 40 + static_cast<size_t>(y) * stride, seen + static_cast<size_t>(y) * stride,
                          width * 3),
              0)
        << "row " << y;
  // The pop-up says so, owned by the viewer.
  EXPECT_TRUE(wintest::PumpUntil(
      [&] { return !wintest::ProcessWindows([&](HWND w) { return GetWindow(w, GW_OWNER) == viewer && IsWindowVisible(w); }).empty(); },
      2000));
}

TEST_F(ClipboardThroughTheHost, AViewLargerThanTheScreenIsRefusedAndABusyClipboardIsLeftAlone) {
  Command(IDM_COPY_WHOLE);  // something of ours is on the clipboard now
  const std::vector<uint8_t> original = ReadClipboardElsewhere();
  ASSERT_FALSE(original.empty());
  const DWORD sequence = GetClipboardSequenceNumber();

  // 150 % of the screen is far above (cx + 50) x (cy + 50).
  Command(IDM_ZOOM_150);
  {
    wintest::MessageBoxWatcher watcher;
    Command(IDM_COPY_WHOLE);
    const wintest::SeenMessageBox box = watcher.Result();
    ASSERT_TRUE(box.seen);
    EXPECT_NE(box.caption.find(L"注意"), std::wstring::npos);
    EXPECT_EQ(box.owner, viewer);
  }
  EXPECT_EQ(GetClipboardSequenceNumber(), sequence);

  // Another program holds the clipboard open: the error box, and the clipboard unchanged.
  Command(IDM_ZOOM_25);
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, L"pictornx-clipboard-ready");
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, L"pictornx-clipboard-release");
  HANDLE holder = StartReader(L"hold pictornx-clipboard-ready pictornx-clipboard-release");
  ASSERT_NE(holder, nullptr);
  ASSERT_EQ(WaitForSingleObject(ready, 10000), WAIT_OBJECT_0);
  {
    wintest::MessageBoxWatcher watcher;
    Command(IDM_COPY_WHOLE);
    const wintest::SeenMessageBox box = watcher.Result();
    ASSERT_TRUE(box.seen);
    EXPECT_NE(box.caption.find(L"エラー"), std::wstring::npos);
  }
  SetEvent(release);
  WaitForSingleObject(holder, 10000);
  for (HANDLE handle : {holder, ready, release}) CloseHandle(handle);
  EXPECT_EQ(GetClipboardSequenceNumber(), sequence);
  EXPECT_EQ(ReadClipboardElsewhere(), original);
}

// The dragged range, through the viewer's mouse messages (the host links as identity 1).

class RangeDrag : public ClipboardThroughTheHost {
 protected:
  void Press(int x, int y) { SendMessageW(viewer, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); }
  void MoveTo(int x, int y) { SendMessageW(viewer, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y)); }
  void Release(int x, int y) { SendMessageW(viewer, WM_LBUTTONUP, 0, MAKELPARAM(x, y)); }
  std::wstring Text(UINT id) {
    wchar_t buffer[256] = {};
    LoadStringW(lib.module, id, buffer, 256);
    return buffer;
  }
  std::wstring Title() { return wintest::WindowText(viewer); }
  bool PopupShown() {
    return !wintest::ProcessWindows([&](HWND w) { return GetWindow(w, GW_OWNER) == viewer && IsWindowVisible(w); })
                .empty();
  }
  bool Checked(int item) {
    return (GetMenuState(GetMenu(viewer), static_cast<UINT>(item), MF_BYCOMMAND) & MF_CHECKED) != 0;
  }
  std::vector<uint8_t> ImageRows() {
    const uint64_t size = lib.getImageSize();
    const size_t bytes = static_cast<size_t>(RowBytes(static_cast<int>(size & 0xFFFFFFFF))) * (size >> 32);
    const auto* bits = static_cast<const uint8_t*>(lib.getImageBits());
    return {bits, bits + bytes};
  }
  int Width() { return static_cast<int>(lib.getImageSize() & 0xFFFFFFFF); }
  int Height() { return static_cast<int>(lib.getImageSize() >> 32); }
};

TEST_F(RangeDrag, ADragTitlesItsSizeLiveAndCopiesThoseRowsAndAnUpLeftDragCopiesNothing) {
  ASSERT_GE(Width(), 120);
  ASSERT_GE(Height(), 70);
  const std::vector<uint8_t> before = ImageRows();
  const int height = Height();
  const int stride = RowBytes(Width());

  // Up-left of the press point: the title says why, the release copies nothing, and
  // the clipboard command stays armed for another try.
  Command(IDM_COPY_RANGE);
  DWORD sequence = GetClipboardSequenceNumber();
  Press(50, 50);
  MoveTo(20, 20);
  EXPECT_EQ(Title(), Text(IDS_HOST_NAME_MURAFEX) + Text(IDS_TITLE_COPY_RANGE_NEGATIVE));
  MoveTo(60, 40);  // right but not below: still no rectangle
  EXPECT_NE(Title().find(Text(IDS_TITLE_COPY_RANGE_NEGATIVE)), std::wstring::npos);
  Release(60, 40);
  EXPECT_EQ(GetClipboardSequenceNumber(), sequence);
  EXPECT_NE(Title().find(L" x "), std::wstring::npos) << "the view size comes back";

  // Still armed: the drag (10, 10) -> (109, 59) is 100 x 50, titled live; moves beyond
  // the image and left of it are no trouble.
  Press(10, 10);
  MoveTo(40, 30);
  EXPECT_EQ(Title(), Text(IDS_HOST_NAME_MURAFEX) + Text(IDS_TITLE_COPY_RANGE) + L"31/Y=21");
  MoveTo(109, 59);
  EXPECT_EQ(Title(), Text(IDS_HOST_NAME_MURAFEX) + Text(IDS_TITLE_COPY_RANGE) + L"100/Y=50");
  MoveTo(30000, 59);  // beyond the image on the right: ignored
  EXPECT_NE(Title().find(L"100/Y=50"), std::wstring::npos);
  Release(109, 59);
  EXPECT_NE(GetClipboardSequenceNumber(), sequence);
  EXPECT_TRUE(wintest::PumpUntil([&] { return PopupShown(); }, 2000));

  const std::vector<uint8_t> block = ReadClipboardElsewhere();
  const int rangeStride = RowBytes(100);
  ASSERT_EQ(block.size(), 40u + static_cast<size_t>(rangeStride) * 50);
  BITMAPINFOHEADER header;
  std::memcpy(&header, block.data(), sizeof(header));
  EXPECT_EQ(header.biWidth, 100);
  EXPECT_EQ(header.biHeight, 50);
  for (int i = 0; i < 50; ++i) {  // bottom-up: block row i is image memory row height - 10 - 50 + i
    const size_t source = static_cast<size_t>(height - 60 + i) * stride + 10 * 3;
    ASSERT_EQ(std::memcmp(block.data() + 40 + static_cast<size_t>(i) * rangeStride, before.data() + source, 300), 0)
        << "row " << i;
  }
  EXPECT_EQ(ImageRows(), before) << "copying leaves the image alone";

  // The range was used: range mode is over and a further drag neither titles nor copies.
  sequence = GetClipboardSequenceNumber();
  Press(10, 10);
  MoveTo(50, 50);
  EXPECT_EQ(Title().find(Text(IDS_TITLE_COPY_RANGE)), std::wstring::npos);
  Release(50, 50);
  EXPECT_EQ(GetClipboardSequenceNumber(), sequence);
}

TEST_F(RangeDrag, ShowRangeMakesTheSmallestDragTheImageAt100PercentAndRightClickCancels) {
  Command(IDM_ZOOM_50);
  Command(IDM_RESAMPLE_AVERAGE);
  const std::vector<uint8_t> before = ImageRows();
  const int stride = RowBytes(Width());
  const int height = Height();

  // A right click in the middle of a drag cancels with its pop-up; the release changes nothing.
  Command(IDM_SHOW_RANGE);
  Press(5, 5);
  MoveTo(40, 40);
  EXPECT_NE(Title().find(Text(IDS_TITLE_SHOW_RANGE) + L"36/Y=36"), std::wstring::npos);
  SendMessageW(viewer, WM_RBUTTONDOWN, MK_RBUTTON | MK_LBUTTON, MAKELPARAM(40, 40));
  EXPECT_TRUE(wintest::PumpUntil([&] { return PopupShown(); }, 2000));
  Release(40, 40);
  EXPECT_EQ(ImageRows(), before);
  EXPECT_NE(Title().find(L" x "), std::wstring::npos);

  // The smallest rectangle a drag makes, 2 x 2, becomes the image at 100 % with mode 0.
  Command(IDM_SHOW_RANGE);
  Press(5, 7);
  MoveTo(6, 8);
  Release(6, 8);
  ASSERT_EQ(Width(), 2);
  ASSERT_EQ(Height(), 2);
  EXPECT_TRUE(Checked(IDM_ZOOM_100));
  EXPECT_TRUE(Checked(IDM_RESAMPLE_NONE));
  EXPECT_NE(Title().find(L"2 x 2"), std::wstring::npos);
  const std::vector<uint8_t> now = ImageRows();
  for (int i = 0; i < 2; ++i)  // image rows 7 and 8 from the top, columns 5 and 6
    EXPECT_EQ(std::memcmp(now.data() + static_cast<size_t>(i) * RowBytes(2),
                          before.data() + static_cast<size_t>(height - 9 + i) * stride + 5 * 3, 6),
              0)
        << "row " << i;
}

TEST_F(RangeDrag, SaveRangeEndsOnAClickWithoutADragAndSelectionCyclesLeakNoGdiObjects) {
  Command(IDM_SAVE_RANGE);
  Press(20, 20);
  Release(20, 20);
  Press(20, 20);
  MoveTo(60, 60);
  EXPECT_EQ(Title().find(L"/Y="), std::wstring::npos) << "file mode ended with the click";
  Release(60, 60);

  // Rubber band drawn and erased, titles, inspector fed, measurement begun and ended.
  auto cycle = [&] {
    Command(IDM_COPY_RANGE);
    Press(10, 10);
    for (int step = 1; step <= 4; ++step) MoveTo(10 + step * 20, 10 + step * 10);
    MoveTo(5, 5);
    Release(5, 5);
    wintest::PumpPending();
  };
  cycle();
  const int gdi = wintest::CountGdiObjects();
  const char* soak = std::getenv("PICTORNX_SOAK_CYCLES");
  const int cycles = soak ? std::atoi(soak) : 100;
  for (int i = 0; i < cycles; ++i) cycle();
  EXPECT_EQ(wintest::CountGdiObjects(), gdi);
}

}  // namespace
