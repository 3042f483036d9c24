#include "viewer/viewer.h"

#include <algorithm>
#include <utility>

#include "ui/draw.h"
#include "win/handles.h"
#include "ui/host_link.h"
#include "imagestore/image_buffers.h"
#include "win/module.h"
#include "win/paint.h"
#include "win/step_clock.h"
#include "ui/popup.h"
#include "viewer/render_view.h"
#include "resources/resource_ids.h"
#include "ui/tool_windows.h"
#include "viewer/selection.h"
#include "viewer/viewer_hooks.h"
#include "viewer/viewer_inspector.h"
#include "viewer/viewer_rules.h"

namespace pictornx {
namespace {

ViewerHooks g_hooks;

constexpr COLORREF kUncoveredHatch = 0x0000C8FF;  // red 255, green 200, blue 0
constexpr int64_t kEarlyShowBytes = 3000000;

SCROLLINFO ScrollRecord(int maximum, int page, int position) {
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
  info.nMin = 0;
  info.nMax = maximum;
  info.nPage = static_cast<UINT>(page);
  info.nPos = position;
  return info;
}

SIZE ClientSize(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return {client.right, client.bottom};
}

void ApplyScrollRecords(HWND window) {
  ViewerState& viewer = Viewer();
  SetScrollInfo(window, SB_HORZ, &viewer.horizontal, TRUE);
  SetScrollInfo(window, SB_VERT, &viewer.vertical, TRUE);
}

// Both scroll ranges from ViewSize and the client size, page 20, at the current offsets.
void SetScrollRanges(HWND window) {
  ViewerState& viewer = Viewer();
  const SIZE view = Images().viewSize;
  const SIZE client = ClientSize(window);
  viewer.horizontal = ScrollRecord(ScrollMaximum(view.cx, client.cx), kViewerScrollPage, viewer.offsetX);
  viewer.vertical = ScrollRecord(ScrollMaximum(view.cy, client.cy), kViewerScrollPage, viewer.offsetY);
  ApplyScrollRecords(window);
}

void DrawWorkImage(HDC dc) {
  const ViewerState& viewer = Viewer();
  const SharedImage& work = Images().workImage;
  if (!work) return;
  SetDIBitsToDevice(dc, -viewer.offsetX, -viewer.offsetY, static_cast<DWORD>(work.Width()),
                    static_cast<DWORD>(work.Height()), 0, 0, 0, static_cast<UINT>(work.Height()), work.Bits(),
                    reinterpret_cast<const BITMAPINFO*>(&work.header), DIB_RGB_COLORS);
}

// Every paint redraws the whole client area through the window's own DC; the parts the
// image does not cover (right of it and below it) get the amber cross-hatch.
void PaintViewer(HWND window) {
  { PaintScope validate(window); }

  WindowDc dc(window);
  ScreenPaletteScope palette(dc.Get());
  const SIZE client = ClientSize(window);
  const SIZE view = Images().viewSize;
  const ViewerState& viewer = Viewer();
  const int imageRight = view.cx - viewer.offsetX;
  const int imageBottom = view.cy - viewer.offsetY;
  if (imageRight < client.cx || imageBottom < client.cy) {
    OwnedRegion uncovered(CreateRectRgn(0, 0, client.cx, client.cy));
    OwnedRegion image(CreateRectRgn(0, 0, std::max(0, imageRight), std::max(0, imageBottom)));
    CombineRgn(uncovered.Get(), uncovered.Get(), image.Get(), RGN_DIFF);
    OwnedBrush hatch(CreateHatchBrush(HS_DIAGCROSS, kUncoveredHatch));
    SetBrushOrgEx(dc.Get(), 0, 0, nullptr);
    FillRgn(dc.Get(), uncovered.Get(), hatch.Get());
  }
  DrawWorkImage(dc.Get());
}

void OnSize(HWND window, WPARAM kind) {
  ViewerState& viewer = Viewer();
  if (kind == SIZE_RESTORED || kind == SIZE_MAXIMIZED) viewer.offsetX = viewer.offsetY = 0;
  SetScrollRanges(window);
}

ScrollRequest ToScrollRequest(WORD code) {
  switch (code) {
    case SB_LINEUP: return ScrollRequest::kLineBack;
    case SB_LINEDOWN: return ScrollRequest::kLineForward;
    case SB_PAGEUP: return ScrollRequest::kPageBack;
    case SB_PAGEDOWN: return ScrollRequest::kPageForward;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: return ScrollRequest::kThumb;
    default: return ScrollRequest::kOther;
  }
}

void OnScroll(HWND window, int bar, WPARAM wParam) {
  ViewerState& viewer = Viewer();
  SCROLLINFO& info = bar == SB_HORZ ? viewer.horizontal : viewer.vertical;
  int& offset = bar == SB_HORZ ? viewer.offsetX : viewer.offsetY;
  const int thumb = static_cast<short>(HIWORD(wParam));
  const int step = ScrollStep(ToScrollRequest(LOWORD(wParam)), thumb, offset, info.nMax, static_cast<int>(info.nPage));
  if (step == 0) return;
  offset += step;
  info.nPos += step;
  SetScrollInfo(window, bar, &info, TRUE);
  if (bar == SB_HORZ)
    ScrollWindowEx(window, -step, 0, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE);
  else
    ScrollWindowEx(window, 0, -step, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE);
  UpdateWindow(window);
}

void OnKeyDown(HWND window, WPARAM key) {
  if (!ToolWindowHandle(ToolWindow::kJpegPreview)) {
    ArrowKey arrow{};
    bool isArrow = true;
    switch (key) {
      case VK_LEFT: arrow = ArrowKey::kLeft; break;
      case VK_RIGHT: arrow = ArrowKey::kRight; break;
      case VK_UP: arrow = ArrowKey::kUp; break;
      case VK_DOWN: arrow = ArrowKey::kDown; break;
      default: isArrow = false;
    }
    if (isArrow) {
      POINT origin{0, 0};
      ClientToScreen(window, &origin);
      const SIZE client = ClientSize(window);
      const SIZE view = Images().viewSize;
      const IntRect visible{origin.x, origin.y, origin.x + std::min(view.cx, client.cx),
                            origin.y + std::min(view.cy, client.cy)};
      POINT pointer{};
      GetCursorPos(&pointer);
      const int distance = (GetKeyState(VK_NONCONVERT) & 0x8000) ? 10 : 1;
      if (auto moved = ArrowKeyPointerMove(visible, {pointer.x, pointer.y}, arrow, distance)) {
        SetCursorPos(moved->x, moved->y);
        RefreshInspectorAtPointer(window);
      }
    }
  }
  SetFocus(window);
}

void OnMove(HWND window) {
  HWND picker = ToolWindowHandle(ToolWindow::kCursorPicker);
  if (!picker) return;
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  RECT pickerRect{};
  GetWindowRect(picker, &pickerRect);
  MoveWindow(picker, origin.x + 220, origin.y, pickerRect.right - pickerRect.left, pickerRect.bottom - pickerRect.top,
             TRUE);
}

void RestoreSavedPlacement(HWND window) {
  const RECT saved = Viewer().savedPlacement.rcNormalPosition;
  if (saved.left == 0 && saved.top == 0 && saved.right == 0 && saved.bottom == 0) return;
  RECT desktop{};
  GetWindowRect(GetDesktopWindow(), &desktop);
  const IntRect placed = KeepOnDesktop({saved.left, saved.top, saved.right, saved.bottom},
                                       {desktop.left, desktop.top, desktop.right, desktop.bottom});
  MoveWindow(window, placed.left, placed.top, placed.Width(), placed.Height(), TRUE);
}

void OnInitDialog(HWND window) {
  ViewerState& viewer = Viewer();
  viewer.window = window;
  viewer.offsetX = viewer.offsetY = 0;
  viewer.horizontal = ScrollRecord(20, 10, 0);
  viewer.vertical = ScrollRecord(20, 10, 0);
  ApplyScrollRecords(window);
  viewer.transformKind = 0;
  viewer.zoomMenu = GetSubMenu(GetMenu(window), 3);
  viewer.resampleMode = 0;
  viewer.zoomPreset = 3;
  RefreshZoomMenu();
  RestoreSavedPlacement(window);
}

void OnClose(HWND window) {
  ViewerState& viewer = Viewer();
  viewer.savedPlacement.length = sizeof(WINDOWPLACEMENT);
  GetWindowPlacement(window, &viewer.savedPlacement);
  NotifyHost(HostNotification::kViewerCommand);
  if (viewer.progressBar) DestroyWindow(viewer.progressBar);
  viewer.progressBar = nullptr;
  for (ToolWindow which : {ToolWindow::kProgress, ToolWindow::kPixelInspector, ToolWindow::kArbitrarySize,
                           ToolWindow::kColourCount})
    CloseToolWindow(which);
  if (const auto closing = RegisteredViewerHooks().closing) closing();
  Images().initialImage.Free();
  ReleaseCapture();
  FreeCaptureImages();
  DestroyWindow(window);
  RestoreHostWindow();
}

INT_PTR CALLBACK ViewerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog(window);
      return TRUE;
    case WM_PAINT:
      PaintViewer(window);
      return TRUE;
    case WM_SIZE:
      OnSize(window, wParam);
      return TRUE;
    case WM_HSCROLL:
      OnScroll(window, SB_HORZ, wParam);
      return TRUE;
    case WM_VSCROLL:
      OnScroll(window, SB_VERT, wParam);
      return TRUE;
    case WM_KEYDOWN:
      OnKeyDown(window, wParam);
      return TRUE;
    case WM_MOVE:
      OnMove(window);
      return FALSE;
    case WM_MOUSEMOVE:
      SelectionOnMouseMove(window, lParam);
      return TRUE;
    case WM_LBUTTONDOWN:
      SelectionOnLeftDown(window, lParam);
      return TRUE;
    case WM_LBUTTONUP:
      SelectionOnLeftUp(window, lParam);
      return TRUE;
    case WM_RBUTTONDOWN:
      SelectionOnRightDown(window);
      return TRUE;
    case WM_GETMINMAXINFO:
      reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {460, 250};
      return TRUE;
    case WM_COMMAND:
      if (const auto run = RegisteredViewerHooks().runCommand) run(window, LOWORD(wParam));
      return TRUE;
    case WM_CLOSE:
      OnClose(window);
      return TRUE;
    case WM_DESTROY:
      if (Viewer().window == window) Viewer().window = nullptr;
      return FALSE;
    default:
      return FALSE;
  }
}

