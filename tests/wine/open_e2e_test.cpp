// Request 15 as a host meets it: the open dialog answered by the test, every kind of file
// shown at its size with its pixels, the failures that end the request, and a loop of
// broken files in one process.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "open_test_support.h"
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

HWND FindPopup(HWND owner) {
  const auto found = wintest::ProcessWindows([&](HWND window) {
    return IsWindowVisible(window) && wintest::WindowClass(window) == L"#32770" && GetWindow(window, GW_OWNER) == owner &&
           wintest::WindowText(window).empty();
  });
  return found.empty() ? nullptr : found.front();
}

std::vector<uint8_t> ReadFixture(const std::wstring& name) {
  std::vector<uint8_t> bytes;
  HANDLE file = CreateFileW((wintest::ProgramFolder() + L"open_fixtures\\" + name).c_str(), GENERIC_READ,
                            FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  bytes.resize(GetFileSize(file, nullptr));
  DWORD read = 0;
  ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  bytes.resize(read);
  return bytes;
}

// base.bmp with its rows stored top row first (a negative height).
std::vector<uint8_t> TopDownBmp() {
  std::vector<uint8_t> bytes = ReadFixture(L"base.bmp");
  if (bytes.size() < 54) return bytes;
  int32_t width, height;
  memcpy(&width, &bytes[18], 4);
  memcpy(&height, &bytes[22], 4);
  const size_t row = ((width * 3 + 3) / 4) * 4;
  std::vector<uint8_t> flipped(bytes.begin(), bytes.begin() + 54);
  for (int y = height - 1; y >= 0; --y)
    flipped.insert(flipped.end(), bytes.begin() + 54 + y * row, bytes.begin() + 54 + (y + 1) * row);
  const int32_t negative = -height;
  memcpy(&flipped[22], &negative, 4);
  return flipped;
}

struct Rgb {
  int r, g, b;
};

class OpenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wintest::InitCommonControlsForHost();
    ASSERT_NE(lib.module, nullptr);
    lib.setHostNotifyWindow(notify.Window(), 0);
  }
  void TearDown() override { CloseViewerAndPopup(); }

  void CloseViewerAndPopup() {
    if (HWND viewer = FindViewer()) SendMessageW(viewer, WM_COMMAND, kCloseViewerCommand, 0);
    if (HWND popup = FindPopup(host.Get())) SendMessageW(popup, WM_CLOSE, 0, 0);
    wintest::PumpPending();
  }

  // Request 15 with the dialog answered by `path` (empty: cancelled).
  int Open(const std::wstring& path) {
    notify.Clear();
    answerer.Answer(path);
    return lib.runToolRequest(host.Get(), 15, 1);
  }

  SIZE ImageSize() const {
    const uint64_t size = lib.getImageSize();
    return {static_cast<LONG>(size & 0xFFFFFFFF), static_cast<LONG>(size >> 32)};
  }
  // The pixel at (x, y) from the top-left of the image on display.
  Rgb Pixel(int x, int y) const {
    const SIZE size = ImageSize();
    const auto* bits = static_cast<const uint8_t*>(lib.getImageBits());
    const size_t row = ((size.cx * 3 + 3) / 4) * 4;
    const uint8_t* p = bits + (size.cy - 1 - y) * row + x * 3;
    return {p[2], p[1], p[0]};
  }

  LoadedLibrary lib;
  wintest::HostWindow host;
  wintest::NotifyRecorder notify;
  wintest::ModalAnswerer answerer;
  wintest::TempFolder folder;
};

struct Probe {
  int x, y;
  Rgb colour;
};

