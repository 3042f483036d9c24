// JpegPreviewWindow: opening, closing, the window's messages and the save-and-reload cycle.
#include "jpegpreview/jpeg_preview.h"

#include <iterator>
#include <utility>

#include "codecs/jpeg_codec.h"
#include "files/save_image.h"
#include "imagestore/image_buffers.h"
#include "jpegpreview/diff_controls_rules.h"
#include "jpegpreview/jpeg_settings_panel.h"
#include "jpegpreview/preview_notice.h"
#include "jpegpreview/preview_state.h"
#include "pixels/jpeg_diff.h"
#include "resources/resource_ids.h"
#include "inspector/pixel_inspector.h"
#include "ui/hint.h"
#include "ui/painted_window.h"
#include "ui/popup.h"
#include "ui/timers.h"
#include "ui/tool_windows.h"
#include "ui/window_shape.h"
#include "win/dialog_result.h"
#include "win/module.h"

namespace pictornx {
namespace {

constexpr wchar_t kTempJpegName[] = L"pictrnck.jpg";
constexpr int kPanelIds[3] = {IDC_PREVIEW_RED_PANEL, IDC_PREVIEW_GREEN_PANEL, IDC_PREVIEW_BLUE_PANEL};
// The viewer's menu entries that would change or replace the image under the preview.
constexpr int kGreyedBarItems[] = {1, 2, 3, 4, 5};
constexpr int kGreyedFirstMenuItems[] = {0, 1, 3, 7, 8};

// Survives closing: the preview reopens where it was.
PreviewRect& SavedPlacement() {
  static PreviewRect placement;
  return placement;
}

enum class InitFailure { kNone, kMemory };
InitFailure g_initFailure = InitFailure::kNone;

void SetViewerMenu(HWND viewer, bool enabled) {
  HMENU bar = viewer ? GetMenu(viewer) : nullptr;
  if (!bar) return;
  const UINT state = MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED);
  for (int item : kGreyedBarItems) EnableMenuItem(bar, static_cast<UINT>(item), state);
  if (HMENU first = GetSubMenu(bar, 0))
    for (int item : kGreyedFirstMenuItems) EnableMenuItem(first, static_cast<UINT>(item), state);
  DrawMenuBar(viewer);
}

void PlaceWindow(HWND window) {
  RECT desktop{};
  GetWindowRect(GetDesktopWindow(), &desktop);
  const PreviewPoint at = PreviewOpenPosition(
      SavedPlacement(), {desktop.left, desktop.top, desktop.right, desktop.bottom});
  MoveWindow(window, at.x, at.y, kPreviewWidth, kPreviewHeight, FALSE);
}

void RecordPlacement(HWND window) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  if (!GetWindowPlacement(window, &placement)) return;
  const RECT& r = placement.rcNormalPosition;
  SavedPlacement() = {static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.right),
                      static_cast<int>(r.bottom)};
}

void RefreshFromPanel() { RefreshJpegPreview(); }

ConstImageView CompareSourceImage() {
  PreviewState& s = Preview();
  return s.window ? ShownImage(s) : ConstImageView{};
}

// Steps that need memory; false sends the window away with the memory message.
bool PlaceControls(PreviewState& s) {
  const ImageBuffersState& images = Images();
  s.imageWidth = images.workImage.Width();
  s.imageHeight = images.workImage.Height();
  s.geometry = ViewGeometryFor(s.imageWidth, s.imageHeight);
  s.offset = {};
  s.view = GetDlgItem(s.window, IDC_PREVIEW_VIEW);
  if (!s.view) return false;
  MoveWindow(s.view, kViewLeft, kViewTop, 450, 434, FALSE);
  s.subclassed = SubclassControl(s.view, MainViewProc);
  if (s.geometry.visibleWidth > 0 && s.geometry.visibleHeight > 0 &&
      !s.viewImage.Create(s.view, s.geometry.visibleWidth, s.geometry.visibleHeight, images.screenPalette.Get()))
    return false;
  CopyToViewImage(s, images.workImage.View());
  for (int k = 0; k < 3; ++k) {
    s.panels[k] = GetDlgItem(s.window, kPanelIds[k]);
    if (!s.panels[k]) return false;
    MoveWindow(s.panels[k], kViewLeft + 450 + 4, kViewTop + k * (135 + 4), 128, 135, FALSE);
    SubclassControl(s.panels[k], ChannelPanelProc);
  }
  ShowWindow(s.view, SW_SHOWNA);
  for (HWND panel : s.panels) ShowWindow(panel, SW_SHOWNA);
  InvalidateView(s);
  return true;
}

