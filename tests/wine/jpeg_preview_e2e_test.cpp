// The JPEG preview as a host's user meets it: command 32874 in the viewer, the sizes and
// the file size it shows, its settings panel, saving, closing and reopening, the
// difference views and the loupe.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "codecs/jpeg_codec.h"
#include "open_test_support.h"
#include "pixels/digit_font.h"
#include "pixels/image_buffer.h"
#include "resources/resource_ids.h"
#include "win_test_support.h"

namespace {

using wintest::PumpUntil;

constexpr COLORREF kDigitColour = 0x00FFFFB4;

std::wstring TempJpeg() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  return std::wstring(temp) + L"pictrnck.jpg";
}
bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A 24-bit BMP file of width x height whose pixel (x, y from the top) is colour(x, y).
std::vector<uint8_t> BmpBytes(int width, int height, const std::function<COLORREF(int, int)>& colour) {
  const size_t row = ((static_cast<size_t>(width) * 3 + 3) / 4) * 4;
  std::vector<uint8_t> bytes(54 + row * height, 0);
  auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&bytes[at], &v, 4); };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(2, static_cast<uint32_t>(bytes.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(width));
  put32(22, static_cast<uint32_t>(height));
  bytes[26] = 1;
  bytes[28] = 24;
  for (int y = 0; y < height; ++y) {
    uint8_t* p = &bytes[54 + (height - 1 - y) * row];
    for (int x = 0; x < width; ++x, p += 3) {
      const COLORREF c = colour(x, y);
      p[0] = GetBValue(c);
      p[1] = GetGValue(c);
      p[2] = GetRValue(c);
    }
  }
  return bytes;
}

// Noise on a gradient: JPEG changes it visibly at low qualities.
COLORREF Busy(int x, int y) {
  const uint32_t h = (static_cast<uint32_t>(x) * 2654435761u) ^ (static_cast<uint32_t>(y) * 40503u);
  return RGB((x * 5 + (h & 63)) & 0xFF, (y * 3 + ((h >> 8) & 63)) & 0xFF, ((x + y) * 2 + ((h >> 16) & 63)) & 0xFF);
}

struct Capture {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> pixels;
  COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// The window's own pixels as they stand, without letting it repaint first.
Capture WindowPixels(HWND window) {
  Capture c;
  RECT r{};
  GetClientRect(window, &r);
  c.width = r.right;
  c.height = r.bottom;
  c.pixels.resize(static_cast<size_t>(c.width) * c.height);
  HDC windowDc = GetDC(window);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), c.width, -c.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC memory = CreateCompatibleDC(windowDc);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, c.width, c.height, windowDc, 0, 0, SRCCOPY);
  GdiFlush();
  const auto* p = static_cast<const uint8_t*>(bits);
  for (size_t i = 0; i < c.pixels.size(); ++i) c.pixels[i] = RGB(p[i * 4 + 2], p[i * 4 + 1], p[i * 4]);
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(bitmap);
  ReleaseDC(window, windowDc);
  return c;
}

// Whether the area shows exactly `value` in the stroke digits (digit colour where a stroke
// is, anything else elsewhere).
bool ShowsNumber(const Capture& c, uint32_t value, int unitsX, int top, pictornx::DigitSize size, RECT area) {
  pictornx::ImageBuffer expected(c.width, c.height);
  if (expected.Empty()) return false;
  const pictornx::NumberStrokes strokes = NumberStrokesOf(value, unitsX, top, 7, size);
  pictornx::PaintStrokes(expected.View(), strokes.View(), 0xFF, 0xFF, 0xFF);
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) {
      const bool stroke = expected.View().TopRow(y)[x * 3] == 0xFF;
      if (stroke != (c.At(x, y) == kDigitColour)) return false;
    }
  return true;
}