TEST_F(OpenTest, EveryKindOpensAtItsSizeWithItsPixels) {
  const Rgb red{255, 0, 0}, green{0, 255, 0}, blue{0, 0, 255}, cyan{0, 255, 255}, magenta{255, 0, 255};
  const std::vector<Probe> quadrants = {{10, 10, red}, {100, 10, blue}, {10, 50, green}, {100, 50, red}};
  const auto topDown = TopDownBmp();
  const auto emf = wintest::EmfBytes();
  const auto wmf = wintest::PlaceableWmfBytes();
  const auto base = ReadFixture(L"base.bmp");
  const std::wstring fixtures = wintest::ProgramFolder() + L"open_fixtures\\";
  const struct {
    std::wstring path;
    int width, height;
    std::vector<Probe> probes;
    bool grey;
  } cases[] = {
      {fixtures + L"base.bmp", 127, 64, quadrants, false},
      {fixtures + L"rle.bmp", 127, 64, quadrants, false},  // the general reader, at its true size
      {folder.Write(L"topdown.bmp", topDown.data(), topDown.size()), 127, 64, quadrants, false},
      {fixtures + L"photo.JPEG", 127, 64, {}, true},
      {fixtures + L"pngnamed.jpg", 127, 64, quadrants, false},  // libjpeg refuses it, the general reader reads it
      {fixtures + L"logo.png", 127, 64, {{10, 10, red}, {100, 10, cyan}, {10, 50, green}, {100, 50, cyan}}, false},
      {fixtures + L"screen.gif", 40, 30, {{0, 0, magenta}, {39, 29, magenta}}, false},
      {fixtures + L"one.gif", 1, 1, {{0, 0, magenta}}, false},
      {fixtures + L"icon.ico", 32, 32, {{5, 5, blue}}, false},
      {fixtures + L"cursor.cur", 32, 32, {{5, 5, blue}}, false},
      {folder.Write(L"drawing.emf", emf.data(), emf.size()), 100, 50, {{10, 25, red}, {90, 25, blue}}, false},
      {folder.Write(L"drawing.wmf", wmf.data(), wmf.size()), 100, 50, {{10, 25, red}, {90, 25, blue}}, false},
      {folder.Write(L"\u65E5\u672C\u8A9E\u306E\u540D\u524D.bmp", base.data(), base.size()), 127, 64, quadrants, false},
      {folder.Write(L"ab", base.data(), base.size()), 127, 64, quadrants, false},  // no extension at all
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(wintest::Utf8(c.path));
    ASSERT_EQ(Open(c.path), 0);
    EXPECT_EQ(notify.Codes(), std::vector<int>{1});
    EXPECT_NE(FindViewer(), nullptr);
    EXPECT_EQ(FindPopup(host.Get()), nullptr);
    ASSERT_EQ(ImageSize().cx, c.width);
    ASSERT_EQ(ImageSize().cy, c.height);
    for (const Probe& probe : c.probes) {
      const Rgb seen = Pixel(probe.x, probe.y);
      EXPECT_NEAR(seen.r, probe.colour.r, 2) << probe.x << "," << probe.y;
      EXPECT_NEAR(seen.g, probe.colour.g, 2) << probe.x << "," << probe.y;
      EXPECT_NEAR(seen.b, probe.colour.b, 2) << probe.x << "," << probe.y;
    }
    if (c.grey) {
      const Rgb top = Pixel(10, 10), bottom = Pixel(10, 50);
      EXPECT_TRUE(top.r == top.g && top.g == top.b);
      EXPECT_TRUE(bottom.r == bottom.g && bottom.g == bottom.b);
      EXPECT_GT(bottom.g, top.g + 40);  // green is lighter than red in grey
    }
    CloseViewerAndPopup();
  }
  EXPECT_EQ(answerer.dialogsAnswered, static_cast<int>(std::size(cases)));
  EXPECT_EQ(answerer.lastDialogTitle, L"\u8868\u793A\u3059\u308B\u753B\u50CF\u3092\u9078\u3093\u3067\u304F\u3060\u3055\u3044\u3002");
  EXPECT_EQ(answerer.messageBoxesDismissed, 0);
}

