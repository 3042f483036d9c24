// What the library knows of its host: the window and identity of the last request, the
// notify window, and the request in progress. One instance, on the host's GUI thread.
#pragma once

#include <windows.h>

#include "ui/host_link.h"

namespace pictornx {

// The interface version GetToolVersion reports; the file version resource reads 0.1.8.3.
inline constexpr int kToolVersion = 183;

struct HostState {
  // The host's window and identity are kept by ui/host_link.h (LinkedHostWindow,
  // LinkedHostIdentity), which the shared windows read too.
  int requestType = 0;        // the last capture or open request (10 and above)
  HWND notifyWindow = nullptr;
  int externalScopeFlag = 0;  // non-zero: the host can show the image in its external scope tool
  bool delayedCapturePending = false;
};

HostState& Host();

// Notification codes sent to the host as WM_LBUTTONDOWN, wParam 1.
enum class HostNotification : int {
  kRequestEnded = 1,   // a request ended or was refused; only to host identity 1
  kExternalScope = 2,  // show the image in the external scope tool
  kViewerCommand = 3,  // before a viewer command and before the viewer frees its images
};

// Sends a notification when the host's identity and scope flag allow it.
void NotifyHost(HostNotification code);

// Puts HostWindow back in its normal show state, so a host that minimised itself for a
// capture comes back.
void RestoreHostWindow();

}  // namespace pictornx