void Press(HWND window, int x, int y) { SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); }
void Release(HWND window, int x, int y) { SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y)); }
void Click(HWND window, int x, int y) {
  Press(window, x, y);
  Release(window, x, y);
}
void Move(HWND window, int x, int y, WPARAM keys = 0) { SendMessageW(window, WM_MOUSEMOVE, keys, MAKELPARAM(x, y)); }

class JpegPreviewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wintest::InitCommonControlsForHost();
    ASSERT_NE(lib.module, nullptr);
    lib.setHostNotifyWindow(notify.Window(), 0);
    DeleteFileW(TempJpeg().c_str());
  }
  void TearDown() override {
    if (viewer && IsWindow(viewer)) SendMessageW(viewer, WM_COMMAND, IDM_CLOSE_VIEWER, 0);
    wintest::PumpPending();
  }

  void OpenImage(int width, int height, const std::function<COLORREF(int, int)>& colour = Busy) {
    if (viewer && IsWindow(viewer)) SendMessageW(viewer, WM_COMMAND, IDM_CLOSE_VIEWER, 0);
    const std::vector<uint8_t> bmp = BmpBytes(width, height, colour);
    answerer.Answer(folder.Write(L"image" + std::to_wstring(width) + L"x" + std::to_wstring(height) + L".bmp",
                                 bmp.data(), bmp.size()));
    ASSERT_EQ(lib.runToolRequest(host.Get(), 15, 1), 0);
    viewer = wintest::FindProcessWindow(L"#32770", host.Get());
    ASSERT_NE(viewer, nullptr);
  }

  HWND FindPreview() const {
    const auto found = wintest::ProcessWindows([&](HWND w) {
      RECT r{};
      GetWindowRect(w, &r);
      return IsWindowVisible(w) && GetWindow(w, GW_OWNER) == viewer && r.right - r.left == 730 &&
             r.bottom - r.top == 450;
    });
    return found.empty() ? nullptr : found.front();
  }
  HWND OpenPreview() {
    SendMessageW(viewer, WM_COMMAND, IDM_JPEG_PREVIEW, 0);
    return FindPreview();
  }
  HWND Loupe(HWND preview) const { return wintest::FindProcessWindow(L"#32770", preview); }
  static HWND panelOf(HWND preview) {
    for (HWND child : wintest::ChildWindows(preview))
      if (GetDlgItem(child, IDC_JPEG_QUALITY_UP)) return child;
    return nullptr;
  }

  // The size of the JPEG the library's own writer makes of the image on display.
  uint32_t EncodedSize(const pictornx::JpegOptions& options) const {
    const uint64_t size = lib.getImageSize();
    const int width = static_cast<int>(size & 0xFFFFFFFF), height = static_cast<int>(size >> 32);
    const pictornx::ConstImageView image(static_cast<const uint8_t*>(lib.getImageBits()), width, height,
                                         static_cast<int>(pictornx::RowBytes(width)));
    pictornx::ByteBlock out;
    if (!EncodeJpeg(image, options, &out).Ok()) return 0;
    return static_cast<uint32_t>(out.size());
  }
  static bool ShowsFileSize(HWND preview, uint32_t bytes) {
    return ShowsNumber(WindowPixels(preview), bytes, 682, 235, pictornx::DigitSize::kLarge, {633, 234, 691, 247});
  }
  static bool ShowsImageSize(HWND preview, int width, int height) {
    const Capture c = WindowPixels(preview);
    return ShowsNumber(c, static_cast<uint32_t>(width), 670, 186, pictornx::DigitSize::kSmall, {643, 184, 678, 196}) &&
           ShowsNumber(c, static_cast<uint32_t>(height), 670, 200, pictornx::DigitSize::kSmall, {643, 198, 678, 209});
  }

  std::wstring LoadText(UINT id) const {
    wchar_t text[128] = L"";
    LoadStringW(lib.module, id, text, 128);
    return text;
  }
  // The hint's text once the pointer comes from a tab to rest on the size box.
  std::wstring SizeBoxHint(HWND preview) const {
    const std::wstring hintClass = LoadText(IDS_HINT_CLASS);
    Move(preview, 650, 110);
    POINT onBox{660, 240};
    ClientToScreen(preview, &onBox);
    SetCursorPos(onBox.x, onBox.y);
    Move(preview, 660, 240);
    HWND hint = nullptr;
    if (!PumpUntil([&] { return (hint = FindWindowW(hintClass.c_str(), nullptr)) != nullptr; }, 3000)) return {};
    const std::wstring text = wintest::WindowText(hint);
    RECT shown{};
    GetWindowRect(hint, &shown);
    EXPECT_GT(shown.right - shown.left, 200) << "the lines fit the tip";
    EXPECT_GT(shown.bottom - shown.top, 25);
    Move(preview, 650, 110);
    SendMessageW(hint, WM_CLOSE, 0, 0);
    return text;
  }

  wintest::LoadedLibrary lib;
  wintest::HostWindow host;
  wintest::NotifyRecorder notify;
  wintest::ModalAnswerer answerer;
  wintest::TempFolder folder;
  HWND viewer = nullptr;
};

