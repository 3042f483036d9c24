// The six exported functions and the request protocol with the host.
#include "host/exports.h"

#include "capture/capture_modes.h"
#include "ui/host_link.h"
#include "imagestore/image_buffers.h"
#include "files/open_request.h"
#include "ui/popup.h"
#include "resources/resource_ids.h"
#include "ui/tool_windows.h"
#include "viewer/viewer.h"

using namespace pictornx;

namespace {

// The interface version GetToolVersion reports; the file version resource reads 0.1.8.3.
constexpr int kToolVersion = 183;
constexpr int kQueryToolWindow = 100;
constexpr int kFirstCurrentRequest = 10;

// The handler of a capture or open request: 0 done, -1 failed; other values pass as done.
int DispatchRequest(int type) {
  switch (type) {
    case 10:
      RestoreHostWindow();
      return OpenViewer(LinkedHostWindow());
    case 11:
      return StartRangeCapture(LinkedHostWindow());
    case 12:
      return StartWindowPick(LinkedHostWindow());
    case 13:
      return CaptureForegroundWindow(LinkedHostWindow());
    case 14:
      return StartDelayedCapture();
    case 15:
      return OpenFileRequest(LinkedHostWindow());
    default:
      // Requests whose handlers this library does not have fail as a handler failure.
      return -1;
  }
}

}  // namespace

int WINAPI GetToolVersion() { return kToolVersion; }

int WINAPI RunToolRequest(HWND hostWindow, int type, int identity) {
  if (type == kQueryToolWindow) {
    if (!ViewerWindow()) return 0;
    ShowPopupStrings(hostWindow, IDS_VIEWER_IS_OPEN, IDS_PLEASE_CLOSE_VIEWER, 2);
    return 1;
  }
  HostState& host = Host();
  LinkHost(hostWindow, identity);
  if (type < kFirstCurrentRequest) {
    ShowPopupStrings(hostWindow, IDS_VERSION_MISMATCH, IDS_PLEASE_REINSTALL, 4);
    RestoreHostWindow();
    return 0;
  }
  if (!hostWindow) return kToolVersion;
  host.requestType = type;
  if (ViewerWindow()) {
    ShowPopupStrings(hostWindow, IDS_CANNOT_OPEN_IMAGE, IDS_PLEASE_CLOSE_VIEWER, 2);
    NotifyHost(HostNotification::kRequestEnded);
    return 1;
  }
  if (DelayedCapturePending()) return 2;
  if (!CaptureScreen()) {
    NotifyHost(HostNotification::kRequestEnded);
    return -1;
  }
  ForgetOpenedFileNames();
  if (DispatchRequest(type) == -1) {
    // A failed request ends its capture cycle; without a viewer nothing would free it.
    if (!ViewerWindow()) FreeCaptureImages();
    NotifyHost(HostNotification::kRequestEnded);
    return 2;
  }
  return 0;
}

int WINAPI SetHostNotifyWindow(HWND notifyWindow, int scopeFlag) {
  HostState& host = Host();
  host.notifyWindow = notifyWindow;
  host.externalScopeFlag = scopeFlag;
  return 10;
}

void* WINAPI GetImageBits() {
  const SharedImage& work = Images().workImage;
  return work ? work.Bits() : nullptr;
}

uint64_t WINAPI GetImageSize() {
  const SharedImage& work = Images().workImage;
  if (!work) return 0;
  return static_cast<uint64_t>(static_cast<uint32_t>(work.Height())) << 32 | static_cast<uint32_t>(work.Width());
}

int WINAPI ShowToolWindows(int hide) {
  const int show = hide ? SW_HIDE : SW_SHOW;
  HWND viewer = ViewerWindow();
  ShowWindow(viewer, show);  // harmless when there is no viewer
  if (!viewer) return 0;
  CloseToolPanels();
  ShowJpegWindows(show);
  return 0;
}
