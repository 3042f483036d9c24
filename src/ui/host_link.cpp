#include "ui/host_link.h"

#include "resources/resource_ids.h"

namespace pictornx {
namespace {

struct HostLink {
  HWND window = nullptr;
  int identity = 0;
} g_host;

}  // namespace

void LinkHost(HWND window, int identity) { g_host = {window, identity}; }
HWND LinkedHostWindow() { return g_host.window; }
int LinkedHostIdentity() { return g_host.identity; }

UINT HostNameStringId() { return g_host.identity == 0 ? IDS_HOST_NAME_PICTORN : IDS_HOST_NAME_MURAFEX; }

HostState& Host() {
  static HostState state;
  return state;
}

void NotifyHost(HostNotification code) {
  const HostState& host = Host();
  if (!host.notifyWindow) return;
  switch (code) {
    case HostNotification::kRequestEnded:
      if (LinkedHostIdentity() != 1) return;
      break;
    case HostNotification::kExternalScope:
      break;
    case HostNotification::kViewerCommand:
      if (LinkedHostIdentity() != 1 || host.externalScopeFlag != 1) return;
      break;
  }
  SendMessageW(host.notifyWindow, WM_LBUTTONDOWN, 1, static_cast<LPARAM>(code));
}

void RestoreHostWindow() {
  HWND window = LinkedHostWindow();
  if (!window) return;
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  if (!GetWindowPlacement(window, &placement)) return;
  placement.showCmd = SW_SHOWNORMAL;
  SetWindowPlacement(window, &placement);
}

}  // namespace pictornx
