#include "ui/painted_window.h"

#include "ui/hint.h"

namespace pictornx {
namespace {

constexpr wchar_t kOldProcProperty[] = L"pictornx.oldproc";

}  // namespace

bool SubclassControl(HWND control, WNDPROC proc) {
  if (!control || !proc || GetPropW(control, kOldProcProperty)) return false;
  const LONG_PTR old = GetWindowLongPtrW(control, GWLP_WNDPROC);
  if (!old || !SetPropW(control, kOldProcProperty, reinterpret_cast<HANDLE>(old))) return false;
  SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
  return true;
}

void RemoveSubclass(HWND control) {
  if (HANDLE old = RemovePropW(control, kOldProcProperty))
    SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
}

LRESULT CallOldProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto old = reinterpret_cast<WNDPROC>(GetPropW(control, kOldProcProperty));
  if (!old) return DefWindowProcW(control, message, wParam, lParam);
  if (message == WM_NCDESTROY) RemoveSubclass(control);
  return CallWindowProcW(old, control, message, wParam, lParam);
}

void TrackHints(HWND window, std::span<const HintSpot> spots) {
  POINT screen{};
  if (!GetCursorPos(&screen)) return;
  POINT client = screen;
  ScreenToClient(window, &client);
  for (const HintSpot& spot : spots) {
    if (spot.controlId != 0)
      TrackHint(window, spot.controlId, spot.stringId, screen.x, screen.y);
    else if (spot.area.Contains(client.x, client.y))
      TrackHint(window, kHintHotSpot, spot.stringId, screen.x, screen.y);
  }
}

void DragByBody(HWND window) {
  CloseHint();
  POINT screen{};
  GetCursorPos(&screen);
  ReleaseCapture();
  SendMessageW(window, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(screen.x, screen.y));
}

}  // namespace pictornx
