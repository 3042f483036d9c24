#include "soak_cycle.h"

#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <iterator>

#include "resources/resource_ids.h"
#include "win_test_support.h"

namespace soak {
namespace {

// Records the first thing that went wrong in a strict cycle; returns `ok`.
bool Check(Cycle& c, bool ok, const std::string& what) {
  if (!ok && c.strict && c.failure.empty()) c.failure = what;
  return ok;
}

bool Tracing() {
  static const bool trace = std::getenv("PICTORNX_SOAK_TRACE") != nullptr;
  return trace;
}

void Command(Cycle& c, int id) {
  if (Tracing()) std::fprintf(stderr, "  %llu command %d\n", GetTickCount64() % 1000000, id);
  SendMessageW(c.viewer, WM_COMMAND, id, 0);
  if (Tracing()) std::fprintf(stderr, "    GDI %d\n", wintest::CountGdiObjects());
}
void Mouse(HWND window, UINT message, int x, int y, WPARAM keys = 0) {
  SendMessageW(window, message, keys, MAKELPARAM(x, y));
}
void Click(HWND window, int x, int y) {
  Mouse(window, WM_LBUTTONDOWN, x, y, MK_LBUTTON);
  Mouse(window, WM_LBUTTONUP, x, y);
}
void Drag(HWND window, POINT from, POINT to) {
  Mouse(window, WM_LBUTTONDOWN, from.x, from.y, MK_LBUTTON);
  Mouse(window, WM_MOUSEMOVE, (from.x + to.x) / 2, (from.y + to.y) / 2, MK_LBUTTON);
  Mouse(window, WM_MOUSEMOVE, to.x, to.y, MK_LBUTTON);
  Mouse(window, WM_LBUTTONUP, to.x, to.y);
}
void ClickButton(HWND dialog, int id) {
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

SIZE ImageSize(const Cycle& c) {
  const uint64_t size = c.lib.getImageSize();
  return {static_cast<LONG>(size & 0xFFFFFFFF), static_cast<LONG>(size >> 32)};
}
SIZE Screen() { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

// A visible window that `owner` owns and that `match` accepts.
HWND Owned(HWND owner, const std::function<bool(HWND)>& match) {
  for (HWND w : wintest::ProcessWindows([&](HWND w) { return GetWindow(w, GW_OWNER) == owner && IsWindowVisible(w); }))
    if (match(w)) return w;
  return nullptr;
}
HWND OwnedWithControl(HWND owner, int id) {
  return Owned(owner, [&](HWND w) { return GetDlgItem(w, id) != nullptr; });
}
HWND OwnedOfWidth(HWND owner, int width) {
  return Owned(owner, [&](HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return r.right - r.left == width;
  });
}

// The viewer: the host's dialog with a menu bar.
HWND FindViewer(HWND host) {
  return Owned(host, [](HWND w) { return wintest::WindowClass(w) == L"#32770" && GetMenu(w) != nullptr; });
}

bool ViewerOpen(Cycle& c, const char* step) {
  return Check(c, IsWindow(c.viewer) != FALSE, std::string(step) + ": no viewer");
}

// Closes the viewer; every window it owned goes with it.
bool CloseViewer(Cycle& c, const std::string& step) {
  if (!IsWindow(c.viewer)) return Check(c, false, step + ": the viewer was already gone");
  const HWND viewer = c.viewer;
  Command(c, IDM_CLOSE_VIEWER);
  c.viewer = nullptr;
  return Check(c, !IsWindow(viewer), step + ": the viewer did not close") &&
         Check(c, c.lib.getImageBits() == nullptr, step + ": the image outlived the viewer");
}

bool Capture(Cycle& c) {
  const int result = c.lib.runToolRequest(c.host, 10, 1);
  c.viewer = FindViewer(c.host);
  if (!Check(c, result == 0, "capture: request 10 answered " + std::to_string(result))) return false;
  if (!ViewerOpen(c, "capture")) return false;
  const SIZE size = ImageSize(c), screen = Screen();
  if (!Check(c, size.cx == screen.cx && size.cy == screen.cy, "capture: the image is not the screen")) return false;
  Command(c, IDM_ZOOM_50);
  if (!Check(c, ImageSize(c).cx == screen.cx / 2, "capture: 50 % is not half the screen")) return false;
  return CloseViewer(c, "capture");
}

// A picture of kWorkWidth x kWorkHeight with every pixel different, as a BMP file.
constexpr int kWorkWidth = 400, kWorkHeight = 300;
std::wstring WorkPicture(Cycle& c) {
  const std::wstring path = c.folder + L"soak-work.bmp";
  if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return path;
  const uint32_t row = kWorkWidth * 3, size = 54 + row * kWorkHeight;
  std::vector<uint8_t> bytes(size);
  const uint32_t header[] = {size, 0, 54, 40, kWorkWidth, kWorkHeight, 24 << 16 | 1, 0, row * kWorkHeight, 0, 0, 0, 0};
  bytes[0] = 'B', bytes[1] = 'M';
  std::memcpy(&bytes[2], header, sizeof(header));
  for (uint32_t i = 54; i < size; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + i / row * 3);
  wintest::TempFolder writer;
  CopyFileW(writer.Write(L"w.bmp", bytes.data(), bytes.size()).c_str(), path.c_str(), FALSE);
  return path;
}

bool OpenWorkPicture(Cycle& c) {
  c.answerer.Answer(WorkPicture(c));
  const int result = c.lib.runToolRequest(c.host, 15, 1);
  c.answerer.Answer(L"");
  c.viewer = FindViewer(c.host);
  if (!Check(c, result == 0 && c.viewer, "work picture: request 15 gave no viewer")) return false;
  const SIZE size = ImageSize(c);
  return Check(c, size.cx == kWorkWidth && size.cy == kWorkHeight, "work picture: not at its size");
}

bool ZoomModes(Cycle& c) {
  if (!ViewerOpen(c, "zoom")) return false;
  Command(c, IDM_ZOOM_50);
  for (int mode : {IDM_RESAMPLE_CORRECT, IDM_RESAMPLE_CORRECT_SHARPEN, IDM_RESAMPLE_AVERAGE,
                   IDM_RESAMPLE_AVERAGE_SHARPEN, IDM_RESAMPLE_NONE})
    Command(c, mode);
  if (!Check(c, ImageSize(c).cx == kWorkWidth / 2, "zoom: 50 % is not half the picture")) return false;
  for (int preset : {IDM_ZOOM_25, IDM_ZOOM_75, IDM_ZOOM_150, IDM_ZOOM_200, IDM_ZOOM_100}) Command(c, preset);
  if (!Check(c, ImageSize(c).cx == kWorkWidth, "zoom: 100 % is not the picture")) return false;

  // The arbitrary-size panel renders 300 wide; the slots render their remembered sizes.
  Command(c, IDM_ZOOM_ANY_SIZE);
  HWND panel = OwnedWithControl(c.viewer, IDC_SIZE_EXECUTE);
  if (!Check(c, panel != nullptr, "zoom: no arbitrary-size panel")) return false;
  SetDlgItemTextW(panel, IDC_SIZE_WIDTH_EDIT, L"300");
  SendDlgItemMessageW(panel, IDC_SIZE_WIDTH_EDIT, WM_KILLFOCUS, 0, 0);
  ClickButton(panel, IDC_SIZE_EXECUTE);
  if (!Check(c, !IsWindow(panel) && ImageSize(c).cx == 300, "zoom: the size panel did not render 300 wide"))
    return false;
  Command(c, IDM_SIZE_SLOT1);
  Command(c, IDM_SIZE_SLOT1_FIXED_WIDTH);
  Command(c, IDM_ZOOM_100);
  return Check(c, IsWindow(c.viewer) && ImageSize(c).cx == kWorkWidth, "zoom: the slots lost the viewer");
}

bool FlipsAndTurns(Cycle& c) {
  if (!ViewerOpen(c, "flips")) return false;
  const SIZE before = ImageSize(c);
  Command(c, IDM_FLIP_LEFT_RIGHT);
  Command(c, IDM_FLIP_UP_DOWN);
  Command(c, IDM_ROTATE_RIGHT);
  const SIZE turned = ImageSize(c);
  if (!Check(c, turned.cx == before.cy && turned.cy == before.cx, "flips: a quarter turn did not swap the sides"))
    return false;
  Command(c, IDM_ROTATE_LEFT);
  return Check(c, ImageSize(c).cx == before.cx, "flips: turning back did not restore the width");
}

bool Effects(Cycle& c) {
  if (!ViewerOpen(c, "effects")) return false;
  const auto* bits = static_cast<const uint8_t*>(c.lib.getImageBits());
  const uint8_t first = bits ? bits[0] : 0;
  Command(c, IDM_INVERT);
  bits = static_cast<const uint8_t*>(c.lib.getImageBits());
  if (!Check(c, bits && bits[0] == 255 - first, "effects: inversion did not invert")) return false;
  Command(c, IDM_SEPIA);
  Command(c, IDM_GREY);
  Command(c, IDM_RESET);
  return Check(c, IsWindow(c.viewer) && ImageSize(c).cx == kWorkWidth, "effects: reset lost the image");
}

bool CursorStamp(Cycle& c) {
  if (!ViewerOpen(c, "cursor")) return false;
  Command(c, IDM_ADD_CURSOR);
  HWND picker = OwnedOfWidth(c.viewer, 127);
  if (!Check(c, picker != nullptr, "cursor: no picker")) return false;
  const int x = 5 + 37 + 10, y = 3 + 36 * 4 + 10;  // a cell of the picker
  Mouse(picker, WM_MOUSEMOVE, x, y);
  Mouse(picker, WM_LBUTTONDOWN, x, y, MK_LBUTTON);
  if (!Check(c, !IsWindow(picker), "cursor: the picker stayed after the pick")) return false;
  Mouse(c.viewer, WM_MOUSEMOVE, 90, 60);
  Mouse(c.viewer, WM_MOUSEMOVE, 100, 80);
  Mouse(c.viewer, WM_LBUTTONDOWN, 100, 80, MK_LBUTTON);
  Mouse(c.viewer, WM_LBUTTONUP, 100, 80);
  return Check(c, IsWindow(c.viewer) != FALSE, "cursor: stamping lost the viewer");
}

// The inspector opens on a press; its settings turn the readout on; a drag measures.
bool Inspector(Cycle& c) {
  if (!ViewerOpen(c, "inspector")) return false;
  Click(c.viewer, 40, 40);
  HWND inspector = OwnedOfWidth(c.viewer, 250);
  if (!Check(c, inspector != nullptr, "inspector: a press did not open it")) return false;
  const bool readoutWasOn = !wintest::ChildWindows(inspector).empty();
  Click(inspector, 157, 8);            // settings
  Click(inspector, 27 + 118, 45);      // the readout page
  Click(inspector, 27 + 20, 19 + 27);  // the readout switch
  Click(inspector, 27 + 140, 45);      // apply
  const bool readoutOn = !wintest::ChildWindows(inspector).empty();
  if (!Check(c, readoutOn != readoutWasOn, "inspector: the readout switch did nothing")) return false;
  Drag(c.viewer, {60, 60}, {90, 75});
  SendMessageW(c.viewer, WM_KEYDOWN, VK_RIGHT, 0);
  SendMessageW(c.viewer, WM_KEYUP, VK_RIGHT, 0);
  Mouse(c.viewer, WM_RBUTTONDOWN, 60, 60, MK_RBUTTON);
  Mouse(c.viewer, WM_RBUTTONUP, 60, 60);
  return Check(c, wintest::PumpUntil([&] { return !IsWindow(inspector); }, 3000),
               "inspector: a right click left it open");
}

bool ClipboardHasDib(HWND owner) {
  if (!OpenClipboard(owner)) return false;
  const bool has = IsClipboardFormatAvailable(CF_DIB) != FALSE;
  CloseClipboard();
  return has;
}
void EmptyTheClipboard(HWND owner) {
  if (!OpenClipboard(owner)) return;
  EmptyClipboard();
  CloseClipboard();
}

bool SelectionAndCopy(Cycle& c) {
  if (!ViewerOpen(c, "selection")) return false;
  EmptyTheClipboard(c.host);
  Command(c, IDM_COPY_RANGE);
  Drag(c.viewer, {10, 10}, {60, 40});
  if (!Check(c, ClipboardHasDib(c.host), "selection: the range was not copied")) return false;
  EmptyTheClipboard(c.host);
  Command(c, IDM_COPY_WHOLE);
  if (!Check(c, ClipboardHasDib(c.host), "selection: the whole view was not copied")) return false;
  EmptyTheClipboard(c.host);
  Command(c, IDM_SHOW_RANGE);
  Drag(c.viewer, {20, 20}, {120, 70});
  const SIZE shown = ImageSize(c);
  if (!Check(c, shown.cx > 0 && shown.cx < kWorkWidth, "selection: the shown range did not become the image"))
    return false;
  if (HWND inspector = OwnedOfWidth(c.viewer, 250)) {
    Mouse(c.viewer, WM_RBUTTONDOWN, 30, 30, MK_RBUTTON);
    Mouse(c.viewer, WM_RBUTTONUP, 30, 30);
    if (!Check(c, wintest::PumpUntil([&] { return !IsWindow(inspector); }, 3000), "selection: the inspector stayed"))
      return false;
  }
  Command(c, IDM_RESET);
  return Check(c, IsWindow(c.viewer) && ImageSize(c).cx == kWorkWidth, "selection: reset lost the image");
}

bool FileHasBytes(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  return GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) && (data.nFileSizeLow || data.nFileSizeHigh);
}

// Saves the whole view once in each type the dialog offers, then the temporary file.
bool SaveEachType(Cycle& c) {
  if (!ViewerOpen(c, "save")) return false;
  const wchar_t* extensions[] = {L"bmp", L"jpg", L"png"};
  for (int type = 1; type <= 3; ++type) {
    if (c.number > 0 && type != 1 + c.number % 3) continue;
    const std::wstring path = c.folder + L"soak." + extensions[type - 1];
    DeleteFileW(path.c_str());
    c.answerer.Answer(path);
    c.answerer.fileType = type;
    Command(c, IDM_SAVE_WHOLE);
    c.answerer.fileType = 0;
    const bool saved = FileHasBytes(path);
    DeleteFileW(path.c_str());
    if (!Check(c, saved, "save: nothing written as " + wintest::Utf8(extensions[type - 1]))) return false;
    if (!IsWindow(c.viewer)) return false;
  }
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring gif = std::wstring(temp) + L"tmppictr.gif";
  DeleteFileW(gif.c_str());
  Command(c, IDM_TEMP_FILE);
  const bool made = GetFileAttributesW(gif.c_str()) != INVALID_FILE_ATTRIBUTES;
  DeleteFileW(gif.c_str());
  return Check(c, made, "save: no temporary file");
}

bool Panels(Cycle& c) {
  if (!ViewerOpen(c, "panels")) return false;
  Command(c, IDM_POSTERISE);
  HWND poster = OwnedWithControl(c.viewer, IDC_POSTER_PREVIEW);
  if (!Check(c, poster != nullptr, "panels: no posterisation panel")) return false;
  ClickButton(poster, IDC_POSTER_PREVIEW);
  SendMessageW(poster, WM_CLOSE, 0, 0);
  if (!Check(c, !IsWindow(poster), "panels: the posterisation panel stayed")) return false;

  Command(c, IDM_COUNT_COLOURS);
  HWND count = OwnedWithControl(c.viewer, IDC_COUNT_VALUE);
  if (!Check(c, count != nullptr, "panels: no colour count")) return false;
  if (!Check(c, !wintest::WindowText(GetDlgItem(count, IDC_COUNT_VALUE)).empty(), "panels: the count is empty"))
    return false;
  Command(c, IDM_RGB_GAUGE);
  HWND gauge = OwnedWithControl(c.viewer, IDC_GAUGE_CLOSE);
  if (!Check(c, !IsWindow(count) && gauge != nullptr, "panels: the gauge did not replace the count")) return false;
  ClickButton(gauge, IDC_GAUGE_CLOSE);
  if (!Check(c, !IsWindow(gauge), "panels: the gauge stayed")) return false;
  Command(c, IDM_ZOOM_100);  // renders the screen back after the preview
  return true;
}

// The range capture's or the window pick's window: a captionless dialog over the whole screen.
HWND CaptureWindow() {
  const SIZE screen = Screen();
  for (HWND w : wintest::ProcessWindows([](HWND w) { return IsWindowVisible(w) != FALSE; })) {
    RECT r{};
    GetWindowRect(w, &r);
    if (wintest::WindowClass(w) == L"#32770" && r.left == 0 && r.top == 0 && r.right == screen.cx && r.bottom == screen.cy)
      return w;
  }
  return nullptr;
}

// Wine reports pointer moves of its own when a window is restacked: the real pointer goes
// to the point first so they agree with the ones sent.
void PointerTo(HWND window, int x, int y, WPARAM keys = 0) {
  POINT onScreen{x, y};
  ClientToScreen(window, &onScreen);
  SetCursorPos(onScreen.x, onScreen.y);
  Mouse(window, WM_MOUSEMOVE, x, y, keys);
}

bool ViewerFromCapture(Cycle& c, const std::string& step) {
  c.viewer = FindViewer(c.host);
  if (!ViewerOpen(c, step.c_str())) return false;
  return CloseViewer(c, step);
}

bool CaptureModes(Cycle& c) {
  // A drag over 80 x 40 pixels, both corners included.
  if (!Check(c, c.lib.runToolRequest(c.host, 11, 1) == 0, "capture modes: request 11")) return false;
  HWND range = CaptureWindow();
  if (!Check(c, range != nullptr, "capture modes: no range window")) return false;
  PointerTo(range, 100, 100);
  Mouse(range, WM_LBUTTONDOWN, 100, 100, MK_LBUTTON);
  PointerTo(range, 179, 139, MK_LBUTTON);
  Mouse(range, WM_LBUTTONUP, 179, 139);
  const SIZE dragged = ImageSize(c);
  if (!Check(c, dragged.cx == 80 && dragged.cy == 40, "capture modes: the drag is not 80 x 40")) return false;
  if (!ViewerFromCapture(c, "capture modes, range")) return false;
  // A character cancels and frees the frozen screen.
  if (!Check(c, c.lib.runToolRequest(c.host, 11, 1) == 0, "capture modes: request 11 again")) return false;
  range = CaptureWindow();
  if (range) SendMessageW(range, WM_CHAR, 'q', 0);
  if (!Check(c, range && !IsWindow(range) && c.lib.getImageBits() == nullptr, "capture modes: cancel kept something"))
    return false;
  // The window pick over the host's window.
  if (!Check(c, c.lib.runToolRequest(c.host, 12, 1) == 0, "capture modes: request 12")) return false;
  HWND pick = CaptureWindow();
  if (!Check(c, pick != nullptr, "capture modes: no pick window")) return false;
  RECT hostRect{};
  GetWindowRect(c.host, &hostRect);
  PointerTo(pick, hostRect.left + 20, hostRect.top + 20);
  Click(pick, hostRect.left + 20, hostRect.top + 20);
  // Requests 13 and 14 are left to their own tests: 13 needs a foreground window other
  // than the host, and 14 waits five seconds.
  return ViewerFromCapture(c, "capture modes, pick");
}

// The preview over the work picture: each tab, a range with the x2 traces, the settings
// changed and changed back, closed again while the viewer stays.
bool JpegPreview(Cycle& c) {
  if (!ViewerOpen(c, "JPEG preview")) return false;
  Command(c, IDM_JPEG_PREVIEW);
  HWND preview = OwnedOfWidth(c.viewer, 730);
  if (!Check(c, preview != nullptr, "JPEG preview: no window")) return false;
  Click(preview, 650, 128);  // difference A
  Click(preview, 650, 145);  // difference B
  Click(preview, 523, 434);  // range, then a drag on the picture
  Drag(preview, {60, 60}, {250, 180});
  Click(preview, 555, 434);  // x2
  if (HWND panel = FindWindowExW(preview, nullptr, L"#32770", nullptr)) {
    for (int id : {IDC_JPEG_QUALITY_DOWN, IDC_JPEG_QUALITY_UP, IDC_JPEG_PROGRESSIVE, IDC_JPEG_PROGRESSIVE})
      SendMessageW(GetDlgItem(panel, id), BM_CLICK, 0, 0);
  }
  Mouse(preview, WM_RBUTTONDOWN, 200, 200, MK_RBUTTON);
  Mouse(preview, WM_RBUTTONUP, 200, 200);
  Click(preview, 650, 110);  // the picture again
  SendMessageW(preview, WM_CLOSE, 0, 0);
  return Check(c, !IsWindow(preview), "JPEG preview: the window did not close") && ViewerOpen(c, "JPEG preview");
}

bool CloseTheViewer(Cycle& c) { return CloseViewer(c, "close"); }

// Request 15 with a file of each kind the library reads; each opens the viewer at its
// size, which then closes.
bool OpenEachKind(Cycle& c) {
  const std::wstring fixtures = wintest::ProgramFolder() + L"open_fixtures\\";
  const std::wstring emf = c.folder + L"drawing.emf", wmf = c.folder + L"drawing.wmf";
  if (GetFileAttributesW(emf.c_str()) == INVALID_FILE_ATTRIBUTES) {
    wintest::TempFolder writer;  // writes into its own folder; copied next to the saves
    CopyFileW(writer.Write(L"x.emf", wintest::EmfBytes().data(), wintest::EmfBytes().size()).c_str(), emf.c_str(),
              FALSE);
    const auto wmfBytes = wintest::PlaceableWmfBytes();
    CopyFileW(writer.Write(L"x.wmf", wmfBytes.data(), wmfBytes.size()).c_str(), wmf.c_str(), FALSE);
  }
  const struct {
    std::wstring path;
    int width, height;
  } files[] = {
      {fixtures + L"base.bmp", 127, 64},
      {fixtures + L"rle.bmp", 127, 64},
      {fixtures + L"photo.JPEG", 127, 64},
      {fixtures + L"logo.png", 127, 64},
      {fixtures + L"screen.gif", 40, 30},
      {fixtures + L"icon.ico", 32, 32},
      {fixtures + L"cursor.cur", 32, 32},
      {emf, 100, 50},
      {wmf, 100, 50},
  };
  for (size_t i = 0; i < std::size(files); ++i) {
    if (c.number > 0 && i != static_cast<size_t>(c.number) % std::size(files)) continue;
    const auto& file = files[i];
    const std::string name = "open " + wintest::Utf8(file.path.substr(file.path.find_last_of(L'\\') + 1));
    c.answerer.Answer(file.path);
    const int result = c.lib.runToolRequest(c.host, 15, 1);
    c.viewer = FindViewer(c.host);
    if (!Check(c, result == 0 && c.viewer, name + ": no viewer")) return false;
    const SIZE size = ImageSize(c);
    if (!Check(c, size.cx == file.width && size.cy == file.height, name + ": not at its size")) return false;
    if (!CloseViewer(c, name)) return false;
  }
  c.answerer.Answer(L"");
  return true;
}

// Kernel handles of this process: GetProcessHandleCount, or where it answers 0 (Wine) a
// scan of the handle values up to a run of 1,024 unused ones (the system hands out the
// lowest free value, so the used ones stay packed; Wine's file dialogs alone leave some
// thousands in a long soak).
int CountHandles() {
  DWORD handles = 0;
  if (GetProcessHandleCount(GetCurrentProcess(), &handles) && handles) return static_cast<int>(handles);
  int count = 0;
  DWORD flags = 0;
  for (ULONG_PTR value = 4, unused = 0; unused < 1024; value += 4) {
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) {
      ++count;
      unused = 0;
    } else {
      ++unused;
    }
  }
  return count;
}

}  // namespace

const std::vector<Step>& Steps() {
  static const std::vector<Step> steps = {
      {"capture", Capture, false},
      {"capture modes", CaptureModes, false},
      {"open each kind", OpenEachKind, false},
      {"open the work picture", OpenWorkPicture, false},
      {"zoom modes and sizes", ZoomModes, false},
      {"flips and turns", FlipsAndTurns, false},
      {"effects", Effects, false},
      {"cursor stamp", CursorStamp, false},
      {"inspector", Inspector, true},
      {"selection and copy", SelectionAndCopy, true},
      {"save in each type", SaveEachType, false},
      {"posterise, count, gauge", Panels, false},
      // A refresh or difference image that cannot be made leaves the preview as it was,
      // without a message.
      {"JPEG preview", JpegPreview, true},
      {"close the viewer", CloseTheViewer, false},
  };
  return steps;
}

bool RunCycle(Cycle& c, const std::function<bool(const Step&)>& afterStep) {
  bool ok = true;
  for (const Step& step : Steps()) {
    if (Tracing())
      std::fprintf(stderr, "%llu step: %s (handles %d, GDI %d)\n", GetTickCount64() % 1000000, step.name,
                   CountHandles(), wintest::CountGdiObjects());
    const int boxes = c.answerer.messageBoxesDismissed;
    const bool went = step.run(c);
    // A clean cycle shows no message box anywhere.
    const bool quiet = Check(c, c.answerer.messageBoxesDismissed == boxes,
                             std::string(step.name) + ": a message box said " + wintest::Utf8(c.answerer.lastBoxText));
    ok = ok && went && quiet;
    if (afterStep && !afterStep(step)) return ok;
    if (c.strict && !ok) return false;
  }
  return ok;
}

Counts Measure() {
  wintest::PumpPending();
  Counts counts;
  counts.gdi = wintest::CountGdiObjects();
  counts.user = static_cast<int>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS));
  counts.handles = CountHandles();
  counts.windows = wintest::CountWindows();
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof(memory);
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof(memory));
  counts.privateBytes = memory.PagefileUsage;  // what Wine fills in for private bytes
  counts.workingSet = memory.WorkingSetSize;
  return counts;
}

std::string Describe(const Counts& counts) {
  char line[200];
  std::snprintf(line, sizeof(line), "GDI %d, USER %d, handles %d, windows %d, private %zu KB, working set %zu KB",
                counts.gdi, counts.user, counts.handles, counts.windows, counts.privateBytes / 1024,
                counts.workingSet / 1024);
  return line;
}

int SoakCycles(int fallback) {
  const char* text = std::getenv("PICTORNX_SOAK_CYCLES");
  const int cycles = text ? std::atoi(text) : 0;
  return cycles > 0 ? cycles : fallback;
}

}  // namespace soak
