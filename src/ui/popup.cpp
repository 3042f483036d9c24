#include "ui/popup.h"

#include <algorithm>

#include "win/handles.h"
#include "ui/host_link.h"
#include "win/module.h"
#include "resources/resource_ids.h"
#include "ui/timers.h"
#include "ui/window_shape.h"
#include "win/paint.h"

namespace pictornx {
namespace {

constexpr COLORREF kPopupInk = 0x000000B4;   // frame and text: red 180
constexpr COLORREF kPopupFill = 0x0000FFFF;  // yellow

struct PopupState {
  wchar_t line1[kPopupLine1Chars] = L"";
  wchar_t line2[kPopupLine2Chars] = L"";
  HWND window = nullptr;
  HWND timerOwner = nullptr;
  UINT_PTR timerId = 0;
  SIZE size{};
};

PopupState& Popup() {
  static PopupState state;
  return state;
}

OwnedFont CreatePopupFont() { return CreateMessageFont(14); }

void PaintPopup(HWND window) {
  PaintScope paint(window);
  HDC dc = paint.Dc();
  const PopupState& popup = Popup();
  {
    OwnedPen pen(CreatePen(PS_SOLID, 3, kPopupInk));
    OwnedBrush brush(CreateSolidBrush(kPopupFill));
    OwnedFont font = CreatePopupFont();
    SelectionGuard selectPen(dc, pen.Get());
    SelectionGuard selectBrush(dc, brush.Get());
    SelectionGuard selectFont(dc, font.Get());
    RoundRect(dc, 0, 0, popup.size.cx - 1, popup.size.cy - 1, 16, 16);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kPopupInk);
    SetTextAlign(dc, TA_LEFT | TA_TOP);
    TextOutW(dc, 20, 7, popup.line1, static_cast<int>(wcslen(popup.line1)));
    TextOutW(dc, 20, popup.size.cy / 2 + 3, popup.line2, static_cast<int>(wcslen(popup.line2)));
  }
}

INT_PTR CALLBACK PopupProc(HWND window, UINT message, WPARAM, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_PAINT:
      PaintPopup(window);
      return TRUE;
    case WM_CLOSE:
      DestroyWindow(window);
      return TRUE;
    case WM_DESTROY: {
      PopupState& popup = Popup();
      if (popup.window == window) {
        popup.window = nullptr;
        if (popup.timerId) KillTimer(popup.timerOwner, popup.timerId);
        popup.timerId = 0;
      }
      return FALSE;
    }
    default:
      return FALSE;
  }
}

void CALLBACK PopupTimerProc(HWND, UINT, UINT_PTR, DWORD) { ClosePopup(); }

}  // namespace

OwnedFont CreateMessageFont(int height, int weight) {
  LOGFONTW font{};
  font.lfHeight = height;
  font.lfWeight = weight;
  font.lfCharSet = SHIFTJIS_CHARSET;
  LoadResString(IDS_POPUP_FONT_FACE, font.lfFaceName, LF_FACESIZE);
  return OwnedFont(CreateFontIndirectW(&font));
}

wchar_t* PopupLine1() { return Popup().line1; }
wchar_t* PopupLine2() { return Popup().line2; }

void SetPopupLines(UINT line1Id, UINT line2Id, int line1Limit) {
  PopupState& popup = Popup();
  popup.line1[0] = popup.line2[0] = L'\0';
  if (line1Id) LoadResString(line1Id, popup.line1, std::min(line1Limit, kPopupLine1Chars));
  if (line2Id) LoadResString(line2Id, popup.line2, 50);
}

HWND PopupWindow() {
  PopupState& popup = Popup();
  if (popup.window && !IsWindow(popup.window)) popup.window = nullptr;
  return popup.window;
}

void ClosePopup() {
  if (HWND window = PopupWindow()) SendMessageW(window, WM_CLOSE, 0, 0);
}

int ShowPopup(HWND owner, int seconds) {
  if (PopupWindow()) {
    ClosePopup();
    return kPopupClosedEarlierOne;
  }
  PopupState& popup = Popup();
  HWND window = CreateDialogParamW(ModuleInstance(), MAKEINTRESOURCEW(IDD_POPUP), owner, PopupProc, 0);
  if (!window) {
    ShowMemoryError(owner);
    return kPopupNotCreated;
  }
  popup.window = window;
  // The timer carries its own procedure: the owner may be the host's window, whose
  // window procedure knows nothing of it.
  popup.timerOwner = owner;
  popup.timerId = SetTimer(owner, kPopupTimer, TimerPeriod(static_cast<UINT>(seconds) * 1000), PopupTimerProc);
  if (!popup.timerId) {
    ClosePopup();
    ShowMemoryError(owner);
    return kPopupTimerFailed;
  }

  SIZE extent1{}, extent2{};
  {
    WindowDc dc(window);
    OwnedFont font = CreatePopupFont();
    SelectionGuard selectFont(dc.Get(), font.Get());
    GetTextExtentPoint32W(dc.Get(), popup.line1, static_cast<int>(wcslen(popup.line1)), &extent1);
    GetTextExtentPoint32W(dc.Get(), popup.line2, static_cast<int>(wcslen(popup.line2)), &extent2);
    if (extent2.cy == 0) {
      // An empty line still counts as a line of the font.
      TEXTMETRICW metrics{};
      GetTextMetricsW(dc.Get(), &metrics);
      extent2.cy = metrics.tmHeight;
    }
  }
  popup.size = {std::max(extent1.cx, extent2.cx) + 40, 3 * extent2.cy + 3};
  // Keeps the template's centred top-left corner.
  SetWindowPos(window, HWND_TOPMOST, 0, 0, popup.size.cx, popup.size.cy, SWP_NOMOVE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
  // The shape leaves out the right column and bottom row, as the pop-up always has.
  SetWindowShape(window, OwnedRegion(CreateRoundRectRgn(0, 0, popup.size.cx, popup.size.cy, 18, 18)));
  return kPopupShown;
}

int ShowPopupStrings(HWND owner, UINT line1Id, UINT line2Id, int seconds) {
  SetPopupLines(line1Id, line2Id);
  return ShowPopup(owner, seconds);
}

// Shown when memory ran out: its text lives on the stack, so it never needs the heap.
int ShowMemoryError(HWND owner) {
  FixedText<256> text;
  AddResString(text, IDS_MEMORY_ERROR);
  FixedText<128> caption;
  AddResString(caption, HostNameStringId()).Add(L"   ");
  AddResString(caption, IDS_ERROR_CAPTION);
  return MessageBoxW(owner, text.Text(), caption.Text(), MB_TOPMOST | MB_ICONQUESTION);
}

}  // namespace pictornx