bool MenuGreyed(HMENU menu, int position) {
  return (GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION) & MF_GRAYED) != 0;
}

TEST_F(JpegPreviewTest, OpensWithTheSizesAndTheFileSizeOfTheSameEncodeThenClosesAndReopensWhereItWas) {
  OpenImage(500, 300);
  HWND preview = OpenPreview();
  ASSERT_NE(preview, nullptr);
  RECT desktop{}, at{};
  GetWindowRect(GetDesktopWindow(), &desktop);
  GetWindowRect(preview, &at);
  EXPECT_EQ(at.left, desktop.right - 735);
  EXPECT_EQ(at.top, desktop.bottom - 490);
  EXPECT_FALSE(FileExists(TempJpeg()));
  EXPECT_TRUE(PumpUntil([&] { return ShowsImageSize(preview, 500, 300); }, 2000));
  EXPECT_TRUE(ShowsFileSize(preview, EncodedSize({65, false, true})));

  // The menu entries that would change the image are greyed; closing the viewer is not.
  HMENU bar = GetMenu(viewer);
  for (int position : {1, 2, 3, 4, 5}) EXPECT_TRUE(MenuGreyed(bar, position)) << position;
  for (int position : {0, 1, 3, 7, 8}) EXPECT_TRUE(MenuGreyed(GetSubMenu(bar, 0), position)) << position;
  EXPECT_FALSE(MenuGreyed(GetSubMenu(bar, 0), 5));

  // The command again does nothing: no second window, no refresh (which would take the file).
  HANDLE marker = CreateFileW(TempJpeg().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(marker, INVALID_HANDLE_VALUE);
  CloseHandle(marker);
  SendMessageW(viewer, WM_COMMAND, IDM_JPEG_PREVIEW, 0);
  EXPECT_EQ(FindPreview(), preview);
  EXPECT_TRUE(FileExists(TempJpeg()));
  DeleteFileW(TempJpeg().c_str());

  // Moved, closed with its button (released elsewhere), reopened where it was.
  SetWindowPos(preview, nullptr, 120, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Press(preview, 680, 425);
  Release(preview, 300, 300);
  EXPECT_FALSE(IsWindow(preview));
  for (int position : {1, 2, 3, 4, 5}) EXPECT_FALSE(MenuGreyed(bar, position)) << position;
  for (int position : {0, 1, 3, 7, 8}) EXPECT_FALSE(MenuGreyed(GetSubMenu(bar, 0), position)) << position;
  preview = OpenPreview();
  ASSERT_NE(preview, nullptr);
  GetWindowRect(preview, &at);
  EXPECT_EQ(at.left, 120);
  EXPECT_EQ(at.top, 90);
}

TEST_F(JpegPreviewTest, TheProcessingNoticeShowsAboveSixHundredThousandPixels) {
  // The notice is drawn on the view before the work, and stays until the view repaints.
  const struct {
    int width, height;
    bool notice;
  } cases[] = {{1000, 600, false}, {1373, 437, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.width);
    OpenImage(c.width, c.height, [](int, int) { return RGB(20, 30, 40); });
    HWND preview = OpenPreview();
    ASSERT_NE(preview, nullptr);
    HWND view = GetDlgItem(preview, IDC_PREVIEW_VIEW);
    const COLORREF inBox = WindowPixels(view).At(135, 206);
    EXPECT_EQ(inBox == RGB(224, 224, 0), c.notice) << std::hex << inBox;
    EXPECT_FALSE(FileExists(TempJpeg()));
  }
}

TEST_F(JpegPreviewTest, TheSettingsPanelChangesTheSettingsAndReencodesAtOnce) {
  OpenImage(320, 200);
  HWND preview = OpenPreview();
  ASSERT_NE(preview, nullptr);
  HWND panel = nullptr;
  for (HWND child : wintest::ChildWindows(preview))
    if (GetDlgItem(child, IDC_JPEG_QUALITY_UP)) panel = child;
  ASSERT_NE(panel, nullptr);
  auto command = [&](int id) {
    HWND control = GetDlgItem(panel, id);
    SendMessageW(panel, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
  };
  // Each change re-encodes at once: once the window has painted, it shows the new size.
  auto showsSize = [&](const pictornx::JpegOptions& settings) {
    const uint32_t bytes = EncodedSize(settings);
    return wintest::PumpUntilPainted(preview) && PumpUntil([&] { return ShowsFileSize(preview, bytes); }, 2000);
  };

  Click(panel, 25, 60);  // the slider's left end: quality 1
  EXPECT_TRUE(showsSize({1, false, true}));
  command(IDC_JPEG_QUALITY_DOWN);  // at 1 nothing changes
  EXPECT_TRUE(showsSize({1, false, true}));
  Click(panel, 99, 60);  // the right end of the band: 99, not 100
  EXPECT_TRUE(showsSize({99, false, true}));
  command(IDC_JPEG_QUALITY_UP);
  EXPECT_TRUE(showsSize({100, false, true}));

  SendMessageW(GetDlgItem(panel, IDC_JPEG_PROGRESSIVE), BM_CLICK, 0, 0);
  EXPECT_TRUE(showsSize({100, true, true}));
  SendMessageW(GetDlgItem(panel, IDC_JPEG_GREY), BM_CLICK, 0, 0);
  EXPECT_TRUE(showsSize({100, true, false}));
  // One grey component spreads into equal blue, green and red bytes.
  HWND view = GetDlgItem(preview, IDC_PREVIEW_VIEW);
  ASSERT_TRUE(wintest::PumpUntilPainted(preview));
  const Capture shown = WindowPixels(view);
  for (int x = 5; x < 300; x += 37) {
    const COLORREF p = shown.At(x, 20);
    EXPECT_TRUE(GetRValue(p) == GetGValue(p) && GetGValue(p) == GetBValue(p)) << x << " " << std::hex << p;
  }
  EXPECT_FALSE(FileExists(TempJpeg()));

  // The settings are kept: reopened, the preview encodes as they were left.
  SendMessageW(preview, WM_CLOSE, 0, 0);
  preview = OpenPreview();
  ASSERT_NE(preview, nullptr);
  EXPECT_TRUE(showsSize({100, true, false}));
}

TEST_F(JpegPreviewTest, TheSaveButtonSavesAJpegThroughTheJpegOnlyDialog) {
  OpenImage(200, 120);
  HWND preview = OpenPreview();
  ASSERT_NE(preview, nullptr);
  const std::wstring path = folder.Path() + L"saved.jpg";
  // The fixture's answerer, not a second one on another thread: two would race for the dialog.
  answerer.Answer(path);
  const int dialogsBefore = answerer.dialogsAnswered;  // the opening of the image had one
  Press(preview, 620, 425);
  Release(preview, 620, 425);
  ASSERT_EQ(answerer.dialogsAnswered, dialogsBefore + 1);
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  const DWORD size = GetFileSize(file, nullptr);
  uint8_t head[2] = {};
  DWORD read = 0;
  ReadFile(file, head, 2, &read, nullptr);
  CloseHandle(file);
  EXPECT_EQ(head[0], 0xFF);
  EXPECT_EQ(head[1], 0xD8);
  EXPECT_EQ(size, EncodedSize({65, false, true}));
  EXPECT_TRUE(IsWindow(preview));
}

TEST_F(JpegPreviewTest, AHundredOpenAndCloseCyclesLeaveNoGdiObjects) {
  OpenImage(160, 100);
  HWND preview = OpenPreview();
  ASSERT_NE(preview, nullptr);
  SendMessageW(preview, WM_CLOSE, 0, 0);
  wintest::PumpPending();
  const int before = wintest::CountGdiObjects();
  const int windows = wintest::CountWindows();
  // PICTORNX_SOAK_CYCLES shortens the loop (make check sets it).
  const char* cyclesText = std::getenv("PICTORNX_SOAK_CYCLES");
  const int cycles = cyclesText && std::atoi(cyclesText) > 0 ? std::atoi(cyclesText) : 100;
  for (int cycle = 0; cycle < cycles; ++cycle) {
    preview = OpenPreview();
    ASSERT_NE(preview, nullptr) << cycle;
    Click(preview, 650, 110);  // a tab, so the difference images are made too
    Click(preview, 650, 145);
    SendMessageW(preview, WM_CLOSE, 0, 0);
    wintest::PumpPending();
  }
  EXPECT_EQ(wintest::CountGdiObjects(), before);
  EXPECT_EQ(wintest::CountWindows(), windows);
}

bool Near(COLORREF c, int r, int g, int b, int tolerance) {
  return std::abs(GetRValue(c) - r) <= tolerance && std::abs(GetGValue(c) - g) <= tolerance &&
         std::abs(GetBValue(c) - b) <= tolerance;
}

std::string Hex(COLORREF c) {
  char text[16];
  snprintf(text, sizeof(text), "%06lx", static_cast<unsigned long>(c));
  return text;
}

TEST_F(JpegPreviewTest, TabsSwitchTheViewAndTheLoupesRightHalfFollows) {
  OpenImage(300, 200, [](int, int) { return RGB(200, 40, 90); });
  HWND preview = OpenPreview();
  ASSERT_NE(preview, nullptr);
  HWND loupe = Loupe(preview);
  ASSERT_NE(loupe, nullptr);  // opened by the first refresh
  HWND view = GetDlgItem(preview, IDC_PREVIEW_VIEW);
  Move(preview, 70, 70);
  RECT client{};
  GetClientRect(loupe, &client);
  const int midY = client.bottom / 2 + 8;
  const struct {
    int tabY;
    int r, g, b, tolerance;
  } tabs[] = {{128, 127, 127, 127, 3}, {145, 127, 127, 127, 12}, {110, 200, 40, 90, 4}};
  for (const auto& tab : tabs) {
    SCOPED_TRACE(tab.tabY);
    Click(preview, 650, tab.tabY);
    ASSERT_TRUE(wintest::PumpUntilPainted(preview));
    ASSERT_TRUE(wintest::PumpUntilPainted(loupe));
    const COLORREF shown = WindowPixels(view).At(60, 60);
    EXPECT_TRUE(Near(shown, tab.r, tab.g, tab.b, tab.tolerance)) << Hex(shown);
    const Capture magnified = WindowPixels(loupe);
    const COLORREF left = magnified.At(client.right / 4, midY);
    const COLORREF right = magnified.At(client.right * 3 / 4, midY);
    EXPECT_TRUE(Near(left, 200, 40, 90, 4)) << Hex(left);
    EXPECT_TRUE(Near(right, tab.r, tab.g, tab.b, tab.tolerance)) << Hex(right);
  }
}

TEST_F(JpegPreviewTest, GainAndRangeRedrawTheChannelPanelsAndTheRightButtonUndoesThem) {
  OpenImage(300, 200);
  HWND preview = OpenPreview();
  ASSERT_NE(preview, nullptr);
  Click(panelOf(preview), 25, 60);  // quality 1: large differences
  HWND red = GetDlgItem(preview, IDC_PREVIEW_RED_PANEL);
  auto plot = [&] {
    EXPECT_TRUE(wintest::PumpUntilPainted(preview));
    return WindowPixels(red);
  };
  const Capture gain1 = plot();
  EXPECT_EQ(gain1.At(6, 30), RGB(255, 255, 255));
  Click(preview, 555, 434);  // gain x2
  const Capture gain2 = plot();
  EXPECT_NE(gain1.pixels, gain2.pixels);
  Click(preview, 555, 434);  // back to x1
  EXPECT_EQ(plot().pixels, gain1.pixels);

  // Range button, then a drag on the image: the plots turn yellow and show the range.
  Click(preview, 523, 434);
  Press(preview, 40, 40);
  Move(preview, 120, 90, MK_LBUTTON);
  Move(preview, 200, 140, MK_LBUTTON);
  Release(preview, 200, 140);
  const Capture ranged = plot();
  EXPECT_EQ(ranged.At(6, 30), RGB(255, 255, 0x90));
  EXPECT_NE(ranged.pixels, gain1.pixels);
  ASSERT_NE(Loupe(preview), nullptr);

  // A right click clears the range and keeps the loupe; a second one closes the loupe.
  SendMessageW(preview, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(100, 100));
  SendMessageW(preview, WM_RBUTTONUP, 0, MAKELPARAM(100, 100));
  EXPECT_EQ(plot().At(6, 30), RGB(255, 255, 255));
  EXPECT_NE(Loupe(preview), nullptr);
  SendMessageW(preview, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(100, 100));
  SendMessageW(preview, WM_RBUTTONUP, 0, MAKELPARAM(100, 100));
  EXPECT_TRUE(PumpUntil([&] { return Loupe(preview) == nullptr; }, 2000));
  // A double click in the view opens it again.
  SendMessageW(preview, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(100, 100));
  EXPECT_NE(Loupe(preview), nullptr);
}

TEST_F(JpegPreviewTest, ARangeNeedsAnImageWiderThan80AndHigherThan20) {
  const struct {
    int width, height;
    bool accepted;
  } cases[] = {{80, 21, false}, {81, 21, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.width);
    OpenImage(c.width, c.height);
    HWND preview = OpenPreview();
    ASSERT_NE(preview, nullptr);
    Click(preview, 523, 434);
    Press(preview, 12, 12);
    Move(preview, 60, 25, MK_LBUTTON);
    Release(preview, 60, 25);
    ASSERT_TRUE(wintest::PumpUntilPainted(preview));
    const COLORREF ground = WindowPixels(GetDlgItem(preview, IDC_PREVIEW_RED_PANEL)).At(6, 30);
    EXPECT_EQ(ground == RGB(255, 255, 0x90), c.accepted) << Hex(ground);
  }
}

TEST_F(JpegPreviewTest, TheSizeBoxHintMeasuresTheJpegAndLowerQualityMeasuresLower) {
  OpenImage(320, 200);
  HWND preview = OpenPreview();
  ASSERT_NE(preview, nullptr);
  // The pointer rests on the size box; the hint's text is its window text.
  auto psnrShown = [&](double* psnr) {
    const std::wstring text = SizeBoxHint(preview);
    swscanf(text.c_str(), L"PSNR %lf", psnr);
    return text;
  };
  double at65 = 0, at5 = 0;
  const std::wstring text = psnrShown(&at65);
  EXPECT_NE(text.find(L"SSIM"), std::wstring::npos) << wintest::Utf8(text);
  EXPECT_NE(text.find(LoadText(IDS_QUALITY_BITS_PER_PIXEL)), std::wstring::npos) << wintest::Utf8(text);
  EXPECT_GT(at65, 10.0);  // the noisy test picture keeps it modest
  Click(panelOf(preview), 29, 60);  // quality 5
  psnrShown(&at5);
  EXPECT_GT(at5, 5.0);
  EXPECT_LT(at5, at65);
}

TEST_F(JpegPreviewTest, TheSizeBoxHintSuggestsTheLowestSameLookingQualityAndADoubleClickSetsIt) {
  OpenImage(320, 200, [](int x, int y) { return RGB(x * 255 / 319, y * 255 / 199, 160 - x / 4); });
  HWND preview = OpenPreview();
  ASSERT_NE(preview, nullptr);
  HWND panel = panelOf(preview);
  Click(panel, 99, 60);  // quality 99: far above what a smooth gradient needs
  PumpUntil([] { return false; }, 30);

  const std::wstring lead = LoadText(IDS_SUGGEST_LEAD);
  const std::wstring text = SizeBoxHint(preview);
  const std::wstring line = text.substr(text.rfind(L'\n') + 1);
  ASSERT_EQ(line.compare(0, lead.size(), lead), 0) << wintest::Utf8(text);
  int suggested = 0;
  unsigned bytes = 0;
  ASSERT_EQ(swscanf(line.c_str() + lead.size(), L" %d \u00B7 %u", &suggested, &bytes), 2) << wintest::Utf8(line);
  EXPECT_TRUE(suggested > 1 && suggested < 60) << suggested;
  EXPECT_EQ(bytes, EncodedSize({suggested, false, true})) << "the size of the suggested quality's file";
  EXPECT_NE(line.find(LoadText(IDS_SUGGEST_OF_CURRENT)), std::wstring::npos) << "its share of the current size";
  EXPECT_EQ(line.find(LoadText(IDS_SUGGEST_AT_OR_BELOW)), std::wstring::npos) << "99 is above the suggestion";

  // A real double click (its first press starts a window move, as any press on the face
  // does) sets the quality as the slider would: the knob, the encoded file.
  POINT onBox{660, 240};
  ClientToScreen(preview, &onBox);
  SetCursorPos(onBox.x, onBox.y);
  INPUT click[2] = {{INPUT_MOUSE, {}}, {INPUT_MOUSE, {}}};
  click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN, click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  for (int i = 0; i < 2; ++i) SendInput(2, click, sizeof(INPUT)), PumpUntil([] { return false; }, 60);
  EXPECT_TRUE(PumpUntil([&] { return ShowsFileSize(preview, bytes); }, 3000));
  const Capture knobs = WindowPixels(panel);
  EXPECT_EQ(knobs.At(27 + 72 * suggested / 100, 60), RGB(0, 0, 255)) << "the knob at the suggestion";
  EXPECT_NE(knobs.At(27 + 72 * 99 / 100, 60), RGB(0, 0, 255)) << "no knob left at 99";

  // Kept: the same suggestion, and now the quality is at it.
  const std::wstring after = SizeBoxHint(preview);
  const std::wstring again = after.substr(after.rfind(L'\n') + 1);
  int kept = 0;
  swscanf(again.c_str() + lead.size(), L" %d", &kept);
  EXPECT_EQ(kept, suggested) << wintest::Utf8(again);
  EXPECT_NE(again.find(LoadText(IDS_SUGGEST_AT_OR_BELOW)), std::wstring::npos) << wintest::Utf8(again);
}

}  // namespace
