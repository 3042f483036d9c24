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

}  // namespace pictornx
