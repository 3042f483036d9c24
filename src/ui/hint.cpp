#include "ui/hint.h"

#include <algorithm>

#include "win/handles.h"
#include "win/module.h"
#include "ui/popup.h"
#include "resources/resource_ids.h"
#include "ui/timers.h"
#include "win/paint.h"

namespace pictornx {

const wchar_t* HintClassName() {
  static wchar_t name[12] = L"";
  if (!name[0]) LoadResString(IDS_HINT_CLASS, name, 12);
  return name;
}
namespace {

constexpr UINT_PTR kShowTimer = kHintShowTimer;
constexpr UINT_PTR kHideTimer = kHintHideTimer;
constexpr COLORREF kHintFill = 0x00A0FDFC;  // red 252, green 253, blue 160
constexpr int kHintTextChars = 256;

struct HintState {
  wchar_t text[kHintTextChars] = L"";
  HWND window = nullptr;  // the hinted window
  int lastControl = 0;
  UINT lastHotSpotString = 0;
  bool armed = true;
  bool cycling = false;  // timers 113 and 114 running
  POINT position{};
  int height = 17;  // of the tip window
  int textWidth = 0;
};

HintState& Hint() {
  static HintState state;
  return state;
}

OwnedFont CreateHintFont() { return CreateMessageFont(12, 300); }

void PaintHint(HWND hint, int textWidth);

LRESULT CALLBACK HintWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      // Painted again whenever it is uncovered, not only when it first shows.
      { PaintScope validate(window); }
      PaintHint(window, Hint().textWidth);
      return 0;
    }
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_MOUSEMOVE:
      // The pointer touched the hint.
      if (lParam != 0) CloseHint();
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

void RegisterHintClass() {
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof(cls);
  cls.style = CS_HREDRAW | CS_VREDRAW;
  cls.lpfnWndProc = HintWindowProc;
  cls.hInstance = ModuleInstance();
  cls.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  cls.lpszClassName = HintClassName();
  RegisterClassExW(&cls);  // a second registration fails harmlessly
}

void PaintHint(HWND hint, int textWidth) {
  const HintState& state = Hint();
  WindowDc dc(hint);
  OwnedFont font = CreateHintFont();
  SelectionGuard selectFont(dc.Get(), font.Get());
  SelectionGuard selectPen(dc.Get(), GetStockObject(BLACK_PEN));
  OwnedBrush fill(CreateSolidBrush(kHintFill));
  SelectionGuard selectBrush(dc.Get(), fill.Get());
  Rectangle(dc.Get(), -1, -1, textWidth + 17, state.height);
  SetBkColor(dc.Get(), kHintFill);
  RECT box{0, 2, textWidth + 13, state.height};
  DrawTextW(dc.Get(), state.text, -1, &box, DT_CENTER);
}

void CALLBACK ShowTimerProc(HWND window, UINT, UINT_PTR, DWORD) {
  KillTimer(window, kShowTimer);
  if (HintWindow()) return;
  RegisterHintClass();
  HintState& state = Hint();
  HWND hint = CreateWindowExW(WS_EX_TOOLWINDOW, HintClassName(), L"", WS_POPUP | WS_BORDER, state.position.x,
                              state.position.y, 100, 16, nullptr, nullptr, ModuleInstance(), nullptr);
  if (!hint) return;
  RECT measure{0, 2, 0, 2};
  {
    WindowDc dc(hint);
    OwnedFont font = CreateHintFont();
    SelectionGuard selectFont(dc.Get(), font.Get());
    DrawTextW(dc.Get(), state.text, -1, &measure, DT_CALCRECT);
  }
  const int textWidth = measure.right - measure.left;
  state.textWidth = textWidth;
  // One line keeps the tip 17 pixels high; each further line adds its height.
  state.height = std::max(17, static_cast<int>(measure.bottom - measure.top) + 5);
  SetWindowTextW(hint, state.text);
  RECT desktop;
  GetWindowRect(GetDesktopWindow(), &desktop);
  int x = state.position.x;
  if (x + textWidth + 10 > desktop.right) x = desktop.right - (textWidth + 10);
  SetWindowPos(hint, HWND_TOPMOST, x, state.position.y, textWidth + 13, state.height, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  PaintHint(hint, textWidth);
  SetFocus(window);
}

void CALLBACK HideTimerProc(HWND window, UINT, UINT_PTR, DWORD) {
  KillTimer(window, kHideTimer);
  CloseHint();
}

bool InsideShrunk(const RECT& area, int x, int y) {
  return x > area.left && x < area.right - 1 && y > area.top && y < area.bottom - 1;
}

}  // namespace

HWND HintWindow() { return FindWindowW(HintClassName(), nullptr); }

void CloseHint() {
  if (HWND hint = HintWindow()) SendMessageW(hint, WM_CLOSE, 0, 0);
}

namespace {

// `text` null: the string `stringId` is loaded when the hint arms.
void Track(HWND window, int controlId, UINT stringId, const wchar_t* text, int x, int y) {
  HintState& state = Hint();
  state.window = window;
  RECT area{};
  if (controlId == kHintHotSpot) {
    area = {x - 2, y - 2, x + 2, y + 2};
    state.position = {x, y + 16};
    if (stringId != state.lastHotSpotString) state.armed = true;
    state.lastHotSpotString = stringId;
  } else {
    if (GetForegroundWindow() != window) return;
    HWND control = GetDlgItem(window, controlId);
    if (!control || !GetWindowRect(control, &area)) return;
  }

  if (InsideShrunk(area, x, y)) {
    if (controlId != kHintHotSpot) state.position = {area.left, area.bottom + 5};
    state.lastControl = controlId;
    if (!state.armed) return;
    if (text)
      lstrcpynW(state.text, text, kHintTextChars);
    else
      LoadResString(stringId, state.text, kHintTextChars);
    state.armed = false;
    state.cycling = true;
    SetTimer(window, kShowTimer, TimerPeriod(500), ShowTimerProc);
    SetTimer(window, kHideTimer, TimerPeriod(2500), HideTimerProc);
    return;
  }
  if (controlId != state.lastControl) return;
  if (state.cycling) {
    CloseHint();
    KillTimer(window, kShowTimer);
    state.cycling = false;
  }
  state.armed = true;
}

}  // namespace

void TrackHint(HWND window, int controlId, UINT stringId, int x, int y) {
  Track(window, controlId, stringId, nullptr, x, y);
}

void TrackHintText(HWND window, UINT spotId, const wchar_t* text, int x, int y) {
  Track(window, kHintHotSpot, spotId, text, x, y);
}

}  // namespace pictornx
