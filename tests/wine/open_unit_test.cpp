// The opener inside the library: the message each failure shows, ScreenImage kept until a
// picture is complete, and the names left for the save dialog.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "files/file_names.h"
#include "files/open_request.h"
#include "ui/host_link.h"
#include "imagestore/image_buffers.h"
#include "open_test_support.h"
#include "resources/resource_ids.h"
#include "ui/popup.h"
#include "viewer/viewer.h"
#include "res_string.h"
#include "win/module.h"
#include "win_test_support.h"

namespace pictornx {
namespace {

std::wstring Fixture(const wchar_t* name) { return wintest::ProgramFolder() + L"open_fixtures\\" + name; }

std::vector<uint8_t> ReadAll(const std::wstring& path) {
  std::vector<uint8_t> bytes;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  bytes.resize(GetFileSize(file, nullptr));
  DWORD read = 0;
  ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  return bytes;
}

void CloseViewer() {
  if (HWND viewer = ViewerWindow()) SendMessageW(viewer, WM_COMMAND, 32793, 0);
}

class OpenUnitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetModuleInstance(GetModuleHandleW(nullptr));
    ASSERT_TRUE(Images().screenImage.Create(8, 8));
    Images().sourceSize = {8, 8};
  }
  void TearDown() override {
    ClosePopup();
    Images().screenImage.Free();
  }
  wintest::HostWindow host;
  wintest::TempFolder folder;
};

TEST_F(OpenUnitTest, EachFailureShowsItsMessageAndKeepsScreenImage) {
  std::vector<uint8_t> png = ReadAll(Fixture(L"logo.png"));
  ASSERT_GT(png.size(), 100u);
  png.resize(png.size() - 60);  // cut inside the image data: libpng fails after allocating
  std::vector<uint8_t> garbage(64, 0x5A);
  // A placeable metafile of 1 x 1 units at 2540 units per inch: 1 HIMETRIC, under half a pixel.
  const WORD header[10] = {0xCDD7, 0x9AC6, 0, 0, 0, 1, 1, 2540, 0, 0};
  WORD sum = 0;
  for (WORD word : header) sum ^= word;
  std::vector<uint8_t> wmf(reinterpret_cast<const uint8_t*>(header), reinterpret_cast<const uint8_t*>(header) + 20);
  wmf.push_back(static_cast<uint8_t>(sum));
  wmf.push_back(static_cast<uint8_t>(sum >> 8));
  const WORD records[] = {1, 9, 0x300, 12, 0, 0, 0, 0, 0, 3, 0, 0};  // header record, then the end record
  wmf.insert(wmf.end(), reinterpret_cast<const uint8_t*>(records), reinterpret_cast<const uint8_t*>(records) + 24);
  const struct {
    std::wstring path;
    UINT line1, line2;
  } cases[] = {
      {folder.Path() + L"missing.gif", IDS_CANNOT_OPEN_IMAGE, IDS_FILE_MISSING_OR_BAD},
      {Fixture(L"notgif.gif"), IDS_THE_IMAGE, IDS_NOT_A_GIF},
      {Fixture(L"notrailer.gif"), IDS_THE_IMAGE, IDS_CANNOT_BE_READ},
      {folder.Write(L"cut.png", png.data(), png.size()), IDS_CANNOT_OPEN_IMAGE, IDS_EXTENSION_CONTENT_MISMATCH},
      {folder.Write(L"noise.emf", garbage.data(), garbage.size()), IDS_CANNOT_OPEN_IMAGE, IDS_EXTENSION_CONTENT_MISMATCH},
      {folder.Write(L"small.wmf", wmf.data(), wmf.size()), IDS_IMAGE_UNREADABLE, IDS_MAYBE_TOO_SMALL},
  };
  HBITMAP screen = Images().screenImage.Bitmap();
  for (const auto& c : cases) {
    SCOPED_TRACE(wintest::Utf8(c.path));
    ClosePopup();
    EXPECT_EQ(ReadImageFile(host.Get(), c.path.c_str()), -1);
    EXPECT_NE(PopupWindow(), nullptr);
    EXPECT_EQ(GetWindow(PopupWindow(), GW_OWNER), host.Get());
    EXPECT_EQ(std::wstring(PopupLine1()), LoadResString(c.line1));
    EXPECT_EQ(std::wstring(PopupLine2()), LoadResString(c.line2));
    EXPECT_EQ(Images().screenImage.Bitmap(), screen);
    EXPECT_EQ(Images().sourceSize.cx, 8);
  }
}

