// The timed two-line message pop-up and the out-of-memory box.
#pragma once

#include <windows.h>

#include "win/handles.h"

namespace pictornx {

// The two lines the next ShowPopup shows. Callers fill them from the string table
// (SetPopupLines) before calling it; the message boxes also build their texts here.
inline constexpr int kPopupLine1Chars = 150;
inline constexpr int kPopupLine2Chars = 60;
wchar_t* PopupLine1();
wchar_t* PopupLine2();

// Loads strings into the two lines: line 1 with a limit of `line1Limit` characters, line
// 2 with 50. A string id of 0 leaves the line empty.
void SetPopupLines(UINT line1Id, UINT line2Id, int line1Limit = 50);

enum PopupResult : int {
  kPopupShown = 0,
  kPopupClosedEarlierOne = 1,  // one was showing: it is closed and the new text not shown
  kPopupNotCreated = 2,
  kPopupTimerFailed = 3,
};

// Shows the two lines in a rounded yellow pop-up owned by `owner` for `seconds`.
int ShowPopup(HWND owner, int seconds);
// SetPopupLines and ShowPopup in one.
int ShowPopupStrings(HWND owner, UINT line1Id, UINT line2Id, int seconds);
// The pop-up window while one shows, else null.
HWND PopupWindow();
// Closes the pop-up if one shows.
void ClosePopup();

// The font of the pop-up and the hint: the face of string 8 in the Shift-JIS character
// set, `height` pixels, `weight` (0 = the face's default).
OwnedFont CreateMessageFont(int height, int weight = 0);

// The out-of-memory message box, captioned with the host's name; returns its result.
int ShowMemoryError(HWND owner);

}  // namespace pictornx