bool InitPreview(HWND window) {
  PreviewState& s = Preview();
  s.window = window;
  SetToolWindowHandle(ToolWindow::kJpegPreview, window);
  // The face is painted whole: the parent must not paint over its own controls.
  SetWindowLongPtrW(window, GWL_STYLE, GetWindowLongPtrW(window, GWL_STYLE) | WS_CLIPCHILDREN);
  SetViewerMenu(s.viewer, false);
  PlaceWindow(window);
  if (!BuildPreviewFace(s)) return false;
  SetWindowShape(window, RoundRectRegion(kPreviewWidth, kPreviewHeight, 16), false);
  JpegSettingsCallbacks callbacks;
  callbacks.refreshPreview = RefreshFromPanel;
  callbacks.refreshLoupe = RefreshLoupe;
  if (OpenJpegSettingsPanel(window, 595, 265, callbacks) != 0) return false;
  SetInspectorCompareMode(true);
  SetInspectorCompareSource(CompareSourceImage);
  s.openingCursor = GetCursor();
  if (!PlaceControls(s)) return false;
  DrawSizeBox(s);
  s.noticeFont = CreateProcessingNoticeFont();
  if (!OpenDiffViews(s)) return false;
  DrawSaveCloseButtons(s);
  s.firstRefresh = true;
  return true;
}

void OnDestroy(HWND window) {
  PreviewState& s = Preview();
  if (s.window != window) return;
  SetPreviewCursor(s, 0);
  if (GetCapture() == window) ReleaseCapture();
  CloseHint();
  OpenPixelInspector(window, 0);
  SetInspectorCompareSource(nullptr);
  SetInspectorCompareMode(false);
  CloseJpegSettingsPanel();
  CloseDiffViews(s);
  if (s.view) {
    KillTimer(s.view, kRangeNoticeTimer);
    RemoveSubclass(s.view);
  }
  HWND viewer = s.viewer;
  s = PreviewState{};
  SetToolWindowHandle(ToolWindow::kJpegPreview, nullptr);
  if (viewer && IsWindow(viewer)) SetViewerMenu(viewer, true);
}

bool InSaveButton(int x, int y) { return x >= 598 && x <= 654 && y >= 416 && y <= 437; }
bool InCloseButton(int x, int y) { return x >= 660 && x <= 717 && y >= 416 && y <= 437; }

void OnLeftDown(PreviewState& s, int x, int y) {
  CloseHint();
  if (InSaveButton(x, y) || InCloseButton(x, y)) {
    s.held = InSaveButton(x, y) ? HeldButton::kSave : HeldButton::kClose;
    SetCapture(s.window);
    DrawSaveCloseButtons(s);
    return;
  }
  if (DiffLeftDown(s, x, y)) return;
  if (InViewArea(x, y)) {
    ViewLeftDown(s, x, y);
    return;
  }
  DragByBody(s.window);
}

void OnLeftUp(PreviewState& s, int x, int y) {
  const HeldButton held = s.held;
  if (held != HeldButton::kNone) {
    s.held = HeldButton::kNone;
    DrawSaveCloseButtons(s);
    ReleaseCapture();
    // The release counts wherever the pointer is.
    if (held == HeldButton::kSave)
      SaveImage(s.window, WholeWorkImage(), true);
    else
      SendMessageW(s.window, WM_CLOSE, 0, 0);
    return;
  }
  DiffLeftUp(s, x, y);
  ViewLeftUp(s, x, y);
}