// Metafiles another program wrote (fixtures/producer: text, lines, a gradient, bitmaps of
// 1, 4, 8 and 24 bits, a JPEG and a PNG photo, each as EMF and placeable WMF), and bitmap
// records as yet other producers write them, open through request 15 at the size, and
// with every pixel, that the picture loader gives on its own.
TEST_F(OpenTest, MetafilesOfAnotherProgramOpenAsTheLoaderShowsThem) {
  const std::wstring producer = wintest::ProgramFolder() + L"open_fixtures\\producer\\";
  std::vector<std::wstring> names = wintest::FilesIn(producer, L"*.emf");
  const std::vector<std::wstring> wmf = wintest::FilesIn(producer, L"*.wmf");
  names.insert(names.end(), wmf.begin(), wmf.end());
  ASSERT_EQ(names.size(), 18u);
  std::vector<std::pair<std::wstring, std::vector<uint8_t>>> files;
  for (const std::wstring& name : names) files.emplace_back(producer + name, ReadFixture(L"producer\\" + name));
  // Bitmap records as other producers write them: a short colour table, a JPEG bitmap.
  const std::vector<uint8_t> photo = ReadFixture(L"photo.JPEG");
  for (bool jpeg : {false, true}) {
    const std::vector<uint8_t> bytes = wintest::ShortTableEmfBytes(jpeg ? photo : std::vector<uint8_t>());
    files.emplace_back(folder.Write(jpeg ? L"jpeg-record.emf" : L"short-table.emf", bytes.data(), bytes.size()), bytes);
  }
  ASSERT_GT(files.back().second.size(), files[files.size() - 2].second.size() + photo.size());  // the JPEG was recorded
  for (const auto& [path, bytes] : files) {
    const std::wstring name = path.substr(path.find_last_of(L'\\') + 1);
    SCOPED_TRACE(wintest::Utf8(name));
    const wintest::LoaderPicture expected = wintest::LoadWithPictureLoader(bytes);
    ASSERT_GT(expected.width, 0);
    ASSERT_EQ(Open(path), 0);
    EXPECT_EQ(notify.Codes(), std::vector<int>{1});
    EXPECT_EQ(FindPopup(host.Get()), nullptr);
    ASSERT_EQ(ImageSize().cx, expected.width);
    ASSERT_EQ(ImageSize().cy, expected.height);
    const auto* bits = static_cast<const uint8_t*>(lib.getImageBits());
    const size_t row = static_cast<size_t>(expected.width) * 3;
    const size_t stride = (row + 3) / 4 * 4;
    int differing = 0, drawn = 0;
    for (int y = 0; y < expected.height; ++y) {
      for (size_t x = 0; x < row; ++x) {
        const uint8_t seen = bits[y * stride + x], wanted = expected.pixels[y * stride + x];
        differing += seen != wanted;
        drawn += wanted != 0xF7;
      }
    }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(drawn, static_cast<int>(row) * expected.height / 100);  // the drawing is there, not only background
    std::printf("%s: %d x %d, %d of %d bytes drawn\n", wintest::Utf8(name).c_str(), expected.width, expected.height,
                drawn, static_cast<int>(row) * expected.height);
    CloseViewerAndPopup();
  }
  EXPECT_EQ(answerer.messageBoxesDismissed, 0);
}

