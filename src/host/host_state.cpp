#include "host_state.h"

#include "resource_ids.h"

namespace pictornx {

HostState& Host() {
  static HostState state;
  return state;
}

void NotifyHost(HostNotification code) {
  const HostState& host = Host();
  if (!host.notifyWindow) return;
  switch (code) {
    case HostNotification::kRequestEnded:
      if (host.hostIdentity != 1) return;
      break;
    case HostNotification::kExternalScope:
      break;
    case HostNotification::kViewerCommand:
      if (host.hostIdentity != 1 || host.externalScopeFlag != 1) return;
      break;
  }
  SendMessageW(host.notifyWindow, WM_LBUTTONDOWN, 1, static_cast<LPARAM>(code));
}

void RestoreHostWindow() {
  HWND window = Host().hostWindow;
  if (!window) return;
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  if (!GetWindowPlacement(window, &placement)) return;
  placement.showCmd = SW_SHOWNORMAL;
  SetWindowPlacement(window, &placement);
}

UINT HostNameStringId() {
  return Host().hostIdentity == 0 ? IDS_HOST_NAME_PICTORN : IDS_HOST_NAME_MURAFEX;
}

}  // namespace pictornx