void TrackTooltips(PreviewState& s, int x, int y) {
  if (TabHeld()) return;
  if (TrackQualityHint(s, x, y)) return;
  const int id = TooltipStringAt(x, y, SelectingRange());
  if (id == 0) {
    CloseHint();
    return;
  }
  POINT screen{};
  GetCursorPos(&screen);
  TrackHint(s.window, kHintHotSpot, static_cast<UINT>(id), screen.x, screen.y);
}

INT_PTR CALLBACK PreviewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  PreviewState& s = Preview();
  const int x = static_cast<short>(LOWORD(lParam));
  const int y = static_cast<short>(HIWORD(lParam));
  switch (message) {
    case WM_INITDIALOG:
      g_initFailure = InitPreview(window) ? InitFailure::kNone : InitFailure::kMemory;
      return FALSE;
    case WM_ERASEBKGND:
      return DialogResult(window, 1);
    case WM_PAINT:
      s.face.Paint(window);
      return TRUE;
    case WM_MOUSEMOVE:
      if (s.window != window) return TRUE;
      TrackTooltips(s, x, y);
      if (!DiffMouseMove(s, x, y, wParam)) ViewMouseMove(s, x, y, (wParam & MK_LBUTTON) != 0);
      return TRUE;
    case WM_LBUTTONDOWN:
      if (s.window == window) OnLeftDown(s, x, y);
      return TRUE;
    case WM_LBUTTONUP:
      if (s.window == window) OnLeftUp(s, x, y);
      return TRUE;
    case WM_LBUTTONDBLCLK:
      if (s.window == window && !ApplyQualitySuggestion(s, x, y)) DiffLeftDoubleClick(s, x, y);
      return TRUE;
    case WM_RBUTTONDOWN:
      CloseHint();
      if (s.window == window) DiffRightDown(s, x, y);
      return TRUE;
    case WM_RBUTTONUP:
      if (s.window == window) {
        s.dragging = false;
        s.leftDown = false;
        DiffRightUp(s, x, y);
      }
      return TRUE;
    case WM_CLOSE:
      if (s.window == window) RecordPlacement(window);
      DestroyWindow(window);
      return TRUE;
    case WM_DESTROY:
      OnDestroy(window);
      return TRUE;
    default:
      return FALSE;
  }
}

// The temporary JPEG goes whatever happens after it was first written.
class TempFileGuard {
 public:
  explicit TempFileGuard(const wchar_t* path) : path_(path) {}
  TempFileGuard(const TempFileGuard&) = delete;
  TempFileGuard& operator=(const TempFileGuard&) = delete;
  ~TempFileGuard() { DeleteFileW(path_); }

 private:
  const wchar_t* path_;
};

bool TempJpegPath(wchar_t (&path)[MAX_PATH + 1]) {
  const DWORD length = GetTempPathW(MAX_PATH + 1, path);
  if (length == 0 || length > MAX_PATH) return false;
  if (length + std::size(kTempJpegName) > MAX_PATH + 1) return false;
  lstrcatW(path, kTempJpegName);
  return true;
}

// The decoded JPEG goes straight into the spare DIB section (or a new one when the size
// differs), which replaces JpegImage only when the whole refresh has succeeded. A spare
// meets the sink's promise of zero bytes where the decoder writes nothing: no one ever
// writes the rows' padding, and the decoder writes every pixel byte.
class DibSink final : public ImageSink {
 public:
  explicit DibSink(DibSection spare) : dib(std::move(spare)) {}
  bool Allocate(int width, int height, ImageView* out) override {
    if (!dib || dib.view.width != width || dib.view.height != height) dib = CreateDib24(width, height);
    if (!dib) {
      noMemory = true;
      return false;
    }
    *out = dib.view;
    return true;
  }
  DibSection dib;
  bool noMemory = false;
};

// The JPEG is made in memory and goes to the file in one write: many small writes cost
// more than the encoding where the file system is emulated.
bool WriteTempJpeg(const wchar_t* path, ConstImageView work) {
  ByteBlock bytes;
  if (!EncodeJpeg(work, JpegSettings(), &bytes).Ok() || bytes.size() > 0xFFFFFFFFu) return false;
  HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL wrote = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  const BOOL closed = CloseHandle(file);
  return wrote && closed && written == bytes.size();
}

