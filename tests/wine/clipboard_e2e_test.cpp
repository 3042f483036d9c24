// The clipboard as another program sees it: the copy commands through the real DLL, and a
// second process (clipboard-reader.exe) reading the block back or holding the clipboard.
#include <windows.h>

#include <gtest/gtest.h>

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

}  // namespace