// Frees what an opening that failed half-way made, as a closed viewer would have.
int FailOpening(int result) {
  Images().initialImage.Free();
  FreeCaptureImages();
  return result;
}

}  // namespace

void RegisterViewerHooks(const ViewerHooks& hooks) { g_hooks = hooks; }
const ViewerHooks& RegisteredViewerHooks() { return g_hooks; }

ViewerState& Viewer() {
  static ViewerState state;
  return state;
}

HWND ViewerWindow() {
  ViewerState& viewer = Viewer();
  if (viewer.window && !IsWindow(viewer.window)) viewer.window = nullptr;
  return viewer.window;
}

int OpenViewer(HWND owner) {
  ClosePopup();
  if (ViewerWindow()) return kViewerAlreadyOpen;
  ImageBuffersState& images = Images();
  if (!images.screenImage || !images.workImage) {
    ShowMemoryError(LinkedHostWindow());
    return kViewerImagesMissing;
  }
  const SIZE source = images.sourceSize;
  if (!images.initialImage.Create(source.cx, source.cy)) {
    ShowMemoryError(LinkedHostWindow());
    return FailOpening(kViewerOutOfMemory);
  }

  ViewerState& viewer = Viewer();
  viewer.savedPlacement.length = sizeof(WINDOWPLACEMENT);
  MarkStep("viewer: initial image made");
  HWND window = CreateDialogParamW(ModuleInstance(), MAKEINTRESOURCEW(IDD_VIEWER), owner, ViewerProc, 0);
  if (!window) return FailOpening(kViewerNotCreated);
  MarkStep("viewer: dialog created");

  // The icon is set on this window only: the dialog class is shared with every dialog of
  // the host process.
  const int iconId = LinkedHostIdentity() == 0 ? IDI_PICTORN : IDI_MURAFEX;
  for (WPARAM kind : {ICON_BIG, ICON_SMALL}) {
    const int size = kind == ICON_BIG ? GetSystemMetrics(SM_CXICON) : GetSystemMetrics(SM_CXSMICON);
    HANDLE icon = LoadImageW(ModuleInstance(), MAKEINTRESOURCEW(iconId), IMAGE_ICON, size, size, LR_SHARED);
    SendMessageW(window, WM_SETICON, kind, reinterpret_cast<LPARAM>(icon));
  }

  SetViewerTitle(source.cx, source.cy);
  images.viewSize = source;
  MarkStep("viewer: icons, title");
  if (ImageBytes(source.cx, source.cy) > kEarlyShowBytes) ShowWindow(window, SW_SHOW);
  MarkStep("viewer: early show");

  CopyImage(images.initialImage, images.screenImage);
  MarkStep("viewer: initial image copied");
  if (!images.workImage.Create(source.cx, source.cy)) {
    DestroyWindow(window);
    ShowMemoryError(LinkedHostWindow());
    return FailOpening(kViewerOutOfMemory);
  }
  CopyImage(images.workImage, images.screenImage);
  MarkStep("viewer: work image made and copied");

  {
    WindowDc dc(window);
    ScreenPaletteScope palette(dc.Get());
    DrawWorkImage(dc.Get());
  }
  MarkStep("viewer: image drawn directly");
  SetActiveWindow(window);
  MarkStep("viewer: activated");
  SetScrollRanges(window);
  MarkStep("viewer: scroll ranges set");
  ShowWindow(window, SW_SHOW);
  MarkStep("viewer: shown");
  UpdateWindow(window);
  InvalidateRect(window, nullptr, FALSE);
  MarkStep("viewer: painted");

  viewer.transformKind = 0;
  viewer.zoomPreset = 3;
  viewer.zoomX = viewer.zoomY = 1.0;
  LabelFont().lfCharSet = SHIFTJIS_CHARSET;
  RefreshZoomMenu();
  MarkStep("viewer: zoom menu");
  EnsureProgressWindow(window);
  MarkStep("viewer: progress window");

  NotifyHost(HostNotification::kRequestEnded);
  MarkStep("viewer: host notified");
  BringWindowToTop(window);
  MarkStep("viewer: brought to top");
  return kViewerOpened;
}