int MeasureFile(const wchar_t* path, uint32_t& bytes) {
  HANDLE file = CreateFileW(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return kRefreshNotMeasured;
  LARGE_INTEGER size{};
  const BOOL measured = GetFileSizeEx(file, &size);
  CloseHandle(file);
  if (!measured || size.QuadPart < 0 || size.QuadPart > 0xFFFFFFFFll) return kRefreshNotMeasured;
  bytes = static_cast<uint32_t>(size.QuadPart);
  return kRefreshDone;
}

}  // namespace

PreviewState& Preview() {
  static PreviewState state;
  return state;
}

HWND JpegPreviewWindow() { return ToolWindowHandle(ToolWindow::kJpegPreview); }

void OpenJpegPreview(HWND viewer) {
  OpenPixelInspector(viewer, 0);
  CloseToolWindow(ToolWindow::kArbitrarySize);
  CloseToolWindow(ToolWindow::kPosterise);
  if (JpegPreviewWindow()) return;
  PreviewState& s = Preview();
  s = PreviewState{};
  s.viewer = viewer;
  g_initFailure = InitFailure::kNone;
  HWND window = CreateDialogParamW(ModuleInstance(), MAKEINTRESOURCEW(IDD_JPEG_PREVIEW), viewer, PreviewProc, 0);
  if (!window || g_initFailure != InitFailure::kNone) {
    if (window) SendMessageW(window, WM_CLOSE, 0, 0);
    ShowMemoryError(viewer);
    return;
  }
  const int result = RefreshJpegPreview();
  if (result == kRefreshDone) return;
  wchar_t text[200];
  LoadResString(IDS_PREVIEW_NOT_WRITABLE, text, 200);
  SendMessageW(window, WM_CLOSE, 0, 0);
  if (result == kRefreshNoTempFolder)
    MessageBoxW(viewer, text, nullptr, MB_ICONINFORMATION);
  else
    ShowMemoryError(viewer);
}

int RefreshJpegPreview() {
  PreviewState& s = Preview();
  if (!s.window || !IsWindow(s.window)) return kRefreshNoWindow;
  const ImageBuffersState& images = Images();
  const ConstImageView work = images.workImage.View();
  const int width = images.viewSize.cx, height = images.viewSize.cy;
  if (width < 1 || height < 1 || work.Empty() || work.width != width || work.height != height)
    return kRefreshNoImage;
  if (int64_t{width} * height > kRefreshNoticePixels) ShowProcessingNotice(MainViewDc(s).Get(), s.noticeFont.Get());

  wchar_t path[MAX_PATH + 1];
  if (!TempJpegPath(path)) return kRefreshNoTempFolder;
  const TempFileGuard removeFile(path);
  if (!WriteTempJpeg(path, work)) return kRefreshWriteFailed;
  DibSink sink(std::move(s.spareJpeg));
  const CodecResult read = ReadJpegFile(path, sink);
  if (sink.noMemory) return kRefreshNoMemory;
  if (!read.Ok() || !sink.dib || sink.dib.view.width != width || sink.dib.view.height != height)
    return kRefreshReadFailed;
  uint32_t fileBytes = 0;
  if (const int measured = MeasureFile(path, fileBytes); measured != kRefreshDone) return measured;
  DibSection diffA = std::move(s.spareDiffA);
  if (!diffA || diffA.view.width != width || diffA.view.height != height) diffA = CreateDib24(width, height);
  if (!diffA) return kRefreshNoMemory;
  BuildDiffImage(work, sink.dib.view, diffA.view, 1);

  // Everything new exists: only now does the window let go of what it showed.
  s.spareJpeg = std::exchange(s.jpegImage, std::move(sink.dib));
  s.spareDiffA = std::exchange(s.diffA, std::move(diffA));
  s.diffBCurrent = false;
  s.imageWidth = width;
  s.imageHeight = height;
  s.fileBytes = fileBytes;
  s.shownOptions = JpegSettings();
  ShowRefreshedSizes(s);
  AfterRefresh(s);
  return kRefreshDone;
}

}  // namespace pictornx
