#include "exports.h"

#include "host_state.h"

using namespace pictornx;

int WINAPI GetToolVersion() { return kToolVersion; }

int WINAPI RunToolRequest(HWND hostWindow, int type, int identity) {
  if (type == 100) return 0;  // no tool window exists yet
  HostState& host = Host();
  host.hostWindow = hostWindow;
  host.hostIdentity = identity;
  if (type < 10) return 0;
  if (!hostWindow) return kToolVersion;
  host.requestType = type;
  // No request handler exists yet: every request fails as a handler failure would.
  NotifyHost(HostNotification::kRequestEnded);
  return 2;
}

int WINAPI SetHostNotifyWindow(HWND notifyWindow, int scopeFlag) {
  HostState& host = Host();
  host.notifyWindow = notifyWindow;
  host.externalScopeFlag = scopeFlag;
  return 10;
}

void* WINAPI GetImageBits() { return nullptr; }

uint64_t WINAPI GetImageSize() { return 0; }

int WINAPI ShowToolWindows(int /*hide*/) { return 0; }