TEST_F(OpenUnitTest, OversizedPicturesGetTheMemoryBoxAndKeepScreenImage) {
  std::vector<uint8_t> gif = ReadAll(Fixture(L"screen.gif"));
  ASSERT_GT(gif.size(), 10u);
  gif[6] = gif[7] = gif[8] = gif[9] = 0xFF;  // a 65535 x 65535 logical screen
  std::vector<uint8_t> bmp = ReadAll(Fixture(L"base.bmp"));
  const int32_t side = 100000;
  memcpy(&bmp[18], &side, 4);
  memcpy(&bmp[22], &side, 4);
  HBITMAP screen = Images().screenImage.Bitmap();
  for (const std::wstring& path : {folder.Write(L"giant.gif", gif.data(), gif.size()),
                                   folder.Write(L"giant.bmp", bmp.data(), bmp.size())}) {
    wintest::MessageBoxWatcher watcher;
    EXPECT_EQ(ReadImageFile(host.Get(), path.c_str()), -1);
    EXPECT_TRUE(watcher.Result().seen) << wintest::Utf8(path);
    EXPECT_EQ(Images().screenImage.Bitmap(), screen);
  }
}

TEST_F(OpenUnitTest, NamesLeftForSaving) {
  const std::vector<uint8_t> jpeg = ReadAll(Fixture(L"photo.JPEG"));
  const std::vector<uint8_t> png = ReadAll(Fixture(L"logo.png"));
  const std::vector<uint8_t> bmp = ReadAll(Fixture(L"base.bmp"));
  FileNames& names = Names();
  names = FileNames{};
  const struct {
    std::wstring path;
    const wchar_t* title;
    const wchar_t* pathAfter;
    int filter;
  } cases[] = {
      {folder.Write(L"photo.JPEG", jpeg.data(), jpeg.size()), L"photo.jpg", L"photo.jpg", 2},
      {folder.Write(L"logo.png", png.data(), png.size()), L"logo", L"logo", 1},
      {folder.Write(L"shot.bmp", bmp.data(), bmp.size()), L"shot.bmp", L"shot.bmp", 1},
      {folder.Write(L"ab", bmp.data(), bmp.size()), L"ab", L"ab", 1},
  };
  wintest::ModalAnswerer answerer;
  for (const auto& c : cases) {
    SCOPED_TRACE(wintest::Utf8(c.path));
    answerer.Answer(c.path);
    ASSERT_TRUE(CaptureScreen());
    ASSERT_EQ(OpenFileRequest(host.Get()), 0);
    EXPECT_EQ(std::wstring(names.lastFileTitle), c.title);
    EXPECT_EQ(std::wstring(names.openPath), folder.Path() + c.pathAfter);
    EXPECT_EQ(names.lastFilterIndex, c.filter);
    EXPECT_EQ(std::wstring(names.lastSaveDir), folder.Path());
    EXPECT_NE(answerer.lastDialogOwner, nullptr);
    EXPECT_FALSE(IsWindow(answerer.lastDialogOwner));  // the hidden owner lives only with the dialog
    CloseViewer();
  }
  // A folder already chosen for saving is kept.
  wcscpy(names.lastSaveDir, L"D:\\saved\\");
  answerer.Answer(cases[1].path);
  ASSERT_TRUE(CaptureScreen());
  ASSERT_EQ(OpenFileRequest(host.Get()), 0);
  EXPECT_EQ(std::wstring(names.lastSaveDir), L"D:\\saved\\");
  CloseViewer();
}

}  // namespace
}  // namespace pictornx

