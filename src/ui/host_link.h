// What the library knows of its host: its window, which owns pop-ups and message boxes,
// and its identity, which decides the name in their captions (both linked at every
// request); the window that takes the host's notifications; and the request in progress.
// One instance, on the host's GUI thread.
#pragma once

#include <windows.h>

namespace pictornx {

void LinkHost(HWND window, int identity);
HWND LinkedHostWindow();
// 0 = Pictorn; non-zero = Murafex; exactly 1 enables the notifications.
int LinkedHostIdentity();

// The host's name for captions: string 1 for identity 0, string 2 otherwise.
UINT HostNameStringId();

struct HostState {
  int requestType = 0;        // the last capture or open request (10 and above)
  HWND notifyWindow = nullptr;
  int externalScopeFlag = 0;  // non-zero: the host can show the image in its external scope tool
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

// Puts the host's window back in its normal show state, so a host that minimised itself
// for a capture comes back.
void RestoreHostWindow();

}  // namespace pictornx
