// Saving the whole view from the viewer's menu as a host's user does, and the temporary
// file command: the file holds exactly the image the host reads back.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "file_dialog_driver.h"
#include "resources/resource_ids.h"
#include "win_test_support.h"

namespace {

std::vector<uint8_t> ReadBytes(const std::wstring& path) {
  std::vector<uint8_t> bytes;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  bytes.resize(GetFileSize(file, nullptr));
  DWORD read = 0;
  if (!bytes.empty()) ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  bytes.resize(read);
  CloseHandle(file);
  return bytes;
}

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

std::wstring TempFolder() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  return temp;
}

class SaveE2eTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wintest::InitCommonControlsForHost();
    ASSERT_NE(lib.module, nullptr);
    ASSERT_EQ(lib.runToolRequest(host.Get(), 10, 1), 0);
    viewer = wintest::FindProcessWindow(L"#32770", host.Get());
    ASSERT_NE(viewer, nullptr);
  }
  void TearDown() override {
    if (IsWindow(viewer)) SendMessageW(viewer, WM_COMMAND, IDM_CLOSE_VIEWER, 0);
  }

  wintest::LoadedLibrary lib;
  wintest::PatternWindow pattern{300, 200};
  wintest::HostWindow host;
  HWND viewer = nullptr;
};

TEST_F(SaveE2eTest, WholeViewSavesAsTheBmpTheHostReadsBack) {
  const std::wstring path = TempFolder() + L"pnx-e2e-" + std::to_wstring(GetCurrentProcessId());
  DeleteFileW((path + L".bmp").c_str());
  {
    wintest::FileDialogDriver driver({wintest::FileDialogDriver::Type(path)});
    SendMessageW(viewer, WM_COMMAND, IDM_SAVE_WHOLE, 0);
    ASSERT_TRUE(driver.Result()[0].seen);
  }
  const uint64_t size = lib.getImageSize();
  const int width = static_cast<int>(size & 0xFFFFFFFF);
  const int height = static_cast<int>(size >> 32);
  const size_t s = static_cast<size_t>(((width * 24 + 31) >> 3) & ~3) * height;
  const std::vector<uint8_t> file = ReadBytes(path + L".bmp");
  DeleteFileW((path + L".bmp").c_str());
  ASSERT_EQ(file.size(), 54 + s);
  EXPECT_EQ(U32(file, 2), 54 + s);
  EXPECT_EQ(static_cast<int>(U32(file, 18)), width);
  EXPECT_EQ(static_cast<int>(U32(file, 22)), height);
  EXPECT_EQ(U32(file, 34), s);
  EXPECT_EQ(std::memcmp(file.data() + 54, lib.getImageBits(), s), 0);
  // The saved-size pop-up shows over the viewer.
  EXPECT_TRUE(wintest::PumpUntil([&] {
    return !wintest::ProcessWindows([&](HWND w) {
              return IsWindowVisible(w) && GetWindow(w, GW_OWNER) == viewer && wintest::WindowText(w).empty();
            }).empty();
  }, 2000));
}

TEST_F(SaveE2eTest, TemporaryFileCommandLeavesAnEmptyGif) {
  const std::wstring gif = TempFolder() + L"tmppictr.gif";
  DeleteFileW(gif.c_str());
  SendMessageW(viewer, WM_COMMAND, IDM_TEMP_FILE, 0);
  EXPECT_NE(GetFileAttributesW(gif.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(ReadBytes(gif).empty());
  DeleteFileW(gif.c_str());
}

}  // namespace