namespace pictornx {
namespace {

// The broken files the request loop in open_e2e_test.cpp sends through the dialog, here
// in bulk straight through the readers: cuts, bit flips and overwritten header bytes of
// every kind, each kind checked for GDI objects left behind. PICTORNX_OPEN_ROUNDS sets the
// files per kind (30 by default).
TEST_F(OpenUnitTest, BrokenFilesOfEveryKindLeakNoGdiObject) {
  const char* rounds = std::getenv("PICTORNX_OPEN_ROUNDS");
  const int perKind = rounds ? std::atoi(rounds) : 30;
  const struct {
    std::vector<uint8_t> bytes;
    const wchar_t* name;
  } seeds[] = {
      {wintest::EmfBytes(), L"x.emf"}, {wintest::PlaceableWmfBytes(), L"x.wmf"},
      {ReadAll(Fixture(L"producer\\bitmap8.emf")), L"x.emf"}, {ReadAll(Fixture(L"producer\\text.wmf")), L"x.wmf"},
      {ReadAll(Fixture(L"base.bmp")), L"x.bmp"},   {ReadAll(Fixture(L"rle.bmp")), L"x.bmp"},
      {ReadAll(Fixture(L"photo.JPEG")), L"x.jpg"}, {ReadAll(Fixture(L"logo.png")), L"x.png"},
      {ReadAll(Fixture(L"screen.gif")), L"x.gif"}, {ReadAll(Fixture(L"icon.ico")), L"x.ico"},
      {ReadAll(Fixture(L"cursor.cur")), L"x.cur"}, {ReadAll(Fixture(L"logo.png")), L"x.xyz"},
  };
  uint32_t state = 977;
  auto next = [&] { return state = state * 1103515245u + 12345u, state >> 8; };
  for (const auto& seed : seeds) {
    ASSERT_GT(seed.bytes.size(), 40u);
    // One good read first, so objects a reader creates once are not counted.
    const std::wstring good = folder.Write(std::wstring(L"good-") + seed.name, seed.bytes.data(), seed.bytes.size());
    ASSERT_EQ(ReadImageFile(host.Get(), good.c_str()), 0) << wintest::Utf8(seed.name);
    ReadImageFile(host.Get(), Fixture(L"notgif.gif").c_str());  // the pop-up's first showing
    ClosePopup();
    {
      wintest::ModalAnswerer boxes;  // the memory box's first showing
      std::vector<uint8_t> giant = ReadAll(Fixture(L"screen.gif"));
      giant[6] = giant[7] = giant[8] = giant[9] = 0xFF;
      ReadImageFile(host.Get(), folder.Write(L"giant.gif", giant.data(), giant.size()).c_str());
    }
    const int before = wintest::CountGdiObjects();
    int read = 0;
    for (int i = 0; i < perKind; ++i) {
      std::vector<uint8_t> bytes = seed.bytes;
      switch (i % 3) {
        case 0:
          bytes.resize(next() % bytes.size());
          break;
        case 1:
          for (int flips = 1 + next() % 8; flips > 0; --flips) bytes[next() % bytes.size()] ^= 1 << (next() % 8);
          break;
        default:
          for (int hits = 1 + next() % 4; hits > 0; --hits) bytes[next() % 40] = static_cast<uint8_t>(next());
          break;
      }
      const std::wstring path = folder.Write(seed.name, bytes.data(), bytes.size());
      wintest::ModalAnswerer boxes;  // a header may claim a giant size: the memory box
      if (ReadImageFile(host.Get(), path.c_str()) == 0) {
        ++read;
        EXPECT_GT(Images().sourceSize.cx, 0);
        EXPECT_EQ(Images().screenImage.Width(), Images().sourceSize.cx);
      }
      ClosePopup();
    }
    // Wine's metafile player can leave objects a broken metafile created (docs/wine.md).
    const bool metafile = std::wstring(seed.name).ends_with(L"mf");
    if (!(metafile && wintest::RunningUnderWine())) {
      EXPECT_EQ(wintest::CountGdiObjects(), before) << wintest::Utf8(seed.name) << ", " << read << " read";
    }
  }
}

}  // namespace
}  // namespace pictornx