TEST_F(OpenTest, FailuresEndTheRequestWithoutViewer) {
  std::vector<uint8_t> garbage(300);
  for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<uint8_t>(i * 37 + 11);
  std::vector<uint8_t> giantRle = ReadFixture(L"rle.bmp");
  ASSERT_GT(giantRle.size(), 26u);
  const int32_t giant = 100000;
  memcpy(&giantRle[18], &giant, 4);
  memcpy(&giantRle[22], &giant, 4);
  const std::wstring fixtures = wintest::ProgramFolder() + L"open_fixtures\\";
  const struct {
    std::wstring path;
    bool memoryBox;
  } cases[] = {
      {fixtures + L"notgif.gif", false},
      {fixtures + L"notrailer.gif", false},
      {folder.Write(L"bad.bmp", garbage.data(), garbage.size()), false},
      {folder.Write(L"bad.jpg", garbage.data(), garbage.size()), false},
      {folder.Write(L"bad.png", garbage.data(), garbage.size()), false},
      {folder.Write(L"bad.ico", garbage.data(), garbage.size()), false},
      {folder.Write(L"bad.wmf", garbage.data(), garbage.size()), false},
      {folder.Write(L"bad.emf", garbage.data(), garbage.size()), false},
      {folder.Path() + L"missing.png", false},
      {folder.Write(L"giant.bmp", giantRle.data(), giantRle.size()), true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(wintest::Utf8(c.path));
    const int boxes = answerer.messageBoxesDismissed;
    EXPECT_EQ(Open(c.path), 2);
    EXPECT_EQ(notify.Codes(), std::vector<int>{1});
    EXPECT_EQ(FindViewer(), nullptr);
    EXPECT_EQ(lib.getImageBits(), nullptr);
    if (c.memoryBox) {
      EXPECT_EQ(answerer.messageBoxesDismissed, boxes + 1);
    } else {
      EXPECT_NE(FindPopup(host.Get()), nullptr);
    }
    CloseViewerAndPopup();
  }

  // A file under 10 bytes and a cancelled dialog fail without a message.
  for (const std::wstring& path : {folder.Write(L"tiny.gif", "GIF89a", 6), std::wstring()}) {
    EXPECT_EQ(Open(path), 2);
    EXPECT_EQ(notify.Codes(), std::vector<int>{1});
    EXPECT_EQ(FindPopup(host.Get()), nullptr);
    EXPECT_EQ(FindViewer(), nullptr);
  }
  // Afterwards a good file still opens.
  EXPECT_EQ(Open(fixtures + L"one.gif"), 0);
  EXPECT_NE(FindViewer(), nullptr);
}

// Cuts, bit flips and overwritten headers of every kind through the whole request in one
// process: no crash, no hang, no window or GDI object left behind (open_unit_test.cpp
// sends many more straight through the readers). PICTORNX_OPEN_ROUNDS sets the files per
// kind (3 by default: a cut, flips, a header hit).
TEST_F(OpenTest, BrokenFilesOfEveryKindLeakNothing) {
  const char* rounds = std::getenv("PICTORNX_OPEN_ROUNDS");
  const int perKind = rounds ? std::atoi(rounds) : 3;
  const struct {
    std::vector<uint8_t> bytes;
    const wchar_t* name;
  } seeds[] = {
      {wintest::EmfBytes(), L"x.emf"},         {wintest::PlaceableWmfBytes(), L"x.wmf"},
      {ReadFixture(L"base.bmp"), L"x.bmp"},    {ReadFixture(L"rle.bmp"), L"x.bmp"},
      {ReadFixture(L"photo.JPEG"), L"x.jpg"},  {ReadFixture(L"logo.png"), L"x.png"},
      {ReadFixture(L"screen.gif"), L"x.gif"},  {ReadFixture(L"icon.ico"), L"x.ico"},
      {ReadFixture(L"cursor.cur"), L"x.cur"},  {ReadFixture(L"logo.png"), L"x.xyz"},
  };
  // Warm-up: a good request, a pop-up and a memory box, so that objects made once are counted.
  ASSERT_EQ(Open(wintest::ProgramFolder() + L"open_fixtures\\logo.png"), 0);
  CloseViewerAndPopup();
  Open(folder.Write(L"warm.gif", "GIF89a-not-really", 17));
  CloseViewerAndPopup();
  std::vector<uint8_t> giant = ReadFixture(L"screen.gif");
  giant[6] = giant[7] = giant[8] = giant[9] = 0xFF;
  Open(folder.Write(L"giant.gif", giant.data(), giant.size()));
  CloseViewerAndPopup();
  const int windowsBefore = wintest::CountWindows();

  uint32_t state = 12345;
  auto next = [&] { return state = state * 1103515245u + 12345u, state >> 8; };
  int opened = 0, failed = 0;
  for (const auto& seed : seeds) {
    ASSERT_GT(seed.bytes.size(), 40u);
    const int gdiBefore = wintest::CountGdiObjects();
    for (int i = 0; i < perKind; ++i) {
      std::vector<uint8_t> bytes = seed.bytes;
      switch (i % 3) {
        case 0:  // cut short
          bytes.resize(next() % bytes.size());
          break;
        case 1:  // bytes flipped anywhere
          for (int flips = 1 + next() % 8; flips > 0; --flips) bytes[next() % bytes.size()] ^= 1 << (next() % 8);
          break;
        default:  // header bytes overwritten (sizes, counts, offsets)
          for (int hits = 1 + next() % 4; hits > 0; --hits) bytes[next() % 40] = static_cast<uint8_t>(next());
          break;
      }
      const int result = Open(folder.Write(seed.name, bytes.data(), bytes.size()));
      ASSERT_TRUE(result == 0 || result == 2) << result;
      ASSERT_EQ(notify.Codes(), std::vector<int>{1});
      (result == 0 ? opened : failed) += 1;
      if (result == 0) {
        EXPECT_NE(FindViewer(), nullptr);
        EXPECT_GT(ImageSize().cx, 0);
      }
      CloseViewerAndPopup();
    }
    // Wine's metafile player can leave objects a broken metafile created (docs/wine.md).
    const bool metafile = std::wstring(seed.name).ends_with(L"mf");
    if (!(metafile && wintest::RunningUnderWine())) {
      EXPECT_EQ(wintest::CountGdiObjects(), gdiBefore) << wintest::Utf8(seed.name);
    }
  }
  EXPECT_EQ(wintest::CountWindows(), windowsBefore);
  std::printf("broken files: %d opened, %d refused\n", opened, failed);
}

}  // namespace