void SetViewerTitle(int width, int height) {
  HWND window = ViewerWindow();
  if (!window) return;
  FixedText<kTitleChars> title;
  AddResString(title, IDS_VIEWER_TITLE).Add(L"    ").AddNumber(width).Add(L" x ").AddNumber(height);
  SetWindowTextW(window, title.Text());
}

void ResetViewerView() {
  HWND window = ViewerWindow();
  if (!window) return;
  ViewerState& viewer = Viewer();
  viewer.offsetX = viewer.offsetY = 0;
  SetScrollRanges(window);
  InvalidateRect(window, nullptr, FALSE);
  const SIZE view = Images().viewSize;
  SetViewerTitle(view.cx, view.cy);
}

void CloseSubWindows(ToolWindow keep) {
  for (ToolWindow which : {ToolWindow::kCursorPicker, ToolWindow::kColourCount, ToolWindow::kRgbGauge,
                           ToolWindow::kJpegPreview})
    if (which != keep) CloseToolWindow(which);
}

void SetZoomFactors(double zoomX, double zoomY, int preset) {
  ViewerState& viewer = Viewer();
  viewer.zoomX = zoomX;
  viewer.zoomY = zoomY;
  viewer.zoomPreset = preset;
}

void SetResampleMode(int mode) { Viewer().resampleMode = mode; }

void SwapZoomAxes() {
  ViewerState& viewer = Viewer();
  std::swap(viewer.zoomX, viewer.zoomY);
}

void SetRatioLock(bool locked) { Viewer().ratioLock = locked; }

}  // namespace pictornx
